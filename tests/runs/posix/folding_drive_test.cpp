#include "../cleanup_run_fixture.h"
#include "platform/file_system.h"
#include "platform/holding_folder.h"

#include <algorithm>
#include <cstdlib>
#include <unistd.h>

namespace brumo {
namespace {

namespace fs = std::filesystem;

// Drive C: on a vfat image mounted through a loop device: a file system that folds case, where
// the Windows rules hold.
class FoldingDriveTest : public test::CleanupRunTest {
protected:
    void SetUp() override {
        CleanupRunTest::SetUp();
        const std::string image = (tree / "vfat.img").string();
        const std::string mount = (tree / "c").string();
        mounted_ =
            ::geteuid() == 0 && std::system(("truncate -s 8M '" + image + "' && mkfs.vfat '" +
                                             image + "' >/dev/null 2>&1 && mount -o loop '" +
                                             image + "' '" + mount + "' 2>/dev/null")
                                                .c_str()) == 0;
        if (!mounted_)
            GTEST_SKIP() << "cannot mount a vfat image here: it takes root, mkfs.vfat "
                            "(dosfstools) and vfat in the kernel";
    }
    void TearDown() override {
        if (mounted_) {
            [[maybe_unused]] const int rc =
                std::system(("umount -l '" + (tree / "c").string() + "'").c_str());
        }
        CleanupRunTest::TearDown();
    }

    bool mounted_ = false;
};

TEST_F(FoldingDriveTest, NamesInAnyCaseAreOneFileAndTheNewerHeldCopyReplacesTheOlder) {
    File("TEMP\\A.TMP", 1);
    EXPECT_TRUE(FileSystem::FileExists(W("temp\\a.tmp")));
    EXPECT_TRUE(FileSystem::FileExistsAsSpelled(W("TEMP\\A.TMP")));
    EXPECT_TRUE(FileSystem::FileExistsAsNamed(W("TEMP\\a.tmp")));
    EXPECT_FALSE(FileSystem::FileExistsAsSpelled(W("TEMP\\a.tmp")));

    // Two entries that spell one folder differently find its file once.
    rows.Add("one", MethodHoldingFolder, W("TEMP"), {"*.tmp"});
    rows.Add("two", MethodHoldingFolder, W("temp"), {"a.TMP"});
    ASSERT_TRUE(RunToEnd(true));
    const std::vector<std::string> lines = test::ReadLogLines(TestLogPath());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "\t(" + W("TEMP\\A.TMP") + ") dupe"),
              lines.end());

    ASSERT_TRUE(RunToEnd(false));
    File("TEMP\\A.TMP", 2);
    ASSERT_TRUE(RunToEnd(false));
    const fs::path held = tree / "c" / HoldingFolder::Name / "TEMP";
    EXPECT_EQ(fs::file_size(held / "A.TMP"), 2u);
    EXPECT_EQ(std::distance(fs::directory_iterator(held), fs::directory_iterator()), 1);
}

} // namespace
} // namespace brumo
