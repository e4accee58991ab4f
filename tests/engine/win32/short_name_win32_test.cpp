#include "engine/walk_fixture.h"

#include "platform/file_system.h"

namespace brumo::test {
namespace {

using ShortNameTest = WalkTest;

// The 8.3 name the system gave a file; what it looks like differs between systems.
std::string ShortNameOf(const std::string& path) {
    const std::string shortPath = FileSystem::ShortPathName(path);
    return shortPath.substr(shortPath.rfind('\\') + 1);
}

TEST_F(ShortNameTest, AProtectEntryInShortFormProtectsTheFile) {
    TreeBuilder::MakeFile(C("T/keep this file.tmp"), 10);
    TreeBuilder::MakeFile(C("T/other file here.tmp"), 20);
    const std::string shortName = ShortNameOf(W("T\\keep this file.tmp"));
    ASSERT_NE(shortName, "keep this file.tmp") << "no short names on this volume";

    // As a specification and as a full name, each in its short form.
    for (const std::string& entry : {shortName, W("T\\") + shortName}) {
        WalkResult r = Walk(Type({{W("T"), FolderOnly}}, {"*.tmp"}, {entry}));
        EXPECT_EQ(r.counts.filesMatched, 2) << entry;
        EXPECT_EQ(r.counts.filesProtected, 1) << entry;
        ASSERT_EQ(r.files.size(), 1u) << entry;
        EXPECT_EQ(r.files[0].first, W("T\\other file here.tmp"));
    }
    // A short-form entry names one file, not its neighbours.
    const std::string otherShort = ShortNameOf(W("T\\other file here.tmp"));
    EXPECT_NE(otherShort, shortName);
}

TEST_F(ShortNameTest, TheSearchAlsoFindsAFileByItsShortName) {
    TreeBuilder::MakeFile(C("T/a long name.extension"), 7);
    const std::string shortName = ShortNameOf(W("T\\a long name.extension"));
    ASSERT_NE(shortName, "a long name.extension") << "no short names on this volume";
    WalkResult r = Walk(Type({{W("T"), FolderOnly}}, {shortName}));
    ASSERT_EQ(r.files.size(), 1u);
    EXPECT_EQ(r.files[0].first, W("T\\a long name.extension")); // reported by its long name
    EXPECT_EQ(r.counts.bytesMatched, 7);
}

// Nothing below an excluded folder is searched, whatever 8.3 names spell the way there.
TEST_F(ShortNameTest, NothingBelowAnExcludedFolderIsSearchedThroughShortNames) {
    TreeBuilder::MakeFile(C("Long Parent/Program Folder/sub/in.tmp"));
    TreeBuilder::MakeFile(C("Long Parent/other.tmp"));
    const std::string parent = W("Long Parent"), program = parent + "\\Program Folder";
    const std::string shortParent = FileSystem::ShortPathName(parent);
    const std::string shortProgram = FileSystem::ShortPathName(program);
    ASSERT_NE(shortProgram, program) << "no short names on this volume";
    const struct {
        std::string entry, excluded;
        int found;
    } cases[] = {
        {shortParent, program, 1},
        {parent, shortProgram, 1},
        {shortProgram, program, 0},
        {shortProgram + "\\sub", program, 0},
        {shortParent + "\\Program Folder\\sub", program, 0},
    };
    for (const auto& c : cases) {
        const WalkResult r = Walk(Type({{c.entry, FolderAndSubfolders}}, {"*.tmp"}), {c.excluded});
        EXPECT_EQ(r.counts.filesMatched, c.found) << c.entry << " without " << c.excluded;
    }
}

} // namespace
} // namespace brumo::test
