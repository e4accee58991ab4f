#include "platform/clock.h"
#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/locale_info.h"
#include "platform/named_event.h"
#include "platform/scheduler.h"
#include "platform/shell.h"
#include "platform/special_folders.h"
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

namespace brumo {
namespace {

TEST(Win32Drives, TheSystemDriveIsAFixedVolume) {
    const std::string system = SpecialFolders::WindowsFolder().substr(0, 2);
    ASSERT_EQ(system.size(), 2u);
    const int bit = (system[0] & ~0x20) - 'A';
    EXPECT_TRUE(Drives::LogicalDriveMask() & (1u << bit));
    EXPECT_EQ(Drives::TypeOf(system), DriveType::Fixed);
    EXPECT_EQ(Drives::TypeOf(system + "\\"), DriveType::Fixed);
    EXPECT_TRUE(Drives::VolumeSerial(system));
    EXPECT_GT(Drives::TotalBytes(system).value_or(0), 0);
    // A letter no drive uses.
    for (char letter = 'Z'; letter > 'D'; --letter)
        if (!(Drives::LogicalDriveMask() & (1u << (letter - 'A')))) {
            const std::string root{letter, ':', '\\'};
            EXPECT_EQ(Drives::TypeOf(root), DriveType::NoRootDir);
            EXPECT_FALSE(Drives::VolumeSerial(root));
            EXPECT_FALSE(Drives::TotalBytes(root));
            break;
        }
}

TEST(Win32SpecialFolders, FoldersExistInTheirWindowsForm) {
    const std::string temp = SpecialFolders::TempPath();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), '\\');
    EXPECT_TRUE(FileSystem::FolderExists(temp));
    EXPECT_TRUE(FileSystem::FolderExists(SpecialFolders::WindowsFolder()));
    const std::string exe = SpecialFolders::ExecutablePath();
    EXPECT_TRUE(FileSystem::FileExists(exe));
    EXPECT_EQ(exe.substr(exe.size() - 4), ".exe");
    const std::string data = SpecialFolders::UserDataFolder();
    EXPECT_EQ(data.substr(data.size() - 6), "\\Brumo");
    EXPECT_EQ(SpecialFolders::HomeTrashFolder(), "");
}

TEST(Win32NamedEvent, OneNameIsOneManualResetEvent) {
    const std::string name = "Brumo Test Event " + std::to_string(GetCurrentProcessId());
    auto first = NamedEvent::Create(name);
    auto second = NamedEvent::Create(name);
    ASSERT_TRUE(first && second);
    EXPECT_FALSE(second->IsSet());
    first->Set();
    EXPECT_TRUE(second->IsSet());
    EXPECT_TRUE(second->IsSet()); // a wait does not clear it
    second->Reset();
    EXPECT_FALSE(first->IsSet());
    auto other = NamedEvent::Create(name + " other");
    first->Set();
    EXPECT_FALSE(other->IsSet());
    auto odd = NamedEvent::Create("with\\backslash " + name);
    ASSERT_TRUE(odd);
    odd->Set();
    EXPECT_TRUE(odd->IsSet());
}

TEST(Win32NamedEvent, SharedBetweenProcessesUnlessKeptToThisOne) {
    // As another program of the session would hold it: signalled, by the plain name.
    const std::string name = "Brumo Test Stop " + std::to_string(GetCurrentProcessId());
    HANDLE elsewhere = CreateEventA(nullptr, TRUE, TRUE, name.c_str());
    ASSERT_TRUE(elsewhere);
    EXPECT_TRUE(NamedEvent::Create(name)->IsSet());

    NamedEvent::KeepToThisProcess(true);
    auto ours = NamedEvent::Create(name);
    NamedEvent::KeepToThisProcess(false);
    EXPECT_FALSE(ours->IsSet());
    ours->Set();
    ResetEvent(elsewhere);
    EXPECT_TRUE(ours->IsSet());
    CloseHandle(elsewhere);
}

