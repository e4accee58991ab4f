#include "cli/recover_command.h"

#include "model/type_store.h"

#include <CLI/CLI.hpp>

namespace brumo {

CLI::App* RecoverCommand::Add(CLI::App& app) {
    CLI::App* recover = app.add_subcommand(
        "recover", "Restore or discard the recovery copy of the junk file types that a window "
                   "left when it did not close normally.");
    recover
        ->add_option("ACTION", action_,
                     "restore: make the recovery copy the type store; discard: remove it and "
                     "keep the type store")
        ->required()
        ->check(CLI::IsMember({"restore", "discard"}));
    return recover;
}

int RecoverCommand::Execute(CliContext& context) {
    const std::string& copy = context.files.RecoveryCopy;
    if (context.WindowHasRecoveryCopy())
        return context.Fail(context.OpenWindowText() + ". It is no crashed window's copy: there " +
                            "is nothing to " + action_ + " while the window is open");
    if (!context.RecoveryPending()) {
        context.out << "There is no recovery copy (\"" << copy << "\").\n";
        return action_ == "discard" ? ExitOk : ExitError;
    }
    TypeStore store;
    if (action_ == "restore") {
        TypeStore::LoadResult loaded = store.Load(copy);
        if (loaded.status == TypeStore::LoadStatus::Failed)
            return context.Fail(loaded.error);
        const TypeStore::WriteResult saved = store.Save(context.files.TypeStore, loaded.types);
        if (!saved.saved)
            return context.Fail(saved.Message());
        context.out << "The " << loaded.types.size() << " junk file types of the recovery copy are "
                    << "now the type store \"" << context.files.TypeStore << "\".\n";
    }
    const TypeStore::WriteResult removed = store.Remove(copy);
    if (!removed.error.empty())
        return context.Fail(removed.Message());
    context.out << "The recovery copy \"" << copy << "\" was removed.\n";
    return ExitOk;
}

} // namespace brumo
