#include "cli/run_command.h"

#include "cli/console_run_front.h"
#include "cli/enabled_type_list.h"
#include "cli/foreground_loop.h"
#include "cli/json_output.h"
#include "cli/type_catalog.h"
#include "platform/shell.h"
#include "runs/cleanup_run.h"
#include "runs/count_report.h"
#include "runs/line_escape.h"

#include <CLI/CLI.hpp>

#include <atomic>
#include <iostream>
#include <mutex>

namespace brumo {

namespace {

nlohmann::ordered_json FileJson(const FileRecord& record) {
    nlohmann::ordered_json file = {{"record", record.namesSkipped > 0 ? "skipped"
                                              : record.folder         ? "folder"
                                                                      : "file"}};
    JsonOutput::PutName(file, "type", record.type);
    file["method"] = JsonOutput::Method(record.method);
    JsonOutput::PutName(file, "path", record.path);
    if (record.namesSkipped > 0) {
        file["names"] = record.namesSkipped;
        return file;
    }
    if (!record.folder)
        file["size"] = record.size;
    file["ok"] = !record.failed;
    if (record.failed)
        file["error"] = record.error;
    if (!record.heldAs.empty())
        JsonOutput::PutName(file, "heldAs", record.heldAs);
    return file;
}

nlohmann::ordered_json SummaryJson(const CleanupRun& run) {
    const RunOutcome& outcome = run.Outcome();
    nlohmann::ordered_json summary = {{"record", "summary"},
                                      {"testRun", outcome.testRun},
                                      {"stopped", outcome.stopped},
                                      {"typesProcessed", outcome.typesProcessed},
                                      {"filesProcessed", outcome.filesProcessed},
                                      {"filesRestorable", outcome.filesRestorable},
                                      {"filesFailed", outcome.filesFailed},
                                      {"foldersUnreadable", outcome.foldersUnreadable},
                                      {"namesSkipped", outcome.namesSkipped},
                                      {"typesUnprocessed", outcome.typesUnprocessed},
                                      {"totalSize", outcome.totalBytes},
                                      {"log", run.LogPath()},
                                      {"logFailed", run.LogFailed()}};
    if (outcome.testRun) {
        summary["recycleBinTooSmall"] = outcome.recycleWarning;
        summary["heldFiles"] = outcome.heldFiles;
        summary["heldSize"] = outcome.heldBytes;
    }
    return summary;
}

} // namespace

CLI::App* RunCommand::Add(CLI::App& app) {
    CLI::App* run = app.add_subcommand(
        "run", "Clean up: process every enabled junk file type. Without --real this is a test "
               "run that only lists the files in the test log.");
    run->add_flag("--real", real_, "Remove the files, each by its type's clean-up method");
    run->add_flag("-y,--yes", yes_, "Do not ask for confirmation");
    run->add_flag("--only-undoable", onlyUndoable_,
                  "Leave out the types whose clean-up method deletes for good, saying so in the "
                  "log, as a scheduled clean-up does");
    run->add_flag("--json", json_,
                  "Print JSON lines: one per file as it is logged, then the run's summary");
    return run;
}

int RunCommand::Execute(CliContext& context) {
    const std::optional<TypeCatalog> catalog = context.LoadTypes(true);
    if (!catalog)
        return ExitError;
    if (real_ && catalog->FromDefaults())
        return context.Fail("there is no type store, and a real run cleans only with junk file "
                            "types you chose; make them in the window, or write the built-in "
                            "types to the store with \"brumo defaults --save\"");
    if (real_ && context.WindowHasRecoveryCopy())
        return context.Fail(context.OpenWindowText() +
                            "; a real run waits until then, so that it cleans with the list you "
                            "mean");
    if (real_ && context.RecoveryPending())
        return context.Fail("a real run waits until the recovery copy is restored or discarded, "
                            "so that it cleans with the list you mean");
    EnabledTypeList types(catalog->Types());
    std::vector<std::string> notes;
    for (int i = 0; onlyUndoable_ && i < types.Count(); ++i)
        if (types.Checked(i) && types.TypeAt(i)->Method == MethodDelete) {
            types.SetChecked(i, false);
            notes.push_back("\"" + LineEscape::Of(types.TypeAt(i)->Name) +
                            "\" was left out: it deletes files for good, which this run "
                            "does not do.");
            context.err << "brumo: " << notes.back() << "\n";
        }
    for (int i = 0; i < types.Count(); ++i)
        if (types.Checked(i)) {
            const TJunkFileObj& type = *types.TypeAt(i);
            context.NoteUnsearchedFolders(type);
            if (type.Method < MethodRecycleBin || type.Method > MethodDelete)
                context.err << "brumo: " << RunTexts::UnknownMethodHeader(type.Name, type.Method)
                            << "\n";
        }

    const bool canAsk = Shell::StdinIsTerminal();
    // Standard output holds nothing but the JSON lines then.
    std::ostream& text = json_ ? context.err : context.out;
    // The run makes the same check first; its verdict stands until the settings change.
    RecycleSettingsCheck recycleSettings;
    const bool recycleUnusable = recycleSettings.CheckRecycleSettings();
    context.NoteRecycleProblems();
    int willRun = 0;
    for (int i = 0; i < types.Count(); ++i)
        if (types.Checked(i) && !(recycleUnusable && types.TypeAt(i)->Method == MethodRecycleBin))
            ++willRun;
    if (real_ && !yes_ && willRun > 0) {
        if (!canAsk)
            return context.Fail("a real run removes files; confirm it with --yes when no "
                                "terminal can ask");
        const std::string question =
            "Brumo will now remove the files of " + std::to_string(willRun) +
            (willRun == 1 ? " enabled junk file type" : " enabled junk file types") +
            ", each by its clean-up method. Proceed?";
        if (!ConsoleRunFront::AskYesNo(text, std::cin, question))
            return context.Fail("the run was cancelled; nothing was removed");
    }

    ForegroundLoop loop(context.out, Shell::StdoutIsTerminal() && !json_);
    ConsoleRunFront front(text, context.err, std::cin, loop.Progress(), canAsk, yes_);
    auto progress = std::make_shared<WorkerProgress>();

    CleanupRunSetup setup;
    setup.front = &front;
    setup.types = &types;
    setup.mainThread = &loop.Main();
    setup.recycleSettings = &recycleSettings;
    setup.logPath = context.files.Log;
    setup.testLogPath = context.files.TestLog;
    setup.excludedFolders = context.files.ExcludedFolders();
    setup.progress = progress;
    setup.logNotes = notes;
    // The worker logs most files, the main thread those it sends to the Recycle Bin in batches.
    std::mutex recordLines;
    // Files removed past a reader that has gone would be told to no one: the run stops, and
    // ends its log as a stop does instead of dying halfway.
    std::atomic<bool> outputLost{false};
    CleanupRun* running = nullptr;
    if (json_) {
        Shell::LetClosedPipesFailWrites();
        setup.onFileRecord = [&](const FileRecord& record) {
            std::lock_guard lock(recordLines);
            JsonOutput::Line(context.out, FileJson(record));
            if (!context.out && !outputLost) {
                outputLost = true;
                loop.Main().Post([&running] { running->StopForClosedOutput(); });
            }
        };
    }
    CleanupRun run(std::move(setup));
    running = &run;

    if (!run.Start(!real_))
        return ExitError;
    loop.Run([&] { return !run.Running(); }, [&] { run.Stop(); }, progress.get());

    for (const SkippedNames& folder : run.Outcome().skipped)
        context.err << "brumo: " << CountReport::SkippedText(folder.names, folder.folder) << "\n";
    if (json_)
        JsonOutput::Line(context.out, SummaryJson(run));
    else
        context.out << (real_ ? "Log: " : "Test log: ") << run.LogPath() << "\n";
    if (outputLost)
        return ExitFilesFailed; // the command line says why
    if (run.Outcome().stopped)
        return ExitInterrupted;
    if (run.LogFailed() || run.Outcome().filesFailed > 0 || run.Outcome().typesUnprocessed > 0)
        return ExitFilesFailed;
    return ExitOk;
}

} // namespace brumo
