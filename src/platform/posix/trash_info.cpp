#include "platform/posix/trash_info.h"

#include <cstdio>

namespace brumo {

std::string TrashInfo::Escape(std::string_view path) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(path.size());
    for (const char ch : path) {
        const auto c = static_cast<unsigned char>(ch);
        const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' || c == '!' ||
                          c == '~' || c == '*' || c == '\'' || c == '(' || c == ')' || c == '/';
        if (keep) {
            out += ch;
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 0xF];
        }
    }
    return out;
}

std::string TrashInfo::Date(std::time_t when) {
    std::tm tm{};
    ::localtime_r(&when, &tm);
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return text;
}

std::string TrashInfo::Text(std::string_view path, std::time_t deletedAt) {
    return "[Trash Info]\nPath=" + Escape(path) + "\nDeletionDate=" + Date(deletedAt) + "\n";
}

} // namespace brumo
