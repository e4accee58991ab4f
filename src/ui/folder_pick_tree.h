#pragma once

#include "model/junk_file_type.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace brumo {

// What a node does with its subfolders. The value is also the index of the node's image.
enum class SubMode : int {
    AllSubs = 0,   // all subfolders, also those created later
    NoSubs = 1,    // none
    ExistSubs = 2, // those that exist now, one entry each
    SomeSubs = 3,  // some, not all
    LeafFolder = 4 // the folder has no subfolders
};

// One node of the picker's tree: the root, a drive or a folder.
struct PickNode {
    std::string caption;
    SubMode mode = SubMode::NoSubs;
    bool ticked = false; // the folder's own files are searched; the root has no tick
    bool hasSubfolders = false;
    bool loaded = false;   // children have been read from the disk
    bool expanded = false; // the view shows the children
    PickNode* parent = nullptr;
    std::vector<std::unique_ptr<PickNode>> children;

    bool IsRoot() const { return parent == nullptr; }
};

// The folder picker's choices as a tree of local drives and folders, toolkit-free: which
// folders are searched (ticks), what happens with their subfolders (modes), and the
// conversion between the tree and a type's folder entries. Folders are read one level at a
// time, when a node is expanded.
class FolderPickTree {
public:
    enum class How { Toggle, Tick, Untick };

    // Enabled states (and the check mark of the folder command) for a selection.
    struct Commands {
        bool folder = false;
        bool folderChecked = false;
        bool allSubs = false;
        bool noSubs = false;
        bool existSubs = false;

        bool operator==(const Commands&) const = default;
    };

    static constexpr std::string_view RootCaption = "Local Drives";

    // The local fixed drives of this machine as they are now, each ticked with all its
    // subfolders.
    FolderPickTree();

    PickNode& Root() { return root_; }
    const PickNode& Root() const { return root_; }
    // "Local drives (C:,D:)" as taken when the tree was built.
    const std::string& AllDrivesEntry() const { return allDrivesEntry_; }

    // "C:\" for a drive, "C:\Windows\Temp\" for a folder, empty for the root.
    static std::string NodePath(const PickNode& node);
    // Whether the folder (no trailing backslash) has a subfolder that the tree would show.
    static bool HasSubfolders(const std::string& path);
    // The loaded node at a path as NodePath gives it (exact captions), or null.
    PickNode* Find(std::string_view path);

    // Loads the children on first expansion; marks the node expanded.
    void Expand(PickNode& node);
    void ToggleFolder(PickNode& node, How how);
    // For AllSubs, NoSubs, ExistSubs and LeafFolder; the node's own tick stays.
    void ApplySubfolderMode(PickNode& node, SubMode mode);
    // "Listed subfolders": every subfolder that exists now, one entry each.
    void ListSubfolders(PickNode& node);
    static bool AllChildrenAre(const PickNode& node, bool on);
    static void UpdateAncestors(PickNode& node, bool on, bool off);
    void ResetTree();
    void ApplyEntry(PickNode& node, std::string_view rest, int32_t mode);

    void SetFolders(const std::vector<FolderEntry>& folders);
    void GetFolders(std::vector<FolderEntry>& folders) const;
    bool OkEnabled() const;
    static Commands CommandStates(const PickNode* selected);

private:
    void AddDrives(std::string_view letters);
    void LoadChildren(PickNode& node);
    void CollectEntries(const PickNode& node, std::vector<FolderEntry>& folders) const;

    PickNode root_;
    std::string allDrivesEntry_;
};

} // namespace brumo
