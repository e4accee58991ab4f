#pragma once

#include "cli/cli_context.h"

#include <string>

namespace brumo {

// The question a command that changes the holding folders asks before it acts.
class HeldConfirmation {
public:
    // True when the user confirmed, or gave --yes; false once the reason has gone to the
    // error stream (no terminal to ask on, or the answer was no).
    static bool Given(CliContext& context, bool yes, const std::string& question);
};

} // namespace brumo
