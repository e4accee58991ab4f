#pragma once

#include "platform/file_operations.h"
#include "runs/drive_recycle_stats.h"
#include "runs/file_record.h"
#include "runs/recycle_batch.h"
#include "runs/recycle_sender.h"
#include "runs/run_counters.h"
#include "runs/run_log.h"
#include "runs/seen_paths.h"
#include "runs/skipped_names.h"

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace brumo {

// What a clean-up run does with each file the worker accepts: remove it by the current type's
// method (real run) or list it (test run), log the outcome and count it. Runs on the worker
// thread, except the flush after a type, which the main thread makes once the worker ended.
class RunFileHandler {
public:
    RunFileHandler(RunLog& log, const RecycleSender& sender,
                   const FileOperations& files = FileOperations::System())
        : log_(log), sender_(&sender), files_(&files) {}

    // Shows the current type's file count; called on the thread that handles the file.
    void SetCountDisplay(std::function<void(int32_t)> show) { showCount_ = std::move(show); }
    // Where a test run adds the bytes it would send to each drive's Recycle Bin.
    void SetRecycleStats(DriveRecycleStats* stats) { stats_ = stats; }

    // Hears of each logged file or unreadable folder, on the thread that logged it.
    void SetRecordSink(std::function<void(const FileRecord&)> sink) { sink_ = std::move(sink); }

    // A new run: counters zero, an empty batch, nothing seen.
    void StartRun();
    // A new type: its file count starts at zero and its method applies.
    void BeginType(int32_t method, std::string typeName = {});

    // Real run: removes the file by the current method, once per type. Nothing is removed once
    // the log failed.
    void RealFile(const std::string& path, int64_t size);
    // Test run: lists the file, once per run; an empty path does nothing.
    void TestFile(const std::string& path, int64_t size);

    // Queues the file for the Recycle Bin, sending the batch first when it is full; an empty
    // path only sends what is queued.
    void RecycleFile(const std::string& path, int64_t size);
    void FlushRecycleBatch();
    void HoldFile(const std::string& path, int64_t size);
    void DeleteFile(const std::string& path, int64_t size);

    // A folder that is there but could not be listed: an error line in the form of a file's,
    // the folder ending in a backslash. Either run; called on the worker thread.
    void UnreadableFolder(const std::string& folder, const std::string& message);
    // A folder holding names skipped since a Windows path cannot spell them: an error line as
    // for an unreadable folder, saying how many. Either run; called on the worker thread.
    void Skipped(const std::string& folder, const std::vector<std::string>& names);
    // Each folder with its names skipped in this run, whichever types reached them.
    std::vector<SkippedNames> SkippedFolders() const;

    RunCounters& Counters() { return counters_; }
    const RunCounters& Counters() const { return counters_; }
    const RecycleBatch& Batch() const { return batch_; }

private:
    void LogSuccess(const std::string& path, int64_t size, const std::string& heldAs = {});
    void LogFailure(const std::string& path, int64_t size, const std::string& message,
                    bool folder = false, int32_t namesSkipped = 0);
    // error: null for a file processed.
    void Record(const std::string& path, int64_t size, const std::string* error, bool folder,
                const std::string& heldAs, int32_t namesSkipped = 0);
    void Processed(int64_t size, bool restorable);
    // A held name such as "a (2).tmp" beside the name it comes from: it may be one given to another
    // file, so it never stands for the same source path.
    static bool MayBeGivenName(const std::string& target);
    // Moves the file over the copy held of the same path before; target gets where it went.
    OsError ReplaceHeld(const std::string& path, const std::string& held, std::string& target);
    // The target with each folder whose name a held file has moved to the first free name.
    static std::string BesideHeldFiles(const std::string& path, std::string target);
    static std::string FolderOf(const std::string& path);
    // The name cut short before its extension, for a name too long to take a number.
    static std::string Shortened(const std::string& path);
    // A queued file that did not go: its counts and the size it was counted with come off.
    void TakeBackQueued(int64_t size);
    // Why the Recycle Bin did not take a file, naming the trash folder or volume at fault.
    std::string RecycleFailure(const RecycleResult& result) const;

    RunLog& log_;
    const RecycleSender* sender_;
    const FileOperations* files_;
    std::function<void(int32_t)> showCount_;
    std::function<void(const FileRecord&)> sink_;
    std::string typeName_;
    DriveRecycleStats* stats_ = nullptr;
    RunCounters counters_;
    RecycleBatch batch_;
    SeenPaths seen_;                   // a test run's, over the whole run
    SeenPaths sent_;                   // a real run's, over the current type
    std::set<std::string> unreadable_; // folders counted as unreadable in this run
    std::map<std::string, std::set<std::string>> skipped_; // by folder, in this run
    std::string line_;
};

} // namespace brumo
