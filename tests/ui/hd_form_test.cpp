#include "ui/hd_form.h"

#include "app/settings_file.h"
#include "modal_driver.h"
#include "model/default_types.h"
#include "model/type_store.h"
#include "recycle_bin_switch.h"
#include "runs/recycle_settings_check.h"
#include "scripted_prompter.h"
#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"
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
#include "ui/widget_placement.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QToolTip>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

namespace brumo {

namespace fs = std::filesystem;

class HDFormTest : public QObject {
    Q_OBJECT

private:
    std::optional<test::TempTree> dir_;
    ProgramFiles files_;
    test::RecycleBinSwitch recycleBin_;
    std::unique_ptr<RecycleSettingsCheck> recycle_;
    std::unique_ptr<test::ScriptedPrompter> prompter_;
    std::function<int(QDialog&)> dialogs_;
    std::vector<int> helpOpened_;
    std::vector<std::string> logsOpened_;

    std::unique_ptr<THDForm> Open() {
        MainWindowSetup setup;
        setup.files = files_;
        setup.recycle = recycle_.get();
        setup.version = VersionInfo::OfThisBuild();
        setup.openHelp = [this](int context) { helpOpened_.push_back(context); };
        setup.openLog = [this](const std::string& path) { logsOpened_.push_back(path); };
        setup.runDialog = [this](QDialog& dialog) {
            return dialogs_ ? dialogs_(dialog) : int(QDialog::Rejected);
        };
        return std::make_unique<THDForm>(std::move(setup));
    }

    static TJunkFileObj Type(const std::string& name, int method, bool enabled = true,
                             const std::string& specs = "*.tmp") {
        return TJunkFileObj(name, enabled, method, "", specs, "", 0);
    }
    void Store(const std::string& path, const std::vector<TJunkFileObj>& types) {
        TypeStore store;
        QVERIFY(store.Save(path, types).saved);
    }
    static std::vector<TJunkFileObj> Stored(const std::string& path) {
        TypeStore store;
        return store.Load(path).types;
    }
    static bool Exists(const std::string& path) { return fs::exists(path); }

    static QAction* Action(THDForm& form, const char* name) {
        return form.findChild<QAction*>(name);
    }
    // Triggers a command as the user would: with the rules applied first.
    static void Do(THDForm& form, const char* name) {
        form.aAddUpdate();
        QAction* action = Action(form, name);
        QVERIFY2(action, name);
        QVERIFY2(action->isEnabled(), name);
        action->trigger();
    }
    static QListWidget* List(THDForm& form) { return form.findChild<QListWidget*>("lvJunk"); }
    static void Select(THDForm& form, int row) {
        List(form)->setCurrentRow(row);
        form.aAddUpdate();
    }
    static void Show(THDForm& form) {
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
    }
    // The menu key, as the platform delivers it: a keyboard context menu event at the
    // focused list's cursor rectangle. With `shiftF10`, that key instead.
    static QMenu* PopupFromKeyboard(THDForm& form, bool shiftF10 = false) {
        auto* menu = form.findChild<QMenu*>("pmMain");
        QListWidget* list = List(form);
        if (shiftF10) {
            QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
        } else {
            const QPoint at = list->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
            QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, at, list->mapToGlobal(at));
            QApplication::sendEvent(list, &menuKey);
        }
        if (!QTest::qWaitForWindowExposed(menu))
            qWarning() << "the popup menu did not open";
        return menu;
    }
    static QStringList Names(THDForm& form) {
        QStringList names;
        for (int i = 0; i < form.RowCount(); ++i) {
            names << QString::fromStdString(form.TypeAt(i)->Name);
            // The caption always shows the name.
            if (List(form)->item(i)->text() != names.back())
                qWarning() << "caption" << List(form)->item(i)->text() << "for" << names.back();
        }
        return names;
    }
    // Check box and Enabled of every row, which agree outside runs.
    static QList<bool> Checks(THDForm& form) {
        QList<bool> checks;
        for (int i = 0; i < form.RowCount(); ++i) {
            checks << form.RowChecked(i);
            if (form.TypeAt(i)->Enabled != form.RowChecked(i))
                qWarning() << "row" << i << "check box and Enabled differ";
        }
        return checks;
    }
    static QString RefusalText() {
        return "This junk file type sends files to the Recycle Bin. You cannot enable it at "
               "this time.";
    }

private slots:
    void init() {
        dir_.emplace();
        files_ =
            ProgramFiles::Derive((*dir_ / "Brumo.exe").string(), true, (*dir_ / "data").string());
        WidgetPlacement::SetSettingsFile(files_.Settings);
        recycleBin_.unusable = false;
        recycle_ = std::make_unique<RecycleSettingsCheck>(recycleBin_);
        prompter_ = std::make_unique<test::ScriptedPrompter>();
        dialogs_ = nullptr;
        helpOpened_.clear();
        logsOpened_.clear();
    }

