#include "model/type_store.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace brumo {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// File operations whose next `failures` copies and moves fail.
class FailingCopies : public FileOperations {
public:
    mutable int failures = 0;
    OsError WriteFileAtomic(const std::string& path, std::string_view bytes) const override {
        if (path.ends_with(".BAD") && Fail())
            return OsError{EIO};
        return FileOperations::WriteFileAtomic(path, bytes);
    }
    OsError MoveFile(const std::string& from, const std::string& to) const override {
        return Fail() ? OsError{EIO} : FileOperations::MoveFile(from, to);
    }

private:
    bool Fail() const { return failures > 0 && failures-- > 0; }
};

// When the copy of a store that failed to load cannot be made, the store stays as it is.
class KeepingFails : public ::testing::Test {
protected:
    void SetUp() override {
        TJunkFileObj t;
        t.Name = "One";
        const std::string one = TypeStore::Serialize(std::vector{t});
        std::ofstream(dat, std::ios::binary) << one << one.substr(0, 10);
        ASSERT_EQ(store.Load(dat).status, TypeStore::LoadStatus::Failed);
        original = ReadAll(dat);
    }
    test::TempTree tree;
    std::string dat = (tree / "BRUMO.DAT").string();
    std::string original;
    FailingCopies faults;
    TypeStore store{true, faults};
};

TEST_F(KeepingFails, SaveLeavesTheStoreAndTriesAgainNextTime) {
    faults.failures = 1;
    const auto refused = store.Save(dat, std::vector<TJunkFileObj>{});
    EXPECT_FALSE(refused.saved);
    EXPECT_NE(refused.error.find(dat), std::string::npos) << refused.error;
    EXPECT_EQ(ReadAll(dat), original);
    EXPECT_FALSE(fs::exists(dat + ".BAD"));
    EXPECT_TRUE(store.FailedToLoad(dat));

    const auto saved = store.Save(dat, std::vector<TJunkFileObj>{});
    EXPECT_TRUE(saved.saved) << saved.Message();
    EXPECT_EQ(ReadAll(dat + ".BAD"), original);
    EXPECT_EQ(fs::file_size(dat), 0u);
}

TEST_F(KeepingFails, RemoveLeavesTheFile) {
    faults.failures = 1;
    EXPECT_FALSE(store.Remove(dat).saved);
    EXPECT_EQ(ReadAll(dat), original);
}

TEST(TypeStorePosix, AnUnreadableFileFailsToLoadAndIsLeftAlone) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop root";
    test::TempTree tree;
    const std::string dat = (tree / "BRUMO.DAT").string();
    std::ofstream(dat) << "secret";
    fs::permissions(dat, fs::perms::none);
    TypeStore store;
    const auto loaded = store.Load(dat);
    EXPECT_EQ(loaded.status, TypeStore::LoadStatus::Failed);
    EXPECT_NE(loaded.error.find(dat), std::string::npos);
    EXPECT_FALSE(store.Save(dat, std::vector<TJunkFileObj>{}).saved);
    fs::permissions(dat, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(ReadAll(dat), "secret");
}

TEST(TypeStorePosix, ALinkedStoreLoadsAndSavesThroughItsLink) {
    // The user keeps the store with their other settings and links it beside the program.
    test::TempTree tree;
    fs::create_directories(tree / "settings");
    const std::string target = (tree / "settings" / "mine.DAT").string();
    const std::string link = (tree / "BRUMO.DAT").string();
    fs::create_symlink("settings/mine.DAT", link);
    TJunkFileObj one, two;
    one.Name = "One";
    two.Name = "Two";
    TypeStore store;
    ASSERT_TRUE(store.Save(link, std::vector{one}).saved);
    EXPECT_TRUE(fs::is_symlink(link));
    const auto loaded = store.Load(link);
    ASSERT_EQ(loaded.status, TypeStore::LoadStatus::Loaded) << loaded.error;
    EXPECT_EQ(loaded.types.size(), 1u);

    ASSERT_TRUE(store.Save(link, std::vector{one, two}).saved);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(TypeStore().Load(target).types.size(), 2u);
}

} // namespace
} // namespace brumo
