#include "cli/restore_command.h"

#include "cli/held_confirmation.h"
#include "cli/json_output.h"
#include "runs/held_files.h"
#include "runs/line_escape.h"

#include <CLI/CLI.hpp>

namespace brumo {

CLI::App* RestoreCommand::Add(CLI::App& app) {
    CLI::App* restore = app.add_subcommand(
        "restore", "Move held files back to their original paths, making missing folders. A file "
                   "already at an original path is kept and that restore fails.");
    restore
        ->add_option(
            "PATTERN", patterns_,
            "Original paths to restore; * and ? are wildcards, letter case is ignored unless "
            "the path names a held file exactly")
        ->required();
    restore->add_flag("--base64", base64_,
                      "Each PATTERN is Base64, as \"held --json\" gives a path that is no UTF-8 "
                      "(originalPathBase64)");
    restore->add_flag("--keep-both", keepBoth_,
                      "Where a file is already at the original path, restore beside it as "
                      "\"name (2).ext\"");
    restore->add_flag("-y,--yes", yes_, "Do not ask for confirmation");
    return restore;
}

int RestoreCommand::Execute(CliContext& context) {
    if (base64_)
        for (std::string& pattern : patterns_) {
            const std::optional<std::string> bytes = JsonOutput::FromBase64(pattern);
            if (!bytes)
                return context.Fail("\"" + pattern + "\" is no Base64 text");
            pattern = *bytes;
        }
    std::unique_ptr<FileLock> lock;
    if (!HeldConfirmation::TakeRunLock(context, lock))
        return ExitError;
    std::vector<std::string> refused;
    const std::vector<HeldFile> chosen = HeldFiles::Select(HeldFiles::List(&refused), patterns_);
    HeldConfirmation::NoteRefused(context, refused);
    if (chosen.empty())
        return context.Fail("no held file matches; \"brumo held\" lists them");
    const std::string question = "Restore " + std::to_string(chosen.size()) +
                                 (chosen.size() == 1 ? " held file" : " held files") +
                                 " to the original paths?";
    if (!HeldConfirmation::Given(context, yes_, question))
        return ExitError;

    size_t restored = 0;
    for (const HeldFile& file : chosen) {
        const HeldOutcome outcome = HeldFiles::Restore(file, keepBoth_);
        if (!outcome.done) {
            context.err << "Not restored: " << LineEscape::Of(file.originalPath) << ": "
                        << outcome.reason << "\n";
            continue;
        }
        ++restored;
        context.out << "Restored " << LineEscape::Of(file.originalPath);
        if (outcome.path != file.originalPath)
            context.out << " as " << LineEscape::Of(outcome.path);
        context.out << "\n";
    }
    context.out << "Restored " << restored << " of " << chosen.size() << " files.\n";
    return restored == chosen.size() ? ExitOk : ExitFilesFailed;
}

} // namespace brumo
