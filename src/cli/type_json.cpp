#include "cli/type_json.h"

#include "cli/json_output.h"
#include "engine/size_rule.h"
#include "model/display_names.h"

#include <array>
#include <span>
#include <string_view>

namespace brumo {

namespace {

using json = nlohmann::ordered_json;

std::string Name(std::span<const std::string_view> table, int32_t code) {
    const std::string_view name = DisplayName(table, code);
    return name.empty() ? "unknown" : std::string(name);
}

bool HasSecond(int32_t compare) {
    return compare == 3 || compare == 4;
}

json DateRestriction(const TJunkFileObj& type) {
    if (!type.DateRestrict)
        return nullptr;
    return {{"compare", Name(TypeJson::DateCompares, type.DateCompare)},
            {"date1", JsonOutput::Time(type.Date1)},
            {"date2", HasSecond(type.DateCompare) ? JsonOutput::Time(type.Date2) : json()}};
}

json AgeRestriction(const TJunkFileObj& type) {
    if (!type.AgeRestrict)
        return nullptr;
    const auto age = [](int32_t code) {
        const std::string_view name = DisplayName(AgeNames, code);
        return name.empty() ? json() : json(std::string(name));
    };
    return {{"compare", Name(TypeJson::AgeCompares, type.AgeCompare)},
            {"age1", age(type.Age1)},
            {"age2", HasSecond(type.AgeCompare) ? age(type.Age2) : json()}};
}

json SizeRestriction(const TJunkFileObj& type) {
    if (!type.SizeRestrict)
        return nullptr;
    const int64_t factor = SizeRule::UnitFactor(type.SizeUnits);
    const auto bytes = [factor](int32_t size) {
        return factor == 0 ? json() : json(int64_t{size} * factor);
    };
    const std::string_view unit = DisplayName(SizeUnitNames, type.SizeUnits);
    return {{"compare", Name(TypeJson::SizeCompares, type.SizeCompare)},
            {"size1", bytes(type.Size1)},
            {"size2", HasSecond(type.SizeCompare) ? bytes(type.Size2) : json()},
            {"unit", unit.empty() ? json() : json(std::string(unit))}};
}

// Like JsonOutput::PutName, for a list: where one entry is no UTF-8, field + "Base64" holds
// every entry's bytes.
void PutList(json& object, const std::string& field, const std::vector<std::string>& entries) {
    json names = json::array();
    bool raw = false;
    for (const std::string& entry : entries) {
        json one = json::object();
        JsonOutput::PutName(one, "x", entry);
        names.push_back(one["x"]);
        raw = raw || one.contains("xBase64");
    }
    object[field] = names;
    if (!raw)
        return;
    json bytes = json::array();
    for (const std::string& entry : entries)
        bytes.push_back(JsonOutput::Base64(entry));
    object[field + "Base64"] = bytes;
}

} // namespace

json TypeJson::List(const std::vector<TJunkFileObj>& types) {
    json list = json::array();
    for (size_t i = 0; i < types.size(); ++i)
        list.push_back(Summary(types[i], static_cast<int>(i) + 1));
    return {{"types", list}};
}

json TypeJson::Summary(const TJunkFileObj& type, int number) {
    json summary = {{"number", number}};
    JsonOutput::PutName(summary, "name", type.Name);
    summary["enabled"] = type.Enabled;
    summary["method"] = JsonOutput::Method(type.Method);
    return summary;
}

json TypeJson::Details(const TJunkFileObj& type, int number, const std::string& description) {
    json details = Summary(type, number);
    json folders = json::array();
    for (const FolderEntry& folder : type.Folders) {
        json entry = json::object();
        JsonOutput::PutName(entry, "path", folder.path);
        entry["mode"] = Name(TypeJson::Modes, folder.mode);
        folders.push_back(entry);
    }
    details["folders"] = folders;
    details["allLocalDrives"] = type.Folders.empty();
    PutList(details, "patterns", type.Specs);
    PutList(details, "protects", type.Protects);
    details["dateRestriction"] = DateRestriction(type);
    details["ageRestriction"] = AgeRestriction(type);
    details["sizeRestriction"] = SizeRestriction(type);
    details["description"] = description;
    return details;
}

json TypeJson::Exported(const TJunkFileObj& type, int number, const std::string& description) {
    json exported = Details(type, number, description);
    // What the restrictions that are off still hold, and the second values of the one-value
    // comparisons: the wizard keeps them, so an import gives back the very same type.
    exported["storedValues"] = {{"dateCompare", type.DateCompare},
                                {"date1", JsonOutput::Time(type.Date1)},
                                {"date2", JsonOutput::Time(type.Date2)},
                                {"ageCompare", type.AgeCompare},
                                {"age1", type.Age1},
                                {"age2", type.Age2},
                                {"sizeCompare", type.SizeCompare},
                                {"size1", type.Size1},
                                {"size2", type.Size2},
                                {"sizeUnits", type.SizeUnits}};
    return exported;
}

} // namespace brumo
