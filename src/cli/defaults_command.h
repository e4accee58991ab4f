#pragma once

#include "cli/subcommand.h"

namespace brumo {

// brumo defaults [--save]: the built-in junk file types of this machine; --save makes them the
// type store where there is none yet.
class DefaultsCommand : public Subcommand {
public:
    CLI::App* Add(CLI::App& app) override;
    int Execute(CliContext& context) override;

private:
    bool save_ = false;
};

} // namespace brumo
