#include "model/junk_file_type.h"

#include "model/display_names.h"
#include "model/store_reader.h"
#include "model/store_writer.h"
#include "model/styled_text.h"
#include "platform/locale_info.h"

#include <cmath>
#include <cstdio>
#include <utility>

namespace brumo {

namespace {
// The two-value kinds are "between" and "not between".
bool TakesTwoValues(int32_t compare) {
    return compare > 2;
}

template <typename T> void PlacePair(int32_t compare, T a, T b, T& first, T& second) {
    if (TakesTwoValues(compare) && b < a)
        std::swap(a, b);
    first = a;
    second = b;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

bool SameTexts(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    for (size_t i = 0; i < a.size(); ++i)
        if (!LocaleInfo::EqualIgnoreCase(a[i], b[i]))
            return false;
    return true;
}

bool ReadStrings(StoreReader& in, std::vector<std::string>& list) {
    int32_t count = 0;
    if (!in.ReadInteger(count))
        return false;
    for (int32_t i = 0; i < count; ++i) {
        std::string text;
        if (!in.ReadString(text))
            return false;
        list.push_back(std::move(text));
    }
    return true;
}

void WriteStrings(StoreWriter& out, const std::vector<std::string>& list) {
    out.WriteInteger(static_cast<int32_t>(list.size()));
    for (const auto& text : list)
        out.WriteString(text);
}

// "m/d/yyyy" with the locale's separator. A day number outside the years 1..9999 (possible
// in a damaged store) gives no text rather than a nonsense date.
std::string ShortDate(TDateTime value) {
    constexpr double kFirstDay = -693593.0;    // 1 January 0001
    constexpr double kPastLastDay = 2958466.0; // 1 January 10000
    if (!std::isfinite(value) || value < kFirstDay || value >= kPastLastDay)
        return {};
    const CalendarDate d = DateTime::DecodeDate(value);
    const char sep = LocaleInfo::DateSeparator();
    char text[32];
    std::snprintf(text, sizeof text, "%d%c%d%c%04d", d.month, sep, d.day, sep, d.year);
    return text;
}

void AddList(StyledText& box, const char* singular, const char* plural,
             const std::vector<std::string>& entries) {
    box.Add(entries.size() == 1 ? singular : plural, RunStyle::Italic, 12, 1);
    for (const auto& entry : entries)
        box.Add("\t" + entry, RunStyle::Regular, 10, 1);
}
} // namespace

TJunkFileObj::TJunkFileObj(std::string name, bool enabled, int32_t method,
                           std::vector<FolderEntry> folders, std::vector<std::string> specs,
                           std::vector<std::string> protects, bool dateRestrict,
                           int32_t dateCompare, TDateTime dateA, TDateTime dateB, bool ageRestrict,
                           int32_t ageCompare, int32_t ageA, int32_t ageB, bool sizeRestrict,
                           int32_t sizeCompare, int32_t sizeA, int32_t sizeB, int32_t sizeUnits)
    : Name(std::move(name)), Enabled(enabled), Method(method), Folders(std::move(folders)),
      Specs(std::move(specs)), Protects(std::move(protects)), DateRestrict(dateRestrict),
      DateCompare(dateCompare), AgeRestrict(ageRestrict), AgeCompare(ageCompare),
      SizeRestrict(sizeRestrict), SizeCompare(sizeCompare), SizeUnits(sizeUnits) {
    PlacePair(dateCompare, DateTime::DateOf(dateA), DateTime::DateOf(dateB), Date1, Date2);
    PlacePair(ageCompare, ageA, ageB, Age1, Age2);
    PlacePair(sizeCompare, sizeA, sizeB, Size1, Size2);
}

TJunkFileObj::TJunkFileObj(std::string name, bool enabled, int32_t method, std::string_view folders,
                           std::string_view specs, std::string_view protects,
                           uint32_t folderOnlyMask)
    : Name(std::move(name)), Enabled(enabled), Method(method), Specs(SplitLines(specs)),
      Protects(SplitLines(protects)) {
    std::vector<std::string> paths = SplitLines(folders);
    Folders.reserve(paths.size());
    for (size_t i = 0; i < paths.size(); ++i) {
        const bool folderOnly = i < 32 && (folderOnlyMask >> i) & 1u;
        Folders.push_back({std::move(paths[i]), folderOnly ? FolderOnly : FolderAndSubfolders});
    }
}

std::optional<std::string> TJunkFileObj::SetMethod(int32_t code) {
    if (static_cast<uint32_t>(code) > MethodDelete)
        return std::string("Invalid backup type");
    Method = code;
    return std::nullopt;
}

bool TJunkFileObj::IsSameFunction(const TJunkFileObj& other) const {
    if (Method != other.Method || DateRestrict != other.DateRestrict ||
        DateCompare != other.DateCompare || Date1 != other.Date1 || Date2 != other.Date2 ||
        AgeRestrict != other.AgeRestrict || AgeCompare != other.AgeCompare || Age1 != other.Age1 ||
        Age2 != other.Age2 || SizeRestrict != other.SizeRestrict ||
        SizeCompare != other.SizeCompare || Size1 != other.Size1 || Size2 != other.Size2 ||
        SizeUnits != other.SizeUnits)
        return false;
    if (Protects.size() != other.Protects.size() || Folders.size() != other.Folders.size() ||
        Specs.size() != other.Specs.size())
        return false;
    if (!SameTexts(Protects, other.Protects) || !SameTexts(Specs, other.Specs))
        return false;
    for (size_t i = 0; i < Folders.size(); ++i)
        if (!LocaleInfo::EqualIgnoreCase(Folders[i].path, other.Folders[i].path) ||
            Folders[i].mode != other.Folders[i].mode)
            return false;
    return true;
}

bool TJunkFileObj::SearchesAllDrives() const {
    return Folders.empty() ||
           (Folders.size() == 1 && Folders.front().path.starts_with("Local drives ("));
}

void TJunkFileObj::SaveToStream(StoreWriter& out) const {
    out.WriteString(Name);
    out.WriteBoolean(Enabled);
    out.WriteInteger(Method);
    out.WriteInteger(static_cast<int32_t>(Folders.size()));
    for (const auto& folder : Folders) {
        out.WriteString(folder.path);
        out.WriteInteger(folder.mode);
    }
    WriteStrings(out, Specs);
    WriteStrings(out, Protects);
    out.WriteBoolean(DateRestrict);
    out.WriteInteger(DateCompare);
    out.WriteDate(Date1);
    out.WriteDate(Date2);
    out.WriteBoolean(AgeRestrict);
    out.WriteInteger(AgeCompare);
    out.WriteInteger(Age1);
    out.WriteInteger(Age2);
    out.WriteBoolean(SizeRestrict);
    out.WriteInteger(SizeCompare);
    out.WriteInteger(Size1);
    out.WriteInteger(Size2);
    out.WriteInteger(SizeUnits);
}

std::optional<StoreError> TJunkFileObj::LoadFromStream(StoreReader& in) {
    // Read into a fresh record so that a failure part-way leaves this one untouched.
    TJunkFileObj t;
    int32_t folderCount = 0;
    bool ok = in.ReadString(t.Name) && in.ReadBoolean(t.Enabled) && in.ReadInteger(t.Method) &&
              in.ReadInteger(folderCount);
    for (int32_t i = 0; ok && i < folderCount; ++i) {
        FolderEntry folder;
        ok = in.ReadString(folder.path) && in.ReadInteger(folder.mode);
        if (ok)
            t.Folders.push_back(std::move(folder));
    }
    ok = ok && ReadStrings(in, t.Specs) && ReadStrings(in, t.Protects) &&
         in.ReadBoolean(t.DateRestrict) && in.ReadInteger(t.DateCompare) && in.ReadDate(t.Date1) &&
         in.ReadDate(t.Date2) && in.ReadBoolean(t.AgeRestrict) && in.ReadInteger(t.AgeCompare) &&
         in.ReadInteger(t.Age1) && in.ReadInteger(t.Age2) && in.ReadBoolean(t.SizeRestrict) &&
         in.ReadInteger(t.SizeCompare) && in.ReadInteger(t.Size1) && in.ReadInteger(t.Size2) &&
         in.ReadInteger(t.SizeUnits);
    if (!ok)
        return in.Error();
    *this = std::move(t);
    return std::nullopt;
}

void TJunkFileObj::DescribeTo(StyledText& box, const std::string& localDrivesCaption) const {
    using enum RunStyle;
    box.Clear();
    box.Add("Type: ", Bold, 14);
    box.Add(Name, BoldUnderline, 14);
    box.Add(Enabled ? " (enabled)" : " (disabled)", Bold, 14, 2);

    if (SearchesAllDrives()) {
        box.Add("Search " + localDrivesCaption, Italic, 12, 1);
    } else {
        box.Add(Folders.size() == 1 ? "Search for files in this folder:"
                                    : "Search for files in these folders:",
                Italic, 12, 1);
        for (const auto& folder : Folders) {
            box.Add("\t" + folder.path, Regular, 10);
            const char* phrase = folder.mode == FolderOnly       ? "\t but not its subfolders"
                                 : folder.mode == SubfoldersOnly ? "\t's subfolders only"
                                                                 : "\t and its subfolders";
            box.Add(phrase, Italic, 10, 1);
        }
    }

    AddList(box, "Search for files matching this file specification:",
            "Search for files matching these file specifications:", Specs);

    if (DateRestrict || AgeRestrict || SizeRestrict)
        box.Add("Restrict file matching by date or size:", Italic, 12, 1);
    if (DateRestrict) {
        box.Add("\tFile date must be ", Regular, 10);
        box.Add(std::string(DisplayName(DateCompareNames, DateCompare)) + " ", Regular, 10);
        if (!TakesTwoValues(DateCompare)) {
            box.Add(ShortDate(Date1), Bold, 10, 1);
        } else {
            box.Add(ShortDate(Date1), Bold, 10);
            box.Add(" and ", Regular, 10);
            box.Add(ShortDate(Date2), Bold, 10, 1);
        }
    }
    if (AgeRestrict) {
        box.Add("\tFile must be ", Regular, 10);
        box.Add(std::string(DisplayName(AgeCompareNames, AgeCompare)) + " ", Regular, 10);
        box.Add(std::string(DisplayName(AgeNames, Age1)), Bold, 10);
        if (TakesTwoValues(AgeCompare)) {
            box.Add(" and ", Regular, 10);
            box.Add(std::string(DisplayName(AgeNames, Age2)), Bold, 10);
        }
        box.Add(" old", Regular, 10, 1);
    }
    if (SizeRestrict) {
        box.Add("\tFile size must be ", Regular, 10);
        box.Add(std::string(DisplayName(SizeCompareNames, SizeCompare)) + " ", Regular, 10);
        box.Add(std::to_string(Size1) + " ", Bold, 10);
        if (TakesTwoValues(SizeCompare)) {
            box.Add("and ", Regular, 10);
            box.Add(std::to_string(Size2) + " ", Bold, 10);
        }
        box.Add(std::string(DisplayName(SizeUnitNames, SizeUnits)), Regular, 10, 1);
    }

    if (!Protects.empty())
        AddList(box, "Protect files matching this file specification:",
                "Protect files matching these file specifications:", Protects);

    box.Add("", Regular, 10, 1);
    box.Add("Clean up matching files by:", Italic, 12, 1);
    box.Add("\t" + std::string(DisplayName(MethodNames, Method)), Regular, 10, 1);
}

} // namespace brumo
