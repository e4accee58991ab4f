#include "cli/defaults_command.h"

#include "cli/type_catalog.h"
#include "cli/type_listing.h"
#include "model/type_store.h"
#include "platform/file_system.h"

#include <CLI/CLI.hpp>

namespace brumo {

CLI::App* DefaultsCommand::Add(CLI::App& app) {
    CLI::App* defaults =
        app.add_subcommand("defaults", "List the built-in junk file types of this machine.");
    defaults->add_flag("--save", save_,
                       "Write them to the type store, where there is none yet, so that a real "
                       "run can use them");
    return defaults;
}

int DefaultsCommand::Execute(CliContext& context) {
    TypeCatalog catalog;
    catalog = TypeCatalog::OfDefaults(context.CheckRecycleBin(catalog));
    TypeListing::Print(context.out, catalog.Types());
    if (!save_)
        return ExitOk;
    // Never over the user's own list, wherever it was found.
    const std::string existing = context.files.TypeStoreToRead();
    // A link whose file is missing is written through, as the window writes at its close.
    if (FileSystem::FileExists(FileSystem::LinkTarget(existing)) ||
        FileSystem::FolderExists(FileSystem::LinkTarget(existing)))
        return context.Fail("there is a type store already (\"" + existing +
                            "\"); nothing was written");
    TypeStore store;
    const TypeStore::WriteResult saved = store.Save(context.files.TypeStore, catalog.Types());
    if (!saved.saved)
        return context.Fail(saved.Message());
    context.out << "The built-in junk file types were written to \"" << context.files.TypeStore
                << "\".\n";
    return ExitOk;
}

} // namespace brumo