    void cleanup() {
        prompter_.reset();
        recycle_.reset();
        dir_.reset();
    }

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

    // --- Enabling rules ------------------------------------------------------------------

    void commandsFollowSelectionAndRows() {
        Store(files_.TypeStore, {Type("A", MethodDelete, false), Type("B", MethodDelete, false),
                                 Type("C", MethodDelete, false)});
        auto form = Open();
        auto enabled = [&](const char* name) { return Action(*form, name)->isEnabled(); };
        Select(*form, 0);
        QVERIFY(!enabled("aUp") && enabled("aDn"));
        QVERIFY(!enabled("aCleanup")); // nothing checked
        QVERIFY(!enabled("aUndo"));
        Select(*form, 2);
        QVERIFY(enabled("aUp") && !enabled("aDn"));
        QVERIFY(form->findChild<QPushButton*>("btnRem")->isEnabled());

        Do(*form, "aCheckAll");
        QVERIFY(enabled("aCleanup"));
        // The popup menu items mirror their commands.
        QVERIFY(form->findChild<QAction*>("mnuUp")->isEnabled());
        QVERIFY(!form->findChild<QAction*>("mnuDown")->isEnabled());

        for (int i = 0; i < 3; ++i) {
            Select(*form, 0);
            Do(*form, "aRem");
        }
        form->aAddUpdate();
        for (const char* name : {"aEdit", "aRem", "aProps", "aCount", "aUp", "aDn", "aCheckAll",
                                 "aClearAll", "aCleanup"})
            QVERIFY2(!enabled(name), name);
        QVERIFY(!form->findChild<QMenu*>("mnuMethodAll")->menuAction()->isEnabled());
        QVERIFY(enabled("aUndo") && enabled("aAdd") && enabled("aDefaults") && enabled("aExit"));
    }

    void hintsFollowTheMouseOverDisabledButtonsAndMenus() {
        Store(files_.TypeStore, {Type("A", MethodDelete), Type("B", MethodDelete)});
        auto form = Open();
        Show(*form);
        QLabel* panel = form->findChild<QLabel*>("StatusPanel1");
        auto* undo = form->findChild<QPushButton*>("btnUndo");
        QVERIFY(!undo->isEnabled()); // nothing to undo
        QTest::mouseMove(undo, undo->rect().center());
        QCOMPARE(panel->text(), QString("Undo the most recent Remove operation (disabled)"));
        QTest::mouseMove(form->findChild<QWidget*>("pnlButtons"), QPoint(2, 2));
        QCOMPARE(panel->text(), QString());

        // A menu item's hint shows while it is current and goes with the menu.
        QMenu* menu = PopupFromKeyboard(*form);
        QAction* remove = Action(*form, "mnuRem");
        QTest::mouseMove(menu, menu->actionGeometry(remove).center());
        QTRY_COMPARE(panel->text(), QString("Remove the highlighted junk file type"));
        auto* methods = form->findChild<QMenu*>("mnuMethodAll");
        QTest::mouseMove(menu, menu->actionGeometry(methods->menuAction()).center());
        QTest::keyClick(menu, Qt::Key_Right);
        QTRY_VERIFY(methods->isVisible());
        QAction* backup = Action(*form, "mnuBackupAll");
        QTest::mouseMove(methods, methods->actionGeometry(backup).center());
        QTRY_COMPARE(panel->text(), QString("For all types, move files to folder \\HDVal$$$.$$$."));
        QTest::keyClick(methods, Qt::Key_Escape);
        QTest::keyClick(menu, Qt::Key_Escape);
        QTRY_VERIFY(!menu->isVisible());
        QCOMPARE(panel->text(), QString());
    }

