#include "cli/held_confirmation.h"

#include "cli/console_run_front.h"
#include "platform/shell.h"
#include "runs/line_escape.h"

#include <iostream>

namespace brumo {

bool HeldConfirmation::Given(CliContext& context, bool yes, const std::string& question) {
    if (yes)
        return true;
    if (!Shell::StdinIsTerminal()) {
        context.Fail("confirm it with --yes when no terminal can ask; nothing was changed");
        return false;
    }
    if (ConsoleRunFront::AskYesNo(context.out, std::cin, question))
        return true;
    context.Fail("cancelled; nothing was changed");
    return false;
}

bool HeldConfirmation::TakeRunLock(CliContext& context, std::unique_ptr<FileLock>& lock) {
    if (context.files.Log.empty())
        return true; // no log, so no run to keep out
    bool held = false;
    OsError error;
    lock = FileLock::TryTake(context.files.Log + ".lock", held, error);
    if (!held)
        return true;
    context.Fail("a clean-up run, restore or purge is in progress in another Brumo; try "
                 "again when it has finished; nothing was changed");
    return false;
}

void HeldConfirmation::NoteRefused(CliContext& context, const std::vector<std::string>& refused) {
    for (const std::string& path : refused)
        context.err << "Not searched for held files: " << LineEscape::Of(path)
                    << " is a link, which is never followed\n";
}

} // namespace brumo
