#include "model/junk_file_type.h"
#include "model/type_store.h"
#include "type_commands_fixture.h"

#include "support/drive_map.h"
#include "support/file_text.h"
#include "support/scoped_env.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

namespace brumo {
namespace {

TJunkFileObj Type(std::string name, bool enabled, int32_t method, std::string folders = "",
                  std::string specs = "*.tmp") {
    return TJunkFileObj(std::move(name), enabled, method, folders, specs, "", 0);
}

TEST_F(TypeCommandsTest, ListShowsTheStoredTypesNumbered) {
    Store({Type("Old logs", true, 2), Type("Größere Dateien", false, 1), Type("X", true, -1)});
    ASSERT_EQ(Run({"list"}), 0) << err;
    EXPECT_EQ(out, "No.  Enabled  Name             Clean-up method\n"
                   "  1  yes      Old logs         deleting them permanently\n"
                   "  2  no       Größere Dateien  backing them up to a holding folder\n"
                   "  3  yes      X                unknown method (-1)\n");
    EXPECT_EQ(err, "");
}

TEST_F(TypeCommandsTest, WithoutAStoreTheDefaultsAreListedAndNothingIsWritten) {
    ASSERT_EQ(Run({"list"}), 0) << err;
    EXPECT_NE(err.find("no type store"), std::string::npos) << err;
    EXPECT_NE(err.find(files.TypeStore), std::string::npos) << err;
    EXPECT_NE(out.find("  1  yes      Backup files"), std::string::npos) << out;
    EXPECT_NE(out.find("Temp folders"), std::string::npos) << out;
    EXPECT_NE(out.find("moving them to the Recycle bin"), std::string::npos) << out;
    EXPECT_TRUE(fs::is_empty(tree / "c" / "prog"));

    // An empty store counts as none.
    Store({});
    ASSERT_EQ(Run({"list"}), 0) << err;
    EXPECT_NE(out.find("Backup files"), std::string::npos);
    EXPECT_EQ(fs::file_size(files.TypeStore), 0u);
}

TEST_F(TypeCommandsTest, DefaultsAreTheBuiltInTypesOfThisMachine) {
    Store({Type("Mine", true, 2)});
    ASSERT_EQ(Run({"defaults"}), 0) << err;
    EXPECT_EQ(out.find("Mine"), std::string::npos);
    // No cookies, Internet cache or Windows folder here.
    for (const char* name : {"Backup files", "Borland C++ temporary files", "Help temporary files",
                             "Lost cluster files", "Setup temporary files", "Temp folders",
                             "Temporary files", "WS_FTP temporary files"})
        EXPECT_NE(out.find(name), std::string::npos) << name;
    EXPECT_EQ(out.find("Internet Explorer"), std::string::npos);
    EXPECT_NE(out.find("  8  yes      WS_FTP temporary files"), std::string::npos) << out;
}

TEST_F(TypeCommandsTest, DescribeFindsATypeByNumberOrByName) {
    Store({Type("Backup files", true, 0, "", "*.bak\n*.old"),
           Type("Scratch", false, 2, "C:\\scratch\\", "*.*")});
    ASSERT_EQ(Run({"describe", "1"}), 0) << err;
    const std::string summary = "Type: Backup files (enabled)\n\n"
                                "Search Local drives (C:)\n"
                                "Search for files matching these file specifications:\n"
                                "\t*.bak\n\t*.old\n\n"
                                "Clean up matching files by:\n\tmoving them to the Recycle bin\n";
    EXPECT_EQ(out.substr(0, summary.size()), summary);
    // What no search enters, whatever the folders say.
    EXPECT_EQ(out.substr(summary.size())
                  .rfind("\nNever searched: the operating system's own folders (/usr, /etc, ", 0),
              0u)
        << out;

    ASSERT_EQ(Run({"describe", "sCRATCH"}), 0) << err;
    EXPECT_EQ(out.substr(0, out.find('\n')), "Type: Scratch (disabled)");
    EXPECT_NE(out.find("\tC:\\scratch\\\t and its subfolders\n"), std::string::npos) << out;
    EXPECT_NE(out.find("\tdeleting them permanently\n"), std::string::npos);
}

TEST_F(TypeCommandsTest, ListAndDescribeGiveJson) {
    TJunkFileObj odd = Type("Größere \"Dateien\"", false, 1, "", "*.tmp\n*.bak");
    odd.Folders = {FolderEntry{"C:\\Données \"x\"", FolderOnly}};
    odd.SizeRestrict = true;
    odd.SizeCompare = 2;
    odd.Size1 = 3;
    odd.SizeUnits = 1;
    Store({Type("Backup files", true, 0), odd});

    ASSERT_EQ(Run({"list", "--json"}), 0) << err;
    EXPECT_EQ(nlohmann::json::parse(out), nlohmann::json::parse(R"({"types": [
        {"number": 1, "name": "Backup files", "enabled": true, "method": "recycleBin"},
        {"number": 2, "name": "Größere \"Dateien\"", "enabled": false, "method": "holdingFolder"}
    ]})"));

