#include "cli/interrupt_request.h"

#include <atomic>
#include <csignal>

namespace brumo {

namespace {

std::atomic<bool> requested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

// A termination request (a service stopping, "timeout") stops the work as Ctrl-C does, so that
// a run still ends its log.
constexpr int kSignals[] = {SIGINT, SIGTERM};

extern "C" void OnInterrupt(int signal) {
    requested.store(true);
    // The next Ctrl-C takes the default way out, should the stop not be honoured. A termination
    // request may come twice at once ("timeout" sends one to the program and its group).
    if (signal == SIGINT)
        std::signal(SIGINT, SIG_DFL);
}

} // namespace

void InterruptRequest::Install() {
    requested.store(false);
    for (const int signal : kSignals)
        std::signal(signal, OnInterrupt);
}

void InterruptRequest::Uninstall() {
    for (const int signal : kSignals)
        std::signal(signal, SIG_DFL);
}

bool InterruptRequest::Take() {
    return requested.exchange(false);
}

} // namespace brumo
