#include "cli/foreground_loop.h"

#include "cli/interrupt_request.h"

namespace brumo {

ForegroundLoop::ForegroundLoop(std::ostream& out, bool showProgress) : line_(out, showProgress) {
    InterruptRequest::Install();
}

ForegroundLoop::~ForegroundLoop() {
    InterruptRequest::Uninstall();
}

void ForegroundLoop::Run(const std::function<bool()>& done, const std::function<void()>& stop,
                         const WorkerProgress* progress) {
    using namespace std::chrono_literals;
    queue_.Run(done, 200ms, [&] {
        if (InterruptRequest::Take() && stop)
            stop();
        if (progress)
            line_.Show(progress->foldersSearched.load(std::memory_order_relaxed),
                       progress->filesMatched.load(std::memory_order_relaxed));
    });
    line_.Clear();
}

} // namespace brumo
