#include "ui/new_pick_form.h"

#include "support/drive_map.h"
#include "support/entry_queries.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"
#include "ui/legend_form.h"
#include "ui/widget_placement.h"
#include "widget_lookup.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>

#include <memory>
#include <optional>

namespace brumo {

using Entries = std::vector<FolderEntry>;

class NewPickFormTest : public QObject {
    Q_OBJECT

private:
    std::optional<test::TempTree> c_, d_, settings_;
    std::optional<test::DriveMap> drives_;
    std::unique_ptr<TNewPickForm> form_;

    template <typename T> T* Get(const char* name) { return test::Child<T>(form_.get(), name); }
    QTreeWidget* Tree() { return Get<QTreeWidget>("tvDirSel"); }
    QAction* Action(const char* name) { return Get<QAction>(name); }
    QPushButton* Button(const char* name) { return Get<QPushButton>(name); }

    // The item at a path below the root, "" being the root itself.
    QTreeWidgetItem* Item(const QString& path) {
        QTreeWidgetItem* item = test::TreeItemAt(Tree(), path);
        if (!item)
            qFatal("no item %s", qPrintable(path));
        return item;
    }
    QStringList ChildTexts(QTreeWidgetItem* item) {
        QStringList texts;
        for (int i = 0; i < item->childCount(); ++i)
            texts << item->child(i)->text(0);
        return texts;
    }
    void Select(const QString& path) { Tree()->setCurrentItem(Item(path)); }
    Entries Folders() {
        Entries folders;
        form_->GetFolders(folders);
        return folders;
    }
    void ShowForm() {
        form_->show();
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    }
    void ClickStateIcon(const QString& path) {
        const QRect box = form_->StateIconRect(Item(path));
        QVERIFY(!box.isEmpty());
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, box.center());
    }

private slots:
    void init() {
        c_.emplace();
        d_.emplace();
        settings_.emplace();
        // Holding folders are never searched, so never offered (Empty stays a leaf).
        for (const char* dir : {"Data/A/A1", "Data/B", "Empty/hdval$$$.$$$", "Temp/T1", ".cache/x",
                                "HDVal$$$.$$$/Temp"})
            test::TreeBuilder::MakeDir(*c_ / dir);
        test::TreeBuilder::MakeDir(*d_ / "Docs");
        drives_.emplace(std::initializer_list<std::pair<char, std::filesystem::path>>{
            {'C', c_->Root()}, {'D', d_->Root()}});
        WidgetPlacement::SetSettingsFile((*settings_ / "brumo.INI").string());
        form_ = std::make_unique<TNewPickForm>();
    }

    void cleanup() {
        form_.reset();
        drives_.reset();
        c_.reset();
        d_.reset();
        settings_.reset();
    }

    void initialTreeAcceptsEveryDrive() {
        QCOMPARE(form_->windowTitle(), QString("Brumo - Choose folders to search"));
        QVERIFY(form_->minimumWidth() >= 320);
        QCOMPARE(form_->minimumHeight(), 240);
        QTreeWidgetItem* root = Item("");
        QCOMPARE(root->text(0), QString("Local Drives"));
        QVERIFY(root->isExpanded());
        QCOMPARE(ChildTexts(root), QStringList({"C:", "D:"}));
        QCOMPARE(Get<QLabel>("pnlFullPath")->text(), QString(" ")); // the root's empty path
        QVERIFY(Button("btnOK")->isDefault());
        QVERIFY(Button("btnOK")->isEnabled());
        QCOMPARE(Button("btnOK")->toolTip(), QString("Close this form and accept changes"));

        ShowForm();
        QCOMPARE(QApplication::focusWidget(), Tree());
        // At its smallest the tree keeps at least the room of the buttons.
        form_->resize(form_->minimumSize());
        QTRY_VERIFY(Tree()->width() >= Button("btnListed")->width());
        QTest::mouseClick(Button("btnOK"), Qt::LeftButton);
        QCOMPARE(form_->result(), int(QDialog::Accepted));
        QVERIFY(!form_->isVisible());
        QCOMPARE(Folders(), (Entries{{"Local drives (C:,D:)", FolderAndSubfolders}}));
    }

