#include "model/default_types.h"
#include "platform/special_folders.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace brumo {
namespace {

const DefaultTypes::Folders kWindowsLike{"C:\\Documents and Settings\\u\\Cookies",
                                         "C:\\Documents and Settings\\u\\Temporary Internet Files",
                                         "C:\\TEMP\\",
                                         "C:\\WINDOWS",
                                         "",
                                         ""};

std::vector<std::string> Names(const std::vector<TJunkFileObj>& list) {
    std::vector<std::string> names;
    for (const auto& t : list)
        names.push_back(t.Name);
    return names;
}

const TJunkFileObj& Named(const std::vector<TJunkFileObj>& list, const std::string& name) {
    auto it = std::find_if(list.begin(), list.end(), [&](auto& t) { return t.Name == name; });
    EXPECT_NE(it, list.end()) << name;
    return *it;
}

TEST(DefaultTypes, ElevenTypesInTheirOrderWithTheirMethods) {
    for (bool recycleUnusable : {false, true}) {
        std::vector<TJunkFileObj> list;
        DefaultTypes::AppendTo(list, recycleUnusable, kWindowsLike);
        EXPECT_EQ(Names(list),
                  (std::vector<std::string>{
                      "Backup files", "Borland C++ temporary files", "Help temporary files",
                      "Internet Explorer cookies", "Internet Explorer cache", "Lost cluster files",
                      "Setup temporary files", "Temp folders", "Temporary files",
                      "Windows diagnostic files", "WS_FTP temporary files"}));
        const int32_t r = recycleUnusable ? MethodHoldingFolder : MethodRecycleBin;
        for (const auto& t : list) {
            const bool ie = t.Name.starts_with("Internet Explorer");
            EXPECT_EQ(t.Method, ie ? MethodDelete : r) << t.Name;
            EXPECT_TRUE(t.Enabled);
            EXPECT_FALSE(t.DateRestrict || t.AgeRestrict || t.SizeRestrict);
        }
    }
}

TEST(DefaultTypes, AHomeFolderBringsTheLinuxTypesAfterTheOthers) {
    DefaultTypes::Folders folders = kWindowsLike;
    folders.home = "C:\\home\\u";
    folders.cache = "C:\\home\\u\\.cache";
    std::vector<TJunkFileObj> linux;
    DefaultTypes::AppendTo(linux, true, folders);
    linux.erase(linux.begin(), linux.end() - 3);
    const struct {
        const char* name;
        const char* folder;
        int32_t age;
    } expected[] = {{"Thumbnail cache", "C:\\home\\u\\.cache\\thumbnails", 3},
                    {"Cached files", "C:\\home\\u\\.cache", 4},
                    {"Editor backup files", "C:\\home\\u", 2}};
    for (size_t i = 0; i < 3; ++i) {
        const TJunkFileObj& type = linux[i];
        EXPECT_EQ(type.Name, expected[i].name);
        EXPECT_EQ(type.Folders,
                  (std::vector<FolderEntry>{{expected[i].folder, FolderAndSubfolders}}));
        EXPECT_TRUE(type.AgeRestrict && type.AgeCompare == 1 && type.Age1 == expected[i].age)
            << type.Name;
        // Each can be undone: the holding folder where the Recycle Bin cannot be used.
        EXPECT_EQ(type.Method, MethodHoldingFolder);
    }
}

TEST(DefaultTypes, FoldersAndTheirModes) {
    std::vector<TJunkFileObj> list;
    DefaultTypes::AppendTo(list, false, kWindowsLike);
    EXPECT_TRUE(Named(list, "Backup files").Folders.empty());
    EXPECT_EQ(Named(list, "Temp folders").Folders,
              (std::vector<FolderEntry>{{"C:\\TEMP\\", FolderOnly}}));
    EXPECT_EQ(Named(list, "Windows diagnostic files").Folders,
              (std::vector<FolderEntry>{{"C:\\", FolderAndSubfolders}}));
    EXPECT_EQ(Named(list, "Internet Explorer cookies").Folders,
              (std::vector<FolderEntry>{{kWindowsLike.cookies, FolderAndSubfolders}}));
}

TEST(DefaultTypes, UnknownFoldersLeaveTheirTypesOut) {
    DefaultTypes::Folders folders;
    folders.temp = "C:\\TEMP\\\nD:\\"; // a path with a line break would become two folders
    std::vector<TJunkFileObj> list;
    DefaultTypes::AppendTo(list, false, folders);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Backup files", "Borland C++ temporary files",
                                                     "Help temporary files", "Lost cluster files",
                                                     "Setup temporary files", "Temporary files",
                                                     "WS_FTP temporary files"}));
}

TEST(DefaultTypes, ThisSystemsFolders) {
    const auto list = DefaultTypes::Build(false);
    const auto has = [&](const char* name) {
        return std::any_of(list.begin(), list.end(), [&](auto& t) { return t.Name == name; });
    };
    EXPECT_EQ(has("Internet Explorer cookies"), !SpecialFolders::CookiesFolder().empty());
    EXPECT_EQ(has("Internet Explorer cache"), !SpecialFolders::InternetCacheFolder().empty());
    EXPECT_EQ(has("Windows diagnostic files"), !SpecialFolders::WindowsFolder().empty());
    const std::string temp = SpecialFolders::TempPath();
    ASSERT_EQ(has("Temp folders"), !temp.empty());
    if (!temp.empty()) {
        EXPECT_EQ(Named(list, "Temp folders").Folders,
                  (std::vector<FolderEntry>{{temp, FolderOnly}}));
    }
}

} // namespace
} // namespace brumo
