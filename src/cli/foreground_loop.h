#pragma once

#include "cli/progress_line.h"
#include "cli/task_queue.h"
#include "engine/worker_progress.h"

#include <functional>
#include <ostream>

namespace brumo {

// Waits for long work on the command line: runs the tasks workers hand to the main thread,
// turns Ctrl-C into a stop, and keeps a progress line on a terminal a few times a second.
class ForegroundLoop {
public:
    // Progress goes to out when showProgress is set (standard output is a terminal).
    ForegroundLoop(std::ostream& out, bool showProgress);
    ~ForegroundLoop();
    ForegroundLoop(const ForegroundLoop&) = delete;
    ForegroundLoop& operator=(const ForegroundLoop&) = delete;

    MainThread& Main() { return queue_; }
    ProgressLine& Progress() { return line_; }

    // Until done() holds. stop() is called on Ctrl-C; progress, when given, is shown.
    void Run(const std::function<bool()>& done, const std::function<void()>& stop,
             const WorkerProgress* progress);

private:
    TaskQueue queue_;
    ProgressLine line_;
};

} // namespace brumo
