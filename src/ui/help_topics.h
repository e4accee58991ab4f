#pragma once

#include <functional>

namespace brumo {

// Opens the program's help at a numbered topic (3 to 8 for the wizard's pages, 12 to 14 for
// the Recycle Bin and end-of-run messages). The help is HTML in docs/help/: index.html,
// whose sections carry the anchors "context-<number>". Tests install their own opener.
class HelpTopics {
public:
    using Opener = std::function<bool(int context)>;

    // False when no help could be opened; the caller has already been told nothing else.
    static bool Open(int context);
    // Replaces the opener; an empty one returns to the desktop browser.
    static void Install(Opener opener);
};

} // namespace brumo
