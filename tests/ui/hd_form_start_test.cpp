// The main window from its start to its close: the switches it reads, the type store and its
// recovery copy, the activation's check, where it opens and how its windows look.

#include "hd_form_fixture.h"

#include "app/settings_file.h"
#include "model/default_types.h"
#include "model/type_store.h"
#include "ui/about_form.h"
#include "ui/application.h"
#include "ui/default_form.h"
#include "ui/found_form.h"
#include "ui/legend_form.h"
#include "ui/name_form.h"
#include "ui/new_pick_form.h"
#include "ui/prop_form.h"
#include "ui/spec_form.h"
#include "ui/type_wiz.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <fstream>

namespace brumo {

namespace fs = std::filesystem;

class HDFormStartTest : public QObject, test::HDFormFixture {
    Q_OBJECT

private slots:
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

    // --- Start-up ------------------------------------------------------------------------

    void silentSwitchOnlyInItsTwoSpellings_data() {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<bool>("told");
        QTest::newRow("none") << QString() << false;
        QTest::newRow("/SILENT") << "/SILENT" << true;
        QTest::newRow("/silent") << "/silent" << true;
        QTest::newRow("/Silent") << "/Silent" << false;
        QTest::newRow("/SILENt") << "/SILENt" << false;
    }

    void silentSwitchOnlyInItsTwoSpellings() {
        QFETCH(QString, argument);
        QFETCH(bool, told);
        auto form = Open();
        QCheckBox* testMode = form->findChild<QCheckBox*>("cbTestMode");
        testMode->setChecked(false);
        const QByteArray bytes = argument.toUtf8();
        Application::PrepareMainWindow(*form, argument.isNull() ? nullptr : bytes.constData());
        QCOMPARE(prompter_->CountContaining("silentmode on"), told ? 1 : 0);
        if (told)
            QCOMPARE(prompter_->asked.back().caption, QString("Silentmode"));
        QVERIFY(testMode->isChecked());
    }

