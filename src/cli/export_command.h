#pragma once

#include "cli/subcommand.h"

#include <string>
#include <vector>

namespace brumo {

// brumo export [TYPE...]: junk file types as one JSON list, for "brumo import".
class ExportCommand : public Subcommand {
public:
    CLI::App* Add(CLI::App& app) override;
    int Execute(CliContext& context) override;

private:
    std::vector<std::string> types_;
};

} // namespace brumo
