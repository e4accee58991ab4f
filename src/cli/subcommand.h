#pragma once

#include "cli/cli_context.h"

namespace CLI {
class App;
}

namespace brumo {

// One headless command: it adds itself (name, options, help) to the parser and runs when the
// parser chose it.
class Subcommand {
public:
    virtual ~Subcommand() = default;
    virtual CLI::App* Add(CLI::App& app) = 0;
    // Returns the process's exit code.
    virtual int Execute(CliContext& context) = 0;
};

} // namespace brumo
