#pragma once

namespace brumo {

class THDForm;

// The title every window and message box carries.
inline constexpr const char* ApplicationTitle = "Brumo";

// The windowed program: one copy per user and program file, the main window until it closes.
class Application {
public:
    // True when the window layer has a display to draw on (or a platform chosen for it).
    static bool HasDisplay();
    // Runs the windows; argv[1] may be "/silent". Returns the process's exit code.
    static int Run(int argc, char** argv);
    // What happens between creating the main window and showing it: the "/silent" switch,
    // in exactly these two spellings, says so; Test mode is always ticked at start.
    static void PrepareMainWindow(THDForm& form, const char* argument);
};

} // namespace brumo
