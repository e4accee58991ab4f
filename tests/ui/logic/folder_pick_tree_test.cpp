#include "ui/folder_pick_tree.h"

#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"

#include <gtest/gtest.h>

namespace brumo {
namespace {

using test::TreeBuilder;
using Entries = std::vector<FolderEntry>;

// C: Data{A{A1}, B}, Empty, OnlyDot{.git{objects}}, Other{O1}, Temp{T1}, Temp2, .cache{x},
//    beta{b1} and a file; D: Docs{X}.
class FolderPickTreeTest : public testing::Test {
protected:
    FolderPickTreeTest() {
        for (const char* dir : {"Data/A/A1", "Data/B", "Empty", "OnlyDot/.git/objects", "Other/O1",
                                "Temp/T1", "Temp2", ".cache/x", "beta/b1"})
            TreeBuilder::MakeDir(c_ / dir);
        TreeBuilder::MakeFile(c_ / "file.txt", 10);
        TreeBuilder::MakeDir(d_ / "Docs/X");
    }

    PickNode& Node(FolderPickTree& tree, std::string_view path) {
        PickNode* node = tree.Find(path);
        EXPECT_NE(node, nullptr) << path;
        return *node;
    }
    // Expands every node along the path, as the user would to reach it.
    PickNode& Open(FolderPickTree& tree, std::string_view path) {
        PickNode* node = &tree.Root();
        for (size_t end = path.find('\\'); end != std::string_view::npos;
             end = path.find('\\', end + 1)) {
            tree.Expand(*node);
            node = &Node(tree, path.substr(0, end + 1));
        }
        return *node;
    }
    static std::vector<std::string> Captions(const PickNode& node) {
        std::vector<std::string> captions;
        for (const auto& child : node.children)
            captions.push_back(child->caption);
        return captions;
    }
    static Entries Folders(const FolderPickTree& tree) {
        Entries folders{{"stale", 0}};
        tree.GetFolders(folders);
        return folders;
    }

