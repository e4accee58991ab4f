#pragma once

#include "cli/subcommand.h"

#include <string>
#include <vector>

namespace brumo {

// brumo restore PATTERN... [--keep-both] [--yes]: puts held files back where they came from.
class RestoreCommand : public Subcommand {
public:
    CLI::App* Add(CLI::App& app) override;
    int Execute(CliContext& context) override;

private:
    std::vector<std::string> patterns_;
    bool keepBoth_ = false;
    bool base64_ = false;
    bool yes_ = false;
};

} // namespace brumo
