#include "cli/type_json_reader.h"

#include "cli/json_output.h"
#include "cli/type_json.h"
#include "engine/size_rule.h"
#include "model/display_names.h"
#include "model/entry_rules.h"
#include "model/type_wiz_rules.h"
#include "runs/line_escape.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <optional>
#include <set>
#include <span>
#include <tuple>

namespace brumo {

namespace {

using json = nlohmann::json;

// What an export writes besides the type's own fields; read and ignored.
const std::set<std::string> kDerived{"number", "allLocalDrives", "description",
                                     "systemFoldersNeverSearched"};
const std::set<std::string> kFields{
    "name",           "nameBase64",      "enabled",     "method",         "folders",
    "patterns",       "patternsBase64",  "protects",    "protectsBase64", "dateRestriction",
    "ageRestriction", "sizeRestriction", "storedValues"};

bool HasControl(const std::string& text) {
    return std::any_of(text.begin(), text.end(),
                       [](char ch) { return static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F; });
}

std::optional<int32_t> CodeOf(std::span<const std::string_view> names, const json& value) {
    if (!value.is_string())
        return std::nullopt;
    const auto at = std::find(names.begin(), names.end(), value.get<std::string>());
    if (at == names.end())
        return std::nullopt;
    return static_cast<int32_t>(at - names.begin());
}

std::string Choices(std::span<const std::string_view> names) {
    std::string text;
    for (size_t i = 0; i < names.size(); ++i)
        text += (i == 0                  ? ""
                 : i + 1 == names.size() ? " or "
                                         : ", ") +
                ("\"" + std::string(names[i]) + "\"");
    return text;
}

// "2026-12-07" or "2026-12-07T16:05:09", as --json writes times.
std::optional<TDateTime> TimeOf(const json& value) {
    if (!value.is_string())
        return std::nullopt;
    const std::string text = value.get<std::string>();
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, used = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d%n", &y, &mo, &d, &used) != 3)
        return std::nullopt;
    if (static_cast<size_t>(used) != text.size() &&
        (std::sscanf(text.c_str() + used, "T%2d:%2d:%2d%n", &h, &mi, &s, &used) != 3 ||
         used + 10 != static_cast<int>(text.size()) || h > 23 || mi > 59 || s > 59 || h < 0 ||
         mi < 0 || s < 0))
        return std::nullopt;
    const std::optional<TDateTime> date = DateTime::EncodeDate(y, mo, d);
    if (!date)
        return std::nullopt;
    return DateTime::Compose(*date, ClockTime{h, mi, s, 0});
}

// Reads one type's fields, noting every fault with the field it lies in.
class FieldReader {
public:
    FieldReader(const json& object, std::string where, std::vector<std::string>& errors)
        : object_(object), where_(std::move(where)), errors_(errors) {}

    bool Failed() const { return failed_; }

    void Fail(const std::string& field, const std::string& message) {
        errors_.push_back(where_ + ", " + field + ": " + message);
        failed_ = true;
    }

    const json* Get(const std::string& field) const {
        const auto at = object_.find(field);
        return at == object_.end() ? nullptr : &*at;
    }

    // A text field, or its bytes from field + "Base64" where they are given.
    std::optional<std::string> Text(const json& object, const std::string& field,
                                    const std::string& name) {
        if (const auto raw = object.find(field + "Base64"); raw != object.end()) {
            std::optional<std::string> bytes =
                raw->is_string() ? JsonOutput::FromBase64(raw->get<std::string>()) : std::nullopt;
            if (!bytes)
                Fail(name + "Base64", "must be Base64 text");
            return bytes;
        }
        const auto at = object.find(field);
        if (at == object.end() || !at->is_string()) {
            Fail(name, at == object.end() ? "is missing" : "must be text");
            return std::nullopt;
        }
        return at->get<std::string>();
    }

