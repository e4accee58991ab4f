#include "cli/interrupt_request.h"

#include <atomic>
#include <csignal>

namespace brumo {

namespace {

std::atomic<bool> requested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnInterrupt(int) {
    requested.store(true);
    // The next Ctrl-C takes the default way out, should the stop not be honoured.
    std::signal(SIGINT, SIG_DFL);
}

} // namespace

void InterruptRequest::Install() {
    requested.store(false);
    std::signal(SIGINT, OnInterrupt);
}

void InterruptRequest::Uninstall() {
    std::signal(SIGINT, SIG_DFL);
}

bool InterruptRequest::Take() {
    return requested.exchange(false);
}

} // namespace brumo
