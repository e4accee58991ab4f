#pragma once

#include "app/program_files.h"

#include <ostream>
#include <string>

namespace brumo {

// Exit codes of the headless commands.
enum CliExit : int { ExitOk = 0, ExitFilesFailed = 1, ExitError = 2 };

// What a subcommand works with: the program's files and the two output streams.
struct CliContext {
    ProgramFiles files;
    std::ostream& out;
    std::ostream& err;

    // Writes "brumo: message" to the error stream and returns ExitError.
    int Fail(const std::string& message) const;
};

} // namespace brumo