    // A list of texts, or their bytes from field + "Base64".
    std::vector<std::string> List(const std::string& field) {
        const json* raw = Get(field + "Base64");
        const json* list = raw ? raw : Get(field);
        const std::string name = raw ? field + "Base64" : field;
        std::vector<std::string> entries;
        if (!list)
            return entries;
        if (!list->is_array()) {
            Fail(name, "must be a list of texts");
            return entries;
        }
        for (size_t i = 0; i < list->size(); ++i) {
            const json& entry = (*list)[i];
            std::optional<std::string> text =
                !entry.is_string() ? std::nullopt
                : raw              ? JsonOutput::FromBase64(entry.get<std::string>())
                                   : std::optional<std::string>(entry.get<std::string>());
            if (!text)
                Fail(name + "[" + std::to_string(i) + "]",
                     raw ? "must be Base64 text" : "must be text");
            else
                entries.push_back(*text);
        }
        return entries;
    }

    std::optional<int32_t> Code(const json& object, const std::string& field,
                                std::span<const std::string_view> names, const std::string& name) {
        const auto at = object.find(field);
        const std::optional<int32_t> code = at == object.end() ? std::nullopt : CodeOf(names, *at);
        if (!code)
            Fail(name,
                 (at == object.end() ? "is missing; one of " : "must be one of ") + Choices(names));
        return code;
    }

private:
    const json& object_;
    std::string where_;
    std::vector<std::string>& errors_;
    bool failed_ = false;
};

// The specification editor's rules; a protect holding a colon is a full name instead.
std::string EntryFault(const std::string& entry, bool mayBeFullName) {
    if (HasControl(entry))
        return "holds a control character (a line break or tab)";
    if (mayBeFullName && entry.find(':') != std::string::npos) {
        if (entry.find_first_of(EntryRules::NameRefused) != std::string::npos)
            return "a full name holds none of " + std::string(EntryRules::NameRefused);
        return EntryRules::NameAcceptable(entry) ? "" : "a full name begins with a drive, as C:\\";
    }
    if (entry.find_first_of(EntryRules::SpecRefused) != std::string::npos)
        return "a file specification holds none of " + std::string(EntryRules::SpecRefused) +
               (mayBeFullName ? " (a full name begins with a drive, as C:\\)" : "");
    return EntryRules::SpecAcceptable(entry)
               ? ""
               : "a file specification needs a name and a period, as *.tmp or name.";
}

class TypeBuilder {
public:
    TypeBuilder(const json& object, const std::string& where, std::vector<std::string>& errors)
        : in_(object, where, errors), object_(object) {}

    std::optional<TJunkFileObj> Build() {
        for (const auto& [key, value] : object_.items())
            if (!kFields.contains(key) && !kDerived.contains(key))
                in_.Fail(key, "is no field of a junk file type");
        ReadNameAndMethod();
        ReadFolders();
        ReadEntries();
        ReadStoredValues();
        ReadDate();
        ReadAge();
        ReadSize();
        if (in_.Failed())
            return std::nullopt;
        TJunkFileObj built(t_.Name, t_.Enabled, t_.Method, t_.Folders, t_.Specs, t_.Protects,
                           t_.DateRestrict, t_.DateCompare, t_.Date1, t_.Date2, t_.AgeRestrict,
                           t_.AgeCompare, t_.Age1, t_.Age2, t_.SizeRestrict, t_.SizeCompare,
                           t_.Size1, t_.Size2, t_.SizeUnits);
        // What is read here must be what the wizard itself would let the user finish.
        if (!TypeWizRules::Buttons(TypeWizRules::ControlsOf(built)).finish) {
            in_.Fail("type", "the wizard could not finish it as it stands");
            return std::nullopt;
        }
        return built;
    }

private:
    void ReadNameAndMethod() {
        if (std::optional<std::string> name = in_.Text(object_, "name", "name")) {
            if (name->empty())
                in_.Fail("name", "must not be empty");
            else if (HasControl(*name))
                in_.Fail("name", "holds a control character (a line break or tab)");
            t_.Name = *name;
        }
        if (const json* enabled = in_.Get("enabled")) {
            if (enabled->is_boolean())
                t_.Enabled = enabled->get<bool>();
            else
                in_.Fail("enabled", "must be true or false");
        }
        static constexpr std::array<std::string_view, 3> kMethods{"recycleBin", "holdingFolder",
                                                                  "delete"};
        if (in_.Get("method"))
            t_.Method = in_.Code(object_, "method", kMethods, "method").value_or(0);
    }

