#pragma once

namespace brumo {

// The program's entry: a subcommand runs headless on the core; none opens the window.
class CommandLine {
public:
    static int Run(int argc, char** argv);
};

} // namespace brumo
