#include "hex_bytes.h"
#include "model/junk_file_type.h"
#include "model/store_reader.h"
#include "model/store_writer.h"
#include "model/type_store.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace brumo {
namespace {

using test::Hex;
using test::ToHex;

const char* const kBackupFiles = "06 0C 42 61 63 6B 75 70 20 66 69 6C 65 73 09 02 00 02 00 "
                                 "02 02 06 05 2A 2E 62 61 6B 06 05 2A 2E 6F 6C 64 02 00 "
                                 "08 02 00 11 00 00 00 00 00 00 00 00 11 00 00 00 00 00 00 00 00 "
                                 "08 02 00 02 00 02 00 08 02 00 02 00 02 00 02 00";

TJunkFileObj BackupFiles() {
    TJunkFileObj t;
    t.Name = "Backup files";
    t.Specs = {"*.bak", "*.old"};
    return t;
}

std::string Saved(const TJunkFileObj& t) {
    StoreWriter out;
    t.SaveToStream(out);
    return out.Take();
}

// Reads one record and expects it to use every byte.
TJunkFileObj ReadOne(std::string_view bytes) {
    StoreReader in(bytes, "test.DAT");
    TJunkFileObj t;
    auto error = t.LoadFromStream(in);
    EXPECT_FALSE(error) << error->message;
    EXPECT_EQ(in.Position(), bytes.size());
    return t;
}

TEST(StoreFormat, WritesTheBackupFilesRecordByteForByte) {
    const std::string bytes = Saved(BackupFiles());
    EXPECT_EQ(bytes.size(), 74u);
    EXPECT_EQ(ToHex(bytes), ToHex(Hex(kBackupFiles)));
    EXPECT_EQ(ReadOne(bytes), BackupFiles());
}

TEST(StoreFormat, FolderEntryCarriesItsMode) {
    TJunkFileObj t = BackupFiles();
    t.Folders = {{"C:\\TEMP", FolderOnly}};
    std::string expected = Hex(kBackupFiles);
    expected.replace(17, 2, Hex("02 01 06 07 43 3A 5C 54 45 4D 50 02 01"));
    EXPECT_EQ(ToHex(Saved(t)), ToHex(expected));
    EXPECT_EQ(ReadOne(expected), t);
}

TEST(StoreFormat, IntegersTakeTheNarrowestForm) {
    StoreWriter out;
    for (int32_t v : {2, 500, 100000, -1, 127, -128, 128, -129, 32767, -32768, 32768, INT32_MIN})
        out.WriteInteger(v);
    EXPECT_EQ(ToHex(out.Bytes()), "02 02 03 F4 01 04 A0 86 01 00 02 FF 02 7F 02 80 03 80 00 03 "
                                  "7F FF 03 FF 7F 03 00 80 04 00 80 00 00 04 00 00 00 80");
    StoreReader in(out.Bytes(), "x");
    std::vector<int32_t> back(12);
    for (auto& v : back)
        ASSERT_TRUE(in.ReadInteger(v));
    EXPECT_EQ(back, (std::vector<int32_t>{2, 500, 100000, -1, 127, -128, 128, -129, 32767, -32768,
                                          32768, INT32_MIN}));
}

TEST(StoreFormat, DatesAreAlwaysEightByteDoubles) {
    StoreWriter out;
    out.WriteDate(39462); // 15 January 2008
    out.WriteDate(0);
    EXPECT_EQ(ToHex(out.Bytes()), "11 00 00 00 00 C0 44 E3 40 11 00 00 00 00 00 00 00 00");
}

TEST(StoreFormat, StringFormsByLengthAndCharacters) {
    EXPECT_EQ(ToHex(Saved(TJunkFileObj()).substr(0, 2)), "06 00");

    TJunkFileObj t;
    t.Name = std::string(255, 'a');
    std::string bytes = Saved(t);
    EXPECT_EQ(ToHex(bytes.substr(0, 2)), "06 FF");
    EXPECT_EQ(ReadOne(bytes).Name, t.Name);

    t.Name = std::string(256, 'a');
    bytes = Saved(t);
    EXPECT_EQ(ToHex(bytes.substr(0, 5)), "0C 00 01 00 00");
    EXPECT_EQ(ReadOne(bytes).Name, t.Name);

    t.Name = "Café"; // UTF-8 inside the program
    bytes = Saved(t);
    EXPECT_EQ(ToHex(bytes.substr(0, 10)), "14 05 00 00 00 43 61 66 C3 A9");
    EXPECT_EQ(ReadOne(bytes).Name, "Café");
}

TEST(StoreFormat, EightBitTextFromACodePageBecomesUtf8) {
    // A short string holding Windows-1252 bytes, as an 8-bit writer leaves them.
    std::string bytes = Hex(kBackupFiles);
    bytes.replace(0, 14, Hex("06 06 43 61 66 E9 20 80"));
    EXPECT_EQ(ReadOne(bytes).Name, "Café €");
    // Valid UTF-8 in an 8-bit string is kept as it is.
    bytes.replace(0, 8, Hex("06 05 43 61 66 C3 A9"));
    EXPECT_EQ(ReadOne(bytes).Name, "Café");
}

TEST(StoreFormat, ReadsWideStringsAndOtherDateForms) {
    // Name as UTF-16 (0x12); Date1 as a 64-bit integer (0x13), Date2 as an 8-bit integer.
    std::string bytes = Hex(kBackupFiles);
    bytes.replace(40, 18, Hex("13 26 9A 00 00 00 00 00 00 02 05"));
    bytes.replace(0, 14, Hex("12 04 00 00 00 57 00 FC 00 3D D8 00 DE"));
    const TJunkFileObj t = ReadOne(bytes);
    EXPECT_EQ(t.Name, "Wü\xF0\x9F\x98\x80");
    EXPECT_EQ(t.Date1, 39462.0);
    EXPECT_EQ(t.Date2, 5.0);
}

TEST(StoreFormat, StrayBooleanByteReadsFalse) {
    std::string bytes = Hex(kBackupFiles);
    bytes[14] = 0x02; // Enabled
    TJunkFileObj expected = BackupFiles();
    expected.Enabled = false;
    EXPECT_EQ(ReadOne(bytes), expected);
}

TEST(StoreFormat, NegativeCountReadsNoEntries) {
    std::string bytes = Hex(kBackupFiles);
    bytes.replace(17, 2, Hex("02 FF")); // folders
    EXPECT_EQ(ReadOne(bytes), BackupFiles());
}

TEST(StoreFormat, RecordsBackToBackEachEndAfterTheirLastByte) {
    TJunkFileObj second = BackupFiles();
    second.Name = "Second";
    second.Folders = {{"C:\\TEMP", SubfoldersOnly}};
    second.DateRestrict = true;
    second.DateCompare = 3;
    second.Date1 = 39462;
    second.Date2 = 39500;
    second.Size2 = 100000;
    const std::string bytes = Saved(BackupFiles()) + Saved(second);
    StoreReader in(bytes, "test.DAT");
    TJunkFileObj a, b;
    ASSERT_FALSE(a.LoadFromStream(in));
    EXPECT_EQ(in.Position(), 74u);
    ASSERT_FALSE(b.LoadFromStream(in));
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(a, BackupFiles());
    EXPECT_EQ(b, second);
}

TEST(StoreFormat, FileCutInsideItsThirdRecordKeepsTheFirstTwo) {
    const std::string whole = Saved(BackupFiles()) + Saved(BackupFiles()) + Saved(BackupFiles());
    // Offset 169 starts the third record's first specification, cut after three of its bytes.
    const TypeStore::LoadResult r = TypeStore::Parse(whole.substr(0, 172), "BRUMO.DAT");
    EXPECT_EQ(r.status, TypeStore::LoadStatus::Failed);
    ASSERT_EQ(r.types.size(), 2u);
    EXPECT_EQ(r.types[1], BackupFiles());
    EXPECT_NE(r.error.find("\"BRUMO.DAT\""), std::string::npos) << r.error;
    EXPECT_NE(r.error.find("byte 169"), std::string::npos) << r.error;

    // Cut between two values: the error points at the end of the data.
    const TypeStore::LoadResult atEnd = TypeStore::Parse(whole.substr(0, 167), "BRUMO.DAT");
    EXPECT_EQ(atEnd.types.size(), 2u);
    EXPECT_NE(atEnd.error.find("byte 167"), std::string::npos) << atEnd.error;
}

TEST(StoreFormat, UnexpectedTagsFailWithTheirOffset) {
    std::string bytes = Hex(kBackupFiles);
    bytes[15] = 0x06; // a string tag where Method belongs
    StoreReader in(bytes, "BRUMO.DAT");
    TJunkFileObj t;
    t.Name = "untouched";
    auto error = t.LoadFromStream(in);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->offset, 15u);
    EXPECT_NE(error->message.find("invalid property value"), std::string::npos);
    EXPECT_EQ(t.Name, "untouched");

