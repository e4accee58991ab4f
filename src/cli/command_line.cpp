#include "cli/command_line.h"

#include "platform/drives.h"
#include "platform/named_event.h"

#include "app/version_info.h"
#include "cli/count_command.h"
#include "cli/defaults_command.h"
#include "cli/describe_command.h"
#include "cli/export_command.h"
#include "cli/held_command.h"
#include "cli/help_text.h"
#include "cli/import_command.h"
#include "cli/list_command.h"
#include "cli/purge_command.h"
#include "cli/recover_command.h"
#include "cli/restore_command.h"
#include "cli/run_command.h"
#include "cli/schedule_command.h"
#include "cli/type_edit_command.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <sstream>

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
    all.push_back(std::make_unique<ExportCommand>());
    all.push_back(std::make_unique<ImportCommand>());
    for (const auto change : {TypeEditCommand::Change::Remove, TypeEditCommand::Change::Enable,
                              TypeEditCommand::Change::Disable, TypeEditCommand::Change::Move})
        all.push_back(std::make_unique<TypeEditCommand>(change));
    all.push_back(std::make_unique<HeldCommand>());
    all.push_back(std::make_unique<RestoreCommand>());
    all.push_back(std::make_unique<PurgeCommand>());
    all.push_back(std::make_unique<RecoverCommand>());
    all.push_back(std::make_unique<ScheduleCommand>());
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

// The command words as the parser knows them, so that no command is left out of this test;
// "help" and "version" answer as their options do.
const std::vector<std::string>& CommandWords() {
    static const std::vector<std::string> words = [] {
        CLI::App app;
        std::vector<std::string> names;
        for (const auto& command : AllSubcommands())
            names.push_back(command->Add(app)->get_name());
        names.push_back("help");
        names.push_back("version");
        return names;
    }();
    return words;
}

bool IsCommandWord(const std::string& word) {
    const auto& words = CommandWords();
    return std::find(words.begin(), words.end(), word) != words.end();
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

// A file or folder of this machine, as a launcher names it.
bool PathExists(const char* path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(path), error);
}

// Output lost to a full disk or a closed pipe is no success.
int Delivered(int code, std::ostream& out, std::ostream& err) {
    if (out.flush())
        return code;
    err << "brumo: the output could not be written\n";
    return code == ExitOk ? ExitFilesFailed : code;
}

// CLI11's answer to --help, wrapped to the terminal.
int WrappedExit(const CLI::App& app, const CLI::Error& e, std::ostream& out, std::ostream& err) {
    std::ostringstream text;
    const int code = app.exit(e, text, err);
    out << HelpText::Wrap(text.str(), HelpText::OutputWidth());
    return code;
}

} // namespace

bool CommandLine::WantsWindow(int argc, char** argv) {
    // A launcher passes nothing or the file or folder to open; anything else is meant for
    // the command line, which answers an unknown word with an error.
    return argc < 2 || EqualsIgnoringCase(argv[1], "/silent") ||
           (argv[1][0] != '-' && !IsCommandWord(argv[1]) && PathExists(argv[1]));
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
    CLI::App* help = app.add_subcommand("help", "Print this help, or that of one command");
    help->add_option("COMMAND", "The command whose options to print");
    app.add_subcommand("version", "Print the program's version");
    // Set after the commands, which would otherwise repeat it under their own help.
    app.footer(HelpText::Footer());

    std::vector<std::string> words(args.begin() + std::min<size_t>(args.size(), 1), args.end());
    if (!words.empty() && !words[0].empty() && words[0][0] != '-') {
        // "help [COMMAND]" and "version" are the options they stand for.
        if (words[0] == "version" && words.size() == 1)
            words = {"--version"};
        else if (words[0] == "help" &&
                 (words.size() == 1 || (words.size() == 2 && words[1][0] != '-')))
            words = words.size() == 1 ? std::vector<std::string>{"--help"}
                                      : std::vector<std::string>{words[1], "--help"};
        // What a launcher passes, where no window can open for it: as no argument at all.
        if (words.size() == 1 && (EqualsIgnoringCase(words[0], "/silent") ||
                                  (!IsCommandWord(words[0]) && PathExists(words[0].c_str()))))
            words.clear();
        else if (words[0][0] != '-' && !IsCommandWord(words[0])) {
            err << "brumo: \"" << words[0] << "\" is no command.";
            if (const std::string nearest = NearestCommand(words[0]); !nearest.empty())
                err << " Did you mean \"brumo " << nearest << "\"?";
            err << "\nRun \"brumo --help\" for the commands.\n";
            return ExitError;
        }
    }
    // CLI11 wants the arguments last one first.
    std::vector<std::string> rest(words.rbegin(), words.rend());
    try {
        app.parse(rest);
    } catch (const CLI::CallForHelp& e) {
        return Delivered(WrappedExit(app, e, out, err), out, err);
    } catch (const CLI::CallForAllHelp& e) {
        return Delivered(WrappedExit(app, e, out, err), out, err);
    } catch (const CLI::CallForVersion& e) {
        return Delivered(app.exit(e, out, err), out, err);
    } catch (const CLI::ExtrasError&) {
        // Named in the order they were given, which CLI11's own message reverses.
        const std::vector<std::string> extras = app.remaining(true);
        err << "brumo: " << (extras.size() == 1 ? "an argument was" : "arguments were")
            << " not expected:";
        for (const std::string& extra : extras)
            err << " " << extra;
        err << "\nRun \"brumo --help\" for the commands.\n";
        return ExitError;
    } catch (const CLI::ParseError& e) {
        err << "brumo: " << e.what() << "\n";
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
            return Delivered(subcommands[i]->Execute(context), out, err);
        }
    out << HelpText::Wrap(app.help(), HelpText::OutputWidth());
    return Delivered(ExitOk, out, err);
}

} // namespace brumo
