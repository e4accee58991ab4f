#pragma once

#include "cli/subcommand.h"

namespace brumo {

// brumo list: the junk file types of the type store, numbered.
class ListCommand : public Subcommand {
public:
    CLI::App* Add(CLI::App& app) override;
    int Execute(CliContext& context) override;

private:
    bool json_ = false;
};

} // namespace brumo