    void keyboardFindsItsWayAroundTheList() {
        const std::string longName(300, 'x');
        Store(files_.TypeStore, {Type("A", MethodDelete), Type(longName, MethodDelete)});
        auto form = Open();
        Show(*form);
        QListWidget* list = List(*form);
        QCOMPARE(QApplication::focusWidget(), list); // not New item, four Tabs away
        QTRY_COMPARE(list->currentRow(), 0);

        // The popup menu opens at the long row's start, not at its far end, and shows the
        // commands' shortcuts; Shift+F10 opens it as well.
        QTest::keyClick(list, Qt::Key_Down);
        QMenu* menu = PopupFromKeyboard(*form);
        QVERIFY(menu->geometry().left() < list->mapToGlobal(list->rect().center()).x());
        QVERIFY(menu->geometry().top() < list->mapToGlobal(list->rect().bottomLeft()).y());
        QCOMPARE(Action(*form, "mnuRem")->shortcut(), QKeySequence("Ctrl+X"));
        QCOMPARE(Action(*form, "mnuUndo")->shortcut(), QKeySequence("Ctrl+Z"));
        QCOMPARE(Action(*form, "mnuProps")->shortcut().toString(), QString("Ctrl+Enter"));
        QTest::keyClick(menu, Qt::Key_Escape);
        QTRY_VERIFY(!menu->isVisible());
        QVERIFY(PopupFromKeyboard(*form, true)->isVisible());
        QTest::keyClick(menu, Qt::Key_Escape);
        QTRY_VERIFY(!menu->isVisible());

        // The cut name reads in full as the row's tooltip.
        const QRect row = list->visualItemRect(list->item(1));
        QTest::mouseMove(list->viewport(), QPoint(60, row.center().y()));
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QString::fromStdString(longName));
    }

    void renameEditorKeepsItsKeysAndClosesForARun() {
        test::TempTree c;
        test::TreeBuilder::MakeFile(c / "a.tmp", 1);
        test::DriveMap drives{{'C', c.Root()}};
        Store(files_.TypeStore, {Type("Temp", MethodDelete), Type("Other", MethodDelete)});
        auto form = Open();
        form->SetTestMode(true);
        Show(*form);
        int dialogsShown = 0;
        dialogs_ = [&](QDialog&) { return ++dialogsShown, int(QDialog::Rejected); };
        QListWidget* list = List(*form);
        QTRY_COMPARE(list->currentRow(), 0);

        QTest::keyClick(list, Qt::Key_F2);
        QPointer<QLineEdit> editor = list->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor && editor->hasFocus());
        QTest::keyClick(editor, Qt::Key_End);
        QTest::keyClicks(editor, " files");
        QTest::keyClick(editor, Qt::Key_Insert); // the editor's key, not New item's
        QTest::keyClick(editor, Qt::Key_H, Qt::ControlModifier);
        QCOMPARE(dialogsShown, 0);
        QCOMPARE(Names(*form), (QStringList{"Temp", "Other"}));
        QVERIFY(editor && editor->isVisible());

        // Clean up by its accelerator: the rename is dropped, not committed during the run.
        QSignalSpy cleanup(Action(*form, "aCleanup"), &QAction::triggered);
        QTest::keyClick(editor, Qt::Key_C, Qt::AltModifier);
        QVERIFY(cleanup.wait());
        QTRY_VERIFY(!editor || !editor->isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(form->CurrentRunMode(), int(RunIdle));
        QCOMPARE(Names(*form), (QStringList{"Temp", "Other"}));
        QVERIFY(!Exists(files_.RecoveryCopy));
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

    // --- Remove, Undo, moves -------------------------------------------------------------

    void removingSelectsTheNextRowOrTheNewLast() {
        Store(files_.TypeStore,
              {Type("A", MethodDelete), Type("B", MethodDelete), Type("C", MethodDelete)});
        auto form = Open();
        Select(*form, 2);
        Do(*form, "aRem");
        QCOMPARE(Names(*form), (QStringList{"A", "B"}));
        QCOMPARE(form->SelectedRow(), 1);
        QCOMPARE(Stored(files_.RecoveryCopy).size(), size_t(2));
        Select(*form, 0);
        Do(*form, "aRem");
        QCOMPARE(form->SelectedRow(), 0);
        Do(*form, "aRem");
        QCOMPARE(form->RowCount(), 0);
        QCOMPARE(form->SelectedRow(), -1);
        form->aAddUpdate();
        QVERIFY(Action(*form, "aUndo")->isEnabled());
        QVERIFY(Stored(files_.RecoveryCopy).empty());
        QVERIFY(Exists(files_.RecoveryCopy));
        QVERIFY(prompter_->asked.empty());
    }

    void undoBringsBackOnlyTheLastRemovedAtTheEnd() {
        Store(files_.TypeStore,
              {Type("A", MethodDelete), Type("B", MethodDelete, false), Type("C", MethodDelete)});
        auto form = Open();
        Select(*form, 0);
        Do(*form, "aRem"); // A
        Select(*form, 0);
        Do(*form, "aRem"); // B
        Select(*form, 0);
        Do(*form, "aUndo");
        QCOMPARE(Names(*form), (QStringList{"C", "B"}));
        QCOMPARE(Checks(*form), (QList<bool>{true, false}));
        QCOMPARE(form->SelectedRow(), 0); // the selection stays
        QVERIFY(form->UndoHeld() == nullptr);
        form->aAddUpdate();
        QVERIFY(!Action(*form, "aUndo")->isEnabled());
        const auto recovered = Stored(files_.RecoveryCopy);
        QCOMPARE(recovered.size(), size_t(2));
        QCOMPARE(recovered[1].Name, std::string("B"));
    }

    void undoOfACheckedRecycleBinTypeWhileTheBinIsUnusable() {
        Store(files_.TypeStore, {Type("Bin", MethodRecycleBin), Type("Other", MethodDelete)});
        auto form = Open();
        Select(*form, 0);
        Do(*form, "aRem");
        recycleBin_.unusable = true;
        Do(*form, "aUndo");
        QCOMPARE(Names(*form), (QStringList{"Other", "Bin"}));
        QCOMPARE(Checks(*form), (QList<bool>{true, false}));
        QCOMPARE(prompter_->CountContaining(RefusalText()), 1);
        QCOMPARE(prompter_->asked.back().helpContext, 12);
    }

    void movingRowsKeepsTheirCheckStates() {
        Store(files_.TypeStore, {Type("Bin", MethodRecycleBin, false), Type("Mine", MethodDelete),
                                 Type("Last", MethodDelete, false)});
        recycleBin_.unusable = true;
        auto form = Open();
        Select(*form, 1);
        Do(*form, "aUp");
        QCOMPARE(Names(*form), (QStringList{"Mine", "Bin", "Last"}));
        QCOMPARE(Checks(*form), (QList<bool>{true, false, false}));
        QCOMPARE(form->SelectedRow(), 0);
        Do(*form, "aDn");
        Do(*form, "aDn");
        QCOMPARE(Names(*form), (QStringList{"Bin", "Last", "Mine"}));
        QCOMPARE(Checks(*form), (QList<bool>{false, false, true}));
        QCOMPARE(form->SelectedRow(), 2);
        QVERIFY(prompter_->asked.empty());
        QVERIFY(!Exists(files_.RecoveryCopy)); // moves write no recovery copy
    }

    // --- Check boxes and methods ---------------------------------------------------------

    void checkAllRefusesEachRecycleBinTypeOnce() {
        Store(files_.TypeStore,
              {Type("Bin 1", MethodRecycleBin, false), Type("Hold", MethodHoldingFolder, false),
               Type("Bin 2", MethodRecycleBin, false), Type("Delete", MethodDelete, false)});
        recycleBin_.unusable = true;
        auto form = Open();
        Do(*form, "aCheckAll");
        QCOMPARE(Checks(*form), (QList<bool>{false, true, false, true}));
        QCOMPARE(prompter_->CountContaining(RefusalText()), 2);
        Do(*form, "aClearAll");
        QCOMPARE(Checks(*form), (QList<bool>{false, false, false, false}));
        QVERIFY(!Exists(files_.RecoveryCopy));
    }

    void checkingARowSetsItsType() {
        Store(files_.TypeStore, {Type("Bin", MethodRecycleBin, false)});
        auto form = Open();
        List(*form)->item(0)->setCheckState(Qt::Checked);
        QVERIFY(form->TypeAt(0)->Enabled);
        recycleBin_.unusable = true;
        List(*form)->item(0)->setCheckState(Qt::Unchecked);
        List(*form)->item(0)->setCheckState(Qt::Checked);
        QCOMPARE(Checks(*form), QList<bool>{false});
        QCOMPARE(prompter_->CountContaining(RefusalText()), 1);
    }

    void clickingACheckBoxSelectsItsRow() {
        Store(files_.TypeStore,
              {Type("A", MethodDelete), Type("B", MethodDelete), Type("C", MethodDelete)});
        auto form = Open();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QListWidget* list = List(*form);
        QTRY_COMPARE(form->SelectedRow(), 0); // the activation selects the first row
        const QRect row = list->visualItemRect(list->item(2));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          QPoint(row.left() + 10, row.center().y()));
        QCOMPARE(Checks(*form), (QList<bool>{true, true, false}));
        QCOMPARE(form->SelectedRow(), 2);
    }

    void methodForAllChangesMethodsOnly() {
        Store(files_.TypeStore, {Type("Bin", MethodRecycleBin, false), Type("Del", MethodDelete),
                                 Type("Hold", MethodHoldingFolder)});
        auto form = Open();
        QMenu* submenu = form->findChild<QMenu*>("mnuMethodAll");
        QAction* recycle = form->findChild<QAction*>("mnuRecycleAll");
        emit submenu->aboutToShow();
        QVERIFY(recycle->isEnabled());
        recycleBin_.unusable = true;
        emit submenu->aboutToShow();
        QVERIFY(!recycle->isEnabled());

        form->findChild<QAction*>("mnuBackupAll")->trigger();
        for (int i = 0; i < 3; ++i)
            QCOMPARE(form->TypeAt(i)->Method, int(MethodHoldingFolder));
        QCOMPARE(Checks(*form), (QList<bool>{false, true, true}));
        QVERIFY(prompter_->asked.empty());
        QVERIFY(!Exists(files_.RecoveryCopy));
        form->close();
        QCOMPARE(Stored(files_.TypeStore)[2].Method, int(MethodHoldingFolder));
    }

    // --- Rename --------------------------------------------------------------------------

    void renameWritesTheRecoveryCopyOnlyForAChangedName() {
        Store(files_.TypeStore, {Type("Temp", MethodDelete)});
        auto form = Open();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QListWidget* list = List(*form);
        auto rename = [&](const QString& text) {
            list->setCurrentRow(0);
            list->editItem(list->item(0));
            auto* editor = list->viewport()->findChild<QLineEdit*>();
            QVERIFY(editor);
            editor->setText(text);
            QTest::keyClick(editor, Qt::Key_Return);
            QTRY_VERIFY(!list->viewport()->findChild<QLineEdit*>() ||
                        !list->viewport()->findChild<QLineEdit*>()->isVisible());
        };
        rename("Temp");
        QVERIFY(!Exists(files_.RecoveryCopy));
        rename("");
        QCOMPARE(Names(*form), QStringList{"Temp"});
        QCOMPARE(list->item(0)->text(), QString("Temp"));
        QVERIFY(!Exists(files_.RecoveryCopy));
        rename("temp");
        QCOMPARE(Names(*form), QStringList{"temp"});
        QCOMPARE(Stored(files_.RecoveryCopy)[0].Name, std::string("temp"));
    }

    // --- Add, Defaults, Edit, Properties -------------------------------------------------

    void identityQuestionForEveryDuplicate() {
        const TJunkFileObj backup = DefaultTypes::Build(false).front();
        TJunkFileObj renamed = backup;
        renamed.Name = "My backups";
        renamed.Enabled = false;
        Store(files_.TypeStore, {backup, Type("Other", MethodDelete), renamed});
        auto form = Open();
        dialogs_ = [](QDialog& dialog) {
            auto* defaults = qobject_cast<TDefaultForm*>(&dialog);
            if (!defaults)
                return int(QDialog::Rejected);
            auto* list = defaults->findChild<QTreeWidget*>("lvDefs");
            list->setCurrentItem(list->topLevelItem(0)); // "Backup files"
            return int(QDialog::Accepted);
        };
        prompter_->answers = {PromptAnswer::Yes, PromptAnswer::No};
        Do(*form, "aDefaults");
        QCOMPARE(prompter_->asked.size(), size_t(2));
        QVERIFY(prompter_->asked[0].text.contains("existing junk file type \"Backup files\""));
        QVERIFY(prompter_->asked[1].text.contains("existing junk file type \"My backups\""));
        QCOMPARE(form->RowCount(), 3);
        // Declined, yet written.
        QCOMPARE(Stored(files_.RecoveryCopy).size(), size_t(3));

        prompter_->Clear();
        prompter_->answers = {PromptAnswer::Yes, PromptAnswer::Yes};
        Do(*form, "aDefaults");
        QCOMPARE(prompter_->asked.size(), size_t(2));
        QCOMPARE(form->RowCount(), 4);
        QCOMPARE(form->TypeAt(3)->Name, std::string("Backup files"));
        QCOMPARE(Stored(files_.RecoveryCopy).size(), size_t(4));
    }

    void addAndEditGoThroughTheWizard() {
        Store(files_.TypeStore, {Type("A", MethodDelete), Type("B", MethodDelete)});
        auto form = Open();
        QString name = "Added";
        dialogs_ = [&](QDialog& dialog) {
            auto* wizard = qobject_cast<TTypeWiz*>(&dialog);
            if (!wizard)
                return int(QDialog::Rejected);
            wizard->findChild<QLineEdit*>("ebName")->setText(name);
            wizard->findChild<QRadioButton*>("rbDelete")->setChecked(true);
            auto* specs = wizard->findChild<QListWidget*>("lbDels");
            specs->clear();
            specs->addItem("*.xyz");
            return int(QDialog::Accepted);
        };
        Do(*form, "aAdd");
        QCOMPARE(Names(*form), (QStringList{"A", "B", "Added"}));
        QCOMPARE(form->TypeAt(2)->Specs, std::vector<std::string>{"*.xyz"});
        QCOMPARE(form->TypeAt(2)->Method, int(MethodDelete));
        QCOMPARE(Checks(*form), (QList<bool>{true, true, true}));
        QCOMPARE(Stored(files_.RecoveryCopy).size(), size_t(3));

        name = "Edited";
        Select(*form, 0);
        Do(*form, "aEdit");
        QCOMPARE(Names(*form), (QStringList{"Edited", "B", "Added"}));
        QCOMPARE(Stored(files_.RecoveryCopy)[0].Name, std::string("Edited"));
        QVERIFY(prompter_->asked.empty());
    }

    void cancelledDialogsChangeNothing() {
        Store(files_.TypeStore, {Type("A", MethodDelete)});
        auto form = Open();
        Select(*form, 0);
        for (const char* command : {"aAdd", "aDefaults", "aEdit"})
            Do(*form, command);
        QCOMPARE(Names(*form), QStringList{"A"});
        QVERIFY(!Exists(files_.RecoveryCopy));
    }

    void propertiesShowTheSelectedType() {
        Store(files_.TypeStore, {Type("A", MethodDelete), Type("Shown", MethodHoldingFolder)});
        auto form = Open();
        QString shown;
        dialogs_ = [&](QDialog& dialog) {
            if (auto* props = qobject_cast<TPropForm*>(&dialog))
                shown = props->findChild<QTextEdit*>("reProps")->toPlainText();
            return int(QDialog::Accepted);
        };
        Select(*form, 1);
        Do(*form, "aProps");
        QVERIFY(shown.startsWith("Type: Shown (enabled)"));
        QVERIFY(shown.contains("backing them up to a holding folder"));
    }

    // --- Placement -----------------------------------------------------------------------

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

    // --- Count ---------------------------------------------------------------------------

    void countLeavesOnlyStopAndExit() {
        test::TempTree c;
        for (const char* name : {"a.tmp", "b.tmp", "c.txt"})
            test::TreeBuilder::MakeFile(c / "junk" / name, 100);
        test::DriveMap drives{{'C', c.Root()}};
        TJunkFileObj counted("Counted", true, MethodDelete, "C:\\junk", "*.tmp", "", 0);
        Store(files_.TypeStore, {Type("A", MethodDelete), counted, Type("C", MethodDelete)});
        auto form = Open();
        Select(*form, 1);
        Do(*form, "aCount");
        // The worker's report waits for the window's event loop: the count state holds.
        QCOMPARE(form->CurrentRunMode(), int(RunCounting));
        form->aAddUpdate();
        QAction* count = Action(*form, "aCount");
        QVERIFY(count->isEnabled());
        QCOMPARE(count->text(), QString("Stop"));
        QCOMPARE(form->findChild<QAction*>("mnuCount")->text(), QString("Stop"));
        for (const char* name : {"aAdd", "aDefaults", "aEdit", "aRem", "aUndo", "aUp", "aDn",
                                 "aProps", "aCheckAll", "aClearAll", "aCleanup", "aHelp", "aAbout"})
            QVERIFY2(!Action(*form, name)->isEnabled(), name);
        QVERIFY(Action(*form, "aExit")->isEnabled());
        QVERIFY(!form->findChild<QCheckBox*>("cbTestMode")->isEnabled());
        List(*form)->setCurrentRow(2);
        QCOMPARE(form->SelectedRow(), 1);

        QTRY_COMPARE(form->CurrentRunMode(), int(RunIdle));
        QCOMPARE(prompter_->asked.size(), size_t(1));
        const QString report = prompter_->asked[0].text;
        QVERIFY(report.startsWith("Brumo has searched for files matching the selected type"));
        QVERIFY(report.contains("2 files matched the junk file specifications"));
        QCOMPARE(count->text(), QString("Coun&t"));
        QCOMPARE(form->findChild<QAction*>("mnuCount")->text(), QString("Coun&t"));
        QCOMPARE(form->SelectedRow(), 1);
    }

    void countFromThePopupMenuKeepsItsRowThroughTheReport() {
        test::TempTree c;
        test::TreeBuilder::MakeFile(c / "junk" / "a.tmp", 100);
        test::DriveMap drives{{'C', c.Root()}};
        Store(files_.TypeStore,
              {Type("A", MethodDelete),
               TJunkFileObj("Counted", true, MethodDelete, "C:\\junk", "*.tmp", "", 0)});
        prompter_.reset(); // the report in a real message box, which takes the activation
        auto form = Open();
        Show(*form);
        QTRY_COMPARE(form->SelectedRow(), 0);
        QTest::keyClick(List(*form), Qt::Key_Down);
        QMenu* menu = PopupFromKeyboard(*form);
        test::ModalDriver driver;
        driver.On<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(Action(*form, "mnuCount")).center());
        QTRY_COMPARE(driver.Answered(), 1);
        QTRY_COMPARE(form->CurrentRunMode(), int(RunIdle));
        form->activateWindow(); // as the window manager does when the box goes
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QCoreApplication::processEvents(); // the activation's own handler
        QCOMPARE(form->SelectedRow(), 1);
    }

    void exitDuringACountWaitsForTheWorker() {
        test::TempTree c;
        test::TreeBuilder::MakeFile(c / "a.tmp", 1);
        test::DriveMap drives{{'C', c.Root()}};
        Store(files_.TypeStore, {TJunkFileObj("All", true, MethodDelete, "C:\\", "*.tmp", "", 0)});
        auto form = Open();
        Select(*form, 0);
        Do(*form, "aCount");
        QCOMPARE(form->CurrentRunMode(), int(RunCounting));
        form->close();
        QCOMPARE(form->CurrentRunMode(), int(RunIdle));
        QVERIFY(prompter_->asked.empty()); // no report for a window that is going
        QCOMPARE(Stored(files_.TypeStore).size(), size_t(1));
    }
};

} // namespace brumo

QTEST_MAIN(brumo::HDFormTest)
#include "hd_form_test.moc"
