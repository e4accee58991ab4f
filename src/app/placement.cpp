#include "app/placement.h"

#include <algorithm>
#include <limits>

namespace brumo {

namespace {

int ReadInt(const IniText& text, const std::string& section, const char* key, int defaultValue) {
    auto value = text.Value(section, key);
    if (!value)
        return defaultValue;
    return IniText::ParseInteger(*value).value_or(defaultValue);
}

int Saturated(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}

// One axis of the normal rectangle, from `lo` to `hi`, brought inside the work area's
// `areaLo` to `areaHi`. Worked in 64 bits so that no sum of stored values overflows.
void FitAxis(int& lo, int& hi, int areaLo, int areaHi, int designed, int minimum, int centred,
             bool sizeable) {
    int64_t l = lo, h = hi;
    const int64_t area = int64_t{areaHi} - areaLo;
    if (!sizeable) {
        // The designed size; a window that does not fit stays centred.
        h = l + designed;
        if (designed > area) {
            l = centred;
            h = l + designed;
        } else if (h > areaHi) {
            l -= h - areaHi;
            h = areaHi;
        } else if (l < areaLo) {
            h += areaLo - l;
            l = areaLo;
        }
    } else {
        const int64_t size = std::clamp<int64_t>(h - l, minimum, std::max<int64_t>(minimum, area));
        h = l + size;
        if (h > areaHi) {
            l -= h - areaHi;
            h = areaHi;
        }
        if (l < areaLo) {
            // The far edge stays where it is, unless that leaves less than the minimum.
            if (h - areaLo < std::max(minimum, 1))
                h = areaLo + size;
            l = areaLo;
        }
    }
    lo = Saturated(l);
    hi = Saturated(h);
}

} // namespace

std::string Placement::SectionOf(const std::string& windowName) {
    return windowName + " Settings";
}

WindowPlacement Placement::RestorePlacement(const SettingsFile& settings,
                                            const std::string& section,
                                            const WindowPlacement& current, int width, int height,
                                            const PlacementRect& workArea, bool sizeable,
                                            PlacementPoint minimum) {
    // Integer division truncates toward zero, as the centring requires.
    int centredLeft = workArea.left + (workArea.Width() - width) / 2;
    int centredTop = workArea.top + (workArea.Height() - height) / 2;

    IniText text = settings.Load();
    WindowPlacement p = current;
    PlacementRect& r = p.normal;
    r.left = ReadInt(text, section, "Left", centredLeft);
    r.top = ReadInt(text, section, "Top", centredTop);
    if (sizeable) {
        r.right = ReadInt(text, section, "Right", centredLeft + width);
        r.bottom = ReadInt(text, section, "Bottom", centredTop + height);
    } else {
        r.right = Saturated(int64_t{r.left} + width);
        r.bottom = Saturated(int64_t{r.top} + height);
    }
    p.minPosition.x = ReadInt(text, section, "MinX", current.minPosition.x);
    p.minPosition.y = ReadInt(text, section, "MinY", current.minPosition.y);
    p.maxPosition.x = ReadInt(text, section, "MaxX", current.maxPosition.x);
    p.maxPosition.y = ReadInt(text, section, "MaxY", current.maxPosition.y);
    p.showCmd = 0;
    p.flags =
        static_cast<uint32_t>(ReadInt(text, section, "flags", static_cast<int>(current.flags)));

    // The values come from an editable file: whatever they hold, the window opens inside
    // the work area, at a size between its minimum and the work area's.
    FitAxis(r.left, r.right, workArea.left, workArea.right, width, minimum.x, centredLeft,
            sizeable);
    FitAxis(r.top, r.bottom, workArea.top, workArea.bottom, height, minimum.y, centredTop,
            sizeable);
    return p;
}

std::optional<SettingsWriteError> Placement::SavePlacement(SettingsFile& settings,
                                                           const std::string& section,
                                                           const WindowPlacement& placement,
                                                           bool sizeable) {
    const PlacementRect& r = placement.normal;
    SettingsFile::Values values;
    auto add = [&values](const char* key, long long value) {
        values.emplace_back(key, std::to_string(value));
    };
    add("Left", r.left);
    add("Top", r.top);
    if (sizeable) {
        add("Right", r.right);
        add("Bottom", r.bottom);
    }
    add("MinX", placement.minPosition.x);
    add("MinY", placement.minPosition.y);
    add("MaxX", placement.maxPosition.x);
    add("MaxY", placement.maxPosition.y);
    add("ShowCmd", placement.showCmd);
    add("flags", static_cast<int>(placement.flags));
    // One atomic rewrite: a failure leaves the file as it was, never half-saved.
    return settings.Write(section, values);
}

} // namespace brumo
