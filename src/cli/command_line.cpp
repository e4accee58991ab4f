#include "cli/command_line.h"

#include "platform/drives.h"
#include "platform/named_event.h"

#include "app/version_info.h"
#include "cli/count_command.h"
#include "cli/defaults_command.h"
#include "cli/describe_command.h"
#include "cli/held_command.h"
#include "cli/list_command.h"
#include "cli/purge_command.h"
#include "cli/restore_command.h"
#include "cli/run_command.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <functional>
#include <iostream>
#include <memory>

namespace brumo {

namespace {

// Every headless command, in the order of the help text.
std::vector<std::unique_ptr<Subcommand>> AllSubcommands() {
    std::vector<std::unique_ptr<Subcommand>> all;
    all.push_back(std::make_unique<ListCommand>());
    all.push_back(std::make_unique<DescribeCommand>());
    all.push_back(std::make_unique<CountCommand>());
    all.push_back(std::make_unique<RunCommand>());
    all.push_back(std::make_unique<DefaultsCommand>());
    all.push_back(std::make_unique<HeldCommand>());
    all.push_back(std::make_unique<RestoreCommand>());
    all.push_back(std::make_unique<PurgeCommand>());
    return all;
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The command words as the parser knows them, so that no command is left out of this test.
const std::vector<std::string>& CommandWords() {
    static const std::vector<std::string> words = [] {
        CLI::App app;
        std::vector<std::string> names;
        for (const auto& command : AllSubcommands())
            names.push_back(command->Add(app)->get_name());
        return names;
    }();
    return words;
}

bool SameLetter(char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
}

// Edits from one word to the other, ignoring case: a letter added, dropped, changed, or two
// neighbours swapped.
size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i)
        d[i][0] = i;
    for (size_t j = 0; j <= b.size(); ++j)
        d[0][j] = j;
    for (size_t i = 1; i <= a.size(); ++i)
        for (size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1,
                                d[i - 1][j - 1] + (SameLetter(a[i - 1], b[j - 1]) ? 0 : 1)});
            if (i > 1 && j > 1 && SameLetter(a[i - 1], b[j - 2]) && SameLetter(a[i - 2], b[j - 1]))
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

// The command word a mistyped word was meant to be; empty when it is none's near miss.
std::string NearestCommand(const std::string& word) {
    const size_t allowed = word.size() <= 4 ? 1 : 2;
    std::string best;
    size_t bestDistance = allowed + 1;
    for (const std::string& command : CommandWords()) {
        const size_t distance = EditDistance(word, command);
        if (distance < bestDistance) {
            best = command;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace

bool CommandLine::WantsWindow(int argc, char** argv) {
    // A launcher may pass what it likes (a file, a URL): only a command word, a near miss of
    // one, or an option is meant for the command line.
    if (argc < 2 || EqualsIgnoringCase(argv[1], "/silent"))
        return true;
    const std::string first = argv[1];
    return !first.empty() && first[0] != '-' && NearestCommand(first).empty();
}

int CommandLine::Run(int argc, char** argv) {
    NamedEvent::KeepToThisProcess(true);
    std::vector<std::string> args(argv, argv + argc);
    // Finding the program's files probes its folder: only a command that uses them does.
    return Run(args, ProgramFiles::OfThisProgram, std::cout, std::cerr);
}

int CommandLine::Run(const std::vector<std::string>& args, const ProgramFiles& files,
                     std::ostream& out, std::ostream& err) {
    return Run(
        args, [&files] { return files; }, out, err);
}

int CommandLine::Run(const std::vector<std::string>& args,
                     const std::function<ProgramFiles()>& files, std::ostream& out,
                     std::ostream& err) {
    CLI::App app{"Brumo finds and removes junk files from the computer's local disks.", "brumo"};
    VersionInfo version = VersionInfo::OfThisBuild();
    app.set_version_flag("--version",
                         "Brumo " + version.VersionText + (version.IsBeta ? " beta" : ""));
    app.require_subcommand(0, 1);

    auto subcommands = AllSubcommands();
    std::vector<CLI::App*> parsers;
    for (auto& subcommand : subcommands)
        parsers.push_back(subcommand->Add(app));
    // Set after the commands, which would otherwise repeat it under their own help.
    app.footer(
        "Held files: the holding-folder clean-up method moves each file to HDVal$$$.$$$ at its\n"
        "drive's root. \"brumo held\" lists them, \"brumo restore\" puts them back, and\n"
        "\"brumo purge\" deletes those held longer than some days.\n\n"
        "Output for scripts: list, describe, count and held take --json and print one JSON\n"
        "document; \"run --json\" prints JSON lines, one per file as it is logged, then the run's\n"
        "summary. Field names are camelCase, sizes are bytes, times ISO 8601 local time, paths\n"
        "as the logs write them; messages stay on standard error. The README and brumo(1) name\n"
        "every field.");

    // CLI11 wants the arguments after the program name, last one first.
    std::vector<std::string> rest(args.rbegin(), args.rend());
    if (!rest.empty())
        rest.pop_back();
    try {
        app.parse(rest);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e, out, err);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e, out, err);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e, out, err);
    } catch (const CLI::ParseError& e) {
        err << "brumo: " << e.what() << "\n";
        if (args.size() > 1 && !args[1].empty() && args[1][0] != '-') {
            const std::string nearest = NearestCommand(args[1]);
            if (!nearest.empty() && !EqualsIgnoringCase(nearest, args[1]))
                err << "Did you mean \"brumo " << nearest << "\"?\n";
        }
        err << "Run \"brumo --help\" for the commands.\n";
        return ExitError;
    }

    for (size_t i = 0; i < subcommands.size(); ++i)
        if (parsers[i]->parsed()) {
            if (const std::optional<std::string> error = Drives::TableError()) {
                err << "brumo: " << *error << "\n";
                return ExitError;
            }
            CliContext context{files(), out, err};
            const int code = subcommands[i]->Execute(context);
            // Output lost to a full disk or a closed pipe is no success.
            if (out.flush())
                return code;
            err << "brumo: the output could not be written\n";
            return code == ExitOk ? ExitFilesFailed : code;
        }
    out << app.help();
    return ExitOk;
}

} // namespace brumo
