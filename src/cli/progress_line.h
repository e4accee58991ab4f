#pragma once

#include <cstdint>
#include <ostream>
#include <string>

namespace brumo {

// One line of progress on a terminal, rewritten in place; silent when the output is not a
// terminal, so that piped output holds only results.
class ProgressLine {
public:
    ProgressLine(std::ostream& out, bool enabled);
    // Shows the counts unless they are unchanged since the last call.
    void Show(int32_t foldersSearched, int32_t filesFound);
    // Removes the line so that what follows starts on a clean line.
    void Clear();

    static std::string Text(int32_t foldersSearched, int32_t filesFound);

private:
    std::ostream& out_;
    bool enabled_;
    size_t shown_ = 0; // length of the line on screen
    int32_t lastFolders_ = -1;
    int32_t lastFiles_ = -1;
};

} // namespace brumo
