#pragma once

#include "cli/subcommand.h"

namespace brumo {

// brumo held: every file in the holding folders, with its size and since when it is held.
class HeldCommand : public Subcommand {
public:
    CLI::App* Add(CLI::App& app) override;
    int Execute(CliContext& context) override;

private:
    bool json_ = false;
};

} // namespace brumo
