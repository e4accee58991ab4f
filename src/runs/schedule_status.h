#pragma once

#include "platform/date_time.h"

#include <string>

namespace brumo {

// How the last scheduled clean-up ended, in one line of its own file, for "brumo schedule" and
// the main window's status bar to show.
class ScheduleStatus {
public:
    // "2026-12-08 03:00, finished" from the run's exit code; false when it cannot be written.
    static bool Write(const std::string& path, TDateTime when, int exitCode);
    // The line, or empty text when no scheduled clean-up has run.
    static std::string Read(const std::string& path);
};

} // namespace brumo
