#pragma once

#include <string>

namespace brumo {

// Desktop and process services.
class Shell {
public:
    // Opens a file with the desktop's default application; false when that could not start.
    static bool OpenWithDefaultApp(const std::string& path);
    static bool StdoutIsTerminal();
    static bool StdinIsTerminal();
    // One step below normal priority for the calling thread.
    static void LowerCurrentThreadPriority();
};

} // namespace brumo