    void commandsFollowTheSelection() {
        struct Expected {
            bool folder, checked, all, no, listed;
        };
        auto check = [this](const Expected& e) {
            QCOMPARE(Action("aFolder")->isEnabled(), e.folder);
            QCOMPARE(Action("aFolder")->isChecked(), e.checked);
            QCOMPARE(Action("aAllSubs")->isEnabled(), e.all);
            QCOMPARE(Button("btnInclude")->isEnabled(), e.all);
            QCOMPARE(Action("aNoSubs")->isEnabled(), e.no);
            QCOMPARE(Button("btnExclude")->isEnabled(), e.no);
            QCOMPARE(Action("aExistSubs")->isEnabled(), e.listed);
            QCOMPARE(Button("btnListed")->isEnabled(), e.listed);
        };
        // The root is current from the start, so that the keys work before any click.
        check({false, false, true, true, true});
        ShowForm();
        QTest::keyClick(Tree(), Qt::Key_End);
        QCOMPARE(Tree()->currentItem(), Item("D:"));
        QTest::keyClick(Tree(), Qt::Key_Space);
        QCOMPARE(Folders(), (Entries{{"C:\\", FolderAndSubfolders}, {"D:\\", SubfoldersOnly}}));
        QTest::keyClick(Tree(), Qt::Key_Home);
        check({false, false, true, true, true});
        Select("C:");
        check({true, true, true, true, true});
        QCOMPARE(Get<QLabel>("pnlFullPath")->text(), QString(" C:\\"));
        Item("C:")->setExpanded(true);
        Select("C:\\Empty");
        check({true, true, false, false, true});
        QCOMPARE(Get<QLabel>("pnlFullPath")->text(), QString(" C:\\Empty\\"));
        Tree()->clearSelection();
        check({false, false, false, false, false});
        QCOMPARE(Get<QLabel>("pnlFullPath")->text(), QString());
    }

    void spaceKeyStateIconAndAltFToggleTheTick() {
        ShowForm();
        Select("C:");
        QTest::keyClick(Tree(), Qt::Key_Space);
        QVERIFY(!Action("aFolder")->isChecked());
        QCOMPARE(Folders(), (Entries{{"C:\\", SubfoldersOnly}, {"D:\\", FolderAndSubfolders}}));

        // A press on the box toggles the node under the pointer and selects it.
        ClickStateIcon("D:");
        QCOMPARE(Tree()->currentItem(), Item("D:"));
        QCOMPARE(Folders(), (Entries{{"C:\\", SubfoldersOnly}, {"D:\\", SubfoldersOnly}}));
        // A press on the caption only selects.
        Select("C:");
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {},
                          Tree()->visualItemRect(Item("D:")).center() + QPoint(20, 0));
        QCOMPARE(Tree()->currentItem(), Item("D:"));
        QCOMPARE(Folders(), (Entries{{"C:\\", SubfoldersOnly}, {"D:\\", SubfoldersOnly}}));

        QTest::keyClick(form_.get(), Qt::Key_F, Qt::AltModifier);
        QVERIFY(Action("aFolder")->isChecked());
        QCOMPARE(Folders(), (Entries{{"C:\\", SubfoldersOnly}, {"D:\\", FolderAndSubfolders}}));

        // A double click on the box toggles twice and does not expand. It goes to the window
        // as a user's would, whose second press arrives as the double click alone.
        QTest::mouseDClick(
            form_->windowHandle(), Qt::LeftButton, {},
            Tree()->viewport()->mapTo(form_.get(), form_->StateIconRect(Item("D:")).center()));
        QVERIFY(!Item("D:")->isExpanded());
        QCOMPARE(Folders(), (Entries{{"C:\\", SubfoldersOnly}, {"D:\\", FolderAndSubfolders}}));

