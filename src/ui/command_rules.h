#pragma once

namespace brumo {

// The main window's run state: what a worker is doing for it.
enum RunMode : int { RunIdle = 0, RunCounting = 1, RunCleaning = 2 };

// What decides which of the main window's commands are available.
struct CommandInputs {
    int runMode = RunIdle;
    int rowCount = 0;
    int selected = -1; // selected row, -1 for none
    bool anyChecked = false;
    bool undoHeld = false;
};

struct CommandStates {
    bool cleanup = false;
    bool testMode = false;
    bool add = false;
    bool defaults = false;
    bool rem = false;
    bool edit = false;
    bool props = false;
    bool count = false;
    bool undo = false;
    bool up = false;
    bool down = false;
    bool checkAll = false;
    bool clearAll = false;
    bool methodAll = false;
    bool held = false;
    bool help = false;
    bool about = false;
    bool exit = true; // never governed by the rules

    bool operator==(const CommandStates&) const = default;
};

// The main window's enabling rules. While a worker runs only the command that started it
// stays available, as its Stop.
class CommandRules {
public:
    static CommandStates Evaluate(const CommandInputs& in);
};

} // namespace brumo
