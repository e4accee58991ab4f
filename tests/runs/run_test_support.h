#pragma once

#include "platform/path_map.h"
#include "runs/recycle_sender.h"
#include "support/log_text.h"
#include "support/scoped_env.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace brumo::test {

// The lines of a log, each of which must end in CR LF.
inline std::vector<std::string> ReadLogLines(const std::filesystem::path& path) {
    LogText log = LogText::Read(path);
    for (const std::string& line : log.lines)
        EXPECT_EQ(line.find('\n'), std::string::npos) << "bare line feed";
    if (log.unterminated) {
        ADD_FAILURE() << "last line without CR LF: " << *log.unterminated;
        log.lines.push_back(*log.unterminated);
    }
    return log.lines;
}

inline std::filesystem::path Host(const std::string& windowsPath) {
    const std::optional<std::string> host = PathMap::ToHost(windowsPath);
    EXPECT_TRUE(host.has_value()) << windowsPath;
    return host.value_or("");
}

// A Recycle Bin that removes files outright, except those it is told cannot go, and records
// every operation.
class FakeRecycleSender : public RecycleSender {
public:
    static constexpr int InUse = 32;
    static constexpr int Missing = 2;
    std::set<std::string> stuck;
    mutable std::vector<std::vector<std::string>> calls;

    std::vector<RecycleResult> SendEach(const std::vector<std::string>& paths) const override {
        calls.push_back(paths);
        std::vector<RecycleResult> results;
        for (const std::string& path : paths) {
            RecycleResult result;
            if (stuck.count(path))
                result.code = InUse;
            else if (!std::filesystem::remove(Host(path)))
                result.code = Missing;
            results.push_back(result);
        }
        return results;
    }
    std::string ErrorText(int code) const override {
        return code == InUse ? "The file is in use by another program.  \r\n"
                             : "The system cannot find the file specified.";
    }
};

} // namespace brumo::test
