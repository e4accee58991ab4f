#pragma once

#include "engine/junk_del_thread.h"
#include "engine/main_thread.h"
#include "platform/file_lock.h"
#include "platform/named_event.h"
#include "runs/recycle_sender.h"
#include "runs/recycle_settings_check.h"
#include "runs/run_file_handler.h"
#include "runs/run_front.h"
#include "runs/run_log.h"
#include "runs/run_texts.h"
#include "runs/run_type_list.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace brumo {

using WorkerStarter = std::function<bool(const TJunkFileObj&, WorkerSetup)>;

struct CleanupRunSetup {
    RunFront* front = nullptr;
    RunTypeList* types = nullptr;
    MainThread* mainThread = nullptr;
    RecycleSettingsCheck* recycleSettings = nullptr;
    const RecycleSender* recycleSender = &RecycleSender::System();
    const FileOperations* fileOperations = &FileOperations::System();
    std::string logPath;     // appended by each real run; "<log>.lock" is held meanwhile
    std::string testLogPath; // made anew by each test run
    // Folders never searched: the program's folder first, then its data folder.
    std::vector<std::string> excludedFolders;
    std::shared_ptr<WorkerProgress> progress; // optional, handed to every worker
    WorkerStarter startWorker;                // TJunkDelThread::Start when empty
    // Lines the log gets below its title, before the first type (why a type was left out).
    std::vector<std::string> logNotes;
    // Optional: hears of each file and unreadable folder as the log gets it.
    std::function<void(const FileRecord&)> onFileRecord;
};

// The Clean up command: processes every checked type in list order, one worker after
// another, removing or listing their files, and writes the run's log. Runs on the front's
// main thread; a started run goes on from the workers' completion calls and ends by itself.
// The object must outlive its run: stop it and let it end before destroying it.
class CleanupRun {
public:
    explicit CleanupRun(CleanupRunSetup setup);
    CleanupRun(const CleanupRun&) = delete;
    CleanupRun& operator=(const CleanupRun&) = delete;

    // The command: starts a run when idle, stops the run when one is going on.
    void Execute(bool testMode);
    // True when a run has begun (it may already have ended, for a log that failed at once).
    bool Start(bool testMode);
    // Stops the run at the end of the current type's search.
    void Stop();
    // Stops it because no one reads its output any more, which the log says instead.
    void StopForClosedOutput();

    bool Running() const { return running_; }
    int CurrentIndex() const { return currentIndex_; }
    // The last run's result, complete once it has ended.
    const RunOutcome& Outcome() const { return outcome_; }
    bool LogFailed() const { return log_.Failed(); }
    const std::string& LogPath() const { return log_.Path(); }

    // Unchecks every Recycle Bin type and clears its Enabled; returns how many were enabled.
    static int DisableRecycleTypes(RunTypeList& types);

private:
    int NextChecked(int from) const;
    void BeginTypeLog(const TJunkFileObj& type);
    void StartCurrentType();
    void TypeDone(bool workerStopped);
    void Finish(bool stopped);
    void StopWith(const char* logLine);

    CleanupRunSetup setup_;
    RunLog log_;
    RunFileHandler handler_;
    std::shared_ptr<NamedEvent> stopEvent_;
    std::unique_ptr<FileLock> lock_; // held while a real run lasts
    bool running_ = false;
    bool testRun_ = false;
    bool stopRequested_ = false;
    bool outputClosed_ = false;
    int currentIndex_ = -1;
    int32_t typesProcessed_ = 0;
    int32_t typesUnprocessed_ = 0;
    RunOutcome outcome_;
};

} // namespace brumo
