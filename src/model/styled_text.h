#pragma once

#include <string>
#include <vector>

namespace brumo {

enum class RunStyle { Bold, BoldUnderline, Italic, Regular };

// One piece of formatted text; breaks is the number of line breaks that follow it.
struct StyledRun {
    std::string text;
    RunStyle style = RunStyle::Regular;
    int points = 10;
    int breaks = 0;

    bool operator==(const StyledRun&) const = default;
};

// Formatted text independent of any toolkit: the window layer renders the runs into its
// rich-text box (read-only, caret at the start), the command line prints PlainText().
class StyledText {
public:
    void Clear() { runs_.clear(); }
    void Add(std::string text, RunStyle style, int points, int breaks = 0);
    const std::vector<StyledRun>& Runs() const { return runs_; }

    // The runs' texts with "\n" for each line break; tabs are kept.
    std::string PlainText() const;

private:
    std::vector<StyledRun> runs_;
};

} // namespace brumo
