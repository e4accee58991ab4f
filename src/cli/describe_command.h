#pragma once

#include "cli/subcommand.h"

#include <string>

namespace brumo {

// brumo describe TYPE: the properties summary of one junk file type as plain text.
class DescribeCommand : public Subcommand {
public:
    CLI::App* Add(CLI::App& app) override;
    int Execute(CliContext& context) override;

private:
    std::string type_;
    bool json_ = false;
};

} // namespace brumo
