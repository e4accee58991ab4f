#include "cli/cli_context.h"

#include "engine/folder_entry_path.h"
#include "platform/file_system.h"
#include "runs/recycle_settings_check.h"
#include "runs/run_texts.h"

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
        err << "There is no type store yet (\"" << files.TypeStore
            << "\"): these are the built-in junk file types.\n";
    const std::string& beside = files.ProgramFolderTypeStore;
    if (!beside.empty() && FileSystem::FileExists(beside)) {
        if (catalog.StorePath() == beside)
            err << "Using the type store beside the program, \"" << beside << "\".\n";
        else
            err << "Using the type store \"" << catalog.StorePath()
                << "\"; the one beside the program, \"" << beside << "\", is not read.\n";
    }
    return catalog;
}

void CliContext::NoteUnsearchedFolders(const TJunkFileObj& type) const {
    for (const std::string& line : FolderEntryPath::Unsearched(type))
        err << "brumo: " << type.Name << ": " << line << "\n";
}

bool CliContext::CheckRecycleBin(TypeCatalog& catalog) const {
    RecycleSettingsCheck check;
    if (!check.CheckRecycleSettings())
        return false;
    if (const int disabled = catalog.DisableRecycleTypes(); disabled > 0)
        err << RunTexts::RecycleDisabledMessage(check.RecycleSettingsError(), disabled, true).text
            << "\n";
    return true;
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
