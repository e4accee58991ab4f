#pragma once

#include "platform/date_time.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

namespace brumo {

// What --json prints: camelCase field names, sizes in bytes, times in ISO 8601 (local time, as
// the logs keep it), paths in the Windows form of the logs.
class JsonOutput {
public:
    // One document, indented, on standard output.
    static void Document(std::ostream& out, const nlohmann::ordered_json& value);
    // One line of a JSON lines stream, flushed so that a reader sees each record as it comes.
    static void Line(std::ostream& out, const nlohmann::ordered_json& value);
    // "2026-12-07T16:05:09"; null for a time that could not be read (0).
    static nlohmann::ordered_json Time(TDateTime when);
    // Sets object[field] to a path or name. One that is not valid UTF-8 (a Linux file name may
    // be any bytes) also gets field + "Base64" with its bytes, which JSON text cannot carry.
    static void PutName(nlohmann::ordered_json& object, const std::string& field,
                        const std::string& text);
    static std::string Base64(std::string_view bytes);
    // The bytes of a Base64 text; nullopt when it is none.
    static std::optional<std::string> FromBase64(std::string_view text);
    // "recycleBin", "holdingFolder", "delete"; "unknown" for a code outside them.
    static std::string Method(int32_t method);
};

} // namespace brumo
