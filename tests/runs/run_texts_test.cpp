#include "runs/run_texts.h"

#include <gtest/gtest.h>

namespace brumo {
namespace {

TEST(RunTextsTest, TimeIsOnATwelveHourClock) {
    EXPECT_EQ(RunTexts::TimeText(DateTime::EncodeTime({0, 5, 9, 0})), "12:05:09 am");
    EXPECT_EQ(RunTexts::TimeText(DateTime::EncodeTime({12, 0, 0, 0})), "12:00:00 pm");
    EXPECT_EQ(RunTexts::TimeText(46000 + DateTime::EncodeTime({23, 59, 58, 0})), "11:59:58 pm");
}

TEST(RunTextsTest, TypeHeaderSaysWhatHappenedToTheFiles) {
    EXPECT_EQ(RunTexts::TypeHeader("Temporary files", 2, false),
              "\"Temporary files\" files have been deleted permanently");
    EXPECT_EQ(RunTexts::TypeHeader("Backups", 1, true),
              "\"Backups\" files would have been moved to holding folder");
    EXPECT_EQ(RunTexts::TypeHeader("Old", 0, false), "\"Old\" files have been sent to Recycle Bin");
}

TEST(RunTextsTest, FailureDetailDropsTrailingStopsAndKeepsOneLine) {
    EXPECT_EQ(RunTexts::FailureDetail("Access is denied.  \r\n"), "\t* Access is denied");
    EXPECT_EQ(RunTexts::FailureDetail("First.\nSecond.\n"), "\t* First. Second");
}

TEST(RunTextsTest, RealRunMessageChoosesTheSavingsSentence) {
    RunOutcome outcome;
    outcome.typesProcessed = 2;
    outcome.filesProcessed = 3;
    outcome.totalBytes = 5000;
    EXPECT_EQ(RunTexts::FinalMessage(outcome).FullText(),
              "Brumo processed 2 junk file types and removed 3 junk files.\r\nBy permanently "
              "deleting these files you have realized a savings of at least 5,000 bytes\r\n\r\n"
              "Do you want to view the log file?");

    outcome.filesRestorable = 1;
    outcome.filesFailed = 4;
    outcome.stopped = true;
    const RunMessage message = RunTexts::FinalMessage(outcome);
    EXPECT_EQ(message.text,
              "Before you stopped it, Brumo processed 2 junk file types and removed 3 junk "
              "files. 4 files could not be removed. Check the log for details.\r\nWhen all of "
              "these files are permanently deleted, you will realize a savings of at least "
              "5,000 bytes");
    EXPECT_EQ(message.helpContext, 13);
    EXPECT_EQ(message.buttons, MessageButtons::YesNo);

    outcome = RunOutcome{};
    outcome.typesProcessed = 1;
    EXPECT_EQ(RunTexts::FinalMessage(outcome).text,
              "Brumo processed 1 junk file types and removed 0 junk files.");
}

TEST(RunTextsTest, TestRunMessageWarnsWhenABinIsTooSmall) {
    RunOutcome outcome;
    outcome.testRun = true;
    outcome.typesProcessed = 1;
    outcome.filesProcessed = 1;
    outcome.totalBytes = 10;
    RunMessage message = RunTexts::FinalMessage(outcome);
    EXPECT_EQ(message.FullText(),
              "Brumo tested 1 junk file types and found 1 junk files.\r\nIf all of these files "
              "were permanently deleted, you would realize a savings of at least 10 bytes."
              "\r\n\r\nDo you want to view the test log?");
    EXPECT_EQ(message.helpContext, 14);
    EXPECT_EQ(message.icon, MessageIcon::Question);

    outcome.recycleWarning = true;
    message = RunTexts::FinalMessage(outcome);
    EXPECT_EQ(message.helpContext, 12);
    EXPECT_EQ(message.icon, MessageIcon::Error);
    EXPECT_NE(message.text.find("\r\n\r\nWARNING: The Recycle Bin is set too small on at least "
                                "one of your drives. If you were to clean up this set of junk "
                                "file types, you would not be able to restore all of the files "
                                "that were sent to the Recycle Bin.\r\n\r\nYou will find Recycle "
                                "Bin statistics at the end of the test log."),
              std::string::npos);
}

TEST(RunTextsTest, OnlyATestRunSaysWhatTheHoldingFoldersHold) {
    RunOutcome outcome;
    outcome.testRun = true;
    outcome.typesProcessed = 1;
    outcome.heldFiles = 1234;
    outcome.heldBytes = 12897485;
    EXPECT_EQ(RunTexts::FinalMessage(outcome).text,
              "Brumo tested 1 junk file types and found 0 junk files.\r\nThe holding folders "
              "already hold 12.30 MB in 1,234 files.");
    outcome.heldFiles = 1;
    outcome.heldBytes = 0;
    EXPECT_NE(RunTexts::FinalMessage(outcome).text.find("hold 0 bytes in 1 file."),
              std::string::npos);
    outcome.testRun = false;
    EXPECT_EQ(RunTexts::FinalMessage(outcome).text.find("holding"), std::string::npos);
}

TEST(RunTextsTest, RecycleBinBoxesFillTheSettingsError) {
    const std::string error = "ERROR\r\n\r\n%s\r\n\r\nEND";
    RunMessage ask = RunTexts::RecycleDisabledMessage(error, 2, true);
    EXPECT_EQ(ask.FullText(), "ERROR\r\n\r\n2 junk file types that rely on the Recycle Bin have "
                              "been disabled.\r\n\r\nEND\r\n\r\nDo you want to proceed?");
    EXPECT_EQ(ask.buttons, MessageButtons::YesNo);
    EXPECT_EQ(ask.helpContext, 12);
    RunMessage stop = RunTexts::RecycleDisabledMessage(error, 1, false);
    EXPECT_EQ(stop.FullText(), "ERROR\r\n\r\n1 junk file types that rely on the Recycle Bin have "
                               "been disabled.\r\n\r\nThere are no enabled junk file types to "
                               "process.\r\n\r\nEND");
    EXPECT_EQ(stop.buttons, MessageButtons::Ok);
    EXPECT_EQ(stop.icon, MessageIcon::Error);
}

} // namespace
} // namespace brumo
