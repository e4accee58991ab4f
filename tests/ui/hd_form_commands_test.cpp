// The main window's commands on its list of types: when they are on, their hints and keys, and
// what Remove, Undo, the moves, the check boxes, Rename, Add, Edit, Properties and Count do.

#include "hd_form_fixture.h"

#include "modal_driver.h"
#include "model/default_types.h"
#include "support/drive_map.h"
#include "support/tree_builder.h"
#include "ui/default_form.h"
#include "ui/prop_form.h"
#include "ui/type_wiz.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTextEdit>
#include <QToolTip>
#include <QTreeWidget>

namespace brumo {

namespace fs = std::filesystem;

class HDFormCommandsTest : public QObject, test::HDFormFixture {
    Q_OBJECT

private slots:
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

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

        // So do the disabled controls of the bottom bar, and the hint follows a change of
        // state under the mouse.
        Do(*form, "aClearAll");
        auto* cleanup = form->findChild<QPushButton*>("btnCleanup");
        QTRY_VERIFY(!cleanup->isEnabled());
        QTest::mouseMove(cleanup);
        QTRY_COMPARE(panel->text(), QString("Process all checked junk file types now (disabled)"));
        Do(*form, "aCheckAll");
        QTRY_COMPARE(panel->text(), QString("Process all checked junk file types now"));
        QTest::mouseMove(form->findChild<QWidget*>("pnlButtons"), QPoint(2, 2));
        QTRY_COMPARE(panel->text(), QString());

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

QTEST_MAIN(brumo::HDFormCommandsTest)
#include "hd_form_commands_test.moc"
