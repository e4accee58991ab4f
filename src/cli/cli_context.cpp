#include "cli/cli_context.h"

#include "engine/folder_entry_path.h"
#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "platform/recycle_bin_settings.h"
#include "runs/line_escape.h"
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
    if (WindowHasRecoveryCopy())
        err << "brumo: " << OpenWindowText() << ".\n";
    else if (RecoveryPending())
        err << "brumo: the window did not close normally and left a recovery copy of its junk "
               "file types, \""
            << files.RecoveryCopy
            << "\", which is not read here; \"brumo recover restore\" makes it the type store, "
               "\"brumo recover discard\" removes it.\n";
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
        err << "brumo: " << LineEscape::Of(type.Name) << ": " << line << "\n";
}

void CliContext::NoteRecycleProblems() const {
    for (const std::string& problem : RecycleBinSettings::System().Problems())
        err << "brumo: " << problem << "\n";
}

namespace {
bool RecoveryCopyExists(const ProgramFiles& files) {
    return FileSystem::FileExists(FileSystem::LinkTarget(files.RecoveryCopy));
}
} // namespace

bool CliContext::RecoveryPending() const {
    return RecoveryCopyExists(files) && !WindowOpen();
}

bool CliContext::WindowHasRecoveryCopy() const {
    return RecoveryCopyExists(files) && WindowOpen();
}

std::string CliContext::OpenWindowText() const {
    return "a Brumo window is open and keeps its unsaved changes to the junk file types in its "
           "recovery copy \"" +
           files.RecoveryCopy + "\", which is not read here; closing the window saves them";
}

bool CliContext::WindowOpen() const {
    // Every window makes the lock file; without one, none has run here.
    if (!FileSystem::FileExists(files.WindowLock))
        return false;
    bool held = false;
    OsError error;
    return !FileLock::TryTake(files.WindowLock, held, error) && held;
}

bool CliContext::CheckRecycleBin(TypeCatalog& catalog) const {
    RecycleSettingsCheck check;
    const bool unusable = check.CheckRecycleSettings();
    NoteRecycleProblems();
    if (!unusable)
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
