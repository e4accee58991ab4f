#pragma once

#include "engine/main_thread.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace brumo {

// The command line's main thread: tasks posted by workers run, in order, on the thread that
// made the queue and calls Run. Run also wakes at a fixed interval for periodic work (progress,
// Ctrl-C).
class TaskQueue : public MainThread {
public:
    TaskQueue();

    void Post(std::function<void()> task) override;
    // From the running thread itself the task runs at once instead of waiting for itself.
    void Invoke(std::function<void()> task) override;

    // Runs tasks until done() is true after a task or a tick; calls tick() every interval.
    void Run(const std::function<bool()>& done, std::chrono::milliseconds interval,
             const std::function<void()>& tick = {});

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> tasks_;
    std::thread::id owner_;
};

} // namespace brumo
