#pragma once

#include "support/file_text.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace brumo::test {

// The built program run as a shell runs it, from its own copy (a hard link in `folder`), so
// that its files stay in the test's tree.
class ProgramProcess {
public:
    struct Result {
        int code = -1;
        std::string out, err;
    };

    explicit ProgramProcess(const std::filesystem::path& folder) : folder_(folder) {
        std::filesystem::create_directories(folder_);
        std::filesystem::create_hard_link(BRUMO_PROGRAM, Program());
    }

    std::filesystem::path Program() const { return folder_ / "brumo"; }

    // `env` goes before the program ("BRUMO_DRIVES=x"); `after` replaces the capture of
    // standard output (">/dev/full", "| head -1 >file"). Standard input is /dev/null.
    Result Run(const std::vector<std::string>& args, const std::string& env = "",
               const std::string& after = "") const {
        const std::filesystem::path out = folder_ / "out.txt", err = folder_ / "err.txt",
                                    code = folder_ / "code.txt", script = folder_ / "run.sh";
        std::string line = env + " " + Quoted(Program().string());
        for (const std::string& arg : args)
            line += " " + Quoted(arg);
        line += " 2>" + Quoted(err.string()) + " </dev/null " +
                (after.empty() ? ">" + Quoted(out.string()) : after);
        std::ofstream(script) << line << "\necho ${PIPESTATUS[0]} >" << Quoted(code.string())
                              << "\n";
        std::remove(out.c_str());
        Result result;
        if (std::system(("bash " + Quoted(script.string())).c_str()) == -1)
            return result;
        result.code = std::atoi(ReadFileText(code).c_str());
        result.out = std::filesystem::exists(out) ? ReadFileText(out) : "";
        result.err = ReadFileText(err);
        return result;
    }

    static std::string Quoted(const std::string& text) {
        std::string quoted = "'";
        for (char c : text)
            quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return quoted + "'";
    }

private:
    std::filesystem::path folder_;
};

} // namespace brumo::test
