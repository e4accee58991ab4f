#include "cli/cli_context.h"

namespace brumo {

int CliContext::Fail(const std::string& message) const {
    err << "brumo: " << message << "\n";
    return ExitError;
}

} // namespace brumo
