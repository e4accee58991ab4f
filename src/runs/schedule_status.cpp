#include "runs/schedule_status.h"

#include <cstdio>
#include <fstream>

namespace brumo {

bool ScheduleStatus::Write(const std::string& path, TDateTime when, int exitCode) {
    const CalendarDate date = DateTime::DecodeDate(when);
    const ClockTime time = DateTime::DecodeTime(when);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d", date.year, date.month, date.day,
                  time.hour, time.minute);
    const char* outcome = exitCode == 0     ? "finished"
                          : exitCode == 1   ? "finished, but not every file could be removed"
                          : exitCode == 130 ? "stopped"
                                            : "failed";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << stamp << ", " << outcome << "\n";
    return static_cast<bool>(out.flush());
}

std::string ScheduleStatus::Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::getline(in, line);
    return line;
}

} // namespace brumo
