#include "cli/schedule_command.h"

#include "cli/command_line.h"
#include "platform/clock.h"
#include "platform/scheduler.h"
#include "runs/schedule_status.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>

namespace brumo {

namespace {

// "HH:MM", 00:00 to 23:59.
bool ReadTime(const std::string& text, int& hour, int& minute) {
    int used = 0;
    return text.size() == 5 && std::sscanf(text.c_str(), "%2d:%2d%n", &hour, &minute, &used) == 2 &&
           used == 5 && hour >= 0 && hour < 24 && minute >= 0 && minute < 60;
}

} // namespace

CLI::App* ScheduleCommand::Add(CLI::App& app) {
    CLI::App* sub = app.add_subcommand(
        "schedule", "Clean up on a schedule the system keeps: a real run of the enabled junk "
                    "file types that only holds or trashes files, which can be undone. Without "
                    "WHEN, show the schedule and how its last run ended.");
    sub->add_option("WHEN", when_,
                    "daily, weekly (Mondays) or monthly (the 1st); off to end the schedule; run "
                    "for what the scheduler starts")
        ->check(CLI::IsMember({"daily", "weekly", "monthly", "off", "run"}));
    sub->add_option("--at", at_, "The time of day, HH:MM (03:00 when not given)");
    sub->add_flag("--include-delete", includeDelete_,
                  "Also run the types whose clean-up method deletes for good");
    sub->add_option("--purge-held-after", purgeHeldAfter_,
                    "After each run, delete for good the files held longer than DAYS days")
        ->check(CLI::NonNegativeNumber);
    return sub;
}

int ScheduleCommand::Execute(CliContext& context) {
    if (when_.empty())
        return Show(context);
    if (when_ == "run")
        return RunNow(context);
    if (when_ == "off") {
        if (const auto failed = Scheduler::Remove())
            return context.Fail(*failed);
        context.out << "No clean-up is scheduled now.\n";
        return ExitOk;
    }
    return Install(context);
}

int ScheduleCommand::Show(CliContext& context) const {
    const std::string plan = Scheduler::InstalledDescription();
    if (plan.empty())
        context.out << "No clean-up is scheduled.\n";
    else
        context.out << plan << "\nKept in " << Scheduler::Place() << ".\n";
    const std::string last = ScheduleStatus::Read(context.files.ScheduleStatus);
    context.out << (last.empty() ? "No scheduled clean-up has run yet."
                                 : "Last scheduled clean-up: " + last + ".")
                << "\n";
    return ExitOk;
}

int ScheduleCommand::Install(CliContext& context) const {
    Scheduler::Plan plan;
    plan.every = when_;
    if (!ReadTime(at_, plan.hour, plan.minute))
        return context.Fail("--at takes a time of day as HH:MM, such as 03:00, not \"" + at_ +
                            "\"");
    const std::optional<TypeCatalog> catalog = context.LoadTypes();
    if (!catalog)
        return ExitError;
    if (catalog->FromDefaults())
        return context.Fail("there is no type store, and a scheduled clean-up cleans only with "
                            "junk file types you chose; make them in the window, or write the "
                            "built-in types to the store with \"brumo defaults --save\"");
    plan.command = {context.files.Executable, "schedule", "run"};
    if (includeDelete_)
        plan.command.push_back("--include-delete");
    if (purgeHeldAfter_ >= 0)
        plan.command.insert(plan.command.end(),
                            {"--purge-held-after", std::to_string(purgeHeldAfter_)});
    plan.description =
        "Brumo cleans up " + when_ + (when_ == "weekly" ? " on Mondays" : "") +
        (when_ == "monthly" ? " on the 1st" : "") + " at " + at_ +
        ": a real run of the enabled junk file types" +
        (includeDelete_ ? ", those that delete for good included"
                        : ", leaving out those that delete for good") +
        (purgeHeldAfter_ >= 0 ? "; then held files older than " + std::to_string(purgeHeldAfter_) +
                                    " days are deleted for good"
                              : "") +
        ".";
    if (const auto failed = Scheduler::Install(plan)) {
        // Nothing half made: a schedule the system does not run is no schedule.
        Scheduler::Remove();
        return context.Fail(*failed + "; no clean-up is scheduled");
    }
    context.out << plan.description << "\nKept in " << Scheduler::Place()
                << "; each run is added to the log, \"" << context.files.Log << "\".\n";
    return ExitOk;
}

int ScheduleCommand::RunNow(CliContext& context) const {
    std::vector<std::string> run = {"brumo", "run", "--real", "--yes"};
    if (!includeDelete_)
        run.push_back("--only-undoable");
    int code = CommandLine::Run(run, context.files, context.out, context.err);
    if (purgeHeldAfter_ >= 0 && code != ExitError && code != ExitInterrupted)
        code = std::max(code, CommandLine::Run({"brumo", "purge", "--older-than",
                                                std::to_string(purgeHeldAfter_), "--yes"},
                                               context.files, context.out, context.err));
    if (!ScheduleStatus::Write(context.files.ScheduleStatus, Clock::Current().Now(), code))
        context.err << "brumo: cannot write \"" << context.files.ScheduleStatus << "\"\n";
    return code;
}

} // namespace brumo
