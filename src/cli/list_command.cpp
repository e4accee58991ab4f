#include "cli/list_command.h"

#include "cli/json_output.h"
#include "cli/type_catalog.h"
#include "cli/type_json.h"
#include "cli/type_listing.h"

#include <CLI/CLI.hpp>

namespace brumo {

CLI::App* ListCommand::Add(CLI::App& app) {
    CLI::App* sub = app.add_subcommand("list", "List the junk file types, numbered, with their "
                                               "enabled state and clean-up method.");
    sub->add_flag("--json", json_, "Print one JSON document instead of the table");
    return sub;
}

int ListCommand::Execute(CliContext& context) {
    std::optional<TypeCatalog> catalog = context.LoadTypes(true);
    if (!catalog)
        return ExitError;
    context.CheckRecycleBin(*catalog);
    if (json_)
        JsonOutput::Document(context.out, TypeJson::List(catalog->Types()));
    else
        TypeListing::Print(context.out, catalog->Types());
    return ExitOk;
}

} // namespace brumo
