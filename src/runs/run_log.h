#pragma once

#include "platform/file_writer.h"
#include "platform/os_error.h"

#include <atomic>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace brumo {

// The log of a clean-up run. The worker writes file lines while the main thread may write the
// stop line, so whole lines (and the two lines of a failure) are written under one lock. The
// first failed write marks the log as failed for good and calls the failure handler once, on
// the thread that saw it.
class RunLog {
public:
    RunLog() = default;
    RunLog(const RunLog&) = delete;
    RunLog& operator=(const RunLog&) = delete;
    ~RunLog();

    // Create: a new file (an old one is replaced); append: grows the file, creating it if needed.
    OsError Open(const std::string& path, bool append);
    void SetFailureHandler(std::function<void()> handler) { onFailure_ = std::move(handler); }

    // Each line gets CR LF. False once the log has failed.
    bool WriteLine(std::string_view line);
    bool WriteLines(std::initializer_list<std::string_view> lines);
    bool WriteLines(const std::vector<std::string>& lines);
    // Closes the file; a failure to close counts as a failed write.
    bool Close();

    bool IsOpen() const { return writer_ != nullptr; }
    bool Failed() const { return failed_.load(std::memory_order_acquire); }
    // The first failure (open, write or close).
    OsError Error() const;
    const std::string& Path() const { return path_; }

private:
    template <typename Lines> bool WriteAll(const Lines& lines);

    std::string path_;
    std::unique_ptr<FileWriter> writer_;
    std::function<void()> onFailure_;
    mutable std::mutex mutex_;
    std::atomic<bool> failed_{false};
    OsError error_;
    std::string buffer_;
};

} // namespace brumo
