#include "cli/purge_command.h"

#include "cli/held_confirmation.h"
#include "platform/clock.h"
#include "runs/held_files.h"
#include "runs/line_escape.h"
#include "runs/size_text.h"

#include <CLI/CLI.hpp>

#include <algorithm>

namespace brumo {

CLI::App* PurgeCommand::Add(CLI::App& app) {
    CLI::App* purge =
        app.add_subcommand("purge", "Delete for good the files held longer than some days.");
    purge->add_option("--older-than", days_, "Whole days a file has been held")
        ->required()
        ->check(CLI::Validator(
            [](std::string& input) {
                int days = 0;
                const bool whole = CLI::detail::lexical_cast(input, days);
                return whole && days >= 0
                           ? std::string()
                           : "\"" + input + "\" is no whole number of days, 0 or more";
            },
            "DAYS"));
    purge->add_flag("-y,--yes", yes_, "Do not ask for confirmation");
    return purge;
}

int PurgeCommand::Execute(CliContext& context) {
    const std::string longer = " held longer than " + std::to_string(days_) + " days";
    std::unique_ptr<FileLock> lock;
    if (!HeldConfirmation::TakeRunLock(context, lock))
        return ExitError;
    std::vector<std::string> refused;
    const std::vector<HeldFile> held = HeldFiles::List(&refused);
    const std::vector<HeldFile> old =
        HeldFiles::HeldLongerThan(held, days_, Clock::Current().Now());
    HeldConfirmation::NoteRefused(context, refused);
    if (const auto unknown = std::count_if(held.begin(), held.end(),
                                           [](const HeldFile& file) { return !file.heldSince; }))
        context.err << "Left alone: " << unknown
                    << " files held since a time unknown (\"brumo held\" shows them as unknown).\n";
    if (old.empty()) {
        context.out << "No file has been" << longer << ".\n";
        return ExitOk;
    }
    int64_t bytes = 0;
    for (const HeldFile& file : old)
        bytes += file.size;
    const std::string question = "Delete for good " + std::to_string(old.size()) + " files" +
                                 longer + " (" + SizeText::Of(bytes) + ")?";
    if (!HeldConfirmation::Given(context, yes_, question))
        return ExitError;

    size_t deleted = 0;
    int64_t freed = 0;
    for (const HeldFile& file : old) {
        const HeldOutcome outcome = HeldFiles::Delete(file);
        if (!outcome.done) {
            context.err << "Not deleted: " << LineEscape::Of(file.originalPath) << ": "
                        << outcome.reason << "\n";
            continue;
        }
        ++deleted;
        freed += file.size;
        context.out << "Deleted " << LineEscape::Of(file.originalPath) << "\n";
    }
    context.out << "Deleted " << deleted << " of " << old.size() << " files" << longer << ", "
                << SizeText::Of(freed) << ".\n";
    return deleted == old.size() ? ExitOk : ExitFilesFailed;
}

} // namespace brumo
