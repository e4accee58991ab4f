#pragma once

#include <string>
#include <vector>

namespace brumo {

// Folders the system knows, as Windows paths; empty when the platform has none.
class SpecialFolders {
public:
    static std::string TempPath(); // ends with a backslash
    static std::string CookiesFolder();
    static std::string InternetCacheFolder();
    static std::string WindowsFolder();
    // Full path of the running program (host form on POSIX, as the file system sees it).
    static std::string ExecutablePath();
    // Per-user data folder for the program's files when its own folder is not writable
    // ($XDG_DATA_HOME/brumo, %LOCALAPPDATA%\Brumo), host form.
    static std::string UserDataFolder();
    // The user's home folder and cache folder ($XDG_CACHE_HOME, else ~/.cache), Windows form;
    // empty where no drive holds them, and on Windows, whose built-in types are its own.
    static std::string UserHomeFolder();
    static std::string UserCacheFolder();
    // The user's own trash folder (never searched), Windows form; empty where none.
    static std::string HomeTrashFolder();
    // The operating system's own folders, which its package manager owns and no search may
    // enter, host form; a name may not exist here. Empty where drives hold no such thing.
    static std::vector<std::string> SystemFolders();
};

} // namespace brumo
