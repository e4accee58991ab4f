#include "cli/export_command.h"

#include "cli/json_output.h"
#include "cli/type_json.h"
#include "engine/local_drives.h"
#include "model/styled_text.h"

#include <CLI/CLI.hpp>

namespace brumo {

CLI::App* ExportCommand::Add(CLI::App& app) {
    CLI::App* sub = app.add_subcommand(
        "export", "Write junk file types as JSON, to keep, edit or share, and to give to "
                  "\"brumo import\".");
    sub->add_option("TYPE", types_,
                    "The types' numbers in \"brumo list\" or their names; all when none is given.");
    return sub;
}

int ExportCommand::Execute(CliContext& context) {
    std::optional<TypeCatalog> catalog = context.LoadTypes(true);
    if (!catalog)
        return ExitError;
    std::vector<int> numbers;
    for (const std::string& which : types_) {
        const TypeCatalog::Lookup found = catalog->Find(which);
        if (!found.type)
            return context.Fail(found.error);
        numbers.push_back(found.number);
    }
    if (types_.empty())
        for (size_t i = 0; i < catalog->Types().size(); ++i)
            numbers.push_back(static_cast<int>(i) + 1);
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const int number : numbers) {
        const TJunkFileObj& type = catalog->Types()[static_cast<size_t>(number) - 1];
        StyledText text;
        type.DescribeTo(text, LocalDrives::LocalDrivesCaption());
        list.push_back(TypeJson::Exported(type, number, text.PlainText()));
    }
    JsonOutput::Document(context.out, list);
    return ExitOk;
}

} // namespace brumo
