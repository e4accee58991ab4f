#include "../cli_test_support.h"
#include "support/file_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

// The manual page docs/brumo.1 and --help tell the same: each command that --help lists has an
// entry in COMMANDS (a tagged paragraph whose tag begins "brumo COMMAND") that names each of the
// command's options and arguments, and the program's own options are in OPTIONS. A command or
// option added to the program fails here until the page describes it.

namespace brumo {
namespace {

struct Help {
    std::vector<std::string> commands;
    std::vector<std::string> options; // every name: "-y" and "--yes", "TYPE"
};

// CLI11's help: section titles stand at the line start; entries are indented by two spaces,
// their first word the names, comma-separated.
Help HelpOf(const std::vector<std::string>& command) {
    std::vector<std::string> args = command;
    args.push_back("--help");
    std::string out, err;
    EXPECT_EQ(test::RunBrumo(ProgramFiles{}, args, out, err), 0) << err;
    Help help;
    std::istringstream lines(out);
    std::string line, section;
    while (std::getline(lines, line)) {
        if (!line.empty() && line[0] != ' ')
            section = line;
        if (line.size() < 3 || line.compare(0, 2, "  ") != 0 || line[2] == ' ')
            continue;
        std::string names = line.substr(2, line.find(' ', 2) - 2);
        if (section != "Options:" && section != "Positionals:" && section != "Subcommands:")
            continue; // the footer's environment, files and exit codes
        if (section == "Subcommands:") {
            help.commands.push_back(names);
            continue;
        }
        std::istringstream split(names);
        for (std::string name; std::getline(split, name, ',');)
            help.options.push_back(name);
    }
    return help;
}

// The page's text by section, each command entry of COMMANDS apart: escapes for fonts and
// hyphens removed, requests (".TP", ".B" ...) reduced to their arguments.
struct Page {
    std::map<std::string, std::string> sections;
    std::map<std::string, std::string> commandEntries; // by tag: "brumo run [--real] ..."
};

std::string Plain(const std::string& troff) {
    std::string text;
    for (size_t i = 0; i < troff.size(); ++i) {
        if (troff[i] == '"')
            continue;
        if (troff[i] != '\\' || i + 1 == troff.size()) {
            text += troff[i];
            continue;
        }
        const char escape = troff[++i];
        if (escape == 'f')
            ++i; // the font letter
        else if (escape == '-' || escape == 'e')
            text += escape == '-' ? '-' : '\\';
    }
    return text;
}

Page ReadPage() {
    Page page;
    std::istringstream lines(test::ReadFileText(BRUMO_MAN_PAGE));
    std::string line, section, *entry = nullptr;
    bool tagNext = false;
    while (std::getline(lines, line)) {
        const bool request = !line.empty() && line[0] == '.';
        const std::string name = request ? line.substr(1, line.find(' ') - 1) : "";
        const std::string text =
            Plain(request ? line.substr(std::min(line.size(), name.size() + 2)) : line);
        if (name == "SH") {
            section = text;
            entry = nullptr;
            continue;
        }
        if (section == "COMMANDS" && tagNext && text.rfind("brumo ", 0) == 0)
            entry = &page.commandEntries[text];
        tagNext = name == "TP";
        for (std::string* into : {&page.sections[section], entry})
            if (into)
                *into += text + "\n";
    }
    return page;
}

// Whether `name` stands in `text` as a word of its own ("-y" in "[-y|--yes]", not in "-yes").
bool Names(const std::string& text, const std::string& name) {
    auto partOfName = [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-';
    };
    for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + 1)) {
        const size_t end = at + name.size();
        if ((at == 0 || !partOfName(text[at - 1])) &&
            (end == text.size() || !partOfName(text[end])))
            return true;
    }
    return false;
}

bool IsHelpOption(const std::string& name) {
    return name == "-h" || name == "--help";
}

TEST(ManPage, DescribesEveryCommandAndOptionThatTheHelpLists) {
    const Page page = ReadPage();
    ASSERT_FALSE(page.commandEntries.empty()) << "no command entries in " << BRUMO_MAN_PAGE;

    const Help top = HelpOf({});
    for (const std::string& option : top.options)
        EXPECT_TRUE(Names(page.sections.at("OPTIONS"), option))
            << "brumo --help lists " << option << "; describe it in OPTIONS of " << BRUMO_MAN_PAGE;

    std::vector<std::vector<std::string>> commands;
    for (const std::string& command : top.commands)
        commands.push_back({command});
    std::set<std::string> known(top.options.begin(), top.options.end());
    for (size_t i = 0; i < commands.size(); ++i) {
        const std::vector<std::string> command = commands[i];
        std::string tag = "brumo";
        for (const std::string& word : command)
            tag += " " + word;
        const Help help = HelpOf(command);
        for (const std::string& sub : help.commands) {
            commands.push_back(command);
            commands.back().push_back(sub);
        }
        known.insert(help.options.begin(), help.options.end());

        const std::string* entry = nullptr;
        for (const auto& [entryTag, text] : page.commandEntries)
            if (entryTag.rfind(tag, 0) == 0 && Names(entryTag, command.back()))
                entry = &text;
        if (!entry) {
            ADD_FAILURE() << "--help lists the command \"" << tag
                          << "\"; give it an entry (.TP, then " << tag << " ...) in COMMANDS of "
                          << BRUMO_MAN_PAGE;
            continue;
        }
        for (const std::string& option : help.options)
            EXPECT_TRUE(IsHelpOption(option) || Names(*entry, option))
                << "\"" << tag << " --help\" lists " << option << "; describe it in the entry of \""
                << tag << "\" in " << BRUMO_MAN_PAGE;
    }

    // And the other way round: no option that the program has dropped or never had.
    for (const char* section : {"SYNOPSIS", "COMMANDS", "OPTIONS"}) {
        const std::string& text = page.sections.at(section);
        for (size_t at = text.find("--"); at != std::string::npos; at = text.find("--", at)) {
            const size_t end = std::min(
                text.size(), text.find_first_not_of("-abcdefghijklmnopqrstuvwxyz0123456789", at));
            EXPECT_TRUE(known.count(text.substr(at, end - at)))
                << BRUMO_MAN_PAGE << " names " << text.substr(at, end - at) << " in " << section
                << ", which no --help lists";
            at = end;
        }
    }
}

} // namespace
} // namespace brumo