    ASSERT_EQ(Run({"describe", "2", "--json"}), 0) << err;
    const nlohmann::json type = nlohmann::json::parse(out);
    EXPECT_EQ(type["name"], odd.Name);
    EXPECT_EQ(type["folders"],
              nlohmann::json::parse(R"([{"path": "C:\\Données \"x\"", "mode": "folderOnly"}])"));
    EXPECT_EQ(type["allLocalDrives"], false);
    EXPECT_EQ(type["patterns"], nlohmann::json::parse(R"(["*.tmp", "*.bak"])"));
    EXPECT_EQ(type["sizeRestriction"],
              nlohmann::json::parse(
                  R"({"compare": "greaterThan", "size1": 3072, "size2": null, "unit": "KB"})"));
    EXPECT_TRUE(type["dateRestriction"].is_null());
    EXPECT_EQ(type["systemFoldersNeverSearched"][0], "/usr");
    EXPECT_EQ(type["description"].get<std::string>().rfind("Type: Größere", 0), 0u) << type;
}

TEST_F(TypeCommandsTest, UnknownOrAmbiguousTypesAreErrors) {
    Store({Type("Logs", true, 0), Type("logs", true, 2), Type("2", true, 1)});
    EXPECT_EQ(Run({"describe", "Nothing"}), 2);
    EXPECT_NE(err.find("no junk file type named \"Nothing\""), std::string::npos) << err;
    EXPECT_EQ(out, "");

    EXPECT_EQ(Run({"describe", "LOGS"}), 2);
    EXPECT_NE(err.find("numbers 1, 2"), std::string::npos) << err;

    EXPECT_EQ(Run({"describe", "4"}), 2);
    EXPECT_NE(err.find("no junk file type number 4"), std::string::npos) << err;
    EXPECT_EQ(Run({"describe", "0"}), 2);

    // "2" is the second type's number and the third type's name.
    EXPECT_EQ(Run({"describe", "2"}), 2);
    EXPECT_NE(err.find("give the number"), std::string::npos) << err;
    // Its own number names it without doubt.
    EXPECT_EQ(Run({"describe", "3"}), 0) << err;
    EXPECT_EQ(out.substr(0, out.find('\n')), "Type: 2 (enabled)");
}

TEST_F(TypeCommandsTest, AMalformedStoreIsReportedAndLeftAlone) {
    Store({Type("First", true, 0), Type("Second", true, 2)});
    std::string bytes = test::ReadFileText(files.TypeStore);
    bytes.resize(bytes.size() - 3); // cut inside the second record
    std::ofstream(files.TypeStore, std::ios::binary | std::ios::trunc) << bytes;

    for (const char* command : {"list", "describe"}) {
        std::vector<std::string> args{command};
        if (std::string(command) == "describe")
            args.push_back("1");
        EXPECT_EQ(Run(args), 2) << command;
        EXPECT_EQ(out, "");
        EXPECT_EQ(err.rfind("brumo: ", 0), 0u) << err;
        EXPECT_NE(err.find("brumo.DAT"), std::string::npos) << err;
        EXPECT_NE(err.find("byte"), std::string::npos) << err;
    }
    EXPECT_EQ(test::ReadFileText(files.TypeStore), bytes);
    EXPECT_EQ(std::distance(fs::directory_iterator(tree / "c" / "prog"), fs::directory_iterator()),
              1);
}

TEST_F(TypeCommandsTest, TypeArgumentIsRequired) {
    EXPECT_EQ(Run({"--help"}), 0);
    for (const char* command : {"list", "describe", "defaults"})
        EXPECT_NE(out.find(command), std::string::npos) << command;
    EXPECT_EQ(Run({"describe", "--help"}), 0);
    EXPECT_NE(out.find("TYPE"), std::string::npos) << out;

    EXPECT_EQ(Run({"describe"}), 2);
    EXPECT_NE(err.find("TYPE"), std::string::npos) << err;
    EXPECT_EQ(Run({"list", "extra"}), 2);
    EXPECT_EQ(Run({"describe", "1", "2"}), 2);
}

} // namespace
} // namespace brumo
