#include "cli/import_command.h"

#include "cli/store_edit.h"
#include "cli/type_json_reader.h"

#include <CLI/CLI.hpp>

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace brumo {

CLI::App* ImportCommand::Add(CLI::App& app) {
    CLI::App* sub = app.add_subcommand(
        "import", "Add junk file types from JSON as \"brumo export\" writes it; nothing is "
                  "written unless every type is valid.");
    sub->add_option("FILE", file_, "The JSON file, or - for standard input.")->required();
    sub->add_flag("--replace", replace_,
                  "Make the imported types the whole list, in place of the types there are");
    return sub;
}

int ImportCommand::Execute(CliContext& context) {
    std::ifstream file;
    if (file_ != "-") {
        file.open(file_, std::ios::binary);
        if (!file)
            return context.Fail("cannot read \"" + file_ + "\"");
    }
    std::istream& in = file_ == "-" ? std::cin : file;
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return context.Fail("cannot read \"" + file_ + "\"");

    TypeJsonReader::Result read = TypeJsonReader::Read(text);
    if (!read.errors.empty()) {
        for (const std::string& error : read.errors)
            context.err << "brumo: " << (file_ == "-" ? "standard input" : file_) << ": " << error
                        << "\n";
        return context.Fail("nothing was imported");
    }
    std::optional<TypeCatalog> catalog = StoreEdit::Begin(context);
    if (!catalog)
        return ExitError;
    // The window's rule: a Recycle Bin type comes into the list disabled while the Recycle Bin
    // cannot be used.
    TypeCatalog imported = TypeCatalog::Of(std::move(read.types));
    context.CheckRecycleBin(imported);
    std::vector<TJunkFileObj> types = replace_ ? std::vector<TJunkFileObj>() : catalog->Types();
    types.insert(types.end(), imported.Types().begin(), imported.Types().end());
    std::ostringstream done;
    done << (imported.Types().size() == 1
                 ? "1 junk file type was"
                 : std::to_string(imported.Types().size()) + " junk file types were")
         << " imported; the list now holds " << types.size() << ".";
    return StoreEdit::Save(context, types, done.str());
}

} // namespace brumo