TEST(Win32Clock, FileTimesBecomeLocalDayNumbers) {
    // 2008-01-15 10:30 UTC; the tests run with TZ=UTC.
    const auto local = Clock::Current().FileTimeToLocal(128448666000000000LL);
    ASSERT_TRUE(local);
    EXPECT_DOUBLE_EQ(*local, *DateTime::EncodeDate(2008, 1, 15) + 10.5 / 24);
    EXPECT_FALSE(Clock::Current().FileTimeToLocal(-1));
    const TDateTime now = Clock::Current().Now();
    EXPECT_GT(now, *DateTime::EncodeDate(2020, 1, 1));
    FixedClock fixed(1234.5);
    Clock::Install(&fixed);
    EXPECT_EQ(Clock::Current().Now(), 1234.5);
    Clock::Install(nullptr);
    EXPECT_NE(Clock::Current().Now(), 1234.5);
}

TEST(Win32LocaleInfo, ComparesWithoutCaseAndFormatsDates) {
    EXPECT_TRUE(LocaleInfo::EqualIgnoreCase("C:\\TEMP\\keep.tmp", "c:\\temp\\KEEP.TMP"));
    EXPECT_LT(LocaleInfo::CompareIgnoreCase("abc", "ABD"), 0);
    EXPECT_GT(LocaleInfo::CompareIgnoreCase("b", "A"), 0);
    EXPECT_FALSE(LocaleInfo::EqualIgnoreCase("a.tmp", "a.tmp "));
    EXPECT_FALSE(LocaleInfo::ThousandsSeparator().empty());
    EXPECT_FALSE(LocaleInfo::DecimalSeparator().empty());
    EXPECT_FALSE(LocaleInfo::LongDate(*DateTime::EncodeDate(2026, 12, 7)).empty());
    LocaleInfo::PinEnglish(true);
    EXPECT_EQ(LocaleInfo::LongDate(*DateTime::EncodeDate(2026, 12, 7)), "Monday, December 7, 2026");
    EXPECT_EQ(LocaleInfo::ThousandsSeparator(), ",");
    EXPECT_EQ(LocaleInfo::DecimalSeparator(), ".");
    EXPECT_EQ(LocaleInfo::DateSeparator(), '/');
    LocaleInfo::PinEnglish(false);
}

TEST(Win32Scheduler, TheTaskRunsTheCommandOnItsDayWhenTheMachineIsOn) {
    Scheduler::Plan plan{
        "weekly",
        4,
        30,
        {"C:\\Program Files\\Brumo\\brumo.exe", "schedule", "run", "--purge-held-after", "30"},
        "Brumo cleans up <weekly> & more"};
    const std::string task = Scheduler::Definitions(plan).front().text;
    for (const char* part :
         {"<StartBoundary>2026-01-01T04:30:00</StartBoundary>",
          "<ScheduleByWeek><WeeksInterval>1</WeeksInterval><DaysOfWeek><Monday/>",
          "<StartWhenAvailable>true</StartWhenAvailable>",
          "<Command>C:\\Program Files\\Brumo\\brumo.exe</Command>",
          "<Arguments>schedule run --purge-held-after 30</Arguments>",
          "<Description>Brumo cleans up &lt;weekly&gt; &amp; more</Description>"})
        EXPECT_NE(task.find(part), std::string::npos) << part << "\n" << task;
    plan.every = "monthly";
    EXPECT_NE(Scheduler::Definitions(plan).front().text.find("<DaysOfMonth><Day>1</Day>"),
              std::string::npos);
    std::string output;
    EXPECT_EQ(Shell::RunProgram({"cmd", "/c", "echo", "a b"}, output), 0);
    EXPECT_NE(output.find("a b"), std::string::npos) << output;
}

TEST(Win32Shell, ATestRunHasNoConsoleToDrawOn) {
    // CTest collects the output through a pipe.
    EXPECT_FALSE(Shell::StdoutIsTerminal());
    Shell::LowerCurrentThreadPriority();
    EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_BELOW_NORMAL);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
}

} // namespace
} // namespace brumo
