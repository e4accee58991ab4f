#include "cli/describe_command.h"

#include "cli/json_output.h"
#include "cli/type_catalog.h"
#include "cli/type_json.h"
#include "engine/local_drives.h"
#include "model/styled_text.h"

#include <CLI/CLI.hpp>

namespace brumo {

CLI::App* DescribeCommand::Add(CLI::App& app) {
    CLI::App* sub = app.add_subcommand("describe", "Show the properties of one junk file type.");
    sub->add_option("TYPE", type_, "The type's number in \"brumo list\" or its name.")->required();
    sub->add_flag("--json", json_, "Print one JSON document instead of the text");
    return sub;
}

int DescribeCommand::Execute(CliContext& context) {
    std::optional<TypeCatalog> catalog;
    const TJunkFileObj* type = context.FindType(type_, catalog);
    if (!type)
        return ExitError;
    StyledText text;
    type->DescribeTo(text, LocalDrives::LocalDrivesCaption());
    if (!json_) {
        context.out << text.PlainText();
        return ExitOk;
    }
    const int number = static_cast<int>(type - catalog->Types().data()) + 1;
    JsonOutput::Document(context.out, TypeJson::Details(*type, number, text.PlainText()));
    return ExitOk;
}

} // namespace brumo
