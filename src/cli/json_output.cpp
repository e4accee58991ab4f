#include "cli/json_output.h"

#include "model/junk_file_type.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace brumo {

namespace {

// A file name need not be valid UTF-8 on every system: its odd bytes become U+FFFD rather than
// end the output.
std::string Dump(const nlohmann::ordered_json& value, int indent) {
    return value.dump(indent, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

bool IsValidUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = lead < 0x80         ? 1
                        : (lead >> 5) == 6  ? 2
                        : (lead >> 4) == 14 ? 3
                        : (lead >> 3) == 30 ? 4
                                            : 0;
        if (length == 0 || i + length > text.size())
            return false;
        uint32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            c = c << 6 | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points past Unicode's end are no UTF-8 either.
        static constexpr uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < kLeast[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
            return false;
        i += length;
    }
    return true;
}

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

} // namespace

void JsonOutput::PutName(nlohmann::ordered_json& object, const std::string& field,
                         const std::string& text) {
    object[field] = text;
    if (!IsValidUtf8(text))
        object[field + "Base64"] = Base64(text);
}

std::string JsonOutput::Base64(std::string_view bytes) {
    std::string text;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = std::min<size_t>(3, bytes.size() - i);
        uint32_t group = 0;
        for (size_t k = 0; k < 3; ++k)
            group = group << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (size_t k = 0; k < 4; ++k)
            text += k <= n ? kBase64[(group >> (18 - 6 * k)) & 0x3F] : '=';
    }
    return text;
}

std::optional<std::string> JsonOutput::FromBase64(std::string_view text) {
    std::string bytes;
    uint32_t group = 0;
    int bits = 0;
    size_t padding = 0;
    for (char c : text) {
        if (c == '=') {
            ++padding;
            continue;
        }
        const char* at = std::strchr(kBase64, c);
        if (c == '\0' || !at || padding > 0)
            return std::nullopt;
        group = group << 6 | static_cast<uint32_t>(at - kBase64);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes += static_cast<char>((group >> bits) & 0xFF);
        }
    }
    if ((text.size() % 4) != 0 || padding > 2)
        return std::nullopt;
    return bytes;
}

void JsonOutput::Document(std::ostream& out, const nlohmann::ordered_json& value) {
    out << Dump(value, 2) << '\n';
}

void JsonOutput::Line(std::ostream& out, const nlohmann::ordered_json& value) {
    out << Dump(value, -1) << '\n';
    out.flush();
}

nlohmann::ordered_json JsonOutput::Time(TDateTime when) {
    if (when == 0)
        return nullptr;
    const CalendarDate date = DateTime::DecodeDate(when);
    const ClockTime time = DateTime::DecodeTime(when);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", date.year, date.month,
                  date.day, time.hour, time.minute, time.second);
    return text;
}

std::string JsonOutput::Method(int32_t method) {
    switch (method) {
    case MethodRecycleBin:
        return "recycleBin";
    case MethodHoldingFolder:
        return "holdingFolder";
    case MethodDelete:
        return "delete";
    default:
        return "unknown";
    }
}

} // namespace brumo
