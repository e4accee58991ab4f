// Drives the main window through a test run and a real run over a temporary tree, as the user
// would: Clean up with and without Test mode, Stop on the same command, and the logs they leave.

#include "model/type_store.h"
#include "platform/clock.h"
#include "recycle_bin_switch.h"
#include "runs/recycle_settings_check.h"
#include "scripted_prompter.h"
#include "support/drive_map.h"
#include "support/log_text.h"
#include "support/scoped_env.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"
#include "ui/application.h"
#include "ui/hd_form.h"
#include "ui/widget_placement.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <optional>

namespace brumo {

namespace fs = std::filesystem;

namespace {

// Monday, 7 December 2026, 14:05:09.
constexpr TDateTime RunTime = 46363.586909722224;

// A line missing its CR LF comes back marked, so that it matches no expected line.
std::vector<std::string> LogLines(const std::string& path) {
    test::LogText log = test::LogText::Read(path);
    if (log.unterminated)
        log.lines.push_back("<no CR LF>" + *log.unterminated);
    return log.lines;
}

} // namespace

class MainWindowRunTest : public QObject {
    Q_OBJECT

private:
    std::optional<test::TempTree> dir_, c_, home_;
    std::optional<test::DriveMap> drives_;
    std::optional<test::ScopedEnv> homeEnv_, dataEnv_;
    ProgramFiles files_;
    test::RecycleBinSwitch recycleBin_;
    std::optional<RecycleSettingsCheck> recycle_;
    std::optional<test::ScriptedPrompter> prompter_;
    FixedClock clock_{RunTime};
    std::vector<std::string> logsOpened_;

    std::unique_ptr<THDForm> Open() {
        MainWindowSetup setup;
        setup.files = files_;
        setup.recycle = &*recycle_;
        setup.openLog = [this](const std::string& path) { logsOpened_.push_back(path); };
        auto form = std::make_unique<THDForm>(std::move(setup));
        Application::PrepareMainWindow(*form, nullptr);
        return form;
    }
    static void Do(THDForm& form, const char* name) {
        form.aAddUpdate();
        QAction* action = form.findChild<QAction*>(name);
        QVERIFY2(action->isEnabled(), name);
        action->trigger();
    }
    static std::vector<std::string> Sorted(std::vector<std::string> lines) {
        std::sort(lines.begin(), lines.end());
        return lines;
    }
    static std::vector<std::string> Slice(const std::vector<std::string>& lines, size_t from,
                                          size_t count) {
        if (from + count > lines.size())
            return {};
        return {lines.begin() + long(from), lines.begin() + long(from + count)};
    }

private slots:
    void init() {
        dir_.emplace();
        c_.emplace();
        home_.emplace();
        homeEnv_.emplace("HOME", home_->Root().string());
        dataEnv_.emplace("XDG_DATA_HOME", (home_->Root() / "data").string());
        drives_.emplace(std::initializer_list<std::pair<char, fs::path>>{{'C', c_->Root()}});
        test::TreeBuilder::MakeFile(*c_ / "junk" / "a.tmp", 400);
        test::TreeBuilder::MakeFile(*c_ / "junk" / "b.tmp", 1700);
        test::TreeBuilder::MakeFile(*c_ / "junk" / "keep.txt", 10);
        test::TreeBuilder::MakeFile(*c_ / "old" / "c.bak", 300);
        files_ =
            ProgramFiles::Derive((*dir_ / "Brumo.exe").string(), true, (*dir_ / "data").string());
        WidgetPlacement::SetSettingsFile(files_.Settings);
        recycle_.emplace(recycleBin_);
        prompter_.emplace();
        Clock::Install(&clock_);
        logsOpened_.clear();
        TypeStore store;
        const std::vector<TJunkFileObj> types{
            TJunkFileObj("Temp files", true, MethodDelete, "C:\\junk", "*.tmp", "", 0),
            TJunkFileObj("Text", false, MethodDelete, "C:\\junk", "*.txt", "", 0),
            TJunkFileObj("Backups", true, MethodRecycleBin, "C:\\old", "*.bak", "", 0)};
        QVERIFY(store.Save(files_.TypeStore, types).saved);
    }

    void cleanup() {
        Clock::Install(nullptr);
        prompter_.reset();
        recycle_.reset();
        drives_.reset();
        dataEnv_.reset();
        homeEnv_.reset();
        home_.reset();
        c_.reset();
        dir_.reset();
    }

