#pragma once

#include "platform/os_error.h"

#include <memory>
#include <string>

namespace brumo {

// A lock that one process at a time holds on a file, released when the object goes (or the
// process ends, however it ends).
class FileLock {
public:
    virtual ~FileLock() = default;
    // Takes the lock without waiting. Null when it cannot be had: `held` is true when another
    // holder has it, false (with `error` set) when the lock file itself cannot be made.
    static std::unique_ptr<FileLock> TryTake(const std::string& path, bool& held, OsError& error);
};

} // namespace brumo