    void helpHasASectionForEveryTopic() {
        QFile help(QT_TESTCASE_SOURCEDIR "/../docs/help/index.html");
        QVERIFY(help.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(help.readAll());
        for (int context : {3, 4, 5, 6, 7, 8, 12, 13, 14})
            QVERIFY2(text.contains(QString("id=\"context-%1\"").arg(context)),
                     qPrintable(QString::number(context)));
        auto form = Open();
        Do(*form, "aHelp");
        QCOMPARE(helpOpened_, std::vector<int>{0}); // the contents
    }

    void noStoreNoRecoveryCopyGivesTheDefaults() {
        auto form = Open();
        QVERIFY(prompter_->asked.empty());
        std::vector<TJunkFileObj> defaults = DefaultTypes::Build(false);
        QCOMPARE(form->RowCount(), int(defaults.size()));
        for (int i = 0; i < form->RowCount(); ++i)
            QCOMPARE(*form->TypeAt(i), defaults[size_t(i)]);
        QVERIFY(!Exists(files_.RecoveryCopy));
    }

    void defaultsUseTheHoldingFolderWhileTheRecycleBinIsUnusable() {
        recycleBin_.unusable = true;
        auto form = Open();
        QVERIFY(form->RowCount() > 0);
        for (int i = 0; i < form->RowCount(); ++i)
            QVERIFY(form->TypeAt(i)->Method != MethodRecycleBin);
    }

    void theLastScheduledCleanUpIsInTheStatusBar() {
        QVERIFY(!Open()->findChild<QLabel*>("StatusSchedule"));
        std::ofstream(files_.ScheduleStatus) << "2026-12-08 03:00, finished\n";
        auto form = Open();
        auto* last = form->findChild<QLabel*>("StatusSchedule");
        QVERIFY(last && last->isVisibleTo(form.get()));
        QCOMPARE(last->text(), QString("Last scheduled clean-up: 2026-12-08 03:00, finished"));
    }

    void emptyStoreCountsAsAbsent() {
        std::ofstream(files_.TypeStore, std::ios::binary).close();
        auto form = Open();
        QCOMPARE(form->RowCount(), int(DefaultTypes::Build(false).size()));
    }

    void emptyRecoveryCopyAnsweredYesGivesAnEmptyList() {
        Store(files_.TypeStore, {Type("Stored", MethodDelete)});
        std::ofstream(files_.RecoveryCopy, std::ios::binary).close();
        auto form = Open();
        QCOMPARE(prompter_->asked.size(), size_t(1));
        QVERIFY(prompter_->asked[0].text.startsWith("It appears that Brumo was not shut down"));
        QCOMPARE(prompter_->asked[0].buttons, PromptButtons::YesNo);
        QCOMPARE(form->RowCount(), 0);
    }

    void recoveryCopyAnsweredNoLoadsTheStoreAndKeepsTheCopy() {
        Store(files_.TypeStore, {Type("Stored", MethodDelete)});
        Store(files_.RecoveryCopy, {Type("Changed", MethodDelete)});
        prompter_->answers = {PromptAnswer::No};
        auto form = Open();
        QCOMPARE(Names(*form), QStringList{"Stored"});
        QVERIFY(Exists(files_.RecoveryCopy));
    }

    void restoredListIsStoredAtCloseAndTheCopyDeleted() {
        Store(files_.TypeStore, {Type("Stored", MethodDelete)});
        Store(files_.RecoveryCopy, {Type("One", MethodDelete), Type("Two", MethodHoldingFolder)});
        auto form = Open();
        QCOMPARE(Names(*form), (QStringList{"One", "Two"}));
        form->close();
        QVERIFY(!Exists(files_.RecoveryCopy));
        const auto stored = Stored(files_.TypeStore);
        QCOMPARE(stored.size(), size_t(2));
        QCOMPARE(stored[1].Name, std::string("Two"));
    }

    void failedLoadKeepsTheTypesReadAndTheFileBytes() {
        // Two whole records, then the start of a third.
        std::string bytes = TypeStore::Serialize(
            std::vector<TJunkFileObj>{Type("A", MethodDelete), Type("B", MethodDelete)});
        const std::string whole = bytes;
        bytes +=
            TypeStore::Serialize(std::vector<TJunkFileObj>{Type("C", MethodDelete)}).substr(0, 9);
        std::ofstream(files_.TypeStore, std::ios::binary) << bytes;
        auto form = Open();
        QCOMPARE(Names(*form), (QStringList{"A", "B"}));
        QCOMPARE(prompter_->asked.size(), size_t(1));
        QCOMPARE(prompter_->asked[0].icon, PromptIcon::Error);
        form->close();
        // The file that failed to load survives under another name.
        std::ifstream kept(files_.TypeStore + ".BAD", std::ios::binary);
        QVERIFY(kept.good());
        std::string keptBytes((std::istreambuf_iterator<char>(kept)), {});
        QCOMPARE(keptBytes.size(), bytes.size());
        QCOMPARE(Stored(files_.TypeStore).size(), size_t(2));
    }

    void failedStoreWriteKeepsTheListInTheRecoveryCopy() {
        Store(files_.TypeStore, {Type("A", MethodDelete)});
        auto form = Open();
        Select(*form, 0);
        Do(*form, "aClearAll"); // a change that writes no recovery copy
        // The type store cannot be replaced: a folder stands in its way.
        fs::remove(files_.TypeStore);
        fs::create_directory(files_.TypeStore);
        prompter_->Clear();
        form->close();
        QCOMPARE(prompter_->asked.size(), size_t(1));
        QVERIFY(prompter_->asked[0].text.contains(QString::fromStdString(files_.RecoveryCopy)));
        const auto kept = Stored(files_.RecoveryCopy);
        QCOMPARE(kept.size(), size_t(1));
        QVERIFY(!kept[0].Enabled);
    }

    // --- Activation ----------------------------------------------------------------------

    void activationDisablesEnabledRecycleBinTypesAndCountsThem() {
        Store(files_.TypeStore,
              {Type("Bin on", MethodRecycleBin, true), Type("Bin off", MethodRecycleBin, false),
               Type("Hold", MethodHoldingFolder, true), Type("Bin on 2", MethodRecycleBin, true)});
        auto form = Open();
        form->FormActivate();
        QVERIFY(prompter_->asked.empty());
        QCOMPARE(Checks(*form), (QList<bool>{true, false, true, true}));

        recycleBin_.unusable = true;
        Select(*form, 2);
        form->FormActivate();
        QCOMPARE(prompter_->asked.size(), size_t(1));
        const Prompt& told = prompter_->asked[0];
        QVERIFY(told.text.startsWith("RECYCLE BIN SETTINGS ERROR:"));
        QVERIFY(told.text.contains(
            "2 junk file types that rely on the Recycle Bin have been disabled."));
        QCOMPARE(told.icon, PromptIcon::Error);
        QCOMPARE(told.helpContext, 12);
        QCOMPARE(Checks(*form), (QList<bool>{false, false, true, false}));
        QCOMPARE(form->SelectedRow(), 0);

        // Nothing left to disable: no message.
        form->FormActivate();
        QCOMPARE(prompter_->asked.size(), size_t(1));
        // Activation does not write the recovery copy.
        QVERIFY(!Exists(files_.RecoveryCopy));
    }

    // --- Placement and looks -------------------------------------------------------------

    void placementIsKeptInsideTheWorkArea() {
        auto probe = Open();
        const QRect area = probe->screen()->availableGeometry();
        probe.reset();
        SettingsFile settings(files_.Settings);
        QVERIFY(!settings.Write("HDForm Settings", {{"Left", std::to_string(area.right() - 100)},
                                                    {"Top", "-40"},
                                                    {"Right", std::to_string(area.right() + 400)},
                                                    {"Bottom", "500"}}));
        auto form = Open();
        const QRect geometry = form->geometry();
        QCOMPARE(geometry.width(), 500);
        QVERIFY(geometry.right() <= area.right() + 1);
        QCOMPARE(geometry.top(), 0); // the top edge alone moves: the bottom stays
        QCOMPARE(geometry.bottom() + 1, 500);
    }

    void windowsOpenInsideTheWorkAreaWhateverTheFileHolds() {
        SettingsFile settings(files_.Settings);
        QVERIFY(!settings.Write(
            "HDForm Settings",
            {{"Left", "5000"}, {"Top", "5000"}, {"Right", "-5000"}, {"Bottom", "-5000"}}));
        QRect area;
        {
            auto form = Open();
            area = form->screen()->availableGeometry();
            QVERIFY(area.contains(form->geometry()));
            QCOMPARE(form->size(), form->minimumSize());
        }
        QVERIFY(settings.ReadInteger("HDForm Settings", "Right", 0) <= area.right() + 1);
        QVERIFY(!settings.Write(
            "HDForm Settings",
            {{"Left", "0"}, {"Top", "0"}, {"Right", "32767"}, {"Bottom", "32767"}}));
        QVERIFY(area.contains(Open()->geometry()));

        // Fixed dialogs are centred at the size their layout gives them.
        for (auto dialog : std::initializer_list<std::function<std::unique_ptr<QWidget>()>>{
                 [] { return std::make_unique<TSpecForm>(); },
                 [] { return std::make_unique<TNameForm>(); }}) {
            const QRect placed = dialog()->geometry(); // before it is shown
            auto shown = dialog();
            shown->show();
            QVERIFY(QTest::qWaitForWindowExposed(shown.get()));
            QCOMPARE(shown->size(), placed.size());
            QVERIFY((placed.center() - area.center()).manhattanLength() <= 2);
        }
    }

    void windowClosedMaximisedReopensNormal() {
        SettingsFile settings(files_.Settings);
        QVERIFY(
            !settings.Write("HDForm Settings",
                            {{"Left", "30"}, {"Top", "40"}, {"Right", "530"}, {"Bottom", "440"}}));
        {
            auto form = Open();
            QCOMPARE(form->geometry(), QRect(30, 40, 500, 400));
            form->showMaximized();
            QVERIFY(QTest::qWaitForWindowExposed(form.get()));
            form->close();
        }
        QCOMPARE(settings.ReadInteger("HDForm Settings", "Left", -1), 30);
        QCOMPARE(settings.ReadInteger("HDForm Settings", "Bottom", -1), 440);
        auto again = Open();
        QVERIFY(!again->isMaximized());
        QCOMPARE(again->geometry(), QRect(30, 40, 500, 400));
    }

    void placementWriteFailureNamesTheSettingsFile() {
        fs::create_directory(files_.Settings); // nothing can replace it
        Open().reset();
        QCOMPARE(prompter_->asked.size(), size_t(1));
        QVERIFY(prompter_->asked[0].text.contains(QString::fromStdString(files_.Settings)));
        QVERIFY(Exists(files_.TypeStore) == false); // destroyed, not closed: the store is unwritten
    }

    void secondStartRestoresAMinimisedWindow() {
        auto form = Open();
        form->showMinimized();
        QTRY_VERIFY(form->isMinimized());
        form->BringToFront();
        QTRY_VERIFY(!form->isMinimized());
        QVERIFY(form->isVisible());
    }

    void firstLooks() {
        auto form = Open();
        Show(*form);
        auto gap = [&](const char* left, const char* right) {
            return form->findChild<QPushButton*>(right)->geometry().left() -
                   form->findChild<QPushButton*>(left)->geometry().right();
        };
        QVERIFY(gap("btnHelp", "btnAbout") >= 6);
        QVERIFY(gap("btnAbout", "btnExit") >= 6);
        QVERIFY(form->findChild<QLabel*>("StatusPanel0")->frameWidth() > 0);
        QVERIFY(form->findChild<QLabel*>("StatusPanel1")->frameWidth() > 0);
        // Only the properties dialog's title has two blanks before its dash.
        std::vector<std::unique_ptr<QWidget>> windows;
        windows.push_back(std::make_unique<TDefaultForm>(*recycle_));
        windows.push_back(std::make_unique<TFoundForm>());
        windows.push_back(std::make_unique<TSpecForm>());
        windows.push_back(std::make_unique<TNameForm>());
        windows.push_back(std::make_unique<TNewPickForm>());
        windows.push_back(std::make_unique<TTypeWiz>(nullptr, files_));
        windows.push_back(std::make_unique<TLegendForm>(form.get()));
        windows.push_back(std::make_unique<TAboutForm>(VersionInfo::OfThisBuild(), [] {}));
        for (const auto& window : windows)
            QVERIFY2(!window->windowTitle().contains("  "), qPrintable(window->windowTitle()));
        QVERIFY(!form->windowTitle().contains("  "));
        QCOMPARE(TPropForm().windowTitle(), QString("Brumo  - junk file type properties"));
    }
};

} // namespace brumo

QTEST_MAIN(brumo::HDFormStartTest)
#include "hd_form_start_test.moc"
