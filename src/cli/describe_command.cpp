#include "cli/describe_command.h"

#include "cli/json_output.h"
#include "cli/type_catalog.h"
#include "cli/type_json.h"
#include "engine/local_drives.h"
#include "engine/walk_limits.h"
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
    // Whatever the folders say, these are never searched.
    const std::vector<std::string> system = WalkLimits({}).SystemFolderNames();
    if (!json_) {
        context.out << text.PlainText();
        if (!system.empty()) {
            context.out << "\nNever searched: the operating system's own folders";
            for (size_t i = 0; i < system.size(); ++i)
                context.out << (i == 0 ? " (" : ", ") << system[i];
            context.out << "), as well as the program's folders and every holding, Recycle Bin "
                           "and trash folder.\n";
        }
        return ExitOk;
    }
    const int number = static_cast<int>(type - catalog->Types().data()) + 1;
    nlohmann::ordered_json details = TypeJson::Details(*type, number, text.PlainText());
    details["systemFoldersNeverSearched"] = system;
    JsonOutput::Document(context.out, details);
    return ExitOk;
}

} // namespace brumo
