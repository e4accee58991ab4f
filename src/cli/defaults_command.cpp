#include "cli/defaults_command.h"

#include "cli/type_catalog.h"
#include "cli/type_listing.h"

#include <CLI/CLI.hpp>

namespace brumo {

CLI::App* DefaultsCommand::Add(CLI::App& app) {
    return app.add_subcommand("defaults", "List the built-in junk file types of this machine.");
}

int DefaultsCommand::Execute(CliContext& context) {
    TypeListing::Print(context.out, TypeCatalog::OfDefaults().Types());
    return ExitOk;
}

} // namespace brumo
