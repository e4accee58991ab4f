#pragma once

#include "cli/subcommand.h"

namespace brumo {

// brumo defaults: the built-in junk file types of this machine.
class DefaultsCommand : public Subcommand {
public:
    CLI::App* Add(CLI::App& app) override;
    int Execute(CliContext& context) override;
};

} // namespace brumo
