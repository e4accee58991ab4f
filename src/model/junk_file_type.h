#pragma once

#include "model/store_error.h"
#include "platform/date_time.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brumo {

class StoreReader;
class StoreWriter;
class StyledText;

enum FolderMode : int32_t { FolderAndSubfolders = 0, FolderOnly = 1, SubfoldersOnly = 2 };

enum CleanupMethod : int32_t { MethodRecycleBin = 0, MethodHoldingFolder = 1, MethodDelete = 2 };

struct FolderEntry {
    std::string path;
    int32_t mode = FolderAndSubfolders;

    bool operator==(const FolderEntry&) const = default;
};

// One junk file type: where to look, what is junk, what is protected, the restrictions and
// how matching files are cleaned up. Field order is the order of the stored form.
// Codes are not validated: the wizard stores -1 for an unchosen drop-down entry, so anything
// that indexes a display-name table goes through DisplayName().
class TJunkFileObj {
public:
    std::string Name;
    bool Enabled = true;
    int32_t Method = MethodRecycleBin;
    std::vector<FolderEntry> Folders; // empty: all local fixed drives
    std::vector<std::string> Specs;
    std::vector<std::string> Protects;
    bool DateRestrict = false;
    int32_t DateCompare = 0;
    TDateTime Date1 = 0;
    TDateTime Date2 = 0;
    bool AgeRestrict = false;
    int32_t AgeCompare = 0;
    int32_t Age1 = 0;
    int32_t Age2 = 0;
    bool SizeRestrict = false;
    int32_t SizeCompare = 0;
    int32_t Size1 = 0;
    int32_t Size2 = 0;
    int32_t SizeUnits = 0;

    TJunkFileObj() = default;

    // Dates lose their time of day; for the two-value kinds (codes 3 and 4) each pair is
    // put in ascending order.
    TJunkFileObj(std::string name, bool enabled, int32_t method, std::vector<FolderEntry> folders,
                 std::vector<std::string> specs, std::vector<std::string> protects,
                 bool dateRestrict, int32_t dateCompare, TDateTime dateA, TDateTime dateB,
                 bool ageRestrict, int32_t ageCompare, int32_t ageA, int32_t ageB,
                 bool sizeRestrict, int32_t sizeCompare, int32_t sizeA, int32_t sizeB,
                 int32_t sizeUnits);

    // Each text holds one entry per line (CR, LF or CR LF). Bit i of folderOnlyMask gives
    // folder entry i the mode FolderOnly, the others get FolderAndSubfolders.
    TJunkFileObj(std::string name, bool enabled, int32_t method, std::string_view folders,
                 std::string_view specs, std::string_view protects, uint32_t folderOnlyMask);

    TJunkFileObj(const TJunkFileObj&) = default;
    TJunkFileObj(TJunkFileObj&&) = default;
    TJunkFileObj& operator=(const TJunkFileObj&) = default;
    TJunkFileObj& operator=(TJunkFileObj&&) = default;

    bool operator==(const TJunkFileObj&) const = default;

    // Returns the error text "Invalid backup type" for a code outside 0..2 and leaves
    // Method unchanged.
    [[nodiscard]] std::optional<std::string> SetMethod(int32_t code);

    // True when both types select and treat the same files the same way; Name and Enabled
    // do not count, list entries compare ignoring case, position by position.
    bool IsSameFunction(const TJunkFileObj& other) const;

    // True when the folder list stands for all local fixed drives.
    bool SearchesAllDrives() const;

    // Appends this type's record.
    void SaveToStream(StoreWriter& out) const;
    // Reads one record from the reader's position and leaves it just after the record. On
    // failure this object is left as it was and the reader holds the error.
    [[nodiscard]] std::optional<StoreError> LoadFromStream(StoreReader& in);

    // Replaces the box's runs by this type's summary. The caller supplies the caption that
    // stands for all local drives ("Local drives (C:,D:)").
    void DescribeTo(StyledText& box, const std::string& localDrivesCaption) const;
};

} // namespace brumo
