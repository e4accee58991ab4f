#pragma once

namespace brumo {

// Ctrl-C (or a termination request) while long work runs: the signal handler only records the
// request (nothing else is safe there); the main loop takes it and signals the stop event. A
// second Ctrl-C ends the program at once.
class InterruptRequest {
public:
    static void Install();
    static void Uninstall();
    // True once per Ctrl-C received since the last call.
    static bool Take();
};

} // namespace brumo
