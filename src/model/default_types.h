#pragma once

#include "model/junk_file_type.h"

#include <string>
#include <vector>

namespace brumo {

// The built-in junk file types. Types whose folder the system does not know are left out
// (on POSIX: the two Internet Explorer types and the Windows diagnostic files; on Windows, the
// types of a Linux user's home folder).
//
// The window that shows the list appends these to its rows and must then refresh the
// caption (Name) and check box (Enabled) of every row, the rows it held before included.
class DefaultTypes {
public:
    // Where the folder-bound defaults search; an empty path leaves its type out.
    struct Folders {
        std::string cookies;
        std::string internetCache;
        std::string temp;    // stored as given (it ends with a backslash)
        std::string windows; // the Windows folder; its drive root is searched
        std::string home;    // the user's home and cache folders, where the system has such
        std::string cache;
        static Folders FromSystem();
    };

    // Appends the defaults in their fixed order. With recycleUnusable the types that would
    // use the Recycle Bin use the holding folder instead.
    static void AppendTo(std::vector<TJunkFileObj>& list, bool recycleUnusable);
    static void AppendTo(std::vector<TJunkFileObj>& list, bool recycleUnusable,
                         const Folders& folders);
    static std::vector<TJunkFileObj> Build(bool recycleUnusable);
};

} // namespace brumo
