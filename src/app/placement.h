#pragma once

#include "app/settings_file.h"

#include <cstdint>
#include <optional>
#include <string>

namespace brumo {

struct PlacementPoint {
    int x = 0;
    int y = 0;

    bool operator==(const PlacementPoint&) const = default;
};

struct PlacementRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const PlacementRect&) const = default;
};

// A window's placement as the platform keeps it: flags, show command, minimised and
// maximised positions, and the normal (neither minimised nor maximised) rectangle.
struct WindowPlacement {
    uint32_t flags = 0;
    int showCmd = 0;
    PlacementPoint minPosition;
    PlacementPoint maxPosition;
    PlacementRect normal;

    bool operator==(const WindowPlacement&) const = default;
};

// Window placement kept in the settings file, one section per window. The window layer
// only converts to and from its widgets.
class Placement {
public:
    // "HDForm" -> "HDForm Settings".
    static std::string SectionOf(const std::string& windowName);

    // The placement to apply at creation. `current` is the window's placement now (its
    // flags and positions are the defaults), `width`/`height` its designed size. A fixed-size
    // window keeps its designed size and its stored position, moved inside the work area
    // when it fits there; a sizeable one gets its stored rectangle, sized between `minimum`
    // and the work area and moved back inside it. The show command is always 0: whoever
    // shows the window decides how.
    static WindowPlacement RestorePlacement(const SettingsFile& settings,
                                            const std::string& section,
                                            const WindowPlacement& current, int width, int height,
                                            const PlacementRect& workArea, bool sizeable,
                                            PlacementPoint minimum = {});

    // Writes the placement at destruction; a maximised or minimised window stores its
    // normal rectangle, so it reopens in normal state.
    static std::optional<SettingsWriteError> SavePlacement(SettingsFile& settings,
                                                           const std::string& section,
                                                           const WindowPlacement& placement,
                                                           bool sizeable);
};

} // namespace brumo
