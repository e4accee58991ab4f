#include "platform/posix/file_kind.h"

#include <cerrno>

namespace brumo {

OsError FileKind::OnlyFileOrLink(const struct stat& st) {
    if (S_ISDIR(st.st_mode))
        return OsError{EISDIR};
    if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode))
        return OsError{ENOENT};
    return {};
}

} // namespace brumo
