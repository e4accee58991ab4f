#pragma once

#include <string>

namespace brumo {

// A failed operating-system call as a value: the native error code (errno on POSIX,
// GetLastError on Windows), 0 meaning success.
struct OsError {
    int code = 0;

    explicit operator bool() const { return code != 0; }
    // The system's message text for the code.
    std::string Message() const { return MessageFor(code); }
    static std::string MessageFor(int code);
    // The code that stands for "access denied" on this platform.
    static int AccessDenied();
    static int NotFound();
    // A name longer than the file system allows.
    static int NameTooLong();
};

} // namespace brumo
