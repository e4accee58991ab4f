#include "platform/os_error.h"

#include <cerrno>
#include <cstring>

namespace brumo {

namespace {

// strerror_r comes in two shapes (GNU returns the text, XSI fills the buffer).
[[maybe_unused]] const char* TextOf(const char* result, const char*) {
    return result;
}
[[maybe_unused]] const char* TextOf(int result, const char* buffer) {
    return result == 0 ? buffer : nullptr;
}

} // namespace

std::string OsError::MessageFor(int code) {
    char buffer[256] = {};
    const char* text = TextOf(::strerror_r(code, buffer, sizeof buffer), buffer);
    if (!text || !*text)
        return "Unknown error " + std::to_string(code);
    return text;
}

int OsError::AccessDenied() {
    return EACCES;
}

int OsError::NotFound() {
    return ENOENT;
}

int OsError::NameTooLong() {
    return ENAMETOOLONG;
}

} // namespace brumo
