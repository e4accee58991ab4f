#pragma once

#include "cli/task_queue.h"
#include "fake_recycle_settings.h"
#include "platform/clock.h"
#include "platform/locale_info.h"
#include "run_test_support.h"
#include "runs/cleanup_run.h"
#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>

namespace brumo::test {

namespace fs = std::filesystem;

// The rows of a list: types with check boxes.
class TypeRows : public RunTypeList {
public:
    std::vector<TJunkFileObj> types;
    std::vector<bool> checked;

    void Add(const std::string& name, int32_t method, const std::string& folder,
             std::vector<std::string> specs) {
        TJunkFileObj type;
        type.Name = name;
        type.Method = method;
        type.Folders = {FolderEntry{folder, FolderAndSubfolders}};
        type.Specs = std::move(specs);
        types.push_back(type);
        checked.push_back(true);
    }
    int Count() const override { return static_cast<int>(types.size()); }
    TJunkFileObj* TypeAt(int index) override { return &types[index]; }
    bool Checked(int index) const override { return checked[index]; }
    void SetChecked(int index, bool value) override { checked[index] = value; }
};

// A front that records what the run shows and answers its questions as told.
class RecordingFront : public RunFront {
public:
    std::vector<RunMessage> messages;
    std::vector<int> selected;
    std::vector<std::string> captions;
    std::vector<bool> busy;
    std::vector<std::string> nowProcessing;
    std::vector<std::string> opened;
    MessageAnswer answer = MessageAnswer::No;
    std::function<void(int32_t)> onCount; // on the worker thread
    std::atomic<int32_t> lastCount{0};

    void SelectType(int index) override { selected.push_back(index); }
    void SetStatusPanel(int panel, const std::string& text) override {
        if (panel == 1)
            nowProcessing.push_back(text);
    }
    void ShowTypeFileCount(int32_t count) override {
        lastCount = count;
        if (onCount)
            onCount(count);
    }
    void SetBusy(bool value) override { busy.push_back(value); }
    void SetCommandCaption(const std::string& caption) override { captions.push_back(caption); }
    MessageAnswer ShowMessage(const RunMessage& message) override {
        messages.push_back(message);
        return message.buttons == MessageButtons::Ok ? MessageAnswer::Ok : answer;
    }
    void OpenLog(const std::string& path) override { opened.push_back(path); }
};

class CleanupRunTest : public ::testing::Test {
protected:
    test::TempTree tree;
    test::DriveMap drives{{'C', tree / "c"}};
    test::ScopedEnv home{"HOME", (tree / "home").string()};
    test::ScopedEnv data{"XDG_DATA_HOME", (tree / "home" / "data").string()};
    FixedClock clock{*DateTime::EncodeDate(2026, 12, 7) + DateTime::EncodeTime({14, 5, 9, 0})};
    test::FakeRecycleSettings settings;
    RecycleSettingsCheck check{settings};
    TaskQueue queue;
    RecordingFront front;
    TypeRows rows;
    std::unique_ptr<CleanupRun> run;

    void SetUp() override {
        fs::create_directories(tree / "c");
        fs::create_directories(tree / "home" / "data");
        Clock::Install(&clock);
        LocaleInfo::PinEnglish(true);
        CleanupRunSetup setup;
        setup.front = &front;
        setup.types = &rows;
        setup.mainThread = &queue;
        setup.recycleSettings = &check;
        setup.logPath = LogPath().string();
        setup.testLogPath = TestLogPath().string();
        run = std::make_unique<CleanupRun>(std::move(setup));
    }
    void TearDown() override {
        Clock::Install(nullptr);
        LocaleInfo::PinEnglish(false);
    }

    fs::path LogPath() const { return tree / "brumo.LOG.TXT"; }
    fs::path TestLogPath() const { return tree / "brumo.TEST.TXT"; }
    // The Windows path of a place on drive C: ("one\\a.tmp").
    std::string W(const std::string& relative) const { return drives.Path('C', relative); }
    fs::path HostOf(const std::string& relative) const {
        std::string host = relative;
        std::replace(host.begin(), host.end(), '\\', '/');
        return tree / "c" / host;
    }
    void File(const std::string& relative, int64_t size) {
        TreeBuilder::MakeFile(HostOf(relative), size);
    }
    // Runs the clean-up to its end; false when no run started.
    bool RunToEnd(bool testMode) {
        if (!run->Start(testMode))
            return false;
        queue.Run([&] { return !run->Running(); }, std::chrono::milliseconds(20));
        return true;
    }

    static std::string Stars() { return std::string(60, '*'); }
    static std::string Dashes() { return std::string(60, '-'); }
};

} // namespace brumo::test
