#pragma once

#include "runs/skipped_names.h"

#include <cstdint>
#include <string>
#include <vector>

namespace brumo {

// What a finished search found, before its report is worded.
struct CountFigures {
    int32_t foldersSearched = 0;
    int32_t foldersUnreadable = 0;
    int32_t filesMatched = 0;
    int32_t filesRestricted = 0; // outside the date or size restrictions
    int32_t filesProtected = 0;
    int64_t bytes = 0; // of the files that would be processed
    std::vector<SkippedNames> skipped;
    int32_t NamesSkipped() const {
        int32_t n = 0;
        for (const SkippedNames& folder : skipped)
            n += folder.names;
        return n;
    }
};

// What a count shows, implemented by the main window and by the command line.
class CountFront {
public:
    virtual ~CountFront() = default;
    // The window's run state: 1 while counting, 0 when idle again.
    virtual void SetRunMode(int32_t mode) = 0;
    // In-place editing of the type list (off while counting).
    virtual void SetListEditable(bool editable) = 0;
    virtual void SetBusyCursor(bool busy) = 0;
    // The count command: its caption, its hint, and whether the button's caption is bold.
    virtual void SetCountCommand(const std::string& caption, const std::string& hint,
                                 bool bold) = 0;
    // The report of a finished count: a "Brumo" box with an information icon and OK.
    virtual void ShowReport(const std::string& text) = 0;
    // The same count's figures, just before its report; a front that words them itself takes them.
    virtual void ShowFigures(const CountFigures&) {}
    // A plain message, such as the one after a stop.
    virtual void ShowMessage(const std::string& text) = 0;
    virtual void SelectItem(int index) = 0;
};

} // namespace brumo
