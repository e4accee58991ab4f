#pragma once

#include <string>
#include <vector>

namespace brumo {

// The names of the files the program keeps, all derived from its own executable path by
// replacing the extension. An installed copy, and a copy whose folder is not writable, keeps
// the same file names in the per-user data folder instead.
class ProgramFiles {
public:
    // Host paths (the platform functions accept them as they are).
    std::string Executable;
    std::string ProgramFolder;  // the executable's folder, no trailing separator
    std::string FilesFolder;    // where the files below live: ProgramFolder or DataFolder
    std::string DataFolder;     // the per-user data folder, whether used or not
    std::string TypeStore;      // ".DAT"
    std::string RecoveryCopy;   // ".D$$"
    std::string Log;            // ".LOG.TXT"
    std::string TestLog;        // ".TEST.TXT"
    std::string HelpFile;       // ".HLP"
    std::string Settings;       // ".INI"
    std::string FoundFiles;     // ".$$$.TXT"
    std::string WindowLock;     // ".DAT.lock", held while a window has the list open
    std::string ScheduleStatus; // ".SCHED.TXT": how the last scheduled clean-up ended
    // The store beside the program when the files live in the data folder (an installed
    // copy, a read-only folder); empty otherwise. Read while the data folder has none.
    std::string ProgramFolderTypeStore;

    // The program folder and the data folder as Windows paths without a trailing
    // backslash, or as host paths where no drive maps them. Searches never enter either.
    std::string ProgramFolderWindows;
    std::string DataFolderWindows;

    // The files of the running program: the data folder is used (and created) when the
    // program's folder is not writable.
    static ProgramFiles OfThisProgram();

    // Pure derivation: nothing is touched on disk.
    static ProgramFiles Derive(const std::string& executable, bool programFolderWritable,
                               const std::string& dataFolder);

    // The path with the extension of its file name (from the last "." on) replaced by
    // the suffix; a name without "." gets the suffix appended.
    static std::string ChangeExtension(const std::string& path, const std::string& suffix);

    // The store to read: the data folder's own when it exists, else the one beside the
    // program where there is one, else TypeStore. Saving always writes TypeStore.
    std::string TypeStoreToRead() const;

    // The non-empty Windows folders that searches must leave out, without duplicates.
    std::vector<std::string> ExcludedFolders() const;

    // Whether files can be created and atomically replaced in a folder (host path).
    static bool FolderIsWritable(const std::string& folder);

    // Whether the program's folder lies where an installation puts it: at or below one of the
    // install prefixes ("/usr:/usr/local", host paths; only its "bin" for the prefix "/"). Such
    // a folder belongs to the system, which even a user who may write it (root) must not fill.
    static bool IsInstalledCopy(const std::string& programFolder, const std::string& prefixes);
    // The prefixes this program was built to be installed below, and the user's ~/.local.
    static std::string InstallPrefixes();
};

} // namespace brumo
