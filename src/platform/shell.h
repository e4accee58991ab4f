#pragma once

#include <string>

namespace brumo {

// Desktop and process services.
class Shell {
public:
    // Opens a file with the desktop's default application; false when that could not start.
    static bool OpenWithDefaultApp(const std::string& path);
    static bool StdoutIsTerminal();
    // Whether a window could be shown: a desktop session to show it on.
    static bool HasDesktop();
    static bool StdinIsTerminal();
    // One step below normal priority for the calling thread.
    static void LowerCurrentThreadPriority();
};

} // namespace brumo
