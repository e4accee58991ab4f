#pragma once

#include "engine/main_thread.h"
#include "engine/worker_progress.h"
#include "platform/named_event.h"
#include "runs/count_front.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace brumo {

class TJunkFileObj;
class TJunkDelThread;

// The Count command: starts a count of one type, stops it on a second press, shows the
// report and returns the front to idle. Must outlive a running count (stop it and let the
// main thread run until the front is idle again).
class CountRun {
public:
    enum class Outcome { None, Finished, Stopped, Failed };

    static constexpr const char* CountCaption = "Coun&t";
    static constexpr const char* CountHint =
        "Count the number of files matching the selected junk file type";
    static constexpr const char* StopCaption = "Stop";
    static constexpr const char* StopHint = "Stop counting files";
    static constexpr const char* StopEventName = "Brumo Stop Event";

    CountRun(CountFront& front, MainThread& mainThread);

    // The program's folder (never searched) and further folders to leave out.
    void SetExcludedFolders(std::string programFolder, std::vector<std::string> more = {});
    // Live counters for a progress display; kept for every later count.
    void SetProgress(std::shared_ptr<WorkerProgress> progress);

    // The command itself: while idle, starts a count of the selected type (none: nothing);
    // while counting, asks the count to stop.
    void Press(const TJunkFileObj* selected, int index);
    bool Start(const TJunkFileObj& type, int index);
    void Stop();

    bool Counting() const { return counting_; }
    int CurrentIndex() const { return currentIndex_; }
    Outcome LastOutcome() const { return outcome_; }

private:
    void ShowCountReport(int32_t folders, int32_t matched, int32_t restricted,
                         int32_t protectedFiles, int64_t bytes);
    void CountDone(const TJunkDelThread& sender);

    CountFront& front_;
    MainThread& mainThread_;
    std::string programFolder_;
    std::vector<std::string> moreExcluded_;
    std::shared_ptr<WorkerProgress> progress_;
    std::shared_ptr<NamedEvent> stopEvent_;
    std::atomic<int32_t> unreadable_{0}; // counted on the worker thread
    std::mutex skippedLock_;
    std::vector<SkippedNames> skipped_; // filled on the worker thread
    bool counting_ = false;
    int currentIndex_ = -1;
    Outcome outcome_ = Outcome::None;
};

} // namespace brumo
