#include "cli/json_output.h"

#include "model/junk_file_type.h"

#include <cstdio>

namespace brumo {

namespace {

// A file name need not be valid UTF-8 on every system: its odd bytes become U+FFFD rather than
// end the output.
std::string Dump(const nlohmann::ordered_json& value, int indent) {
    return value.dump(indent, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

} // namespace

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
