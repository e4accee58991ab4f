#pragma once

#include <string>
#include <vector>

namespace brumo {

// The Recycle Bin (on POSIX the freedesktop.org trash).
class RecycleBin {
public:
    // Sends the files in order, stopping at the first that fails. Returns 0 when every file
    // went, else that failure's code.
    static int SendFiles(const std::vector<std::string>& paths);
    // Sends every file it can: per file 0 when it reached the Recycle Bin, else the code of
    // why it did not (a file gone meanwhile: the code for "not found").
    static std::vector<int> SendEach(const std::vector<std::string>& paths);
    // The message text for a code returned by SendFiles or SendEach.
    static std::string ErrorText(int code);
};

} // namespace brumo
