#include "cli/held_confirmation.h"

#include "cli/console_run_front.h"
#include "platform/shell.h"

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

} // namespace brumo
