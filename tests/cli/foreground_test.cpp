#include "cli/console_run_front.h"
#include "cli/count_command.h"
#include "cli/foreground_loop.h"
#include "cli/interrupt_request.h"
#include "cli/progress_line.h"
#include "cli/task_queue.h"
#include "model/junk_file_type.h"
#include "platform/locale_info.h"
#include "runs/run_texts.h"
#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sstream>
#include <thread>

namespace brumo {
namespace {

using namespace std::chrono_literals;

TEST(TaskQueue, RunsPostedAndInvokedTasksOnItsOwnThread) {
    TaskQueue queue;
    const auto main = std::this_thread::get_id();
    std::vector<int> seen;
    bool done = false;
    std::thread worker([&] {
        queue.Post([&] { seen.push_back(1); });
        queue.Invoke([&] {
            EXPECT_EQ(std::this_thread::get_id(), main);
            seen.push_back(2);
        });
        seen.push_back(3); // Invoke has returned: the task ran before
        queue.Post([&] { done = true; });
    });
    queue.Run([&] { return done; }, 5ms);
    worker.join();
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
    // From the queue's own thread, Invoke cannot wait for itself.
    bool ran = false;
    queue.Invoke([&] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST(ProgressLine, RewritesInPlaceAndStaysSilentOffTerminal) {
    LocaleInfo::PinEnglish(true);
    std::ostringstream shown;
    ProgressLine line(shown, true);
    line.Show(1234, 1);
    line.Show(1234, 1); // unchanged: not written again
    line.Show(5, 0);
    line.Clear();
    EXPECT_EQ(shown.str(), "\r1,234 folders searched, 1 file found"
                           "\r5 folders searched, 0 files found"
                           "   \r5 folders searched, 0 files found"
                           "\r                                 \r");
    std::ostringstream piped;
    ProgressLine silent(piped, false);
    silent.Show(1, 1);
    silent.Clear();
    EXPECT_EQ(piped.str(), "");
    LocaleInfo::PinEnglish(false);
}

TEST(ForegroundLoop, CtrlCAndATerminationRequestBecomeAStop) {
    for (const int signal : {SIGINT, SIGTERM}) {
        std::ostringstream out;
        ForegroundLoop loop(out, false);
        bool stopped = false;
        std::raise(signal);
        loop.Run([&] { return stopped; }, [&] { stopped = true; }, nullptr);
        EXPECT_TRUE(stopped) << signal;
        EXPECT_FALSE(InterruptRequest::Take());
    }
}

TEST(CountCommand, PrintsTheReportWithPlainLineEnds) {
    LocaleInfo::PinEnglish(true);
    test::TempTree tree;
    test::DriveMap drives({{'C', tree.Root()}});
    test::TreeBuilder::MakeFile(tree / "T/a.tmp", 10000);
    test::TreeBuilder::MakeFile(tree / "T/keep/b.tmp", 1);
    TJunkFileObj type;
    type.Folders = {{drives.Path('C', "T"), FolderAndSubfolders}};
    type.Specs = {"*.TMP"};
    std::ostringstream out, err;
    EXPECT_EQ(CountCommand::Count(type, drives.Path('C', "T\\keep"), {}, out, err, false), 0);
    EXPECT_EQ(out.str(), "Brumo has searched for files matching the selected type\n\n"
                         "1 folder was searched\n"
                         "1 file matched the junk file specifications\n"
                         "0 files did not meet the date or size restrictions\n"
                         "0 files were protected by the protect file specifications\n\n"
                         "1 file would be processed\n"
                         "This file occupies 9.77 KB of disk space.\n");
    EXPECT_EQ(err.str(), "");
    LocaleInfo::PinEnglish(false);
}

TEST(ConsoleRunFront, AQuestionThatEndsTheRunSaysSoOnStandardError) {
    struct Case {
        bool canAsk, assumeYes;
        const char* typed;
        MessageAnswer answer;
        const char* error; // what standard error holds, "" for nothing
    } cases[] = {
        {false, false, "", MessageAnswer::No, "no terminal can answer the question above"},
        {false, true, "", MessageAnswer::Yes, ""},
        {true, false, "n\n", MessageAnswer::No, "brumo: cancelled; nothing was changed"},
        {true, false, "y\n", MessageAnswer::Yes, ""},
    };
    const RunMessage question = RunTexts::RecycleDisabledMessage("%s", 1, true);
    for (const Case& c : cases) {
        std::ostringstream out, err;
        std::istringstream in(c.typed);
        ProgressLine progress(out, false);
        ConsoleRunFront front(out, err, in, progress, c.canAsk, c.assumeYes);
        EXPECT_EQ(front.ShowMessage(question), c.answer) << c.canAsk << c.assumeYes << c.typed;
        if (*c.error == 0) {
            EXPECT_EQ(err.str(), "");
        } else {
            EXPECT_NE(err.str().find(c.error), std::string::npos) << err.str();
        }
        if (!c.canAsk && !c.assumeYes) {
            EXPECT_NE(err.str().find("--yes"), std::string::npos);
        }
    }
}

} // namespace
} // namespace brumo
