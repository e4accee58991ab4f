#pragma once

#include "support/file_text.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace brumo::test {

// A log file split into its lines at CR LF; whatever follows the last CR LF is kept apart,
// for the caller to report.
struct LogText {
    std::vector<std::string> lines;
    std::optional<std::string> unterminated;

    static LogText Read(const std::filesystem::path& path) {
        const std::string text = ReadFileText(path);
        LogText log;
        size_t start = 0;
        while (start < text.size()) {
            const size_t end = text.find("\r\n", start);
            if (end == std::string::npos) {
                log.unterminated = text.substr(start);
                break;
            }
            log.lines.push_back(text.substr(start, end - start));
            start = end + 2;
        }
        return log;
    }
};

} // namespace brumo::test
