#pragma once

#include <string>
#include <string_view>

namespace brumo {

// UTF-8 <-> UTF-16 for the wide Win32 calls. The wide calls are used throughout so that names
// longer than the ANSI find buffers and Windows versions that ignore the manifest's code page
// still see the program's UTF-8 strings intact.
class WinText {
public:
    // Bytes that are no UTF-8 become U+FFFD.
    static std::wstring Wide(std::string_view utf8);
    // One argument of a command line as the C runtime splits it: quoted where it must be,
    // backslashes doubled before a quote.
    static std::string CommandArgument(const std::string& arg);
    static bool IsUtf8(std::string_view bytes);
    static std::string Utf8(std::wstring_view wide);
    // A path for the file calls: "X:\..." paths too long for the classic limit get the "\\?\"
    // prefix (the program builds only absolute, normalised paths).
    static std::wstring FilePath(std::string_view utf8);
    // Upper case as the file system compares names.
    static std::wstring Upper(std::wstring_view text);
};

} // namespace brumo
