#pragma once

#include "cli/subcommand.h"

namespace brumo {

// brumo run [--real] [--yes]: a clean-up run of the enabled junk file types, a test run unless
// --real is given. With --json, standard output gets JSON lines: one per file as it is logged,
// then the run's summary; every message goes to the error stream.
class RunCommand : public Subcommand {
public:
    CLI::App* Add(CLI::App& app) override;
    int Execute(CliContext& context) override;

private:
    bool real_ = false;
    bool yes_ = false;
    bool json_ = false;
    bool onlyUndoable_ = false;
};

} // namespace brumo
