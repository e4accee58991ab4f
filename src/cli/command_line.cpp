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

} // namespace

bool CommandLine::WantsWindow(int argc, char** argv) {
    return argc < 2 || EqualsIgnoringCase(argv[1], "/silent");
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
        err << "brumo: " << e.what() << "\nRun \"brumo --help\" for the commands.\n";
        return ExitError;
    }

    for (size_t i = 0; i < subcommands.size(); ++i)
        if (parsers[i]->parsed()) {
            if (const std::optional<std::string> error = Drives::TableError()) {
                err << "brumo: " << *error << "\n";
                return ExitError;
            }
            CliContext context{files(), out, err};
            return subcommands[i]->Execute(context);
        }
    out << app.help();
    return ExitOk;
}

} // namespace brumo
