#include "runs/run_file_handler.h"

#include "model/junk_file_type.h"
#include "platform/file_system.h"
#include "platform/folder.h"
#include "runs/holding_path.h"
#include "runs/run_texts.h"

#include <vector>

namespace brumo {

void RunFileHandler::StartRun() {
    counters_ = RunCounters{};
    batch_.Clear();
    seen_.Clear();
}

void RunFileHandler::BeginType(int32_t method) {
    counters_.TypeFileCount = 0;
    counters_.CurrentMethod = method;
}

void RunFileHandler::LogSuccess(const std::string& path) {
    line_.assign(1, '\t');
    line_ += path;
    log_.WriteLine(line_);
}

void RunFileHandler::LogFailure(const std::string& path, const std::string& message) {
    log_.WriteLines({"ERR\t" + path, RunTexts::FailureDetail(message)});
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

void RunFileHandler::TakeBackQueued(const std::string& path) {
    --counters_.FilesProcessed;
    --counters_.FilesRestorable;
    --counters_.TypeFileCount;
    counters_.TotalBytes -= FileSystem::FileSize(path).value_or(0);
}

void RunFileHandler::RealFile(const std::string& path, int64_t size) {
    if (log_.Failed())
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
        log_.WriteLine("\t(" + path + ") dupe");
        return;
    }
    LogSuccess(path);
    Processed(size, counters_.CurrentMethod != MethodDelete);
    if (counters_.CurrentMethod == MethodRecycleBin && stats_)
        stats_->AddPending(path, size);
}

void RunFileHandler::RecycleFile(const std::string& path, int64_t size) {
    if (path.empty() || batch_.MustFlushBefore(path))
        FlushRecycleBatch();
    // A file whose name differs only in case is another file: it does not stand for this one.
    if (path.empty() || log_.Failed() || !FileSystem::FileExistsAsNamed(path))
        return;
    batch_.Add(path);
    Processed(size, true);
}

void RunFileHandler::FlushRecycleBatch() {
    const std::vector<std::string>& paths = batch_.Paths();
    const size_t count = paths.size();
    if (count == 0)
        return;
    if (log_.Failed()) {
        // Nothing more is removed once the log failed: what waits here stays where it is.
        for (const std::string& path : paths)
            TakeBackQueued(path);
        batch_.Clear();
        return;
    }
    // One operation from `start` to the end. An operation that succeeds sent every file; one
    // that fails stopped at some file, so the walk looks for the first file still there. That
    // file failed only if the operation began with it: one that began earlier may have stopped
    // at a file that has gone since, never having tried this one, so it gets an operation of
    // its own first.
    size_t start = 0;
    int code = sender_->SendFiles(paths);
    for (size_t i = 0; i < count;) {
        if (code == 0 || !FileSystem::FileExistsAsNamed(paths[i])) {
            LogSuccess(paths[i]);
            ++i;
            continue;
        }
        if (i == start) {
            LogFailure(paths[i], sender_->ErrorText(code));
            TakeBackQueued(paths[i]);
            ++counters_.FilesFailed;
            ++i;
        }
        if (i == count)
            break;
        if (log_.Failed()) {
            for (size_t j = i; j < count; ++j)
                TakeBackQueued(paths[j]);
            break;
        }
        start = i;
        code = sender_->SendFiles(std::vector<std::string>(paths.begin() + i, paths.end()));
    }
    batch_.Clear();
}

void RunFileHandler::HoldFile(const std::string& path, int64_t size) {
    std::optional<std::string> target = HoldingPath::Of(path);
    if (!target) {
        LogFailure(path, OsError::MessageFor(OsError::NotFound()));
        ++counters_.FilesFailed;
        return;
    }
    // A folder that cannot be made shows up as a failed move.
    FileSystem::CreateFolders(target->substr(0, target->find_last_of("\\/")));
    bool renamed = false;
    if (FileSystem::FileExistsAsSpelled(*target) && !MayBeGivenName(*target)) {
        // The same source path held before: the newer file replaces it.
        FileSystem::SetAttributes(*target, 0);
        FileSystem::DeleteFile(*target);
    } else if (FileSystem::FileExistsAsNamed(*target)) {
        // Another file holds the name (a case twin where the holding folder folds case, a file
        // of a twin folder, a name given to one of them): both are kept.
        target = HoldingPath::FreeName(*target);
        renamed = true;
    }
    if (const OsError error = FileSystem::MoveFile(path, *target)) {
        LogFailure(path, error.Message());
        ++counters_.FilesFailed;
        return;
    }
    LogSuccess(path);
    if (renamed)
        log_.WriteLine(RunTexts::HeldAsDetail(*target));
    Processed(size, true);
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
    if (const OsError error = FileSystem::DeleteFile(path)) {
        LogFailure(path, error.Message());
        ++counters_.FilesFailed;
        return;
    }
    LogSuccess(path);
    Processed(size, false);
}

} // namespace brumo
