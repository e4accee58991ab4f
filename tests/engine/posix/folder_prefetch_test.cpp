#include "engine/walk_fixture.h"

#include <filesystem>
#include <string>

namespace brumo::test {
namespace {

namespace fs = std::filesystem;

// Reading folders ahead of the walk (BRUMO_PREFETCH=1: from the start of every walk) must never
// change what the walk finds, reports, or in which order, whatever happens to the tree meanwhile.
class FolderPrefetchTest : public WalkTest {
protected:
    // A tree of a few hundred folders whose names sort differently by bytes and by the walk's
    // order, with junk at every depth.
    void MakeTree() {
        const char* const names[] = {"b", "A", "a_", "Zeta", "\xC3\xA9t\xC3\xA9", "~x", "10", "9"};
        for (int i = 0; i < 8; ++i)
            for (int j = 0; j < 8; ++j)
                for (int k = 0; k < 5; ++k) {
                    const fs::path folder = C("T") / names[i] / names[j] / names[(i + k) % 8];
                    TreeBuilder::MakeFile(folder / ("f" + std::to_string(k) + ".tmp"), i + j + k);
                    TreeBuilder::MakeFile(folder / "keep.txt");
                }
        if (TreeBuilder::LinksSupported())
            TreeBuilder::MakeLink(C("T/A/A/loop"), C("T"));
    }

    WalkResult WalkWithPrefetch(const char* prefetch, const TJunkFileObj& type,
                                std::function<void(const std::string&)> alsoOnFile = {}) {
        ScopedEnv env("BRUMO_PREFETCH", prefetch);
        WalkResult result = Walk(type, {}, std::move(alsoOnFile));
        stop_->Reset();
        return result;
    }

    static void ExpectSame(const WalkResult& on, const WalkResult& off) {
        EXPECT_EQ(on.files, off.files);
        EXPECT_EQ(on.stopped, off.stopped);
        EXPECT_EQ(on.counts.foldersSearched, off.counts.foldersSearched);
        EXPECT_EQ(on.counts.filesMatched, off.counts.filesMatched);
        EXPECT_EQ(on.counts.bytesMatched, off.counts.bytesMatched);
        EXPECT_EQ(on.counts.foldersUnreadable, off.counts.foldersUnreadable);
    }
};

TEST_F(FolderPrefetchTest, SameFilesInTheSameOrderWholeOrStopped) {
    MakeTree();
    const TJunkFileObj type =
        Type({{W("T\\b"), FolderAndSubfolders}, {W("T"), FolderAndSubfolders}}, {"*.tmp"});
    const WalkResult off = WalkWithPrefetch("0", type);
    ASSERT_GT(off.files.size(), 300u);
    ExpectSame(WalkWithPrefetch("1", type), off);

    // Stopped in the middle: the same files up to the stop, and nothing after it.
    size_t seen = 0;
    const auto stopAtHundred = [&](const std::string&) {
        if (++seen == 100)
            stop_->Set();
    };
    const WalkResult stoppedOff = WalkWithPrefetch("0", type, stopAtHundred);
    seen = 0;
    const WalkResult stoppedOn = WalkWithPrefetch("1", type, stopAtHundred);
    EXPECT_TRUE(stoppedOn.stopped);
    EXPECT_EQ(stoppedOn.files.size(), 100u);
    ExpectSame(stoppedOn, stoppedOff);
}

TEST_F(FolderPrefetchTest, FoldersRemovedOrAddedAfterBeingReadAhead) {
    MakeTree();
    const TJunkFileObj type = Type({{W("T"), FolderAndSubfolders}}, {"*.tmp"});
    // At the first file the readers are well ahead: a later folder goes, another comes.
    const auto change = [&](const fs::path& root) {
        return [root, done = false](const std::string&) mutable {
            if (done)
                return;
            done = true;
            fs::remove_all(root / "Zeta" / "b");
            TreeBuilder::MakeFile(root / "Zeta" / "new" / "late.tmp", 7);
        };
    };
    ASSERT_TRUE(fs::exists(C("T/Zeta/b/Zeta/f0.tmp")));
    const WalkResult on = WalkWithPrefetch("1", type, change(C("T")));
    EXPECT_FALSE(on.Has(W("T\\Zeta\\b\\Zeta\\f0.tmp")));
    EXPECT_TRUE(on.Has(W("T\\Zeta\\new\\late.tmp")));

    fs::remove_all(C("T"));
    MakeTree();
    ExpectSame(on, WalkWithPrefetch("0", type, change(C("T"))));
}

} // namespace
} // namespace brumo::test
