#pragma once

#include "platform/os_error.h"

#include <sys/stat.h>

namespace brumo {

// What a run may move or send away: a file or a link. By the time a found file is acted on, a
// folder or a special file may stand at its name, and that is never taken.
class FileKind {
public:
    // No error for a file or a link; otherwise the error to report for the entry.
    static OsError OnlyFileOrLink(const struct stat& st);
};

} // namespace brumo
