#pragma once

#include "model/junk_file_type.h"
#include "platform/date_time.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brumo {

// What the wizard's controls hold, read back from the widgets whenever a rule runs. Choice
// lists hold -1 while no entry is chosen; size edits hold their text as shown.
struct WizardControls {
    int page = 0;
    std::string name;
    bool enabled = true;
    int method = MethodRecycleBin; // the selected radio button: 0 Recycle Bin, 1 holding, 2 delete
    std::vector<FolderEntry> folders; // lvDirs, the all-drives entry included
    std::vector<std::string> specs;
    std::vector<std::string> protects;
    bool restrictDate = false; // ckRstDate
    bool byDate = true;        // rbDate
    bool byAge = false;        // rbAge
    int dateType = -1;
    TDateTime date1 = 0;
    TDateTime date2 = 0;
    int age1 = -1;
    int age2 = -1;
    bool restrictSize = false; // ckRstSize
    int sizeType = -1;
    std::string size1;
    std::string size2;
    int sizeUnits = -1;
};

struct WizardButtons {
    bool back = false;
    bool next = false;
    bool finish = false;

    bool operator==(const WizardButtons&) const = default;
};

// The wizard's rules, apart from its widgets: which buttons are available, whether the
// restrictions are complete, and the mapping between a junk file type and the controls.
class TypeWizRules {
public:
    static constexpr int PageName = 0;
    static constexpr int PageDirectories = 1;
    static constexpr int PageDeletes = 2;
    static constexpr int PageProtects = 3;
    static constexpr int PageSummary = 4;
    static constexpr int PageCounts = 5;
    static constexpr int PageCount = 6;

    // "between" and "not between" take a second value.
    static bool TakesTwoValues(int compare) { return compare > 2; }

    static bool RestrictionsValid(const WizardControls& c);
    // Back, Next and Finish for the page shown; the counts page overrides them while it counts.
    static WizardButtons Buttons(const WizardControls& c);

    // A size text that is a whole number from 0 to 2147483647.
    static std::optional<int32_t> SizeValue(const std::string& text);
    // Keeps only the digits "0".."9".
    static std::string DigitsOnly(const std::string& text);

    // An entry standing for all local drives: its text begins with "Local drives (".
    static bool IsAllDrivesEntry(const std::string& text);
    // The list entries for a type's folders: blank entries are left out, and an empty result
    // becomes the single all-drives entry.
    static std::vector<FolderEntry> FolderEntriesOf(const std::vector<FolderEntry>& folders,
                                                    const std::string& allDrivesEntry);
    // The type's folders from the list: empty for an empty list or the all-drives entry alone.
    static std::vector<FolderEntry> FoldersOf(const std::vector<FolderEntry>& entries);

    // The junk file type the controls describe, through the full constructor.
    static TJunkFileObj BuildType(const WizardControls& c);
    // The controls as filling the wizard from the type leaves them, on its first page; a code
    // that no drop-down list offers leaves that list unchosen.
    static WizardControls ControlsOf(const TJunkFileObj& type);
};

} // namespace brumo
