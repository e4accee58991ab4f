#include "runs/count_run.h"

#include "cli/task_queue.h"
#include "model/junk_file_type.h"
#include "platform/clock.h"
#include "platform/locale_info.h"
#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace brumo {
namespace {

using namespace std::chrono_literals;
using test::TreeBuilder;

// Writes down what the window would show, in order.
class RecordingFront : public CountFront {
public:
    std::vector<std::string> log;
    int32_t runMode = 0;

    void SetRunMode(int32_t mode) override {
        runMode = mode;
        log.push_back("mode " + std::to_string(mode));
    }
    void SetListEditable(bool editable) override {
        log.push_back(editable ? "editable" : "read-only");
    }
    void SetBusyCursor(bool busy) override { log.push_back(busy ? "busy" : "normal cursor"); }
    void SetCountCommand(const std::string& caption, const std::string& hint, bool bold) override {
        log.push_back(caption + " | " + hint + (bold ? " | bold" : ""));
    }
    void ShowReport(const std::string& text) override { log.push_back("report: " + text); }
    void ShowMessage(const std::string& text) override { log.push_back("message: " + text); }
    void SelectItem(int index) override { log.push_back("select " + std::to_string(index)); }
};

// A clock that holds the worker at its first file until the test lets it go.
class GateClock : public FixedClock {
public:
    GateClock() : FixedClock(*DateTime::EncodeDate(2026, 5, 20)) {}
    TDateTime Now() const override {
        std::unique_lock lock(mutex_);
        reached_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return open_; });
        return FixedClock::Now();
    }
    void WaitUntilReached() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return reached_; });
    }
    void Open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    mutable bool reached_ = false;
    bool open_ = false;
};

class CountRunTest : public ::testing::Test {
protected:
    CountRunTest() : drives_({{'C', tree_.Root()}}) {
        LocaleInfo::PinEnglish(true);
        TreeBuilder::MakeFile(tree_ / "T/a.tmp", 3);
        TreeBuilder::MakeFile(tree_ / "T/b.tmp", 4);
        type_.Folders = {{drives_.Path('C', "T"), FolderOnly}};
        type_.Specs = {"*.tmp"};
    }
    ~CountRunTest() override { LocaleInfo::PinEnglish(false); }

    void WaitForIdle() {
        queue_.Run([&] { return !run_.Counting(); }, 10ms);
    }

    test::TempTree tree_;
    test::DriveMap drives_;
    TJunkFileObj type_;
    TaskQueue queue_;
    RecordingFront front_;
    CountRun run_{front_, queue_};
};

TEST_F(CountRunTest, FinishedCountShowsTheReportAndReturnsToIdle) {
    run_.Press(&type_, 4);
    EXPECT_TRUE(run_.Counting());
    EXPECT_EQ(run_.CurrentIndex(), 4);
    WaitForIdle();
    EXPECT_EQ(run_.CurrentIndex(), -1);
    EXPECT_EQ(run_.LastOutcome(), CountRun::Outcome::Finished);
    const std::vector<std::string> expected = {
        "read-only",
        "busy",
        "mode 1",
        "Stop | Stop counting files | bold",
        "report: Brumo has searched for files matching the selected type\r\n\r\n"
        "1 folder was searched\r\n"
        "2 files matched the junk file specifications\r\n"
        "0 files did not meet the date or size restrictions\r\n"
        "0 files were protected by the protect file specifications\r\n\r\n"
        "2 files would be processed\r\n"
        "These files occupy 7 bytes of disk space.",
        "Coun&t | Count the number of files matching the selected junk file type",
        "normal cursor",
        "editable",
        "mode 0",
        "select 4"};
    EXPECT_EQ(front_.log, expected);
}

TEST_F(CountRunTest, PressingAgainStopsWithoutAReport) {
    GateClock gate;
    Clock::Install(&gate);
    type_.AgeRestrict = true;
    type_.AgeCompare = 2;
    // A signal left over from elsewhere does not stop the new count.
    auto stale = NamedEvent::Create(CountRun::StopEventName);
    stale->Set();
    run_.Press(&type_, 2);
    gate.WaitUntilReached();
    run_.Press(&type_, 2); // counting: this is Stop
    gate.Open();
    WaitForIdle();
    Clock::Install(nullptr);

    EXPECT_EQ(run_.LastOutcome(), CountRun::Outcome::Stopped);
    EXPECT_FALSE(stale->IsSet()); // reset when the count ended
    const std::vector<std::string> tail(front_.log.begin() + 4, front_.log.end());
    const std::vector<std::string> expected = {
        "message: Operation stopped by user",
        "Coun&t | Count the number of files matching the selected junk file type",
        "normal cursor",
        "editable",
        "mode 0",
        "select 2"};
    EXPECT_EQ(tail, expected);
}

TEST_F(CountRunTest, NoSelectionStartsNothing) {
    run_.Press(nullptr, -1);
    EXPECT_FALSE(run_.Counting());
    EXPECT_TRUE(front_.log.empty());
}

} // namespace
} // namespace brumo
