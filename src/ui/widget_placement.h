#pragma once

#include <string>

class QWidget;

namespace brumo {

// Keeps a window's position and size in the settings file, in the section named after the
// window. A sizeable window gets its stored size back, a fixed one only its position.
class WidgetPlacement {
public:
    // The settings file every window uses; the program's own unless set (tests set one).
    static void SetSettingsFile(const std::string& path);
    static std::string SettingsFileName();

    // At creation, before the window is first shown. False when the settings file holds no
    // place for the window yet (it is then centred in the work area).
    static bool Restore(QWidget& window, const std::string& windowName, bool sizeable);
    // At destruction; a failed write is shown in a message box naming the file.
    static void Save(QWidget& window, const std::string& windowName, bool sizeable);
};

} // namespace brumo
