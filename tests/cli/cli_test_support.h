#pragma once

#include "cli/command_line.h"

#include <nlohmann/json.hpp>

#include <sstream>
#include <string>
#include <vector>

namespace brumo::test {

// Runs the command line as "brumo ARGS..." and keeps what it wrote to each stream.
inline int RunBrumo(const ProgramFiles& files, std::vector<std::string> args, std::string& out,
                    std::string& err) {
    args.insert(args.begin(), "brumo");
    std::ostringstream o, e;
    const int code = CommandLine::Run(args, files, o, e);
    out = o.str();
    err = e.str();
    return code;
}

// Each line of --json output parsed; a line that is no JSON fails the test with a parse error.
inline std::vector<nlohmann::json> JsonLines(const std::string& text) {
    std::vector<nlohmann::json> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(nlohmann::json::parse(line));
    return lines;
}

} // namespace brumo::test
