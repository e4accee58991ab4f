#include "app/program_files.h"

#include "platform/file_system.h"
#include "platform/file_writer.h"
#include "platform/path_map.h"
#include "platform/special_folders.h"

#include <cctype>
#include <cstdlib>

namespace brumo {

namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// Index just past the last separator: where the file name begins.
size_t NameStart(const std::string& path) {
    size_t i = path.size();
    while (i > 0 && !IsSeparator(path[i - 1]))
        --i;
    return i;
}

// Drive roots ("/", "C:\") keep their separator.
std::string WithoutTrailingSeparator(std::string path) {
    bool root = path.size() == 1 || (path.size() == 3 && path[1] == ':');
    if (!root && !path.empty() && IsSeparator(path.back()))
        path.pop_back();
    return path;
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty() || IsSeparator(folder.back()))
        return folder + name;
    // Keep the folder's own style: Windows folders use backslashes, host folders slashes.
    bool windowsStyle =
        folder.find('\\') != std::string::npos && folder.find('/') == std::string::npos;
    return folder + (windowsStyle ? '\\' : '/') + name;
}

std::string WindowsFolder(const std::string& hostFolder) {
    if (hostFolder.empty())
        return {};
    // A folder outside every drive stays a host path: a link may still lead a walk into it.
    auto mapped = PathMap::ToWindows(hostFolder);
    std::string folder = mapped && !mapped->empty() ? *mapped : hostFolder;
    if (folder.back() == '\\')
        folder.pop_back();
    return folder;
}

bool SameFolderIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x < 128 && y < 128 ? std::tolower(x) != std::tolower(y) : x != y)
            return false;
    }
    return true;
}

} // namespace

std::string ProgramFiles::ChangeExtension(const std::string& path, const std::string& suffix) {
    size_t start = NameStart(path);
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < start)
        return path + suffix;
    return path.substr(0, dot) + suffix;
}

ProgramFiles ProgramFiles::Derive(const std::string& executable, bool programFolderWritable,
                                  const std::string& dataFolder) {
    ProgramFiles f;
    f.Executable = executable;
    size_t start = NameStart(executable);
    f.ProgramFolder = WithoutTrailingSeparator(executable.substr(0, start));
    f.DataFolder = WithoutTrailingSeparator(dataFolder);
    f.FilesFolder = programFolderWritable ? f.ProgramFolder : f.DataFolder;

    // The same file names in whichever folder holds them.
    std::string base = programFolderWritable || f.DataFolder.empty()
                           ? executable
                           : Join(f.DataFolder, executable.substr(start));
    if (!programFolderWritable && f.DataFolder.empty())
        f.FilesFolder = f.ProgramFolder;
    f.TypeStore = ChangeExtension(base, ".DAT");
    if (base != executable)
        f.ProgramFolderTypeStore = ChangeExtension(executable, ".DAT");
    f.RecoveryCopy = ChangeExtension(base, ".D$$");
    f.Log = ChangeExtension(base, ".LOG.TXT");
    f.TestLog = ChangeExtension(base, ".TEST.TXT");
    f.HelpFile = ChangeExtension(base, ".HLP");
    f.Settings = ChangeExtension(base, ".INI");
    f.FoundFiles = ChangeExtension(base, ".$$$.TXT");
    f.WindowLock = f.TypeStore + ".lock";
    f.ScheduleStatus = ChangeExtension(base, ".SCHED.TXT");

    f.ProgramFolderWindows = WindowsFolder(f.ProgramFolder);
    f.DataFolderWindows = WindowsFolder(f.DataFolder);
    return f;
}

std::string ProgramFiles::TypeStoreToRead() const {
    if (!ProgramFolderTypeStore.empty() && !FileSystem::FileExists(TypeStore) &&
        FileSystem::FileExists(ProgramFolderTypeStore))
        return ProgramFolderTypeStore;
    return TypeStore;
}

std::vector<std::string> ProgramFiles::ExcludedFolders() const {
    std::vector<std::string> folders;
    for (const std::string* folder : {&ProgramFolderWindows, &DataFolderWindows})
        if (!folder->empty() && (folders.empty() || !SameFolderIgnoringCase(folders[0], *folder)))
            folders.push_back(*folder);
    return folders;
}

bool ProgramFiles::FolderIsWritable(const std::string& folder) {
    // Making and removing a file needs what replacing one does, without the atomic write's
    // flushes to disk, which every start of the program would wait for.
    std::string probe = Join(folder, "Brumo write test.$$$");
    std::unique_ptr<FileWriter> writer;
    if (FileWriter::Open(probe, FileWriter::Mode::Create, writer))
        return false;
    const bool written = !writer->Close();
    FileSystem::DeleteFile(probe);
    return written;
}

bool ProgramFiles::IsInstalledCopy(const std::string& programFolder, const std::string& prefixes) {
    const std::string folder = WithoutTrailingSeparator(programFolder);
    size_t start = 0;
    while (start < prefixes.size()) {
        size_t end = prefixes.find(':', start);
        if (end == std::string::npos)
            end = prefixes.size();
        const std::string prefix = WithoutTrailingSeparator(prefixes.substr(start, end - start));
        start = end + 1;
        if (prefix.empty() || prefix[0] != '/')
            continue;
        if (folder == Join(prefix, "bin"))
            return true;
        // Everything lies below "/": there only its "bin" counts.
        if (prefix != "/" && folder.size() > prefix.size() &&
            folder.compare(0, prefix.size(), prefix) == 0 && folder[prefix.size()] == '/')
            return true;
    }
    return false;
}

std::string ProgramFiles::InstallPrefixes() {
#ifdef BRUMO_INSTALL_PREFIXES
    std::string prefixes = BRUMO_INSTALL_PREFIXES;
#else
    std::string prefixes;
#endif
    // The user's own prefix, whose bin folder the desktop puts on the PATH.
    if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        prefixes.append(prefixes.empty() ? "" : ":").append(home).append("/.local");
    return prefixes;
}

ProgramFiles ProgramFiles::OfThisProgram() {
    std::string executable = SpecialFolders::ExecutablePath();
    std::string dataFolder = SpecialFolders::UserDataFolder();
    std::string programFolder =
        WithoutTrailingSeparator(executable.substr(0, NameStart(executable)));
    bool beside = !IsInstalledCopy(programFolder, InstallPrefixes()) &&
                  FolderIsWritable(programFolder.empty() ? std::string(".") : programFolder);
    if (!beside && !dataFolder.empty())
        FileSystem::CreateFolders(dataFolder);
    ProgramFiles files = Derive(executable, beside, dataFolder);
    // What a crash while saving left behind.
    for (const std::string* file : {&files.TypeStore, &files.RecoveryCopy, &files.Settings})
        FileSystem::RemoveStaleTemporaryFiles(*file);
    return files;
}

} // namespace brumo
