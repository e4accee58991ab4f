#pragma once

#include "cli/cli_context.h"
#include "platform/file_lock.h"

#include <memory>
#include <string>
#include <vector>

namespace brumo {

// The question a command that changes the holding folders asks before it acts.
class HeldConfirmation {
public:
    // True when the user confirmed, or gave --yes; false once the reason has gone to the
    // error stream (no terminal to ask on, or the answer was no).
    static bool Given(CliContext& context, bool yes, const std::string& question);
    // Takes the lock of real runs, so that no run holds files while held ones move; false
    // once the reason has gone to the error stream. Where the lock file cannot be made, no run
    // can write its log either, and the command goes on without it.
    static bool TakeRunLock(CliContext& context, std::unique_ptr<FileLock>& lock);
    // Tells the error stream of links found where held files were looked for.
    static void NoteRefused(CliContext& context, const std::vector<std::string>& refused);
};

} // namespace brumo
