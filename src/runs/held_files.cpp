#include "runs/held_files.h"

#include "platform/clock.h"
#include "platform/file_attributes.h"
#include "platform/file_system.h"
#include "platform/folder.h"
#include "platform/holding_folder.h"
#include "runs/held_pattern.h"
#include "runs/hold_record.h"
#include "runs/holding_path.h"

#include <algorithm>
#include <memory>

namespace brumo {

namespace {

// What a walk of the holding folders gathers.
struct Listing {
    std::vector<HeldFile>& files;
    std::vector<std::string>* refused;
    std::string root;
    const FileOperations& operations;
};

void Walk(Folder& folder, const std::string& original, Listing& listing) {
    std::vector<FindEntry> entries;
    folder.Find("*", entries);
    HoldingFolder::SweepPartialCopies(folder, original, entries);
    const Clock& clock = Clock::Current();
    for (const FindEntry& entry : entries) {
        const std::string path = original + "\\" + entry.name;
        if (original.size() == 2 && HoldRecord::IsRecordFolder(entry.name))
            continue;
        if (entry.attributes & FileAttributes::Directory) {
            // A link to a folder is never held by a run: one found here was planted.
            if (entry.attributes & FileAttributes::ReparsePoint) {
                if (listing.refused)
                    listing.refused->push_back(HoldingPath::In(listing.root, path).value_or(path));
                continue;
            }
            if (std::unique_ptr<Folder> sub = folder.OpenSub(entry.name))
                Walk(*sub, path, listing);
            continue;
        }
        if (HoldingFolder::IsPartialCopy(path))
            continue;
        HeldFile file;
        file.originalPath = path;
        file.heldPath = HoldingPath::In(listing.root, path).value_or("");
        file.holdingFolder = listing.root;
        file.size = entry.size;
        file.fileDate = clock.FileTimeToLocal(entry.lastWriteUtc).value_or(0);
        const auto held = HoldRecord::HeldSince(listing.operations, listing.root, file.heldPath);
        file.heldSince = held ? clock.FileTimeToLocal(*held).value_or(0) : 0;
        listing.files.push_back(std::move(file));
    }
}

// Whether the original path stays inside a holding folder: no "." or ".." component may lead
// it out, nor into the records of when files were held.
bool StaysInside(const std::string& original) {
    if (original.size() < 3 || original[1] != ':' || original[2] != '\\')
        return false;
    size_t start = 3;
    while (start <= original.size()) {
        size_t end = original.find('\\', start);
        if (end == std::string::npos)
            end = original.size();
        const std::string_view part(original.data() + start, end - start);
        if (part.empty() || part == "." || part == ".." || part.find('/') != part.npos ||
            (start == 3 && HoldRecord::IsRecordFolder(part)))
            return false;
        start = end + 1;
    }
    return true;
}

// The held path of a file, when the holding folder is one of its drive's.
std::optional<std::string> HeldPathOf(const std::string& root, const std::string& original) {
    if (!StaysInside(original))
        return std::nullopt;
    const std::vector<std::string> roots = HoldingFolder::RootsFor(original[0]);
    if (std::find(roots.begin(), roots.end(), root) == roots.end())
        return std::nullopt;
    return HoldingPath::In(root, original);
}

// The holding folder of the drive that holds a file from the original path, where files are
// held now first.
std::string HoldingFolderOf(const std::string& original) {
    if (!StaysInside(original))
        return {};
    for (const std::string& root : HoldingFolder::RootsFor(original[0]))
        if (const auto held = HoldingPath::In(root, original);
            held && FileSystem::FileExistsAsNamed(*held))
            return root;
    return {};
}

// The folders that held only this file go with it, up to the holding folder itself.
void RemoveEmptiedFolders(const std::string& root, const std::string& original) {
    for (size_t end = original.find_last_of('\\'); end != std::string::npos && end > 2;
         end = original.find_last_of('\\', end - 1)) {
        const std::optional<std::string> folder = HoldingPath::In(root, original.substr(0, end));
        if (!folder || FileSystem::RemoveEmptyFolder(*folder))
            return;
    }
}

HeldOutcome Failed(std::string reason) {
    return HeldOutcome{false, {}, std::move(reason)};
}

HeldFile Named(const std::string& originalPath) {
    HeldFile file;
    file.originalPath = originalPath;
    // A partial copy lies where a held file would, but is none.
    if (!HoldingFolder::IsPartialCopy(originalPath))
        file.holdingFolder = HoldingFolderOf(originalPath);
    return file;
}

// Appends the drive's held files, sorted by path. A holding folder already seen (two letters
// on one folder) is listed under the first letter only.
void ListInto(char letter, std::vector<HeldFile>& files, std::vector<std::string>* refused,
              std::vector<FolderIdentity>* seen, const FileOperations& operations) {
    const size_t first = files.size();
    const std::string original{letter, ':'};
    for (const std::string& root : HoldingFolder::RootsFor(letter)) {
        OsError why;
        std::unique_ptr<Folder> folder = Folder::Open(root, &why);
        if (!folder) {
            // A link in the holding folder's place: never entered, never taken for empty.
            if (refused && !why &&
                FileSystem::Attributes(root).value_or(0) & FileAttributes::ReparsePoint)
                refused->push_back(root);
            continue;
        }
        if (const auto identity = folder->Identity(); identity && seen) {
            if (std::find(seen->begin(), seen->end(), *identity) != seen->end())
                continue;
            seen->push_back(*identity);
        }
        Listing listing{files, refused, root, operations};
        Walk(*folder, original, listing);
    }
    std::stable_sort(
        files.begin() + static_cast<std::ptrdiff_t>(first), files.end(),
        [](const HeldFile& a, const HeldFile& b) { return a.originalPath < b.originalPath; });
}

} // namespace

std::vector<HeldFile> HeldFiles::List(std::vector<std::string>* refused,
                                      const FileOperations& operations) {
    std::vector<HeldFile> all;
    std::vector<FolderIdentity> seen;
    for (const char letter : HoldingFolder::DriveLetters())
        ListInto(letter, all, refused, &seen, operations);
    return all;
}

std::vector<HeldFile> HeldFiles::ListDrive(char letter, std::vector<std::string>* refused,
                                           const FileOperations& operations) {
    std::vector<HeldFile> files;
    ListInto(letter, files, refused, nullptr, operations);
    return files;
}

std::vector<HeldFile> HeldFiles::Select(const std::vector<HeldFile>& files,
                                        const std::vector<std::string>& patterns) {
    std::vector<bool> chosen(files.size(), false);
    for (const std::string& pattern : patterns) {
        const bool exact = !HeldPattern::HasWildcards(pattern) &&
                           std::any_of(files.begin(), files.end(), [&](const HeldFile& file) {
                               return file.originalPath == pattern;
                           });
        for (size_t i = 0; i < files.size(); ++i)
            if (exact ? files[i].originalPath == pattern : Matches(files[i], pattern))
                chosen[i] = true;
    }
    std::vector<HeldFile> out;
    for (size_t i = 0; i < files.size(); ++i)
        if (chosen[i])
            out.push_back(files[i]);
    return out;
}

HeldOutcome HeldFiles::Restore(const std::string& originalPath, bool keepBoth) {
    return Restore(Named(originalPath), keepBoth);
}

HeldOutcome HeldFiles::Restore(const HeldFile& file, bool keepBoth) {
    const std::string& originalPath = file.originalPath;
    const std::optional<std::string> held = HeldPathOf(file.holdingFolder, originalPath);
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
    HoldRecord::Remove(file.holdingFolder, *held);
    RemoveEmptiedFolders(file.holdingFolder, originalPath);
    return HeldOutcome{true, target, {}};
}

HeldOutcome HeldFiles::Delete(const std::string& originalPath) {
    return Delete(Named(originalPath));
}

HeldOutcome HeldFiles::Delete(const HeldFile& file) {
    const std::optional<std::string> held = HeldPathOf(file.holdingFolder, file.originalPath);
    if (!held || !FileSystem::FileExistsAsNamed(*held))
        return Failed("It is not in the holding folder");
    FileSystem::SetAttributes(*held, 0);
    if (const OsError error = FileSystem::DeleteFile(*held))
        return Failed(error.Message());
    HoldRecord::Remove(file.holdingFolder, *held);
    RemoveEmptiedFolders(file.holdingFolder, file.originalPath);
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
    return HeldPattern::Matches(file.originalPath, pattern);
}

} // namespace brumo