    void ReadFolders() {
        const json* folders = in_.Get("folders");
        if (!folders)
            return;
        if (!folders->is_array())
            return in_.Fail("folders", "must be a list");
        for (size_t i = 0; i < folders->size(); ++i) {
            const json& entry = (*folders)[i];
            const std::string name = "folders[" + std::to_string(i) + "]";
            if (!entry.is_object()) {
                in_.Fail(name, "must be an object with \"path\" and \"mode\"");
                continue;
            }
            FolderEntry folder;
            if (std::optional<std::string> path = in_.Text(entry, "path", name + ".path")) {
                if (HasControl(*path) || !EntryRules::NameAcceptable(*path) ||
                    path->find_first_of(EntryRules::NameRefused) != std::string::npos)
                    in_.Fail(name + ".path", "must be a full folder path, as C:\\Temp");
                folder.path = *path;
            }
            if (entry.contains("mode"))
                folder.mode = in_.Code(entry, "mode", TypeJson::Modes, name + ".mode").value_or(0);
            t_.Folders.push_back(folder);
        }
        if (const json* all = in_.Get("allLocalDrives");
            all && (!all->is_boolean() || all->get<bool>() != t_.Folders.empty()))
            in_.Fail("allLocalDrives", "must be true exactly when \"folders\" is empty");
    }

    void ReadEntries() {
        t_.Specs = in_.List("patterns");
        if (t_.Specs.empty() && !in_.Failed())
            in_.Fail("patterns", "needs at least one file specification");
        t_.Protects = in_.List("protects");
        for (auto [list, field, full] :
             {std::tuple{&t_.Specs, "patterns", false}, std::tuple{&t_.Protects, "protects", true}})
            for (size_t i = 0; i < list->size(); ++i)
                if (const std::string fault = EntryFault((*list)[i], full); !fault.empty())
                    in_.Fail(std::string(field) + "[" + std::to_string(i) + "]", fault);
    }

    // The raw values the restrictions that are off keep; the restrictions below override them.
    void ReadStoredValues() {
        const json* stored = in_.Get("storedValues");
        if (!stored)
            return;
        if (!stored->is_object())
            return in_.Fail("storedValues", "must be an object");
        const std::pair<const char*, int32_t*> codes[] = {{"dateCompare", &t_.DateCompare},
                                                          {"ageCompare", &t_.AgeCompare},
                                                          {"age1", &t_.Age1},
                                                          {"age2", &t_.Age2},
                                                          {"sizeCompare", &t_.SizeCompare},
                                                          {"size1", &t_.Size1},
                                                          {"size2", &t_.Size2},
                                                          {"sizeUnits", &t_.SizeUnits}};
        for (const auto& [field, target] : codes) {
            const auto at = stored->find(field);
            if (at == stored->end())
                continue;
            if (!at->is_number_integer() || *at < std::numeric_limits<int32_t>::min() ||
                *at > std::numeric_limits<int32_t>::max())
                in_.Fail(std::string("storedValues.") + field, "must be a 32-bit whole number");
            else
                *target = at->get<int32_t>();
        }
        for (const auto& [field, target] : {std::pair{"date1", &t_.Date1}, {"date2", &t_.Date2}}) {
            const auto at = stored->find(field);
            if (at == stored->end() || at->is_null())
                continue;
            if (std::optional<TDateTime> when = TimeOf(*at))
                *target = *when;
            else
                in_.Fail(std::string("storedValues.") + field, "must be a date, as 2026-12-31");
        }
    }

    // The restriction's object, or null when it is off (or not given).
    const json* Restriction(const char* field) {
        const json* value = in_.Get(field);
        if (!value || value->is_null())
            return nullptr;
        if (!value->is_object()) {
            in_.Fail(field, "must be an object or null");
            return nullptr;
        }
        return value;
    }

