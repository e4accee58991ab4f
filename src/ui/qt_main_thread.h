#pragma once

#include "engine/main_thread.h"

namespace brumo {

// Hands a worker's callbacks to the Qt event loop of the application's thread.
class QtMainThread : public MainThread {
public:
    // The one dispatcher of the application; needs a QCoreApplication.
    static QtMainThread& Instance();

    void Post(std::function<void()> task) override;
    // From the main thread itself the task runs at once, which cannot deadlock.
    void Invoke(std::function<void()> task) override;
};

} // namespace brumo
