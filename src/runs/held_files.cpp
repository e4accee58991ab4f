#include "runs/held_files.h"

#include "engine/local_drives.h"
#include "engine/name_match.h"
#include "platform/clock.h"
#include "platform/file_attributes.h"
#include "platform/file_system.h"
#include "platform/folder.h"
#include "platform/holding_folder.h"
#include "runs/holding_path.h"

#include <algorithm>
#include <memory>

namespace brumo {

namespace {

void Walk(Folder& folder, const std::string& original, std::vector<HeldFile>& out) {
    std::vector<FindEntry> entries;
    folder.Find("*", entries);
    const Clock& clock = Clock::Current();
    for (const FindEntry& entry : entries) {
        const std::string path = original + "\\" + entry.name;
        if (entry.attributes & FileAttributes::Directory) {
            // A link to a folder is never held by a run: one found here was planted.
            if (entry.attributes & FileAttributes::ReparsePoint)
                continue;
            if (std::unique_ptr<Folder> sub = folder.OpenSub(entry.name))
                Walk(*sub, path, out);
            continue;
        }
        HeldFile file;
        file.originalPath = path;
        file.heldPath = HoldingPath::Of(path).value_or("");
        file.size = entry.size;
        file.fileDate = clock.FileTimeToLocal(entry.lastWriteUtc).value_or(0);
        const auto changed = FileSystem::ChangeTime(file.heldPath);
        file.heldSince = changed ? clock.FileTimeToLocal(*changed).value_or(0) : 0;
        out.push_back(std::move(file));
    }
}

// The holding path of an original path that stays inside the holding folder: no "." or ".."
// component may lead it out.
std::optional<std::string> HeldPathOf(const std::string& original) {
    size_t start = 3;
    while (start <= original.size()) {
        size_t end = original.find('\\', start);
        if (end == std::string::npos)
            end = original.size();
        const std::string_view part(original.data() + start, end - start);
        if (part.empty() || part == "." || part == ".." || part.find('/') != part.npos)
            return std::nullopt;
        start = end + 1;
    }
    return HoldingPath::Of(original);
}

// The folders that held only this file go with it, up to the holding folder itself.
void RemoveEmptiedFolders(const std::string& original) {
    for (size_t end = original.find_last_of('\\'); end != std::string::npos && end > 2;
         end = original.find_last_of('\\', end - 1)) {
        const std::optional<std::string> folder = HoldingPath::Of(original.substr(0, end));
        if (!folder || FileSystem::RemoveEmptyFolder(*folder))
            return;
    }
}

HeldOutcome Failed(std::string reason) {
    return HeldOutcome{false, {}, std::move(reason)};
}

} // namespace

std::vector<HeldFile> HeldFiles::List() {
    std::vector<HeldFile> all;
    const std::string drives = LocalDrives::LocalDriveList("", ",");
    for (size_t i = 0; i < drives.size(); ++i)
        if (i == 0 || drives[i - 1] == ',') {
            std::vector<HeldFile> one = ListDrive(drives[i]);
            all.insert(all.end(), one.begin(), one.end());
        }
    return all;
}

std::vector<HeldFile> HeldFiles::ListDrive(char letter) {
    std::vector<HeldFile> files;
    std::unique_ptr<Folder> root = Folder::Open(HoldingFolder::RootFor(letter));
    if (!root)
        return files;
    Walk(*root, std::string{letter, ':'}, files);
    std::sort(files.begin(), files.end(),
              [](const HeldFile& a, const HeldFile& b) { return a.originalPath < b.originalPath; });
    return files;
}

HeldOutcome HeldFiles::Restore(const std::string& originalPath, bool keepBoth) {
    const std::optional<std::string> held = HeldPathOf(originalPath);
    if (!held || !FileSystem::FileExistsAsNamed(*held))
        return Failed("It is not in the holding folder");
    const size_t separator = originalPath.find_last_of('\\');
    if (separator > 2) {
        if (const OsError error = FileSystem::CreateFolders(originalPath.substr(0, separator)))
            return Failed(error.Message());
    }
    std::string target = originalPath;
    // A case twin is another file where the file system tells case apart.
    if (FileSystem::FolderExists(target))
        return Failed("A folder is already there");
    if (FileSystem::FileExistsAsNamed(target)) {
        if (!keepBoth)
            return Failed("Another file is already there; it was kept");
        target = HoldingPath::FreeName(target);
    }
    if (const OsError error = FileSystem::MoveFile(*held, target)) {
        // Taken between the look and the move: the move never replaces a file.
        if (FileSystem::FileExistsAsNamed(target))
            return Failed("Another file is already there; it was kept");
        return Failed(error.Message());
    }
    RemoveEmptiedFolders(originalPath);
    return HeldOutcome{true, target, {}};
}

HeldOutcome HeldFiles::Delete(const std::string& originalPath) {
    const std::optional<std::string> held = HeldPathOf(originalPath);
    if (!held || !FileSystem::FileExistsAsNamed(*held))
        return Failed("It is not in the holding folder");
    FileSystem::SetAttributes(*held, 0);
    if (const OsError error = FileSystem::DeleteFile(*held))
        return Failed(error.Message());
    RemoveEmptiedFolders(originalPath);
    return HeldOutcome{true, *held, {}};
}

std::vector<HeldFile> HeldFiles::HeldLongerThan(const std::vector<HeldFile>& files, int days,
                                                TDateTime now) {
    std::vector<HeldFile> old;
    std::copy_if(files.begin(), files.end(), std::back_inserter(old), [&](const HeldFile& file) {
        // A file whose time cannot be read is never taken for old.
        return file.heldSince != 0 && now - file.heldSince > days;
    });
    return old;
}

bool HeldFiles::Matches(const HeldFile& file, const std::string& pattern) {
    return NameMatch::MatchSpec(file.originalPath, pattern);
}

} // namespace brumo
