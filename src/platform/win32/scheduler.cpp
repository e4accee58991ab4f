#include "platform/scheduler.h"

#include "platform/shell.h"
#include "platform/special_folders.h"
#include "platform/win32/win_text.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace brumo {

namespace {

constexpr char kTask[] = "Brumo clean-up";

std::string Schtasks() {
    const char* set = std::getenv("BRUMO_SCHTASKS");
    return set && *set ? set : "schtasks";
}

std::string Xml(const std::string& text) {
    std::string escaped;
    for (const char ch : text)
        escaped += ch == '&'   ? "&amp;"
                   : ch == '<' ? "&lt;"
                   : ch == '>' ? "&gt;"
                   : ch == '"' ? "&quot;"
                               : std::string(1, ch);
    return escaped;
}

std::optional<std::string> Run(std::vector<std::string> args) {
    args.insert(args.begin(), Schtasks());
    std::string output;
    const int code = Shell::RunProgram(args, output);
    if (code == 0)
        return std::nullopt;
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r'))
        output.pop_back();
    return "the Task Scheduler " + std::string(code < 0 ? "could not be started" : "failed") +
           (output.empty() ? "" : ": " + output);
}

std::string Between(const std::string& text, const std::string& open, const std::string& close) {
    const size_t start = text.find(open);
    const size_t end = start == std::string::npos ? start : text.find(close, start);
    return end == std::string::npos ? std::string()
                                    : text.substr(start + open.size(), end - start - open.size());
}

} // namespace

std::vector<Scheduler::Definition> Scheduler::Definitions(const Plan& plan) {
    char start[32];
    std::snprintf(start, sizeof start, "2026-01-01T%02d:%02d:00", plan.hour, plan.minute);
    const std::string schedule =
        plan.every == "weekly"
            ? "<ScheduleByWeek><WeeksInterval>1</WeeksInterval><DaysOfWeek><Monday/></DaysOfWeek>"
              "</ScheduleByWeek>"
        : plan.every == "monthly"
            ? "<ScheduleByMonth><DaysOfMonth><Day>1</Day></DaysOfMonth><Months><January/>"
              "<February/><March/><April/><May/><June/><July/><August/><September/><October/>"
              "<November/><December/></Months></ScheduleByMonth>"
            : "<ScheduleByDay><DaysInterval>1</DaysInterval></ScheduleByDay>";
    std::string arguments;
    for (size_t i = 1; i < plan.command.size(); ++i)
        arguments += (i == 1 ? "" : " ") + WinText::CommandArgument(plan.command[i]);
    const std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
        "<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n"
        "  <RegistrationInfo><Description>" +
        Xml(plan.description) +
        "</Description></RegistrationInfo>\r\n"
        "  <Triggers><CalendarTrigger><StartBoundary>" +
        start + "</StartBoundary><Enabled>true</Enabled>" + schedule +
        "</CalendarTrigger></Triggers>\r\n"
        "  <Principals><Principal id=\"Author\"><LogonType>InteractiveToken</LogonType>"
        "<RunLevel>LeastPrivilege</RunLevel></Principal></Principals>\r\n"
        // A run missed while the machine was off comes when it is on again.
        "  <Settings><StartWhenAvailable>true</StartWhenAvailable>"
        "<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>"
        "<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>"
        "<MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>"
        "<ExecutionTimeLimit>PT4H</ExecutionTimeLimit></Settings>\r\n"
        "  <Actions Context=\"Author\"><Exec><Command>" +
        Xml(plan.command.at(0)) + "</Command><Arguments>" + Xml(arguments) +
        "</Arguments></Exec></Actions>\r\n"
        "</Task>\r\n";
    return {{kTask, text}};
}

std::optional<std::string> Scheduler::Install(const Plan& plan) {
    // The Task Scheduler reads the definition from a file, in UTF-16 as it declares.
    const std::filesystem::path file =
        std::filesystem::path(WinText::Wide(SpecialFolders::UserDataFolder())) / L"schedule.xml";
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    {
        const std::wstring text = WinText::Wide(Definitions(plan).front().text);
        std::ofstream out(file, std::ios::binary);
        out.write("\xFF\xFE", 2);
        out.write(reinterpret_cast<const char*>(text.data()),
                  static_cast<std::streamsize>(text.size() * sizeof(wchar_t)));
        if (!out)
            return "cannot write \"" + WinText::Utf8(file.wstring()) + "\"";
    }
    std::optional<std::string> failed =
        Run({"/Create", "/TN", kTask, "/XML", WinText::Utf8(file.wstring()), "/F"});
    std::filesystem::remove(file, error);
    return failed;
}

std::optional<std::string> Scheduler::Remove() {
    if (InstalledDescription().empty())
        return std::nullopt;
    return Run({"/Delete", "/TN", kTask, "/F"});
}

std::string Scheduler::InstalledDescription() {
    std::vector<std::string> args{Schtasks(), "/Query", "/TN", kTask, "/XML"};
    std::string output;
    if (Shell::RunProgram(args, output) != 0)
        return {};
    return Between(output, "<Description>", "</Description>");
}

std::string Scheduler::Place() {
    return std::string("the Task Scheduler's task \"") + kTask + "\"";
}

} // namespace brumo
