#pragma once

#include <optional>
#include <string>
#include <vector>

namespace brumo {

// The user's scheduled clean-up, kept by the system's own scheduler: a systemd user timer and
// service on Linux, a Task Scheduler task on Windows. A user has one at most.
class Scheduler {
public:
    struct Plan {
        std::string every; // "daily", "weekly" (on Mondays) or "monthly" (on the 1st)
        int hour = 3;
        int minute = 0;
        std::vector<std::string> command; // the program and its arguments
        std::string description;          // what "brumo schedule" shows of it
    };
    struct Definition {
        std::string name; // the file's name (the task's, on Windows)
        std::string text;
    };

    // What makes the plan: the unit files, or the task's definition.
    static std::vector<Definition> Definitions(const Plan& plan);
    // Writes the definitions and hands them to the system's scheduler; the reason when that
    // could not be done.
    static std::optional<std::string> Install(const Plan& plan);
    // Takes the plan out of the scheduler and removes its definitions.
    static std::optional<std::string> Remove();
    // The installed plan's description; empty when there is none.
    static std::string InstalledDescription();
    // Where the definitions are kept, for the user to look at.
    static std::string Place();
};

} // namespace brumo
