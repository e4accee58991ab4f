#pragma once

#include <filesystem>

namespace brumo::test {

// Links made by the host system under Wine. Wine makes none of its own (CreateSymbolicLinkW
// reports success and makes nothing; junctions are refused), but shows a host link to a folder
// as a folder with the reparse-point attribute, as Windows shows a junction, and follows it when
// a path passes through it. Neither can Wine remove one. Both are done here by running the
// host's own ln and rm; elsewhere Available() is false.
class HostLinks {
public:
    static bool Available();
    static bool Make(const std::filesystem::path& link, const std::filesystem::path& target);
    static bool Remove(const std::filesystem::path& link);
    // A copy of a file made by the host beside it, which may be its case twin: Wine would
    // open the file itself by that name.
    static bool CopyBeside(const std::filesystem::path& file, const std::wstring& name);
    // Whether Wine reached the entry through a host link in its own place (Wine shows a link to
    // a file as a plain file): its final name is then another's.
    static bool IsLink(const std::filesystem::path& path);
};

} // namespace brumo::test
