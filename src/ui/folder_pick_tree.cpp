#include "ui/folder_pick_tree.h"

#include "engine/local_drives.h"
#include "platform/file_attributes.h"
#include "platform/folder.h"
#include "platform/holding_folder.h"
#include "platform/locale_info.h"
#include "platform/path_map.h"

#include <algorithm>

namespace brumo {

namespace {

// A search never enters a holding folder, nor a hidden folder: the tree offers neither.
bool ShownName(std::string_view name) {
    return !name.empty() && name[0] != '.' &&
           !LocaleInfo::EqualIgnoreCase(name, HoldingFolder::Name);
}

// Links and mount points are never walked, so the tree does not offer them either.
bool Shown(const FindEntry& entry) {
    return ShownName(entry.name) && (entry.attributes & FileAttributes::Directory) &&
           !(entry.attributes & FileAttributes::ReparsePoint);
}

bool ByName(const std::unique_ptr<PickNode>& a, const std::unique_ptr<PickNode>& b) {
    const int order = LocaleInfo::CompareIgnoreCase(a->caption, b->caption);
    return order != 0 ? order < 0 : a->caption < b->caption;
}

// Whether a child's mode goes with a change that turned things on (or off).
bool ModeAgrees(SubMode mode, bool on) {
    switch (mode) {
    case SubMode::AllSubs:
    case SubMode::ExistSubs:
        return on;
    case SubMode::NoSubs:
        return !on;
    case SubMode::LeafFolder:
        return true;
    case SubMode::SomeSubs:
        return false;
    }
    return false;
}

template <typename Fn> void ForEachDescendant(PickNode& node, const Fn& fn) {
    for (auto& child : node.children) {
        fn(*child);
        ForEachDescendant(*child, fn);
    }
}

} // namespace

FolderPickTree::FolderPickTree() {
    root_.caption = RootCaption;
    allDrivesEntry_ = "Local drives (" + LocalDrives::LocalDriveList(":", ",") + ")";
    AddDrives(LocalDrives::LocalDriveList("", ""));
}

void FolderPickTree::AddDrives(std::string_view letters) {
    for (char letter : letters) {
        auto drive = std::make_unique<PickNode>();
        drive->caption = std::string(1, letter) + ":";
        drive->hasSubfolders = HasSubfolders(drive->caption);
        drive->mode = SubMode::AllSubs;
        drive->ticked = true;
        drive->parent = &root_;
        root_.children.push_back(std::move(drive));
    }
    root_.loaded = true;
    root_.expanded = true;
    root_.hasSubfolders = !root_.children.empty();
    root_.mode = SubMode::AllSubs;
}

std::string FolderPickTree::NodePath(const PickNode& node) {
    std::string path;
    for (const PickNode* n = &node; !n->IsRoot(); n = n->parent)
        path.insert(0, n->caption + "\\");
    return path;
}

bool FolderPickTree::HasSubfolders(const std::string& path) {
    return Folder::HasSubfolder(path, ShownName);
}

PickNode* FolderPickTree::Find(std::string_view path) {
    PickNode* node = &root_;
    while (!path.empty()) {
        const size_t end = path.find('\\');
        const std::string_view part = path.substr(0, end);
        path = end == std::string_view::npos ? std::string_view() : path.substr(end + 1);
        auto it = std::find_if(node->children.begin(), node->children.end(),
                               [&](const auto& child) { return child->caption == part; });
        if (it == node->children.end())
            return nullptr;
        node = it->get();
    }
    return node;
}

void FolderPickTree::Expand(PickNode& node) {
    if (!node.loaded && node.hasSubfolders && !node.IsRoot())
        LoadChildren(node);
    node.expanded = true;
}

void FolderPickTree::LoadChildren(PickNode& node) {
    node.loaded = true;
    std::string path = NodePath(node);
    path.pop_back();
    auto folder = Folder::Open(path);
    if (folder) {
        std::vector<FindEntry> entries;
        folder->Subfolders(entries, false);
        for (const FindEntry& entry : entries) {
            if (!Shown(entry))
                continue;
            auto child = std::make_unique<PickNode>();
            child->caption = entry.name;
            child->hasSubfolders = HasSubfolders(path + "\\" + entry.name);
            child->mode = child->hasSubfolders ? node.mode : SubMode::LeafFolder;
            child->ticked = node.mode == SubMode::AllSubs;
            child->parent = &node;
            node.children.push_back(std::move(child));
        }
    }
    if (node.children.empty())
        node.hasSubfolders = false;
    else
        std::stable_sort(node.children.begin(), node.children.end(), ByName);
}

void FolderPickTree::ToggleFolder(PickNode& node, How how) {
    if (node.IsRoot())
        return;
    const bool tick = how == How::Toggle ? !node.ticked : how == How::Tick;
    node.ticked = tick;
    UpdateAncestors(node, tick, !tick);
}

void FolderPickTree::ApplySubfolderMode(PickNode& node, SubMode mode) {
    node.mode = mode;
    const bool on = mode != SubMode::NoSubs;
    ForEachDescendant(node, [on](PickNode& n) {
        if (n.hasSubfolders)
            n.mode = on ? SubMode::AllSubs : SubMode::NoSubs;
        else
            n.mode = SubMode::LeafFolder;
        n.ticked = on;
    });
    UpdateAncestors(node, on, !on);
}

void FolderPickTree::ListSubfolders(PickNode& node) {
    Expand(node);
    if (!node.hasSubfolders) {
        ApplySubfolderMode(node, SubMode::LeafFolder);
        return;
    }
    ApplySubfolderMode(node, SubMode::ExistSubs);
    // A recursive ancestor would still take in folders created later below the node.
    for (PickNode* p = node.parent; p; p = p->parent)
        if (p->mode == SubMode::AllSubs)
            p->mode = SubMode::ExistSubs;
}

bool FolderPickTree::AllChildrenAre(const PickNode& node, bool on) {
    return std::all_of(node.children.begin(), node.children.end(), [on](const auto& child) {
        return ModeAgrees(child->mode, on) && child->ticked == on;
    });
}

void FolderPickTree::UpdateAncestors(PickNode& node, bool on, bool off) {
    for (PickNode* p = node.parent; p; p = p->parent) {
        switch (p->mode) {
        case SubMode::AllSubs:
        case SubMode::ExistSubs:
            if (!on)
                p->mode = AllChildrenAre(*p, false) ? SubMode::NoSubs : SubMode::SomeSubs;
            break;
        case SubMode::NoSubs:
            if (!off)
                p->mode = AllChildrenAre(*p, true) ? SubMode::ExistSubs : SubMode::SomeSubs;
            break;
        case SubMode::SomeSubs:
            if (off && AllChildrenAre(*p, false))
                p->mode = SubMode::NoSubs;
            else if (on && AllChildrenAre(*p, true))
                p->mode = SubMode::ExistSubs;
            break;
        case SubMode::LeafFolder:
            break;
        }
    }
}

void FolderPickTree::ResetTree() {
    root_.mode = SubMode::NoSubs;
    root_.ticked = false;
    ForEachDescendant(root_, [](PickNode& n) {
        n.mode = SubMode::NoSubs;
        n.ticked = false;
    });
}

void FolderPickTree::ApplyEntry(PickNode& node, std::string_view rest, int32_t mode) {
    for (auto& child : node.children) {
        const std::string& caption = child->caption;
        std::string_view remainder;
        if (rest == caption)
            remainder = {};
        else if (rest.size() > caption.size() && rest.starts_with(caption) &&
                 rest[caption.size()] == '\\')
            remainder = rest.substr(caption.size() + 1);
        else
            continue;
        if (!remainder.empty()) {
            Expand(*child);
            ApplyEntry(*child, remainder, mode);
            continue;
        }
        switch (mode) {
        case FolderAndSubfolders:
            ApplySubfolderMode(*child, SubMode::AllSubs);
            ToggleFolder(*child, How::Tick);
            break;
        case FolderOnly:
            ToggleFolder(*child, How::Tick);
            break;
        case SubfoldersOnly:
            ApplySubfolderMode(*child, SubMode::AllSubs);
            break;
        default:
            break;
        }
    }
}

void FolderPickTree::SetFolders(const std::vector<FolderEntry>& folders) {
    if (folders.empty() || (folders.size() == 1 && folders[0].path.starts_with("Local drives")))
        return;
    ResetTree();
    // As the walk finds it: a folder renamed in case since keeps its entry.
    for (const FolderEntry& entry : folders)
        ApplyEntry(root_, PathMap::AsStored(entry.path), entry.mode);
}

void FolderPickTree::GetFolders(std::vector<FolderEntry>& folders) const {
    folders.clear();
    CollectEntries(root_, folders);
}

void FolderPickTree::CollectEntries(const PickNode& node, std::vector<FolderEntry>& folders) const {
    const bool ticked = node.ticked && !node.IsRoot();
    switch (node.mode) {
    case SubMode::AllSubs:
        if (node.IsRoot())
            folders.push_back({allDrivesEntry_, FolderAndSubfolders});
        else
            folders.push_back({NodePath(node), node.ticked ? FolderAndSubfolders : SubfoldersOnly});
        return;
    case SubMode::NoSubs:
    case SubMode::LeafFolder:
        if (ticked)
            folders.push_back({NodePath(node), FolderOnly});
        return;
    case SubMode::ExistSubs:
    case SubMode::SomeSubs:
        if (ticked)
            folders.push_back({NodePath(node), FolderOnly});
        for (const auto& child : node.children)
            CollectEntries(*child, folders);
        return;
    }
}

bool FolderPickTree::OkEnabled() const {
    if (root_.mode == SubMode::NoSubs)
        return false;
    // A mode can claim subfolders while nothing below is chosen (Listed on an unticked
    // folder without subfolders); an empty list would mean every drive, so it is refused.
    std::vector<FolderEntry> folders;
    GetFolders(folders);
    return !folders.empty();
}

FolderPickTree::Commands FolderPickTree::CommandStates(const PickNode* selected) {
    Commands c;
    if (!selected)
        return c;
    if (selected->IsRoot()) {
        c.allSubs = c.noSubs = c.existSubs = true;
        return c;
    }
    c.folder = true;
    c.folderChecked = selected->ticked;
    c.allSubs = selected->hasSubfolders || selected->parent->mode != SubMode::AllSubs;
    c.noSubs = selected->hasSubfolders;
    c.existSubs = true;
    return c;
}

} // namespace brumo
