#include "model/type_wiz_rules.h"

#include <cctype>
#include <limits>

namespace brumo {

namespace {
bool IsBlank(const std::string& text) {
    for (unsigned char ch : text)
        if (!std::isspace(ch))
            return false;
    return true;
}

bool DateRestrictionValid(const WizardControls& c) {
    if (c.dateType < 0)
        return false;
    const bool two = TypeWizRules::TakesTwoValues(c.dateType);
    if (c.byDate)
        return !two || DateTime::DateOf(c.date1) != DateTime::DateOf(c.date2);
    if (!c.byAge || c.age1 < 0)
        return false;
    return !two || (c.age2 >= 0 && c.age2 != c.age1);
}

bool SizeRestrictionValid(const WizardControls& c) {
    if (c.sizeType < 0 || c.sizeUnits < 0)
        return false;
    if (!TypeWizRules::SizeValue(c.size1))
        return false;
    if (!TypeWizRules::TakesTwoValues(c.sizeType))
        return true;
    // Compared as texts: "5" and "05" differ although their values do not.
    return TypeWizRules::SizeValue(c.size2) && c.size2 != c.size1;
}
} // namespace

bool TypeWizRules::RestrictionsValid(const WizardControls& c) {
    if (c.restrictDate && !DateRestrictionValid(c))
        return false;
    if (c.restrictSize && !SizeRestrictionValid(c))
        return false;
    return true;
}

WizardButtons TypeWizRules::Buttons(const WizardControls& c) {
    const bool named = !c.name.empty(); // blanks count as a name
    const bool hasSpecs = !c.specs.empty();
    const bool valid = RestrictionsValid(c);
    WizardButtons b;
    b.back = c.page >= PageDirectories && c.page <= PageSummary;
    b.finish = named && valid && hasSpecs && c.page != PageCounts;
    switch (c.page) {
    case PageName:
        b.next = named;
        break;
    case PageDeletes:
        b.next = hasSpecs && valid;
        break;
    case PageDirectories:
    case PageProtects:
    case PageSummary:
        b.next = true;
        break;
    default:
        b.next = false;
        break;
    }
    return b;
}

std::optional<int32_t> TypeWizRules::SizeValue(const std::string& text) {
    if (text.empty())
        return std::nullopt;
    int64_t value = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9')
            return std::nullopt;
        value = value * 10 + (ch - '0');
        if (value > std::numeric_limits<int32_t>::max())
            return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

std::string TypeWizRules::DigitsOnly(const std::string& text) {
    std::string digits;
    for (char ch : text)
        if (ch >= '0' && ch <= '9')
            digits += ch;
    return digits;
}

bool TypeWizRules::IsAllDrivesEntry(const std::string& text) {
    return text.starts_with("Local drives (");
}

std::vector<FolderEntry> TypeWizRules::FolderEntriesOf(const std::vector<FolderEntry>& folders,
                                                       const std::string& allDrivesEntry) {
    std::vector<FolderEntry> entries;
    for (const FolderEntry& folder : folders)
        if (!IsBlank(folder.path))
            entries.push_back(folder);
    if (entries.empty())
        entries.push_back({allDrivesEntry, FolderAndSubfolders});
    return entries;
}

std::vector<FolderEntry> TypeWizRules::FoldersOf(const std::vector<FolderEntry>& entries) {
    if (entries.size() == 1 && IsAllDrivesEntry(entries[0].path))
        return {};
    return entries;
}

TJunkFileObj TypeWizRules::BuildType(const WizardControls& c) {
    const int32_t method = c.method == MethodRecycleBin ? MethodRecycleBin
                           : c.method == MethodDelete   ? MethodDelete
                                                        : MethodHoldingFolder;
    return TJunkFileObj(c.name, c.enabled, method, FoldersOf(c.folders), c.specs, c.protects,
                        c.restrictDate && c.byDate, c.dateType, c.date1, c.date2,
                        c.restrictDate && c.byAge, c.dateType, c.age1, c.age2, c.restrictSize,
                        c.sizeType, SizeValue(c.size1).value_or(0), SizeValue(c.size2).value_or(0),
                        c.sizeUnits);
}

WizardControls TypeWizRules::ControlsOf(const TJunkFileObj& type) {
    const auto chosen = [](int32_t code, int32_t count) { return code < count ? code : -1; };
    WizardControls c;
    c.name = type.Name;
    c.enabled = type.Enabled;
    c.method = type.Method == MethodHoldingFolder || type.Method == MethodDelete ? type.Method
                                                                                 : MethodRecycleBin;
    c.folders = FolderEntriesOf(type.Folders, "Local drives ()");
    c.specs = type.Specs;
    c.protects = type.Protects;
    // Filled in this order, an age restriction wins over a date restriction.
    for (const bool age : {false, true}) {
        if (!(age ? type.AgeRestrict : type.DateRestrict))
            continue;
        c.restrictDate = true;
        c.byDate = !age;
        c.byAge = age;
        c.dateType = chosen(age ? type.AgeCompare : type.DateCompare, 5);
    }
    if (type.DateRestrict) {
        c.date1 = type.Date1;
        c.date2 = type.Date2;
    }
    if (type.AgeRestrict) {
        c.age1 = chosen(type.Age1, 7);
        c.age2 = chosen(type.Age2, 7);
    }
    if (type.SizeRestrict) {
        c.restrictSize = true;
        c.sizeType = chosen(type.SizeCompare, 5);
        c.size1 = std::to_string(type.Size1);
        c.size2 = std::to_string(type.Size2);
        c.sizeUnits = chosen(type.SizeUnits, 3);
    }
    return c;
}

} // namespace brumo
