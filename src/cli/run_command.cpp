#include "cli/run_command.h"

#include "cli/console_run_front.h"
#include "cli/enabled_type_list.h"
#include "cli/foreground_loop.h"
#include "cli/type_catalog.h"
#include "platform/shell.h"
#include "runs/cleanup_run.h"

#include <CLI/CLI.hpp>

#include <iostream>

namespace brumo {

CLI::App* RunCommand::Add(CLI::App& app) {
    CLI::App* run = app.add_subcommand(
        "run", "Clean up: process every enabled junk file type. Without --real this is a test "
               "run that only lists the files in the test log.");
    run->add_flag("--real", real_, "Remove the files, each by its type's clean-up method");
    run->add_flag("-y,--yes", yes_, "Do not ask for confirmation");
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
    EnabledTypeList types(catalog->Types());
    for (int i = 0; i < types.Count(); ++i)
        if (types.Checked(i))
            context.NoteUnsearchedFolders(*types.TypeAt(i));

    const bool canAsk = Shell::StdinIsTerminal();
    if (real_ && !yes_ && types.CheckedCount() > 0) {
        if (!canAsk)
            return context.Fail("a real run removes files; confirm it with --yes when no "
                                "terminal can ask");
        const std::string question =
            "Brumo will now remove the files of " + std::to_string(types.CheckedCount()) +
            " enabled junk file types, each by its clean-up method. Proceed?";
        if (!ConsoleRunFront::AskYesNo(context.out, std::cin, question))
            return context.Fail("the run was cancelled; nothing was removed");
    }

    ForegroundLoop loop(context.out, Shell::StdoutIsTerminal());
    ConsoleRunFront front(context.out, context.err, std::cin, loop.Progress(), canAsk, yes_);
    RecycleSettingsCheck recycleSettings;
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
    CleanupRun run(std::move(setup));

    if (!run.Start(!real_))
        return ExitError;
    loop.Run([&] { return !run.Running(); }, [&] { run.Stop(); }, progress.get());

    context.out << (real_ ? "Log: " : "Test log: ") << run.LogPath() << "\n";
    if (run.Outcome().stopped)
        return ExitInterrupted;
    if (run.LogFailed() || run.Outcome().filesFailed > 0)
        return ExitFilesFailed;
    return ExitOk;
}

} // namespace brumo
