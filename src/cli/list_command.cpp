#include "cli/list_command.h"

#include "cli/type_catalog.h"
#include "cli/type_listing.h"

#include <CLI/CLI.hpp>

namespace brumo {

CLI::App* ListCommand::Add(CLI::App& app) {
    return app.add_subcommand("list", "List the junk file types, numbered, with their enabled "
                                      "state and clean-up method.");
}

int ListCommand::Execute(CliContext& context) {
    std::optional<TypeCatalog> catalog = context.LoadTypes(true);
    if (!catalog)
        return ExitError;
    context.CheckRecycleBin(*catalog);
    TypeListing::Print(context.out, catalog->Types());
    return ExitOk;
}

} // namespace brumo
