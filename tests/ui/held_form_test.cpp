#include "ui/held_form.h"

#include "model/type_store.h"
#include "platform/clock.h"
#include "platform/holding_folder.h"
#include "recycle_bin_switch.h"
#include "runs/recycle_settings_check.h"
#include "scripted_prompter.h"
#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"
#include "ui/hd_form.h"
#include "ui/widget_placement.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QToolTip>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

namespace brumo {

namespace fs = std::filesystem;

class HeldFormTest : public QObject {
    Q_OBJECT

private:
    static QTreeWidgetItem* Row(QTreeWidget* tree, const QString& path) {
        QTreeWidgetItem* drive = tree->topLevelItem(0);
        for (int i = 0; drive && i < drive->childCount(); ++i)
            if (drive->child(i)->text(0).endsWith(path))
                return drive->child(i);
        return nullptr;
    }
    static void Click(QTreeWidget* tree, const QString& path) {
        QTreeWidgetItem* row = Row(tree, path);
        QVERIFY2(row, qPrintable(path));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(row).center());
    }
    static QPushButton* Button(QWidget& form, const char* name) {
        return form.findChild<QPushButton*>(name);
    }

    // Sorts by size from its header, restores one file to a free place and one onto an
    // occupied one, deletes one for good and purges one.
    static void Drive(THeldForm& form, test::ScriptedPrompter& prompter, const fs::path& c) {
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* tree = form.findChild<QTreeWidget*>("tvHeld");
        QCOMPARE(tree->topLevelItemCount(), 1);
        QCOMPARE(tree->topLevelItem(0)->text(0), QString("Drive C:"));
        QCOMPARE(tree->topLevelItem(0)->childCount(), 4);
        QVERIFY(!Button(form, "btnPurge")->isEnabled()); // held just now

        QHeaderView* header = tree->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
        QCOMPARE(header->sortIndicatorSection(), 1);
        QStringList bySize;
        for (int i = 0; i < 4; ++i)
            bySize << tree->topLevelItem(0)->child(i)->text(0).section('\\', -1);
        QStringList ascending{"a.txt", "c.txt", "d.txt", "b.txt"}; // 10, 20, 40, 3000 bytes
        if (header->sortIndicatorOrder() == Qt::DescendingOrder)
            std::reverse(ascending.begin(), ascending.end());
        QCOMPARE(bySize, ascending);
        QVERIFY(form.findChild<QLabel*>("lblTotal")->text().contains("4 files"));

        QVERIFY(!Button(form, "btnRestore")->isEnabled());
        Click(tree, "a.txt");
        QTRY_VERIFY(Button(form, "btnRestore")->isEnabled());
        QTest::mouseClick(Button(form, "btnRestore"), Qt::LeftButton);
        QCOMPARE(fs::file_size(c / "docs" / "a.txt"), 10u);
        QCOMPARE(prompter.asked.back().text, QString("Restored 1 file."));
        QCOMPARE(prompter.asked.back().caption, QString("Brumo"));
        QCOMPARE(form.focusWidget(), tree); // not the days box after the pressed button

        // Occupied: kept, and the held file comes back beside it.
        Click(tree, "c.txt");
        QTRY_VERIFY(Button(form, "btnRestore")->isEnabled());
        prompter.answers.push_back(PromptAnswer::Yes);
        QTest::mouseClick(Button(form, "btnRestore"), Qt::LeftButton);
        QVERIFY(prompter.asked.at(prompter.asked.size() - 2).text.contains("already there"));
        QCOMPARE(fs::file_size(c / "keep" / "c.txt"), 1u);
        QCOMPARE(fs::file_size(c / "keep" / "c (2).txt"), 20u);

        Click(tree, "b.txt");
        QTRY_VERIFY(Button(form, "btnDelete")->isEnabled());
        prompter.answers.push_back(PromptAnswer::No);
        QTest::mouseClick(Button(form, "btnDelete"), Qt::LeftButton);
        QVERIFY(Row(tree, "b.txt"));
        prompter.answers.push_back(PromptAnswer::Yes);
        QTest::mouseClick(Button(form, "btnDelete"), Qt::LeftButton);
        QCOMPARE(prompter.asked.at(prompter.asked.size() - 2).text,
                 QString("Delete 1 file for good? It cannot be restored afterwards."));
        QVERIFY(prompter.asked[prompter.asked.size() - 2].defaultNo);
        QCOMPARE(prompter.asked.back().text, QString("Deleted 1 file for good."));
        QVERIFY(!fs::exists(c / "docs" / "b.txt"));

        // Forty days on, the last one is purged after 31 days.
        FixedClock later(Clock::Current().Now() + 40);
        Clock::Install(&later);
        const std::unique_ptr<FixedClock, void (*)(FixedClock*)> uninstall(
            &later, [](FixedClock*) { Clock::Install(nullptr); });
        auto* days = form.findChild<QSpinBox*>("seDays");
        days->setFocus();
        QTest::keyClick(days, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(days, "31");
        QTRY_VERIFY(Button(form, "btnPurge")->isEnabled());
        prompter.answers.push_back(PromptAnswer::Yes);
        QTest::mouseClick(Button(form, "btnPurge"), Qt::LeftButton);
        QVERIFY(prompter.asked.at(prompter.asked.size() - 2).text.contains("31 days"));
        QCOMPARE(prompter.asked.back().text, QString("Deleted 1 file for good."));
        QVERIFY(!fs::exists(c / HoldingFolder::Name / "docs"));
        QCOMPARE(tree->topLevelItemCount(), 0);
        QTRY_VERIFY(!Button(form, "btnDelete")->isEnabled());
        QVERIFY(!Button(form, "btnPurge")->isEnabled());
        QTest::mouseClick(Button(form, "btnClose"), Qt::LeftButton);
    }

private slots:
    void disabledCommandsShowTheirHints() {
        test::TempTree dir;
        test::TreeBuilder::MakeFile(dir / "c" / HoldingFolder::Name / "a.txt", 1);
        test::DriveMap drives{{'C', dir / "c"}};
        WidgetPlacement::SetSettingsFile((dir / "brumo.INI").string());
        THeldForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTest::mouseMove(Button(form, "btnPurge"));
        QTRY_COMPARE(form.findChild<QStatusBar*>("StatusBar1")->currentMessage(),
                     QString("Delete permanently every file held longer than the number of days "
                             "(disabled)"));
    }

    void handledFilesHandTheirRowToTheNextOne() {
        test::TempTree dir;
        const std::string deep = "z folder name long enough to be cut/" + std::string(80, 'x');
        for (const char* name : {"a.txt", "b.txt", "c.txt"})
            test::TreeBuilder::MakeFile(dir / "c" / HoldingFolder::Name / name, 1);
        test::TreeBuilder::MakeFile(dir / "c" / HoldingFolder::Name / deep / "e.txt", 1);
        test::DriveMap drives{{'C', dir / "c"}};
        WidgetPlacement::SetSettingsFile((dir / "brumo.INI").string());
        test::ScriptedPrompter prompter;
        THeldForm form;
        form.resize(500, 300);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto* tree = form.findChild<QTreeWidget*>("tvHeld");
        auto current = [tree] {
            return tree->currentItem() ? tree->currentItem()->text(0).section('\\', -1) : "none";
        };

        Click(tree, "b.txt");
        QTRY_VERIFY(Button(form, "btnDelete")->isEnabled());
        QTest::keyClick(&form, Qt::Key_D, Qt::AltModifier); // answered Yes
        QTRY_COMPARE(prompter.asked.size(), size_t(2));
        QCOMPARE(current(), QString("c.txt"));
        QVERIFY(tree->selectedItems().contains(tree->currentItem()) && tree->hasFocus());

        // The last row's path is cut in the middle, so that its name shows; hovering shows it
        // whole. Restored, the new last row takes over.
        QTest::keyClick(tree, Qt::Key_End);
        QTRY_VERIFY(Button(form, "btnRestore")->isEnabled());
        const QPoint at = tree->visualItemRect(tree->currentItem()).center();
        QHelpEvent hover(QEvent::ToolTip, at, tree->viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree->viewport(), &hover);
        QTRY_COMPARE(QToolTip::text(),
                     "C:\\" + QString::fromStdString(deep).replace('/', '\\') + "\\e.txt");
        QTest::keyClick(&form, Qt::Key_R, Qt::AltModifier);
        QTRY_COMPARE(prompter.asked.size(), size_t(3));
        QCOMPARE(current(), QString("c.txt"));
    }

    // While another Brumo runs, restores or purges, the held files stay where they are.
    void anotherRunKeepsTheHeldFilesInPlace() {
        test::TempTree dir;
        const fs::path held = dir / "c" / HoldingFolder::Name / "a.txt";
        test::TreeBuilder::MakeFile(held, 1);
        test::DriveMap drives{{'C', dir / "c"}};
        WidgetPlacement::SetSettingsFile((dir / "brumo.INI").string());
        test::ScriptedPrompter prompter;
        const std::string lockPath = (dir / "brumo.LOG.TXT.lock").string();
        bool taken = false;
        OsError error;
        std::unique_ptr<FileLock> other = FileLock::TryTake(lockPath, taken, error);
        QVERIFY(other);
        THeldForm form;
        form.SetRunLockPath(lockPath);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* tree = form.findChild<QTreeWidget*>("tvHeld");
        for (const char* button : {"btnRestore", "btnDelete"}) {
            Click(tree, "a.txt");
            QTRY_VERIFY(Button(form, button)->isEnabled());
            QTest::mouseClick(Button(form, button), Qt::LeftButton);
            QVERIFY(prompter.asked.back().text.contains("in progress in another Brumo"));
            QVERIFY(fs::exists(held));
        }
        other.reset();
        Click(tree, "a.txt");
        QTest::mouseClick(Button(form, "btnRestore"), Qt::LeftButton);
        QCOMPARE(prompter.asked.back().text, QString("Restored 1 file."));
        QVERIFY(fs::exists(dir / "c" / "a.txt"));
    }

    void restoresAndDeletesFromThePopupMenu() {
        test::TempTree dir;
        const fs::path c = dir / "c";
        test::TreeBuilder::MakeFile(c / HoldingFolder::Name / "docs" / "a.txt", 10);
        test::TreeBuilder::MakeFile(c / HoldingFolder::Name / "docs" / "b.txt", 3000);
        test::TreeBuilder::MakeFile(c / HoldingFolder::Name / "keep" / "c.txt", 20);
        test::TreeBuilder::MakeFile(c / HoldingFolder::Name / "docs" / "d.txt", 40);
        test::TreeBuilder::MakeFile(c / "keep" / "c.txt", 1);
        test::DriveMap drives{{'C', c}};
        const ProgramFiles files =
            ProgramFiles::Derive((dir / "Brumo.exe").string(), true, (dir / "data").string());
        WidgetPlacement::SetSettingsFile(files.Settings);
        const std::vector<TJunkFileObj> types{TJunkFileObj("Temp", true, 0, "", "*.tmp", "", 0)};
        QVERIFY(TypeStore().Save(files.TypeStore, types).saved);
        test::RecycleBinSwitch recycleBin;
        RecycleSettingsCheck recycle(recycleBin);
        test::ScriptedPrompter prompter;

        MainWindowSetup setup;
        setup.files = files;
        setup.recycle = &recycle;
        setup.version = VersionInfo::OfThisBuild();
        int shown = 0;
        setup.runDialog = [&](QDialog& dialog) {
            auto* held = qobject_cast<THeldForm*>(&dialog);
            if (held) {
                ++shown;
                Drive(*held, prompter, c);
            }
            return int(QDialog::Accepted);
        };
        THDForm form(std::move(setup));
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));

        auto* list = form.findChild<QListWidget*>("lvJunk");
        QTRY_COMPARE(list->currentRow(), 0);
        const QPoint at = list->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, at, list->mapToGlobal(at));
        QApplication::sendEvent(list, &menuKey);
        auto* menu = form.findChild<QMenu*>("pmMain");
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QTest::keyClick(menu, Qt::Key_Up); // the last item, with its hint
        QTRY_COMPARE(form.findChild<QLabel*>("StatusPanel1")->text(),
                     QString("Restore or delete the files in the holding folders"));
        QTest::keyClick(menu, Qt::Key_F);
        QTRY_COMPARE(shown, 1);

        // Its placement is kept.
        std::ifstream settings(files.Settings);
        std::stringstream text;
        text << settings.rdbuf();
        QVERIFY(text.str().find("HeldForm") != std::string::npos);
    }
};

} // namespace brumo

QTEST_MAIN(brumo::HeldFormTest)
#include "held_form_test.moc"
