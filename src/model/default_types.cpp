#include "model/default_types.h"

#include "platform/special_folders.h"

namespace brumo {

namespace {
// A folder the text constructor can take as one entry: a line break inside a path would
// turn it into several folders, each searched with its subfolders.
bool Usable(const std::string& path) {
    return !path.empty() && path.find_first_of("\r\n") == std::string::npos;
}
} // namespace

DefaultTypes::Folders DefaultTypes::Folders::FromSystem() {
    Folders f;
    f.cookies = SpecialFolders::CookiesFolder();
    f.internetCache = SpecialFolders::InternetCacheFolder();
    f.temp = SpecialFolders::TempPath();
    f.windows = SpecialFolders::WindowsFolder();
    f.home = SpecialFolders::UserHomeFolder();
    f.cache = SpecialFolders::UserCacheFolder();
    return f;
}

void DefaultTypes::AppendTo(std::vector<TJunkFileObj>& list, bool recycleUnusable) {
    AppendTo(list, recycleUnusable, Folders::FromSystem());
}

void DefaultTypes::AppendTo(std::vector<TJunkFileObj>& list, bool recycleUnusable,
                            const Folders& folders) {
    const int32_t r = recycleUnusable ? MethodHoldingFolder : MethodRecycleBin;
    auto add = [&](const char* name, int32_t method, std::string_view folderText,
                   std::string_view specs, std::string_view protects, uint32_t mask = 0) {
        list.emplace_back(name, true, method, folderText, specs, protects, mask);
    };

    add("Backup files", r, "", "*.bak\r\n*.old", "");
    add("Borland C++ temporary files", r, "", "*.ilc\r\n*.ild\r\n*.ilf\r\n*.ils\r\n*.tds", "");
    add("Help temporary files", r, "", "*.gid\r\n*.fts\r\n*.ftg", "");
    if (Usable(folders.cookies))
        add("Internet Explorer cookies", MethodDelete, folders.cookies, "*.txt",
            "index.dat\r\ndesktop.ini");
    if (Usable(folders.internetCache))
        add("Internet Explorer cache", MethodDelete, folders.internetCache, "*.*", "index.dat");
    add("Lost cluster files", r, "", "chklist.*\r\n*.chk\r\nfile???._dd\r\nfile????._dd",
        "chklist.dll");
    add("Setup temporary files", r, "", "mscreate.dir\r\n*.---", "");
    if (Usable(folders.temp))
        add("Temp folders", r, folders.temp, "*.*", "", 1u);
    add("Temporary files", r, "", "*.tmp\r\n*.~*\r\n~*.*\r\n*.^*\r\n*.??$",
        "rcveak*.cp$\r\n~desktop.*");
    if (Usable(folders.windows))
        add("Windows diagnostic files", r, std::string_view(folders.windows).substr(0, 3),
            "bootlog.prv\r\nmodemdet.txt\r\nsuhdlg.dat\r\nsystem.1st", "");
    add("WS_FTP temporary files", r, "", "ws_ftp.log", "");

    // A Linux user's own junk, each undone from the trash or the holding folder, and old
    // enough that no running program still wants it: the locks, sockets and process ids that
    // programs keep in their cache are never touched.
    auto olderThan = [&list](int32_t age) {
        list.back().AgeRestrict = true;
        list.back().AgeCompare = 1; // older than
        list.back().Age1 = age;
    };
    if (Usable(folders.cache)) {
        add("Thumbnail cache", r, folders.cache + "\\thumbnails", "*.png", "");
        olderThan(3); // 1 month
        add("Cached files", r, folders.cache, "*.*",
            "*.lock\r\n*.lck\r\nlock.\r\n*.pid\r\n*.sock\r\n*.socket");
        olderThan(4); // 3 months
    }
    if (Usable(folders.home)) {
        add("Editor backup files", r, folders.home, "*.*~\r\n*~.", "");
        olderThan(2); // 1 week
    }
}

std::vector<TJunkFileObj> DefaultTypes::Build(bool recycleUnusable) {
    std::vector<TJunkFileObj> list;
    AppendTo(list, recycleUnusable);
    return list;
}

} // namespace brumo
