#pragma once

#include <string>
#include <vector>

namespace brumo {

// Desktop and process services.
class Shell {
public:
    // Opens a file with the desktop's default application; false when that could not start.
    static bool OpenWithDefaultApp(const std::string& path);
    static bool StdoutIsTerminal();
    // The width of the terminal standard output goes to; 0 when it goes to none.
    static int StdoutColumns();
    // Whether a window could be shown: a desktop session to show it on.
    static bool HasDesktop();
    static bool StdinIsTerminal();
    // From now on a write to a pipe whose reader has gone fails instead of ending the process.
    static void LetClosedPipesFailWrites();
    // Runs a program (found on the PATH) to its end, with no input; its output and errors
    // together go to `output`. Its exit code, or -1 when it could not be started.
    static int RunProgram(const std::vector<std::string>& argv, std::string& output);
    // One step below normal priority for the calling thread.
    static void LowerCurrentThreadPriority();
};

} // namespace brumo
