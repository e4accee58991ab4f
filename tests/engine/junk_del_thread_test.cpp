#include "engine/junk_del_thread.h"
#include "engine/walk_fixture.h"

#include "cli/task_queue.h"

#include <chrono>
#include <stdexcept>
#include <thread>

namespace brumo::test {
namespace {

using namespace std::chrono_literals;

// Records the callbacks of one worker as the main thread sees them.
struct Calls {
    std::vector<std::string> order;
    std::thread::id countsThread, doneThread;
    SearchCounts counts;
    bool stopped = false;
    bool failed = false;
    int files = 0;
};

class WorkerTest : public WalkTest {
protected:
    void RunWorker(const TJunkFileObj& type, OnFileFn onFile, bool withCounts = true) {
        WorkerSetup setup;
        setup.stopEvent = stop_;
        setup.excludedFolder = W("prog");
        setup.mainThread = &queue_;
        setup.onFile = std::move(onFile);
        if (withCounts)
            setup.onCounts = [this](int32_t f, int32_t m, int32_t r, int32_t p, int64_t b) {
                calls_.order.push_back("counts");
                calls_.countsThread = std::this_thread::get_id();
                calls_.counts = {f, m, r, p, b};
            };
        setup.onDone = [this](const TJunkDelThread& sender) {
            calls_.order.push_back("done");
            calls_.doneThread = std::this_thread::get_id();
            calls_.stopped = sender.Stopped();
            calls_.failed = sender.Failed();
            calls_.counts.foldersSearched = sender.FoldersSearched();
        };
        ASSERT_TRUE(TJunkDelThread::Start(type, std::move(setup)));
        bool finished = false;
        queue_.Run(
            [&] {
                finished = !calls_.order.empty() && calls_.order.back() == "done";
                return finished;
            },
            10ms);
    }

    TaskQueue queue_;
    Calls calls_;
};

TEST_F(WorkerTest, CountsThenDoneOnTheMainThread) {
    TreeBuilder::MakeFile(C("T/a.tmp"), 7);
    TreeBuilder::MakeFile(C("T/s/b.tmp"), 8);
    TreeBuilder::MakeFile(C("prog/c.tmp"), 9);
    std::thread::id fileThread;
    RunWorker(Type({{W(""), FolderAndSubfolders}}, {"*.tmp"}), [&](const std::string&, int64_t) {
        fileThread = std::this_thread::get_id();
        ++calls_.files;
    });
    EXPECT_EQ(calls_.order, (std::vector<std::string>{"counts", "done"}));
    EXPECT_EQ(calls_.countsThread, std::this_thread::get_id());
    EXPECT_EQ(calls_.doneThread, std::this_thread::get_id());
    EXPECT_NE(fileThread, std::this_thread::get_id());
    EXPECT_EQ(calls_.files, 2);
    EXPECT_EQ(calls_.counts.filesMatched, 2);
    EXPECT_EQ(calls_.counts.bytesMatched, 15);
    EXPECT_FALSE(calls_.stopped);
}

TEST_F(WorkerTest, EmptySearchStillReportsZeros) {
    RunWorker(Type({{W("nothing"), FolderOnly}}, {"*.tmp"}), {});
    EXPECT_EQ(calls_.order, (std::vector<std::string>{"counts", "done"}));
    EXPECT_EQ(calls_.counts.filesMatched, 0);
    EXPECT_EQ(calls_.counts.bytesMatched, 0);
    EXPECT_EQ(calls_.counts.foldersSearched, 1);
}

TEST_F(WorkerTest, StopInTheFirstFolderSkipsTheCounts) {
    for (int i = 0; i < 20; ++i)
        TreeBuilder::MakeFile(C("T/f" + std::to_string(i) + ".tmp"));
    RunWorker(Type({{W("T"), FolderAndSubfolders}}, {"*.tmp"}), [&](const std::string&, int64_t) {
        ++calls_.files;
        stop_->Set();
    });
    EXPECT_EQ(calls_.order, (std::vector<std::string>{"done"}));
    EXPECT_TRUE(calls_.stopped);
    EXPECT_EQ(calls_.files, 1);
    stop_->Reset();
}

TEST_F(WorkerTest, AnErrorEndsTheSearchButNotTheProgram) {
    TreeBuilder::MakeFile(C("T/a.tmp"));
    RunWorker(Type({{W("T"), FolderOnly}}, {"*.tmp"}),
              [](const std::string&, int64_t) { throw std::runtime_error("disk on fire"); });
    EXPECT_EQ(calls_.order, (std::vector<std::string>{"done"}));
    EXPECT_TRUE(calls_.failed);
    EXPECT_FALSE(calls_.stopped);
}

TEST(Worker, NothingStartsWithoutAnEndCallback) {
    TJunkFileObj type;
    type.Folders = {{"Q:\\none", FolderOnly}};
    bool counted = false;
    WorkerSetup setup;
    setup.onCounts = [&](int32_t, int32_t, int32_t, int32_t, int64_t) { counted = true; };
    EXPECT_FALSE(TJunkDelThread::Start(type, std::move(setup)));
    std::this_thread::sleep_for(20ms);
    EXPECT_FALSE(counted);
}

} // namespace
} // namespace brumo::test
