#pragma once

#include "cli/subcommand.h"

#include <string>

namespace brumo {

// brumo schedule [daily|weekly|monthly|off|run]: a real run of the enabled types on a schedule
// the system keeps, using only the methods that can be undone unless told otherwise.
class ScheduleCommand : public Subcommand {
public:
    CLI::App* Add(CLI::App& app) override;
    int Execute(CliContext& context) override;

private:
    int Show(CliContext& context) const;
    int Install(CliContext& context) const;
    // What the scheduler starts: the run, then the purge, and the outcome kept for the window.
    int RunNow(CliContext& context) const;

    std::string when_;
    std::string at_ = "03:00";
    bool includeDelete_ = false;
    int purgeHeldAfter_ = -1;
};

} // namespace brumo