    void testRunListsAndRealRunRemoves() {
        auto form = Open();
        QVERIFY(form->findChild<QCheckBox*>("cbTestMode")->isChecked());

        // Test run: the final question is answered Yes, which opens the test log.
        Do(*form, "aCleanup");
        QCOMPARE(form->CurrentRunMode(), int(RunCleaning));
        form->aAddUpdate();
        QCOMPARE(form->findChild<QAction*>("aCleanup")->text(), QString("Stop"));
        QVERIFY(!form->findChild<QAction*>("aCount")->isEnabled());
        QVERIFY(!form->findChild<QCheckBox*>("cbTestMode")->isEnabled());
        // The run's progress owns the status bar: hints do not show meanwhile.
        QLabel* panel = form->findChild<QLabel*>("StatusPanel1");
        QCOMPARE(panel->text(), QString("Now testing Temp files..."));
        QStatusTipEvent hint("Exit the program");
        QApplication::sendEvent(form.get(), &hint);
        QCOMPARE(panel->text(), QString("Now testing Temp files..."));
        QTRY_COMPARE(form->CurrentRunMode(), int(RunIdle));
        QApplication::sendEvent(form.get(), &hint);
        QCOMPARE(panel->text(), QString("Exit the program"));
        QCOMPARE(form->findChild<QAction*>("aCleanup")->text(), QString("&Clean up"));
        QCOMPARE(prompter_->asked.size(), size_t(1));
        QCOMPARE(prompter_->asked[0].text,
                 QString("Brumo tested 2 junk file types and found 3 junk files.\r\nIf all of "
                         "these files were permanently deleted, you would realize a savings of "
                         "at least 2,400 bytes.\r\n\r\nDo you want to view the test log?"));
        QCOMPARE(prompter_->asked[0].helpContext, 14);
        QCOMPARE(prompter_->asked[0].icon, PromptIcon::Information); // a report, not a question
        QCOMPARE(logsOpened_, std::vector<std::string>{files_.TestLog});
        QVERIFY(fs::exists(*c_ / "junk" / "a.tmp") && fs::exists(*c_ / "old" / "c.bak"));

        const std::string stars(60, '*'), dashes(60, '-');
        std::vector<std::string> test = LogLines(files_.TestLog);
        QCOMPARE(test.size(), size_t(19));
        QCOMPARE(Slice(test, 0, 5),
                 (std::vector<std::string>{
                     stars, "Brumo TEST Log - Monday, December 7, 2026  02:05:09 pm", stars,
                     "\"Temp files\" files would have been deleted "
                     "permanently",
                     dashes}));
        QCOMPARE(Sorted(Slice(test, 5, 2)),
                 (std::vector<std::string>{"\tC:\\junk\\a.tmp", "\tC:\\junk\\b.tmp"}));
        QCOMPARE(Slice(test, 7, 10),
                 (std::vector<std::string>{
                     "", "\"Backups\" files would have been sent to Recycle Bin", dashes,
                     "\tC:\\old\\c.bak", stars, "Brumo finished testing at 02:05:09 pm",
                     "Processed 2 junk file types and found 3 junk files.",
                     "TOTAL: 2,400 bytes  (files may occupy more space on disk)", stars,
                     "Recycle Bin statistics:"}));
        // C: keeps no limit of its own: its line holds the volume's real size and free space.
        QVERIFY(test[17].rfind("c:\\ ", 0) == 0 && test[17].find(", Free: ") != std::string::npos);
        QCOMPARE(test[18], stars);

        // Real run: answered No, so no log is opened.
        prompter_->Clear();
        prompter_->answers = {PromptAnswer::No};
        form->findChild<QCheckBox*>("cbTestMode")->setChecked(false);
        Do(*form, "aCleanup");
        QTRY_COMPARE(form->CurrentRunMode(), int(RunIdle));
        QCOMPARE(prompter_->asked.size(), size_t(1));
        QCOMPARE(prompter_->asked[0].text,
                 QString("Brumo processed 2 junk file types and removed 3 junk files.\r\nWhen all "
                         "of these files are permanently deleted, you will realize a savings of "
                         "at least 2,400 bytes\r\n\r\nDo you want to view the log file?"));
        QCOMPARE(prompter_->asked[0].helpContext, 13);
        QCOMPARE(logsOpened_.size(), size_t(1));
        QVERIFY(!fs::exists(*c_ / "junk" / "a.tmp"));
        QVERIFY(!fs::exists(*c_ / "junk" / "b.tmp"));
        QVERIFY(fs::exists(*c_ / "junk" / "keep.txt")); // its type is not checked
        QVERIFY(!fs::exists(*c_ / "old" / "c.bak"));
        QVERIFY(fs::exists(home_->Root() / "data" / "Trash" / "files" / "c.bak"));

        std::vector<std::string> log = LogLines(files_.Log);
        QCOMPARE(log.size(), size_t(18));
        QCOMPARE(Slice(log, 0, 5),
                 (std::vector<std::string>{
                     stars, "Brumo Log - Monday, December 7, 2026  02:05:09 pm", stars,
                     "\"Temp files\" files have been deleted permanently", dashes}));
        QCOMPARE(Sorted(Slice(log, 5, 2)),
                 (std::vector<std::string>{"\tC:\\junk\\a.tmp", "\tC:\\junk\\b.tmp"}));
        QCOMPARE(
            Slice(log, 7, 11),
            (std::vector<std::string>{"", "\"Backups\" files have been sent to Recycle Bin", dashes,
                                      "\tC:\\old\\c.bak", stars, "Brumo finished at 02:05:09 pm",
                                      "Processed 2 junk file types and removed 3 junk files.",
                                      "TOTAL: 2,400 bytes  (files may occupy more space on "
                                      "disk)",
                                      stars, "", ""}));
        // The test log is the last test run's only.
        QCOMPARE(LogLines(files_.TestLog).size(), test.size());
    }