    void ReadDate() {
        const json* date = Restriction("dateRestriction");
        if (!date)
            return;
        t_.DateRestrict = true;
        const auto compare =
            in_.Code(*date, "compare", TypeJson::DateCompares, "dateRestriction.compare");
        t_.DateCompare = compare.value_or(0);
        const bool two = TypeWizRules::TakesTwoValues(t_.DateCompare);
        bool read = true;
        for (auto [field, target] : {std::pair{"date1", &t_.Date1}, {"date2", &t_.Date2}}) {
            if (field == std::string("date2") && !two)
                continue;
            const std::optional<TDateTime> when =
                date->contains(field) ? TimeOf((*date)[field]) : std::nullopt;
            if (!when)
                in_.Fail(std::string("dateRestriction.") + field, "must be a date, as 2026-12-31");
            *target = when.value_or(0);
            read = read && when.has_value();
        }
        if (two && read && DateTime::DateOf(t_.Date1) == DateTime::DateOf(t_.Date2))
            in_.Fail("dateRestriction.date2", "must be another day than date1");
    }

    void ReadAge() {
        const json* age = Restriction("ageRestriction");
        if (!age)
            return;
        if (t_.DateRestrict)
            in_.Fail("ageRestriction", "a type is restricted by date or by age, not both");
        t_.AgeRestrict = true;
        t_.AgeCompare =
            in_.Code(*age, "compare", TypeJson::AgeCompares, "ageRestriction.compare").value_or(0);
        t_.Age1 = in_.Code(*age, "age1", AgeNames, "ageRestriction.age1").value_or(0);
        if (!TypeWizRules::TakesTwoValues(t_.AgeCompare))
            return;
        t_.Age2 = in_.Code(*age, "age2", AgeNames, "ageRestriction.age2").value_or(0);
        if (t_.Age2 == t_.Age1)
            in_.Fail("ageRestriction.age2", "must be another age than age1");
    }

    void ReadSize() {
        const json* size = Restriction("sizeRestriction");
        if (!size)
            return;
        t_.SizeRestrict = true;
        t_.SizeCompare =
            in_.Code(*size, "compare", TypeJson::SizeCompares, "sizeRestriction.compare")
                .value_or(0);
        t_.SizeUnits =
            size->contains("unit")
                ? in_.Code(*size, "unit", SizeUnitNames, "sizeRestriction.unit").value_or(0)
                : 0;
        const int64_t factor = SizeRule::UnitFactor(t_.SizeUnits);
        const bool two = TypeWizRules::TakesTwoValues(t_.SizeCompare);
        bool read = true;
        for (auto [field, target] : {std::pair{"size1", &t_.Size1}, {"size2", &t_.Size2}}) {
            if (field == std::string("size2") && !two)
                continue;
            const auto at = size->find(field);
            const bool whole = at != size->end() && at->is_number_integer() && *at >= 0 &&
                               at->get<int64_t>() % factor == 0 &&
                               at->get<int64_t>() / factor <= std::numeric_limits<int32_t>::max();
            read = read && whole;
            if (!whole)
                in_.Fail(std::string("sizeRestriction.") + field,
                         "must be a number of bytes: a whole number of " +
                             std::string(SizeUnitNames[static_cast<size_t>(t_.SizeUnits)]) +
                             ", from 0 to 2147483647 of them");
            else
                *target = static_cast<int32_t>(at->get<int64_t>() / factor);
        }
        if (two && read && t_.Size1 == t_.Size2)
            in_.Fail("sizeRestriction.size2", "must be another size than size1");
    }

    FieldReader in_;
    const json& object_;
    TJunkFileObj t_;
};

} // namespace

TypeJsonReader::Result TypeJsonReader::Read(std::string_view text) {
    Result result;
    const json document = json::parse(text, nullptr, false);
    if (document.is_discarded()) {
        result.errors.push_back("the text is no JSON");
        return result;
    }
    const json list = document.is_object() ? json::array({document}) : document;
    if (!list.is_array()) {
        result.errors.push_back("the JSON is no list of junk file types");
        return result;
    }
    for (size_t i = 0; i < list.size(); ++i) {
        std::string where = "type " + std::to_string(i + 1);
        if (list[i].is_object() && list[i].contains("name") && list[i]["name"].is_string())
            where += " (\"" + LineEscape::Of(list[i]["name"].get<std::string>()) + "\")";
        if (!list[i].is_object()) {
            result.errors.push_back(where + ": must be an object");
            continue;
        }
        if (std::optional<TJunkFileObj> type = TypeBuilder(list[i], where, result.errors).Build())
            result.types.push_back(std::move(*type));
    }
    if (!result.errors.empty())
        result.types.clear();
    return result;
}

} // namespace brumo