    bytes = Hex(kBackupFiles);
    bytes[0] = 0x02; // an integer where the name belongs
    StoreReader name(bytes, "x");
    EXPECT_EQ(TJunkFileObj().LoadFromStream(name)->offset, 0u);

    bytes = Hex(kBackupFiles);
    bytes.replace(40, 9, Hex("06 00")); // a string in a date position
    StoreReader dates(bytes, "x");
    EXPECT_EQ(TJunkFileObj().LoadFromStream(dates)->offset, 40u);

    bytes = Hex(kBackupFiles);
    bytes.replace(15, 2, Hex("13 00 00 00 00 00 00 00 00")); // 64-bit only in date positions
    StoreReader wide(bytes, "x");
    EXPECT_EQ(TJunkFileObj().LoadFromStream(wide)->offset, 15u);
}

TEST(StoreFormat, HugeLengthsFailWithoutAllocating) {
    for (const char* hostile : {"0C FF FF FF 7F 41", "14 FF FF FF FF 41", "12 FF FF FF FF 41 00",
                                "0C 00 00 00 80", "06 05 41"}) {
        const std::string bytes = Hex(hostile);
        StoreReader in(bytes, "x");
        auto error = TJunkFileObj().LoadFromStream(in);
        ASSERT_TRUE(error) << hostile;
        EXPECT_EQ(error->offset, 0u);
        EXPECT_NE(error->message.find("ends inside"), std::string::npos) << error->message;
    }
}

} // namespace
} // namespace brumo
