#pragma once

#include "cli/subcommand.h"

#include <string>

namespace brumo {

// brumo import FILE|-: junk file types from the JSON of "brumo export", added to the list once
// every one of them passes the wizard's rules.
class ImportCommand : public Subcommand {
public:
    CLI::App* Add(CLI::App& app) override;
    int Execute(CliContext& context) override;

private:
    std::string file_;
    bool replace_ = false;
};

} // namespace brumo
