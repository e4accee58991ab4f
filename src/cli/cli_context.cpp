#include "cli/cli_context.h"

#include "engine/folder_entry_path.h"

namespace brumo {

int CliContext::Fail(const std::string& message) const {
    err << "brumo: " << message << "\n";
    return ExitError;
}

std::optional<TypeCatalog> CliContext::LoadTypes(bool noteDefaults) const {
    TypeCatalog catalog;
    if (auto error = TypeCatalog::Load(files, catalog)) {
        Fail(*error);
        return std::nullopt;
    }
    if (noteDefaults && catalog.FromDefaults())
        err << "There is no type store yet (\"" << catalog.StorePath()
            << "\"): these are the built-in junk file types.\n";
    return catalog;
}

void CliContext::NoteUnsearchedFolders(const TJunkFileObj& type) const {
    for (const std::string& line : FolderEntryPath::Unsearched(type))
        err << "brumo: " << type.Name << ": " << line << "\n";
}

const TJunkFileObj* CliContext::FindType(const std::string& which,
                                         std::optional<TypeCatalog>& catalog) const {
    catalog = LoadTypes();
    if (!catalog)
        return nullptr;
    TypeCatalog::Lookup found = catalog->Find(which);
    if (!found.type)
        Fail(found.error);
    return found.type;
}

} // namespace brumo
