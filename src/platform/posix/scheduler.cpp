#include "platform/scheduler.h"

#include "platform/posix/home_folder.h"
#include "platform/shell.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace brumo {

namespace {

constexpr char kUnit[] = "brumo-clean";

// $XDG_CONFIG_HOME/systemd/user, else ~/.config/systemd/user.
std::filesystem::path UnitFolder() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
        return std::filesystem::path(config) / "systemd" / "user";
    return std::filesystem::path(HomeFolder::Path()) / ".config" / "systemd" / "user";
}

// The systemctl to call: tests name a stand-in, as no user manager runs there.
std::string Systemctl() {
    const char* set = std::getenv("BRUMO_SYSTEMCTL");
    return set && *set ? set : "systemctl";
}

// One word of ExecStart: quoted, with the characters systemd gives a meaning escaped.
std::string UnitWord(const std::string& word) {
    std::string quoted = "\"";
    for (const char ch : word) {
        if (ch == '\\' || ch == '"')
            quoted += '\\';
        else if (ch == '%' || ch == '$')
            quoted += ch;
        quoted += ch;
    }
    return quoted + "\"";
}

// A description on one line, with systemd's specifiers escaped.
std::string UnitText(const std::string& text) {
    std::string escaped;
    for (const char ch : text)
        escaped += ch == '\n'  ? std::string(" ")
                   : ch == '%' ? std::string("%%")
                               : std::string(1, ch);
    return escaped;
}

std::optional<std::string> Systemd(std::vector<std::string> args) {
    args.insert(args.begin(), {Systemctl(), "--user"});
    std::string output;
    const int code = Shell::RunProgram(args, output);
    if (code == 0)
        return std::nullopt;
    std::string command;
    for (const std::string& arg : args)
        command += (command.empty() ? "" : " ") + arg;
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r'))
        output.pop_back();
    return "\"" + command + "\" " +
           (code < 0 ? "could not be started" : "failed" + (output.empty() ? "" : ": " + output));
}

} // namespace

std::vector<Scheduler::Definition> Scheduler::Definitions(const Plan& plan) {
    std::string command;
    for (const std::string& word : plan.command)
        command += (command.empty() ? "" : " ") + UnitWord(word);
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:00", plan.hour, plan.minute);
    const std::string calendar = plan.every == "weekly"    ? std::string("Mon *-*-* ") + time
                                 : plan.every == "monthly" ? std::string("*-*-01 ") + time
                                                           : std::string("*-*-* ") + time;
    const std::string unit =
        "[Unit]\nDescription=" + UnitText(plan.description) + "\nDocumentation=man:brumo(1)\n";
    return {{std::string(kUnit) + ".service",
             unit + "\n[Service]\nType=oneshot\nNice=10\nIOSchedulingClass=idle\nExecStart=" +
                 command + "\n"},
            {std::string(kUnit) + ".timer",
             // Persistent: a run missed while the machine was off comes at the next start.
             unit + "\n[Timer]\nOnCalendar=" + calendar +
                 "\nPersistent=true\n\n[Install]\nWantedBy=timers.target\n"}};
}

std::optional<std::string> Scheduler::Install(const Plan& plan) {
    const std::filesystem::path folder = UnitFolder();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (const Definition& definition : Definitions(plan)) {
        const std::filesystem::path path = folder / definition.name;
        const std::filesystem::path part = path.string() + ".part";
        std::ofstream(part, std::ios::binary) << definition.text;
        std::filesystem::rename(part, path, error);
        if (error)
            return "cannot write \"" + path.string() + "\": " + error.message();
    }
    if (auto failed = Systemd({"daemon-reload"}))
        return failed;
    return Systemd({"enable", "--now", std::string(kUnit) + ".timer"});
}

std::optional<std::string> Scheduler::Remove() {
    const std::filesystem::path folder = UnitFolder();
    // A timer that is not loaded any more is as good as disabled.
    Systemd({"disable", "--now", std::string(kUnit) + ".timer"});
    for (const char* suffix : {".timer", ".service"}) {
        std::error_code error;
        std::filesystem::remove(folder / (std::string(kUnit) + suffix), error);
        if (error)
            return "cannot remove \"" + (folder / (std::string(kUnit) + suffix)).string() +
                   "\": " + error.message();
    }
    Systemd({"daemon-reload"});
    return std::nullopt;
}

std::string Scheduler::InstalledDescription() {
    std::ifstream timer(UnitFolder() / (std::string(kUnit) + ".timer"));
    for (std::string line; std::getline(timer, line);)
        if (line.starts_with("Description=")) {
            std::string text = line.substr(12);
            for (size_t at = text.find("%%"); at != std::string::npos; at = text.find("%%", at + 1))
                text.erase(at, 1);
            return text;
        }
    return {};
}

std::string Scheduler::Place() {
    return (UnitFolder() / (std::string(kUnit) + ".timer")).string();
}

} // namespace brumo
