#include "cli/task_queue.h"

#include <future>

namespace brumo {

TaskQueue::TaskQueue() : owner_(std::this_thread::get_id()) {}

void TaskQueue::Post(std::function<void()> task) {
    // Woken under the lock: once the task can be taken, the queue may go (a worker's last task
    // ends the command), and the worker must not touch it after that.
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
    wake_.notify_one();
}

void TaskQueue::Invoke(std::function<void()> task) {
    if (std::this_thread::get_id() == owner_) {
        task();
        return;
    }
    std::promise<void> finished;
    std::future<void> waited = finished.get_future();
    Post([&task, &finished] {
        try {
            task();
            finished.set_value();
        } catch (...) {
            finished.set_exception(std::current_exception());
        }
    });
    waited.get(); // the task's own failure is the caller's
}

void TaskQueue::Run(const std::function<bool()>& done, std::chrono::milliseconds interval,
                    const std::function<void()>& tick) {
    auto nextTick = std::chrono::steady_clock::now() + interval;
    while (!done()) {
        std::function<void()> task;
        {
            std::unique_lock lock(mutex_);
            wake_.wait_until(lock, nextTick, [this] { return !tasks_.empty(); });
            if (!tasks_.empty()) {
                task = std::move(tasks_.front());
                tasks_.pop_front();
            }
        }
        if (task)
            task();
        if (std::chrono::steady_clock::now() >= nextTick) {
            if (tick)
                tick();
            nextTick = std::chrono::steady_clock::now() + interval;
        }
    }
}

} // namespace brumo
