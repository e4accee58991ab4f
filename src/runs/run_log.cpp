#include "runs/run_log.h"

#include "platform/file_system.h"

namespace brumo {

RunLog::~RunLog() {
    if (writer_)
        writer_->Close();
}

OsError RunLog::Open(const std::string& path, bool append) {
    std::lock_guard lock(mutex_);
    path_ = path;
    failed_.store(false, std::memory_order_release);
    error_ = {};
    if (writer_) {
        writer_->Close();
        writer_.reset();
    }
    // A log may be a link to where the user keeps it, as the program's other files may.
    const OsError error =
        FileWriter::Open(FileSystem::LinkTarget(path),
                         append ? FileWriter::Mode::Append : FileWriter::Mode::Create, writer_);
    if (error) {
        writer_.reset();
        error_ = error;
        failed_.store(true, std::memory_order_release);
    }
    return error;
}

template <typename Lines> bool RunLog::WriteAll(const Lines& lines) {
    bool failedNow = false;
    {
        std::lock_guard lock(mutex_);
        if (failed_.load(std::memory_order_relaxed) || !writer_)
            return false;
        buffer_.clear();
        for (const auto& line : lines) {
            buffer_ += line;
            buffer_ += "\r\n";
        }
        if (const OsError error = writer_->Write(buffer_)) {
            error_ = error;
            failed_.store(true, std::memory_order_release);
            failedNow = true;
        }
    }
    // Outside the lock: the handler may stop the run, which writes nothing more.
    if (failedNow && onFailure_)
        onFailure_();
    return !failedNow;
}

bool RunLog::WriteLine(std::string_view line) {
    return WriteLines({line});
}

bool RunLog::WriteLines(std::initializer_list<std::string_view> lines) {
    return WriteAll(lines);
}

bool RunLog::WriteLines(const std::vector<std::string>& lines) {
    return WriteAll(lines);
}

bool RunLog::Close() {
    bool failedNow = false;
    {
        std::lock_guard lock(mutex_);
        if (!writer_)
            return !failed_.load(std::memory_order_relaxed);
        const OsError error = writer_->Close();
        writer_.reset();
        if (error && !failed_.load(std::memory_order_relaxed)) {
            error_ = error;
            failed_.store(true, std::memory_order_release);
            failedNow = true;
        }
    }
    if (failedNow && onFailure_)
        onFailure_();
    return !Failed();
}

OsError RunLog::Error() const {
    std::lock_guard lock(mutex_);
    return error_;
}

} // namespace brumo
