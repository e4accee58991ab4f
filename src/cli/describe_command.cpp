#include "cli/describe_command.h"

#include "cli/json_output.h"
#include "cli/type_catalog.h"
#include "cli/type_json.h"
#include "engine/local_drives.h"
#include "model/styled_text.h"
#include "runs/line_escape.h"

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
    // Each name and folder on one line of its own, whatever it holds.
    TJunkFileObj shown = *type;
    shown.Name = LineEscape::Of(shown.Name);
    for (FolderEntry& folder : shown.Folders)
        folder.path = LineEscape::Of(folder.path);
    for (std::vector<std::string>* list : {&shown.Specs, &shown.Protects})
        for (std::string& entry : *list)
            entry = LineEscape::Of(entry);
    StyledText text;
    shown.DescribeTo(text, LocalDrives::LocalDrivesCaption());
    if (!json_) {
        context.out << text.PlainText();
        return ExitOk;
    }
    const int number = static_cast<int>(type - catalog->Types().data()) + 1;
    JsonOutput::Document(context.out, TypeJson::Details(*type, number, text.PlainText()));
    return ExitOk;
}

} // namespace brumo
