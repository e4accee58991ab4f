#pragma once

#include "cli/subcommand.h"

namespace brumo {

// brumo purge --older-than DAYS [--yes]: deletes for good what the holding folders kept longer.
class PurgeCommand : public Subcommand {
public:
    CLI::App* Add(CLI::App& app) override;
    int Execute(CliContext& context) override;

private:
    int days_ = 0;
    bool yes_ = false;
};

} // namespace brumo