    test::TempTree c_;
    test::TempTree d_;
    test::DriveMap drives_{{'C', c_.Root()}, {'D', d_.Root()}};
};

TEST_F(FolderPickTreeTest, InitialTreeChoosesEveryDriveAsOneEntry) {
    FolderPickTree tree;
    EXPECT_EQ(tree.Root().caption, "Local Drives");
    EXPECT_EQ(Captions(tree.Root()), (std::vector<std::string>{"C:", "D:"}));
    EXPECT_EQ(tree.Root().mode, SubMode::AllSubs);
    for (const auto& drive : tree.Root().children) {
        EXPECT_TRUE(drive->ticked);
        EXPECT_EQ(drive->mode, SubMode::AllSubs);
        EXPECT_TRUE(drive->hasSubfolders);
        EXPECT_FALSE(drive->loaded);
    }
    EXPECT_EQ(FolderPickTree::NodePath(Node(tree, "D:")), "D:\\");
    EXPECT_TRUE(tree.OkEnabled());
    const Entries all{{"Local drives (C:,D:)", FolderAndSubfolders}};
    EXPECT_EQ(Folders(tree), all);

    // Neither an empty list nor the all-drives entry (even with other letters) changes it.
    tree.SetFolders({});
    EXPECT_EQ(Folders(tree), all);
    tree.SetFolders({{"Local drives (C:)", FolderAndSubfolders}});
    EXPECT_EQ(Folders(tree), all);
}

TEST_F(FolderPickTreeTest, ExpansionLoadsOneSortedLevelWithoutDotFolders) {
    FolderPickTree tree;
    PickNode& c = Open(tree, "C:\\");
    tree.Expand(c);
    EXPECT_EQ(Captions(c), (std::vector<std::string>{"beta", "Data", "Empty", "OnlyDot", "Other",
                                                     "Temp", "Temp2"}));
    for (const auto& child : c.children) {
        EXPECT_TRUE(child->ticked) << child->caption;
        EXPECT_FALSE(child->loaded) << child->caption;
    }
    EXPECT_EQ(Node(tree, "C:\\Data").mode, SubMode::AllSubs);
    EXPECT_TRUE(Node(tree, "C:\\Data").hasSubfolders);
    // A folder whose only subfolder is a dot-folder counts as having none.
    EXPECT_EQ(Node(tree, "C:\\OnlyDot").mode, SubMode::LeafFolder);
    EXPECT_FALSE(Node(tree, "C:\\OnlyDot").hasSubfolders);
    EXPECT_EQ(FolderPickTree::NodePath(Node(tree, "C:\\Data")), "C:\\Data\\");

    // A folder gone since the tree was built loses its expand button.
    PickNode& temp = Node(tree, "C:\\Temp");
    std::filesystem::remove_all(c_ / "Temp");
    tree.Expand(temp);
    EXPECT_TRUE(temp.children.empty());
    EXPECT_FALSE(temp.hasSubfolders);
}

TEST_F(FolderPickTreeTest, UntickingAndExcludingADrive) {
    FolderPickTree tree;
    PickNode& c = Node(tree, "C:");
    tree.ToggleFolder(c, FolderPickTree::How::Toggle);
    EXPECT_EQ(tree.Root().mode, SubMode::SomeSubs);
    EXPECT_EQ(Folders(tree), (Entries{{"C:\\", SubfoldersOnly}, {"D:\\", FolderAndSubfolders}}));

    tree.ApplySubfolderMode(c, SubMode::NoSubs);
    EXPECT_EQ(Folders(tree), (Entries{{"D:\\", FolderAndSubfolders}}));

    // The root never takes a tick.
    tree.ToggleFolder(tree.Root(), FolderPickTree::How::Tick);
    EXPECT_FALSE(tree.Root().ticked);
}

TEST_F(FolderPickTreeTest, NoSubfoldersOnTheRootChoosesNothing) {
    FolderPickTree tree;
    tree.Expand(Node(tree, "C:"));
    tree.ApplySubfolderMode(tree.Root(), SubMode::NoSubs);
    EXPECT_FALSE(tree.OkEnabled());
    EXPECT_EQ(Folders(tree), Entries{});
    EXPECT_FALSE(Node(tree, "C:").ticked);
    EXPECT_EQ(Node(tree, "C:").mode, SubMode::NoSubs);
    EXPECT_FALSE(Node(tree, "C:\\Data").ticked);
    EXPECT_EQ(Node(tree, "C:\\Empty").mode, SubMode::LeafFolder);

    // Ticking one folder makes its ancestors partly chosen.
    tree.ToggleFolder(Node(tree, "C:\\Data"), FolderPickTree::How::Tick);
    EXPECT_EQ(Node(tree, "C:").mode, SubMode::SomeSubs);
    EXPECT_EQ(tree.Root().mode, SubMode::SomeSubs);
    EXPECT_EQ(Folders(tree), (Entries{{"C:\\Data\\", FolderOnly}}));
    // ...and unticking it again chooses nothing once more.
    tree.ToggleFolder(Node(tree, "C:\\Data"), FolderPickTree::How::Untick);
    EXPECT_EQ(tree.Root().mode, SubMode::NoSubs);
    EXPECT_FALSE(tree.OkEnabled());
}

TEST_F(FolderPickTreeTest, ListedSubfoldersWritesOutWhatExistsNow) {
    FolderPickTree tree;
    PickNode& data = Open(tree, "C:\\Data\\");
    ASSERT_TRUE(data.ticked);
    tree.ListSubfolders(data);
    EXPECT_EQ(data.mode, SubMode::ExistSubs);
    EXPECT_TRUE(data.expanded);
    EXPECT_EQ(Node(tree, "C:\\Data\\A").mode, SubMode::AllSubs);
    EXPECT_EQ(Node(tree, "C:\\Data\\B").mode, SubMode::LeafFolder);
    EXPECT_EQ(Node(tree, "C:").mode, SubMode::ExistSubs);
    EXPECT_EQ(tree.Root().mode, SubMode::ExistSubs);
    EXPECT_EQ(Folders(tree), (Entries{
                                 {"C:\\", FolderOnly},
                                 {"C:\\beta\\", FolderAndSubfolders},
                                 {"C:\\Data\\", FolderOnly},
                                 {"C:\\Data\\A\\", FolderAndSubfolders},
                                 {"C:\\Data\\B\\", FolderOnly},
                                 {"C:\\Empty\\", FolderOnly},
                                 {"C:\\OnlyDot\\", FolderOnly},
                                 {"C:\\Other\\", FolderAndSubfolders},
                                 {"C:\\Temp\\", FolderAndSubfolders},
                                 {"C:\\Temp2\\", FolderOnly},
                                 {"D:\\", FolderAndSubfolders},
                             }));
}

TEST_F(FolderPickTreeTest, ListedSubfoldersOfALeafFolder) {
    FolderPickTree tree;
    PickNode& empty = Open(tree, "C:\\Empty\\");
    tree.ApplySubfolderMode(Node(tree, "C:"), SubMode::NoSubs);
    tree.ApplySubfolderMode(empty, SubMode::AllSubs); // catches subfolders made later
    EXPECT_EQ(Folders(tree), (Entries{{"C:\\", FolderOnly},
                                      {"C:\\Empty\\", SubfoldersOnly},
                                      {"D:\\", FolderAndSubfolders}}));
    tree.ListSubfolders(empty);
    EXPECT_EQ(empty.mode, SubMode::LeafFolder);
    EXPECT_EQ(Folders(tree), (Entries{{"C:\\", FolderOnly}, {"D:\\", FolderAndSubfolders}}));
}

TEST_F(FolderPickTreeTest, ListedOnAnUntickedLeafChoosesNothingAndKeepsOkDisabled) {
    FolderPickTree tree;
    tree.Expand(Node(tree, "C:"));
    tree.ApplySubfolderMode(tree.Root(), SubMode::NoSubs);
    tree.ListSubfolders(Node(tree, "C:\\Empty"));
    EXPECT_EQ(Folders(tree), Entries{});
    // An empty list would mean every local drive.
    EXPECT_FALSE(tree.OkEnabled());
}

TEST_F(FolderPickTreeTest, UntickingAnAllSubfoldersFolderKeepsItsSubfolders) {
    FolderPickTree tree;
    PickNode& other = Open(tree, "C:\\Other\\");
    tree.ToggleFolder(other, FolderPickTree::How::Toggle);
    EXPECT_EQ(Node(tree, "C:").mode, SubMode::SomeSubs);
    const Entries folders = Folders(tree);
    EXPECT_NE(std::find(folders.begin(), folders.end(), FolderEntry{"C:\\Other\\", SubfoldersOnly}),
              folders.end());
    EXPECT_EQ(folders.front(), (FolderEntry{"C:\\", FolderOnly}));
    EXPECT_EQ(folders.back(), (FolderEntry{"D:\\", FolderAndSubfolders}));
}

TEST_F(FolderPickTreeTest, SubfoldersOnlyEntryComesBackUnchanged) {
    FolderPickTree tree;
    const Entries entry{{"C:\\Temp\\", SubfoldersOnly}};
    tree.SetFolders(entry);
    PickNode& temp = Node(tree, "C:\\Temp");
    EXPECT_FALSE(temp.ticked);
    EXPECT_EQ(temp.mode, SubMode::AllSubs);
    EXPECT_EQ(Node(tree, "C:").mode, SubMode::SomeSubs);
    EXPECT_TRUE(Node(tree, "C:").expanded);
    EXPECT_EQ(tree.Root().mode, SubMode::SomeSubs);
    EXPECT_EQ(Node(tree, "C:\\Data").mode, SubMode::NoSubs);
    EXPECT_FALSE(Node(tree, "C:\\Data").ticked);
    EXPECT_EQ(Node(tree, "C:\\Empty").mode, SubMode::LeafFolder);
    EXPECT_EQ(Node(tree, "D:").mode, SubMode::NoSubs);
    EXPECT_FALSE(Node(tree, "D:").ticked);
    EXPECT_TRUE(tree.OkEnabled());
    EXPECT_EQ(Folders(tree), entry);

    tree.Expand(temp);
    EXPECT_TRUE(Node(tree, "C:\\Temp\\T1").ticked);
    EXPECT_EQ(Folders(tree), entry);
}

TEST_F(FolderPickTreeTest, EntriesOfEveryModeComeBackUnchanged) {
    FolderPickTree tree;
    const Entries entries{{"C:\\Data\\", FolderAndSubfolders},
                          {"C:\\Temp\\", FolderOnly},
                          {"D:\\Docs\\X\\", SubfoldersOnly}};
    tree.SetFolders(entries);
    EXPECT_EQ(Folders(tree), entries);
}

TEST_F(FolderPickTreeTest, ChoosingEverySubfolderListsThemRatherThanTakingAll) {
    FolderPickTree tree;
    tree.SetFolders({{"C:\\Temp\\T1\\", FolderOnly}});
    // Temp's only subfolder is chosen, but one made later in Temp must not be.
    EXPECT_EQ(Node(tree, "C:\\Temp").mode, SubMode::ExistSubs);
    EXPECT_EQ(Folders(tree), (Entries{{"C:\\Temp\\T1\\", FolderOnly}}));
}

TEST_F(FolderPickTreeTest, EntriesThatMatchNoFolderAreDropped) {
    FolderPickTree tree;
    tree.SetFolders({{"C:\\Gone\\", FolderAndSubfolders}, {"E:\\", FolderAndSubfolders}});
    EXPECT_FALSE(Node(tree, "C:").ticked);
    EXPECT_FALSE(tree.OkEnabled());
    EXPECT_EQ(Folders(tree), Entries{});

    // Written in another case, an entry is found as the walk finds it.
    tree.SetFolders({{"C:\\Gone\\", FolderOnly}, {"c:\\data\\", FolderOnly}});
    EXPECT_EQ(Folders(tree), (Entries{{"C:\\Data\\", FolderOnly}}));
}

TEST_F(FolderPickTreeTest, AFolderIsNotTakenForThePrefixOfAnother) {
    FolderPickTree tree;
    tree.SetFolders({{"C:\\Temp2\\", FolderOnly}});
    EXPECT_FALSE(Node(tree, "C:\\Temp").ticked);
    EXPECT_FALSE(Node(tree, "C:\\Temp").loaded);
    EXPECT_TRUE(Node(tree, "C:\\Temp2").ticked);
    EXPECT_EQ(Folders(tree), (Entries{{"C:\\Temp2\\", FolderOnly}}));
}

} // namespace
} // namespace brumo