    void stopOnTheSameCommand() {
        auto form = Open();
        form->findChild<QCheckBox*>("cbTestMode")->setChecked(false);
        Do(*form, "aCleanup");
        QCOMPARE(form->SelectedRow(), 0);
        // The first worker's end waits for the event loop: the stop comes before it.
        Do(*form, "aCleanup");
        QTRY_COMPARE(form->CurrentRunMode(), int(RunIdle));
        QCOMPARE(prompter_->asked.size(), size_t(1));
        QVERIFY(prompter_->asked[0].text.startsWith(
            "Before you stopped it, Brumo processed 1 junk file types"));
        std::vector<std::string> log = LogLines(files_.Log);
        QVERIFY(std::find(log.begin(), log.end(), "**** PROCESSING HALTED BY USER ****") !=
                log.end());
        QVERIFY(std::find(log.begin(), log.end(),
                          "\"Backups\" files have been sent to Recycle Bin") == log.end());
        QVERIFY(fs::exists(*c_ / "old" / "c.bak"));
    }

    void exitDuringARunStopsItAndWaits() {
        auto form = Open();
        form->findChild<QCheckBox*>("cbTestMode")->setChecked(false);
        Do(*form, "aCleanup");
        form->close();
        QCOMPARE(form->CurrentRunMode(), int(RunIdle));
        QVERIFY(prompter_->asked.empty()); // the window is going: no final question
        std::vector<std::string> log = LogLines(files_.Log);
        QVERIFY(std::find(log.begin(), log.end(), "**** PROCESSING HALTED BY USER ****") !=
                log.end());
        QCOMPARE(log.back(), std::string()); // the footer was written
        QVERIFY(fs::exists(*c_ / "old" / "c.bak"));
        TypeStore store;
        QCOMPARE(store.Load(files_.TypeStore).types.size(), size_t(3));
    }

    void keyboardStartLeavesTheFocusOnStopNotExit() {
        auto form = Open();
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        auto* testMode = form->findChild<QCheckBox*>("cbTestMode");
        QTest::keyClick(form.get(), Qt::Key_T, Qt::AltModifier);
        QTRY_VERIFY(testMode->hasFocus() && !testMode->isChecked());
        Do(*form, "aCleanup"); // Alt+C
        auto* stop = form->findChild<QPushButton*>("btnCleanup");
        QVERIFY(stop->hasFocus());
        QTest::keyClick(stop, Qt::Key_Space); // stops the run; Exit would have closed the window
        QTRY_COMPARE(form->CurrentRunMode(), int(RunIdle));
        QVERIFY(form->isVisible());
        QVERIFY(prompter_->asked.at(0).text.startsWith("Before you stopped it, "));
    }

    void checkBoxesClickedDuringARunTakeEffectAfterIt() {
        auto form = Open();
        Do(*form, "aCleanup");
        QListWidget* list = form->findChild<QListWidget*>("lvJunk");
        list->item(1)->setCheckState(Qt::Checked);
        QVERIFY(!form->TypeAt(1)->Enabled); // not while the run lasts
        QTRY_COMPARE(form->CurrentRunMode(), int(RunIdle));
        QVERIFY(form->TypeAt(1)->Enabled);
        // The run picked its types by their check boxes.
        QVERIFY(prompter_->asked.at(0).text.startsWith("Brumo tested 3 junk file types"));
    }
};

} // namespace brumo

QTEST_MAIN(brumo::MainWindowRunTest)
#include "main_window_run_test.moc"
