#pragma once

#include <string>
#include <vector>

namespace brumo {

// What became of one file sent to the Recycle Bin.
struct RecycleResult {
    int code = 0; // 0: it is in the Recycle Bin
    // The trash folder that could not take it, where the trouble lay there rather than with
    // the file; empty otherwise.
    std::string trashFolder;
    // The top folder (mount point) of the file's volume where the volume was the trouble, and
    // why: EROFS when it is read-only (no trash folder is named then), else why its own trash
    // folder could not be used, when the home trash named above then could not take a copy.
    std::string volume;
    int volumeCode = 0;
};

// The Recycle Bin (on POSIX the freedesktop.org trash: the volume's own trash, or where that
// cannot be used, a copy in the home trash).
class RecycleBin {
public:
    // Sends the files in order, stopping at the first that fails. Returns 0 when every file
    // went, else that failure's code.
    static int SendFiles(const std::vector<std::string>& paths);
    // Sends every file it can, each with its own result (a file gone meanwhile: the code for
    // "not found").
    static std::vector<RecycleResult> SendEach(const std::vector<std::string>& paths);
    // The message text for a code returned by SendFiles or SendEach.
    static std::string ErrorText(int code);
};

} // namespace brumo
