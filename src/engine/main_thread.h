#pragma once

#include <functional>

namespace brumo {

// Hands work to the front's main thread. The window layer implements it with queued Qt
// calls, the command line with a task queue that main runs.
class MainThread {
public:
    virtual ~MainThread() = default;
    // Runs the task on the main thread later; returns at once.
    virtual void Post(std::function<void()> task) = 0;
    // Runs the task on the main thread and waits until it has returned.
    virtual void Invoke(std::function<void()> task) = 0;
};

} // namespace brumo
