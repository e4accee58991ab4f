#include "runs/run_file_handler.h"

#include "model/junk_file_type.h"
#include "platform/file_attributes.h"
#include "platform/file_system.h"
#include "platform/folder.h"
#include "platform/holding_folder.h"
#include "runs/count_report.h"
#include "runs/hold_record.h"
#include "runs/holding_path.h"
#include "runs/line_escape.h"
#include "runs/run_texts.h"

#include <algorithm>
#include <vector>

namespace brumo {

void RunFileHandler::StartRun() {
    counters_ = RunCounters{};
    batch_.Clear();
    seen_.Clear();
    unreadable_.clear();
    skipped_.clear();
    sent_.Clear();
}

void RunFileHandler::BeginType(int32_t method, std::string typeName) {
    counters_.TypeFileCount = 0;
    counters_.CurrentMethod = method;
    sent_.Clear();
    typeName_ = std::move(typeName);
}

void RunFileHandler::Record(const std::string& path, int64_t size, const std::string* error,
                            bool folder, const std::string& heldAs, int32_t namesSkipped) {
    if (!sink_)
        return;
    FileRecord record;
    record.type = typeName_;
    record.method = counters_.CurrentMethod;
    record.path = path;
    record.size = size;
    record.folder = folder;
    record.failed = error != nullptr;
    record.error = error ? *error : std::string();
    record.heldAs = heldAs;
    record.namesSkipped = namesSkipped;
    sink_(record);
}

void RunFileHandler::LogSuccess(const std::string& path, int64_t size, const std::string& heldAs) {
    line_.assign(1, '\t');
    line_ += LineEscape::Of(path);
    log_.WriteLine(line_);
    if (!heldAs.empty())
        log_.WriteLine(RunTexts::HeldAsDetail(heldAs));
    Record(path, size, nullptr, false, heldAs);
}

void RunFileHandler::LogFailure(const std::string& path, int64_t size, const std::string& message,
                                bool folder, int32_t namesSkipped) {
    log_.WriteLines(
        {"ERR\t" + LineEscape::Of(folder ? path + "\\" : path), RunTexts::FailureDetail(message)});
    Record(path, size, &message, folder, {}, namesSkipped);
}

void RunFileHandler::UnreadableFolder(const std::string& folder, const std::string& message) {
    // Each type that reaches it logs it; the run counts it once.
    if (unreadable_.insert(folder).second)
        ++counters_.FoldersUnreadable;
    LogFailure(folder, 0, message, true);
}

void RunFileHandler::Skipped(const std::string& folder, const std::vector<std::string>& names) {
    // Each type that reaches the folder logs the names it would have taken; the run counts
    // each name once.
    std::set<std::string>& known = skipped_[folder];
    for (const std::string& name : names)
        if (known.insert(name).second)
            ++counters_.NamesSkipped;
    const int32_t n = static_cast<int32_t>(names.size());
    LogFailure(folder, 0, CountReport::SkippedText(n), true, n);
}

std::vector<SkippedNames> RunFileHandler::SkippedFolders() const {
    std::vector<SkippedNames> folders;
    for (const auto& [folder, names] : skipped_)
        folders.push_back({folder, static_cast<int32_t>(names.size())});
    return folders;
}

void RunFileHandler::Processed(int64_t size, bool restorable) {
    ++counters_.FilesProcessed;
    if (restorable)
        ++counters_.FilesRestorable;
    ++counters_.TypeFileCount;
    if (showCount_)
        showCount_(counters_.TypeFileCount);
    counters_.TotalBytes += size;
}

void RunFileHandler::TakeBackQueued(int64_t size) {
    --counters_.FilesProcessed;
    --counters_.FilesRestorable;
    --counters_.TypeFileCount;
    counters_.TotalBytes -= size;
}

void RunFileHandler::RealFile(const std::string& path, int64_t size) {
    if (log_.Failed())
        return;
    // Overlapping folder entries (a folder and its subfolder, two spellings, two drive
    // letters) reach a file again: the type sends it once, as a test run lists it once.
    if (!path.empty() && !sent_.Insert(path))
        return;
    switch (counters_.CurrentMethod) {
    case MethodRecycleBin:
        RecycleFile(path, size);
        break;
    case MethodHoldingFolder:
        HoldFile(path, size);
        break;
    case MethodDelete:
        DeleteFile(path, size);
        break;
    default:
        break;
    }
}

void RunFileHandler::TestFile(const std::string& path, int64_t size) {
    if (path.empty())
        return;
    if (!seen_.Insert(path)) {
        log_.WriteLine("\t(" + LineEscape::Of(path) + ") dupe");
        return;
    }
    LogSuccess(path, size);
    Processed(size, counters_.CurrentMethod != MethodDelete);
    if (counters_.CurrentMethod == MethodRecycleBin && stats_)
        stats_->AddPending(path, size);
}

void RunFileHandler::RecycleFile(const std::string& path, int64_t size) {
    if (path.empty() || batch_.MustFlushBefore(path))
        FlushRecycleBatch();
    // A file whose name differs only in case is another file: it does not stand for this one.
    if (path.empty() || log_.Failed() || !files_->FileExistsAsNamed(path))
        return;
    batch_.Add(path, size);
    Processed(size, true);
}

void RunFileHandler::FlushRecycleBatch() {
    const std::vector<std::string>& paths = batch_.Paths();
    const std::vector<int64_t>& sizes = batch_.Sizes();
    if (paths.empty())
        return;
    if (log_.Failed()) {
        // Nothing more is removed once the log failed: what waits here stays where it is.
        for (const int64_t size : sizes)
            TakeBackQueued(size);
        batch_.Clear();
        return;
    }
    // Only the files the Recycle Bin took are logged as sent; every other one is an error
    // line, whatever became of it.
    const std::vector<RecycleResult> results = sender_->SendEach(paths);
    for (size_t i = 0; i < paths.size(); ++i) {
        RecycleResult result;
        if (i < results.size())
            result = results[i];
        else
            result.code = OsError::NotFound();
        if (result.code == 0) {
            LogSuccess(paths[i], sizes[i]);
            continue;
        }
        LogFailure(paths[i], sizes[i], RecycleFailure(result));
        TakeBackQueued(sizes[i]);
        ++counters_.FilesFailed;
    }
    batch_.Clear();
}

std::string RunFileHandler::RecycleFailure(const RecycleResult& result) const {
    const std::string message = sender_->ErrorText(result.code);
    if (!result.volume.empty() && result.trashFolder.empty())
        return "The volume " + result.volume +
               " is read-only: nothing on it can be moved to "
               "the trash";
    if (!result.volume.empty())
        return "The volume " + result.volume + " has no trash folder of its own that can take " +
               "the file (" + sender_->ErrorText(result.volumeCode) + "), and the trash folder " +
               result.trashFolder + " cannot take a copy: " + message;
    if (!result.trashFolder.empty())
        return "The trash folder " + result.trashFolder + " cannot take the file: " + message;
    return message;
}

void RunFileHandler::HoldFile(const std::string& path, int64_t size) {
    const std::optional<std::string> natural = HoldingPath::Of(path);
    if (!natural) {
        LogFailure(path, size, OsError::MessageFor(OsError::NotFound()));
        ++counters_.FilesFailed;
        return;
    }
    // A folder that cannot be made shows up as a failed move.
    std::string wanted = *natural;
    if (files_->CreateFolders(FolderOf(wanted))) {
        wanted = BesideHeldFiles(path, wanted);
        if (wanted != *natural)
            files_->CreateFolders(FolderOf(wanted));
    }
    std::string target = wanted;
    OsError error;
    // A held file never bears the form of a partial copy, which the next listing would sweep.
    const bool copyForm = HoldingFolder::IsPartialCopy(path);
    if (!copyForm && files_->FileExistsAsSpelled(wanted) && !MayBeGivenName(wanted)) {
        error = ReplaceHeld(path, wanted, target);
    } else {
        // Another file holds the name (a case twin where the holding folder folds case, a file
        // of a twin folder, a name given to one of them): both are kept.
        if (copyForm || files_->FileExistsAsNamed(wanted))
            target = HoldingPath::FreeName(wanted);
        error = files_->MoveFile(path, target);
    }
    if (error) {
        LogFailure(path, size, error.Message());
        ++counters_.FilesFailed;
        return;
    }
    HoldRecord::Write(*HoldingPath::Of(path.substr(0, 3)), target);
    LogSuccess(path, size, target != *natural ? target : std::string());
    Processed(size, true);
}

std::string RunFileHandler::FolderOf(const std::string& path) {
    return path.substr(0, path.find_last_of("\\/"));
}

std::string RunFileHandler::BesideHeldFiles(const std::string& path, std::string target) {
    // Only the folders below the holding folder itself may take other names.
    const std::optional<std::string> root = HoldingPath::Of(path.substr(0, 3));
    if (!root)
        return target;
    for (size_t separator = target.find_first_of("\\/", root->size());
         separator != std::string::npos; separator = target.find_first_of("\\/", separator + 1)) {
        const std::string folder = target.substr(0, separator);
        const std::optional<uint32_t> attributes = FileSystem::Attributes(folder);
        if (!attributes || (*attributes & FileAttributes::Directory))
            continue;
        if (*attributes & FileAttributes::ReparsePoint)
            break; // a planted link: the move fails on it, and the log says so
        // A held file where this file needs a folder: the file stays, and the folder takes
        // the first name no file holds.
        const std::string free = HoldingPath::FreeName(folder);
        target = free + target.substr(separator);
        separator = free.size();
    }
    return target;
}

OsError RunFileHandler::ReplaceHeld(const std::string& path, const std::string& held,
                                    std::string& target) {
    // The newer file replaces the older one only once it is held itself, so that a move that
    // fails (the file gone since the walk, a folder the user may not write, a full disk)
    // keeps the older.
    target = HoldingPath::FreeName(held);
    OsError error = files_->MoveFile(path, target);
    if (error.code == OsError::NameTooLong()) {
        // No longer name fits beside it: a shorter one does, for that moment.
        target = HoldingPath::FreeName(Shortened(held));
        error = files_->MoveFile(path, target);
    }
    if (error)
        return error;
    files_->SetAttributes(held, 0);
    if (!files_->DeleteFile(held) && !files_->MoveFile(target, held))
        target = held;
    return {};
}

std::string RunFileHandler::Shortened(const std::string& path) {
    // Room for " (n)" with many digits, cut from the end of the name before its extension,
    // never within a character.
    constexpr size_t kRoom = 16;
    const size_t nameStart = path.find_last_of("\\/") + 1;
    const size_t dot = HoldingPath::ExtensionStart(path);
    size_t cut = dot - std::min(kRoom, dot - nameStart);
    while (cut > nameStart && (static_cast<unsigned char>(path[cut]) & 0xC0) == 0x80)
        --cut;
    return path.substr(0, cut) + path.substr(dot);
}

bool RunFileHandler::MayBeGivenName(const std::string& target) {
    if (!Folder::SpellsAsOnDisk())
        return false; // names never differ only in case there, so none is ever given
    const size_t dot = HoldingPath::ExtensionStart(target);
    const size_t open = target.rfind(" (", dot);
    const size_t separator = target.find_last_of("\\/");
    if (open == std::string::npos || dot < open + 4 || target[dot - 1] != ')' ||
        (separator != std::string::npos && separator > open))
        return false;
    for (size_t i = open + 2; i + 1 < dot; ++i)
        if (target[i] < '0' || target[i] > '9')
            return false;
    return FileSystem::FileExistsAsNamed(target.substr(0, open) + target.substr(dot));
}

void RunFileHandler::DeleteFile(const std::string& path, int64_t size) {
    if (const OsError error = files_->DeleteFile(path)) {
        LogFailure(path, size, error.Message());
        ++counters_.FilesFailed;
        return;
    }
    LogSuccess(path, size);
    Processed(size, false);
}

} // namespace brumo
