#pragma once

#include "cli/subcommand.h"

#include <string>

namespace brumo {

// brumo recover restore|discard: what becomes of the recovery copy that a window which did not
// close normally left: the window's question at its next start, for a command line.
class RecoverCommand : public Subcommand {
public:
    CLI::App* Add(CLI::App& app) override;
    int Execute(CliContext& context) override;

private:
    std::string action_;
};

} // namespace brumo
