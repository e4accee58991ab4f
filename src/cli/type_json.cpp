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

// The codes' names, in code order as the display names; a code outside them is "unknown".
constexpr std::array<std::string_view, 3> kModes{"folderAndSubfolders", "folderOnly",
                                                 "subfoldersOnly"};
constexpr std::array<std::string_view, 5> kDateCompares{"exactly", "before", "after", "between",
                                                        "notBetween"};
constexpr std::array<std::string_view, 5> kAgeCompares{"exactly", "olderThan", "newerThan",
                                                       "between", "notBetween"};
constexpr std::array<std::string_view, 5> kSizeCompares{"exactly", "lessThan", "greaterThan",
                                                        "between", "notBetween"};

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
    return {{"compare", Name(kDateCompares, type.DateCompare)},
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
    return {{"compare", Name(kAgeCompares, type.AgeCompare)},
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
    return {{"compare", Name(kSizeCompares, type.SizeCompare)},
            {"size1", bytes(type.Size1)},
            {"size2", HasSecond(type.SizeCompare) ? bytes(type.Size2) : json()}};
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
        entry["mode"] = Name(kModes, folder.mode);
        folders.push_back(entry);
    }
    details["folders"] = folders;
    details["allLocalDrives"] = type.Folders.empty();
    details["patterns"] = type.Specs;
    details["protects"] = type.Protects;
    details["dateRestriction"] = DateRestriction(type);
    details["ageRestriction"] = AgeRestriction(type);
    details["sizeRestriction"] = SizeRestriction(type);
    details["description"] = description;
    return details;
}

} // namespace brumo