        // The root has no box.
        QVERIFY(form_->StateIconRect(Item("")).isEmpty());
    }

    void viewStaysPutUnderADoubleClickOnATickBox() {
        test::TreeBuilder::MakeDir(*c_ / "Data/A/A1/A2/A3/A4/A5/Old");
        form_->resize(form_->minimumSize());
        ShowForm();
        QTest::keyClick(Tree(), Qt::Key_Down);
        for (int level = 0; level < 8; ++level) {
            QTest::keyClick(Tree(), Qt::Key_Right);
            QTest::keyClick(Tree(), Qt::Key_Down);
        }
        QCOMPARE(ChildTexts(Item("C:")), QStringList({"Data", "Empty", "Temp"}));
        QCOMPARE(Tree()->currentItem()->text(0), QString("Old"));
        QScrollBar* bar = Tree()->horizontalScrollBar();
        QVERIFY(bar->value() > 0); // the deep row's head is kept in view
        // Rows at other depths whose boxes are in view are selected and toggled twice where
        // they stand.
        QStringList inView;
        for (QString path = "C:\\Data\\A\\A1\\A2\\A3\\A4\\A5"; path.count('\\') > 1;
             path.truncate(path.lastIndexOf('\\')))
            if (Tree()->viewport()->rect().contains(form_->StateIconRect(Item(path))))
                inView << path;
        QVERIFY(inView.size() >= 2);
        for (const QString& path : inView) {
            const int before = bar->value();
            QTest::mouseDClick(
                form_->windowHandle(), Qt::LeftButton, {},
                Tree()->viewport()->mapTo(form_.get(), form_->StateIconRect(Item(path)).center()));
            QCOMPARE(Tree()->currentItem(), Item(path));
            QCOMPARE(bar->value(), before);
            QVERIFY(Action("aFolder")->isChecked());
        }
        // A row whose head lies outside the view is brought back into it.
        Tree()->setCurrentItem(Item(""));
        QCOMPARE(bar->value(), 0);
    }

    void rightPressSelectsForThePopupMenu() {
        ShowForm();
        Select("C:");
        QMenu* menu = Get<QMenu>("pmDirSel");
        const QPoint onD = Tree()->visualItemRect(Item("D:")).center();
        QTest::mouseClick(Tree()->viewport(), Qt::RightButton, {}, onD);
        QCOMPARE(Tree()->currentItem(), Item("D:"));
        QContextMenuEvent request(QContextMenuEvent::Mouse, onD,
                                  Tree()->viewport()->mapToGlobal(onD));
        QApplication::sendEvent(Tree()->viewport(), &request);
        QVERIFY(menu->isVisible());
        QVERIFY(Action("aFolder")->isEnabled());
        menu->actions().first()->trigger(); // Select Folder, on D:
        menu->hide();
        QCOMPARE(Folders(), (Entries{{"C:\\", FolderAndSubfolders}, {"D:\\", SubfoldersOnly}}));
    }

    void noSubfoldersOnTheRootDisablesOk() {
        ShowForm();
        Select("");
        QTest::mouseClick(Button("btnExclude"), Qt::LeftButton);
        QVERIFY(!Button("btnOK")->isEnabled());
        QTest::keyClick(Tree(), Qt::Key_Return);
        QVERIFY(form_->isVisible());
        QCOMPARE(Folders(), Entries{});

        Select("D:");
        QTest::keyClick(Tree(), Qt::Key_Space);
        QVERIFY(Button("btnOK")->isEnabled());
        QTest::keyClick(Tree(), Qt::Key_Return);
        QCOMPARE(form_->result(), int(QDialog::Accepted));
        QCOMPARE(Folders(), (Entries{{"D:\\", FolderOnly}}));
    }

    void listedSubfoldersFromThePopupMenu() {
        Item("C:")->setExpanded(true);
        QCOMPARE(ChildTexts(Item("C:")), QStringList({"Data", "Empty", "Temp"}));
        Select("C:\\Data");
        Action("aExistSubs")->trigger();
        QVERIFY(Item("C:\\Data")->isExpanded());
        QCOMPARE(ChildTexts(Item("C:\\Data")), QStringList({"A", "B"}));
        const Entries folders = Folders();
        QCOMPARE(folders.front(), (FolderEntry{"C:\\", FolderOnly}));
        QCOMPARE(folders[2], (FolderEntry{"C:\\Data\\A\\", FolderAndSubfolders}));
    }

    void expandAllKeyIsSwallowedAndTheRootStaysOpen() {
        ShowForm();
        Select("C:");
        QTest::keyClick(Tree(), Qt::Key_Asterisk, Qt::KeypadModifier);
        QVERIFY(!Item("C:")->isExpanded());
        QCOMPARE(Item("C:")->childCount(), 0);
        QTest::keyClick(Tree(), Qt::Key_Plus);
        QVERIFY(Item("C:")->isExpanded());
        QCOMPARE(ChildTexts(Item("C:")), QStringList({"Data", "Empty", "Temp"}));
        QCOMPARE(Item("C:\\Data")->childCount(), 0);

        Select("");
        Tree()->collapseItem(Item(""));
        QVERIFY(Item("")->isExpanded());
    }

    void deepFoldersAndLongNamesStayReadable() {
        QString deep = "Deep";
        for (int level = 1; level <= 20; ++level)
            deep += QString("\\Level %1").arg(level, 2, 10, QChar('0'));
        test::TreeBuilder::MakeDir(*c_ / deep.replace('\\', '/').toStdString());
        const QString longName = "Zz " + QString("very long folder name ").repeated(6);
        test::TreeBuilder::MakeDir(*c_ / longName.toStdString());
        ShowForm();
        // C:, its first child Data, then Deep; then down level by level.
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down})
            QTest::keyClick(Tree(), key);
        for (int level = 1; level <= 20; ++level) {
            QTest::keyClick(Tree(), Qt::Key_Right);
            QTest::keyClick(Tree(), Qt::Key_Down);
            QTreeWidgetItem* current = Tree()->currentItem();
            QVERIFY(current && current->isSelected());
            QCOMPARE(current->text(0), QString("Level %1").arg(level, 2, 10, QChar('0')));
            QVERIFY(Action("aNoSubs")->isEnabled() || level == 20);
            // Its caption is in view, however deep.
            const QRect row = Tree()->visualItemRect(current);
            QVERIFY(row.left() >= 0 && row.left() + 40 <= Tree()->viewport()->width());
        }
        QVERIFY(Tree()->horizontalScrollBar()->isVisible());
        // The path panel shows the end of the path, and the whole of it as its tooltip.
        auto* panel = Get<QLabel>("pnlFullPath");
        QVERIFY(panel->text().startsWith(QChar(0x2026)));
        QVERIFY(panel->text().endsWith("Level 20\\"));
        QCOMPARE(panel->toolTip(), "C:\\" + deep.replace('/', '\\') + "\\");
        QTest::keyClick(Tree(), Qt::Key_Down);
        QCOMPARE(Tree()->currentItem(), Item("C:\\Empty"));

        // A caption the view cuts shows whole under the mouse.
        QTreeWidgetItem* cut = Item("C:\\" + longName);
        Tree()->scrollToItem(cut);
        const QRect row = Tree()->visualItemRect(cut);
        QTest::mouseMove(Tree()->viewport(),
                         QPoint(std::max(row.left(), 0) + 30, row.center().y()));
        QTRY_COMPARE(QToolTip::text(), longName);
    }

    void entriesFollowAFolderRenamedInCase() {
        test::TreeBuilder::MakeDir(*c_ / "ZEBRA");
        if (std::filesystem::exists(*c_ / "Zebra"))
            QSKIP("the temporary folder folds case");
        const Entries picked{{"C:\\Zebra\\", FolderAndSubfolders}};
        form_->SetFolders(picked);
        ShowForm();
        QTest::keyClick(Tree(), Qt::Key_Return);
        QCOMPARE(form_->result(), int(QDialog::Accepted));
        QCOMPARE(Folders(), (Entries{{"C:\\ZEBRA\\", FolderAndSubfolders}}));

        // Where both spellings exist, the entry's own is taken.
        test::TreeBuilder::MakeDir(*c_ / "Zebra");
        form_ = std::make_unique<TNewPickForm>();
        form_->SetFolders(picked);
        ShowForm();
        QTest::keyClick(Tree(), Qt::Key_Return);
        QCOMPARE(Folders(), picked);
    }

    void expandingAsksNothingAboutTheSubfoldersEntries() {
        if (!test::TreeBuilder::LinksSupported())
            QSKIP("no links here");
        test::TreeBuilder::MakeDir(*c_ / "Many/Child/Sub");
        for (int i = 0; i < 30; ++i)
            test::TreeBuilder::MakeLink(*c_ / "Many/Child" / ("link" + std::to_string(i)),
                                        *c_ / "Data");
        ShowForm();
        Select("C:");
        QTest::keyClick(Tree(), Qt::Key_Right);
        Select("C:\\Many");
        const uint64_t before = test::EntryQueries();
        QTest::keyClick(Tree(), Qt::Key_Right);
        QCOMPARE(ChildTexts(Item("C:\\Many")), QStringList({"Child"}));
        QCOMPARE(Item("C:\\Many\\Child")->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
        // Whether Child has a subfolder is seen from its first one, links passed over unasked.
        QCOMPARE(test::EntryQueries() - before, uint64_t(0));
    }

    void loadedEntriesAreShownAndCancelKeepsThem() {
        const Entries entry{{"C:\\Temp\\", SubfoldersOnly}};
        form_->SetFolders(entry);
        QVERIFY(Item("C:")->isExpanded());
        QVERIFY(Button("btnOK")->isEnabled());
        Select("C:\\Temp");
        QVERIFY(!Action("aFolder")->isChecked());
        ShowForm();
        QTest::mouseClick(Button("btnCancel"), Qt::LeftButton);
        QCOMPARE(form_->result(), int(QDialog::Rejected));
        QCOMPARE(Folders(), entry);

        form_->SetFolders({{"C:\\Gone\\", FolderAndSubfolders}});
        QVERIFY(!Button("btnOK")->isEnabled());
    }

    void legendShowsAndHidesAtTheSamePlace() {
        ShowForm();
        QPointer<TLegendForm> legend = form_->Legend();
        QVERIFY(legend && !legend->isVisible());
        QVERIFY(legend->windowFlags() & Qt::WindowStaysOnTopHint);
        QSignalSpy shown(legend.data(), &TLegendForm::visibilityChanged);
        form_->move(0, 0); // leaves room on the right
        QTest::mouseClick(Button("btnLegend"), Qt::LeftButton);
        QVERIFY(legend->isVisible());
        // Without a stored place it shows beside the picker, not over its tree.
        QVERIFY(!legend->frameGeometry().intersects(
            QRect(Tree()->mapToGlobal(QPoint(0, 0)), Tree()->size())));
        QVERIFY(Action("aLegend")->isChecked());
        QVERIFY(Button("btnLegend")->isChecked());
        legend->move(140, 120);
        const QPoint place = legend->pos();

        QTest::mouseClick(legend->findChild<QPushButton*>("btnOK"), Qt::LeftButton);
        QVERIFY(!legend->isVisible());
        QVERIFY(!Action("aLegend")->isChecked());
        QVERIFY(!Button("btnLegend")->isChecked());
        Action("aLegend")->trigger();
        QVERIFY(legend->isVisible());
        QCOMPARE(legend->pos(), place);
        QCOMPARE(shown.count(), 3);

        // Closing the picker closes its legend; destroying it destroys the legend.
        form_->reject();
        QVERIFY(!legend->isVisible());
        form_.reset();
        QVERIFY(legend.isNull());
    }

    void placementIsKeptInTheSettingsFile() {
        // First run: centred in the work area at the designed size.
        const QRect work = form_->screen()->availableGeometry();
        QVERIFY(qAbs(form_->geometry().center().x() - work.center().x()) <= 1);
        QVERIFY(qAbs(form_->geometry().center().y() - work.center().y()) <= 1);

        form_->setGeometry(30, 40, 500, 420);
        const QSize legendSize = form_->Legend()->size();
        form_->Legend()->setGeometry(QRect(QPoint(140, 120), legendSize));
        form_.reset();
        QFile file(QString::fromStdString((*settings_ / "brumo.INI").string()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromLatin1(file.readAll());
        QVERIFY(text.contains("[NewPickForm Settings]"));
        QVERIFY(text.contains("Right=530"));
        const QString legendSection = text.mid(text.indexOf("[LegendForm Settings]"));
        QVERIFY(legendSection.contains("Left=140"));
        QVERIFY(!legendSection.contains("Right="));

        form_ = std::make_unique<TNewPickForm>();
        QCOMPARE(form_->geometry(), QRect(30, 40, 500, 420));
        QCOMPARE(form_->Legend()->geometry(), QRect(QPoint(140, 120), legendSize));
    }

    void aFailedSaveIsShownNamingTheFile() {
        const std::string unwritable = (*settings_ / "plain-file" / "brumo.INI").string();
        test::TreeBuilder::MakeFile(*settings_ / "plain-file");
        WidgetPlacement::SetSettingsFile(unwritable);
        QStringList shown;
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&shown] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown << box->text();
                box->accept();
            }
        });
        closer.start(10);
        form_.reset(); // the picker and its legend each report their failed save
        QCOMPARE(shown.size(), 2);
        for (const QString& text : shown)
            QVERIFY2(text.contains(QString::fromStdString(unwritable)), qPrintable(text));
    }
};

} // namespace brumo

QTEST_MAIN(brumo::NewPickFormTest)
#include "new_pick_form_test.moc"
