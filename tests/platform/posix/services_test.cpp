#include "platform/clock.h"
#include "platform/holding_folder.h"
#include "platform/named_event.h"
#include "platform/recycle_bin_settings.h"
#include "platform/shell.h"
#include "platform/special_folders.h"
#include "platform/system_clock.h"
#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"

#include "support/scoped_env.h"
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace brumo {
namespace {

using test::DriveMap;
using test::TempTree;
using test::TreeBuilder;

using test::ScopedEnv;

TEST(NamedEvent, OneEventPerNameWhileItIsHeld) {
    auto stop = NamedEvent::Create("Brumo Stop Event");
    auto same = NamedEvent::Create("Brumo Stop Event");
    auto other = NamedEvent::Create("brumo stop event"); // names are exact
    EXPECT_FALSE(stop->IsSet());
    same->Set();
    EXPECT_TRUE(stop->IsSet());
    EXPECT_FALSE(other->IsSet());
    EXPECT_TRUE(stop->IsSet()); // manual reset: reading does not clear it
    std::thread([&] { stop->Reset(); }).join();
    EXPECT_FALSE(same->IsSet());
    stop->Set();
    stop.reset();
    same.reset();
    EXPECT_FALSE(NamedEvent::Create("Brumo Stop Event")->IsSet()); // a new event starts clear
}

TEST(Clock, InstalledClockAndFileTimes) {
    FixedClock fixed(45000.5);
    Clock::Install(&fixed);
    EXPECT_EQ(Clock::Current().Now(), 45000.5);
    Clock::Install(nullptr);
    EXPECT_GT(Clock::Current().Now(), 45000.0); // the system clock: after 2023

    // Tests run with TZ=UTC: 2026-12-07 18:30:05.250 UTC.
    const int64_t ticks = (1796668205LL + 11644473600LL) * 10000000LL + 2500000;
    const auto local = Clock::Current().FileTimeToLocal(ticks);
    ASSERT_TRUE(local);
    const CalendarDate date = DateTime::DecodeDate(*local);
    const ClockTime time = DateTime::DecodeTime(*local);
    EXPECT_EQ(date.year, 2026);
    EXPECT_EQ(date.month, 12);
    EXPECT_EQ(date.day, 7);
    EXPECT_EQ(time.hour, 18);
    EXPECT_EQ(time.minute, 30);
    EXPECT_EQ(time.second, 5);
    EXPECT_EQ(time.millisecond, 250);
    EXPECT_EQ(*fixed.FileTimeToLocal(0), *DateTime::EncodeDate(1601, 1, 1));
    EXPECT_FALSE(fixed.FileTimeToLocal(-1));
    EXPECT_FALSE(fixed.FileTimeToLocal(INT64_MAX)); // beyond the year 9999

    {
        ScopedEnv zone("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
        ::tzset();
        EXPECT_EQ(DateTime::DecodeTime(*Clock::Current().FileTimeToLocal(ticks)).hour, 19);
    }
    ::tzset();
}

TEST(SpecialFolders, FoldersThroughTheDriveTable) {
    TempTree tree;
    TreeBuilder::MakeDir(tree / "tmp");
    TreeBuilder::MakeDir(tree / "data");
    DriveMap map{{'D', tree.Root()}};
    ScopedEnv tmp("TMPDIR", (tree / "tmp/").string());
    ScopedEnv data("XDG_DATA_HOME", (tree / "data").string());
    EXPECT_EQ(SpecialFolders::TempPath(), "D:\\tmp\\");
    EXPECT_EQ(SpecialFolders::HomeTrashFolder(), "D:\\data\\Trash");
    EXPECT_EQ(SpecialFolders::UserDataFolder(), (tree / "data/brumo").string());
    EXPECT_EQ(SpecialFolders::CookiesFolder(), "");
    EXPECT_EQ(SpecialFolders::InternetCacheFolder(), "");
    EXPECT_EQ(SpecialFolders::WindowsFolder(), "");
    EXPECT_EQ(SpecialFolders::ExecutablePath().front(), '/');
    EXPECT_FALSE(RecycleBinSettings::System().PurgeInfo());
    EXPECT_FALSE(RecycleBinSettings::System().HasDriveSetting('C'));

    {
        // The data folder's own rules: a relative value is ignored.
        ScopedEnv relative("XDG_DATA_HOME", "relative/data");
        ScopedEnv home("HOME", (tree / "home").string());
        EXPECT_EQ(SpecialFolders::UserDataFolder(), (tree / "home/.local/share/brumo").string());
    }
    DriveMap elsewhere{{'E', tree / "data"}};
    EXPECT_EQ(SpecialFolders::TempPath(), ""); // no drive maps it
    EXPECT_EQ(SpecialFolders::HomeTrashFolder(), "E:\\Trash");
}

TEST(HoldingFolder, AtTheDriveRootWhereWritableElseInTheDataFolder) {
    TempTree tree;
    TreeBuilder::MakeDir(tree / "drive");
    TreeBuilder::MakeDir(tree / "data");
    DriveMap map{{'D', tree / "drive"}, {'E', tree / "data"}};
    ScopedEnv data("XDG_DATA_HOME", (tree / "data").string());
    EXPECT_EQ(HoldingFolder::RootFor('d'), "D:\\HDVal$$$.$$$");
    EXPECT_EQ(HoldingFolder::RootFor('Q'), "Q:\\HDVal$$$.$$$");
    if (::geteuid() == 0)
        GTEST_SKIP() << "every folder is writable for root";
    ::chmod((tree / "drive").c_str(), 0555);
    EXPECT_EQ(HoldingFolder::RootFor('D'), "E:\\brumo\\HDVal$$$.$$$-D");
    DriveMap only{{'D', tree / "drive"}};
    EXPECT_EQ(HoldingFolder::RootFor('D'), (tree / "data/brumo/HDVal$$$.$$$-D").string());
    ::chmod((tree / "drive").c_str(), 0755);
}

TEST(Shell, ADesktopIsAnXOrAWaylandDisplay) {
    ScopedEnv x("DISPLAY", "");
    ScopedEnv wayland("WAYLAND_DISPLAY", "");
    EXPECT_FALSE(Shell::HasDesktop());
    {
        ScopedEnv display("DISPLAY", ":0");
        EXPECT_TRUE(Shell::HasDesktop());
    }
    ScopedEnv session("WAYLAND_DISPLAY", "wayland-0");
    EXPECT_TRUE(Shell::HasDesktop());
}

TEST(Shell, LowersOnlyTheCallingThread) {
    const int before = ::getpriority(PRIO_PROCESS, 0);
    int inside = before;
    std::thread([&] {
        Shell::LowerCurrentThreadPriority();
        inside = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)));
    }).join();
    EXPECT_GT(inside, before < 19 ? before : 18);
    EXPECT_EQ(::getpriority(PRIO_PROCESS, 0), before);
}

TEST(Shell, OpensWithTheDesktopOpenerDetachedAndWithoutAShell) {
    TempTree tree;
    const auto marker = tree / "opened";
    // A stand-in opener that records the argument it got.
    const auto opener = tree / "bin/xdg-open";
    TreeBuilder::MakeDir(tree / "bin");
    {
        std::ofstream script(opener);
        script << "#!/bin/sh\nprintf '%s' \"$1\" > \"" << marker.string() << ".part\"\n"
               << "mv \"" << marker.string() << ".part\" \"" << marker.string() << "\"\n";
    }
    ::chmod(opener.c_str(), 0755);
    const std::string path = "/some dir/run $(log).txt";
    {
        ScopedEnv pathVar("PATH", (tree / "bin").string() + ":/usr/bin:/bin");
        ASSERT_TRUE(Shell::OpenWithDefaultApp(path));
    }
    // The opener runs on its own; wait for its record rather than for it.
    for (int i = 0; i < 1000 && !std::filesystem::exists(marker); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(marker);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), path);

    ScopedEnv nowhere("PATH", (tree / "empty").string());
    EXPECT_FALSE(Shell::OpenWithDefaultApp(path));
}

} // namespace
} // namespace brumo
