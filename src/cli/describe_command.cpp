#include "cli/describe_command.h"

#include "cli/type_catalog.h"
#include "engine/local_drives.h"
#include "model/styled_text.h"

#include <CLI/CLI.hpp>

namespace brumo {

CLI::App* DescribeCommand::Add(CLI::App& app) {
    CLI::App* sub = app.add_subcommand("describe", "Show the properties of one junk file type.");
    sub->add_option("TYPE", type_, "The type's number in \"brumo list\" or its name.")->required();
    return sub;
}

int DescribeCommand::Execute(CliContext& context) {
    TypeCatalog catalog;
    if (auto error = TypeCatalog::Load(context.files, catalog))
        return context.Fail(*error);
    TypeCatalog::Lookup found = catalog.Find(type_);
    if (!found.type)
        return context.Fail(found.error);
    StyledText text;
    found.type->DescribeTo(text, LocalDrives::LocalDrivesCaption());
    context.out << text.PlainText();
    return ExitOk;
}

} // namespace brumo
