// The type wizard's pages: how a new type starts, Back, Next and Finish, the folder and pattern
// lists with their commands, the summary, the hints and help.

#include "type_wiz_fixture.h"

#include "modal_driver.h"
#include "recycle_bin_switch.h"
#include "runs/recycle_settings_check.h"
#include "support/tree_builder.h"
#include "ui/name_form.h"
#include "ui/new_pick_form.h"
#include "ui/spec_form.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QHelpEvent>
#include <QImage>
#include <QListWidget>
#include <QRadioButton>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolTip>
#include <QTreeWidget>

namespace brumo {

using test::TypeOf;

class TypeWizPagesTest : public QObject, test::TypeWizFixture {
    Q_OBJECT

private slots:
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

    void createdForANewItem() {
        Load(TJunkFileObj());
        QCOMPARE(wiz_->windowTitle(), QString("Junk file type wizard"));
        QCOMPARE(wiz_->Page(), 0);
        QCOMPARE(QApplication::focusWidget(), Edit("ebName"));
        QVERIFY(Get<QCheckBox>("cbEnabled")->isChecked());
        QVERIFY(Get<QRadioButton>("rbRecycle")->isChecked());
        QVERIFY(Get<QRadioButton>("rbDate")->isChecked());
        QVERIFY(Button("btnNext")->isDefault());
        Expect({false, false, false});
        auto* dirs = Get<QTreeWidget>("lvDirs");
        QCOMPARE(dirs->topLevelItemCount(), 1);
        QCOMPARE(dirs->topLevelItem(0)->text(0), QString("Local drives (C:)"));
        QCOMPARE(dirs->topLevelItem(0)->text(1), QString());
        QVERIFY(dirs->topLevelItem(0)->icon(0).isNull());
        QVERIFY(!Get<QAction>("adirClear")->isEnabled());
        QCOMPARE(Combo("cbDateType")->count(), 5);
        QCOMPARE(Combo("cbDateType")->itemText(1), QString("before"));
        for (const char* name : {"cbDateType", "cbAgeDat1", "cbSizeType", "cbSizeUnits"}) {
            QCOMPARE(Combo(name)->currentIndex(), -1);
            QVERIFY(!Combo(name)->isEnabled());
        }
        for (const char* name : {"dpDateDat1", "dpDateDat2"}) {
            auto* picker = Get<QDateEdit>(name);
            QCOMPARE(picker->date(), QDate(2026, 12, 7));
            QCOMPARE(picker->text(), QString("12/07/2026"));
            QVERIFY(!picker->isEnabled());
        }
        QVERIFY(!Label("lblDateAnd")->isEnabled());
        QVERIFY(!Edit("ebSizeDat2")->isEnabled());
    }

    void nextAndFinishAcrossThePages() {
        Load(TJunkFileObj());
        QTest::keyClicks(Edit("ebName"), "Temp");
        Expect({false, true, false});
        Next();
        Expect({true, true, false});
        Next();
        QCOMPARE(wiz_->Page(), 2);
        Expect({true, false, false});

        test::ModalDriver driver;
        driver.On<TSpecForm>([](TSpecForm* form) {
            QTest::keyClicks(form->findChild<QLineEdit*>("ebSpec"), "*.tmp");
            QTest::mouseClick(form->findChild<QPushButton*>("btnOK"), Qt::LeftButton);
        });
        Get<QAction>("aDelAdd")->trigger();
        QCOMPARE(Get<QListWidget>("lbDels")->count(), 1);
        Expect({true, true, true});
        Next();
        Expect({true, true, true});
        Next();
        QCOMPARE(wiz_->Page(), 4);
        Expect({true, true, true});
        GoTo(0);
        Expect({false, true, true});
        Edit("ebName")->clear();
        Expect({false, false, false});
    }

    void clearThenCancelledChangeKeepsAllDrives() {
        Load(TypeOf("Two", {"*.tmp"}, {{"C:\\A", FolderOnly}, {"C:\\B", SubfoldersOnly}}));
        GoTo(1);
        auto* dirs = Get<QTreeWidget>("lvDirs");
        QCOMPARE(dirs->topLevelItemCount(), 2);
        QCOMPARE(dirs->topLevelItem(0)->text(1), QString("Folder only"));
        QCOMPARE(dirs->topLevelItem(1)->text(1), QString("Subfolders only"));
        QVERIFY(!dirs->topLevelItem(0)->icon(0).isNull());
        QVERIFY(Button("btndirClear")->isEnabled());
        QTest::mouseClick(Button("btndirClear"), Qt::LeftButton);
        QCOMPARE(dirs->topLevelItemCount(), 1);
        QCOMPARE(dirs->topLevelItem(0)->text(0), QString("Local drives (C:)"));
        QVERIFY(!Button("btndirClear")->isEnabled());

        std::vector<FolderEntry> given{{"x", 0}};
        test::ModalDriver driver;
        driver.On<TNewPickForm>([&given](TNewPickForm* picker) {
            picker->GetFolders(given);
            picker->reject();
        });
        QTest::mouseClick(Button("btndirChange"), Qt::LeftButton);
        QCOMPARE(driver.Answered(), 1);
        QCOMPARE(dirs->topLevelItemCount(), 1);
        QCOMPARE(dirs->topLevelItem(0)->text(0), QString("Local drives (C:)"));
        QTest::mouseClick(Button("btnFinish"), Qt::LeftButton);
        QCOMPARE(wiz_->result(), int(QDialog::Accepted));
        QVERIFY(wiz_->BuildType().Folders.empty());
    }

    void changeTakesThePickersFolders() {
        test::TreeBuilder::MakeDir(*c_ / "Temp");
        Load(TypeOf("One", {"*.tmp"}, {{"C:\\Temp", FolderAndSubfolders}}));
        GoTo(1);
        test::ModalDriver driver;
        driver.On<TNewPickForm>([](TNewPickForm* picker) { picker->accept(); });
        QTest::mouseClick(Button("btndirChange"), Qt::LeftButton);
        auto* dirs = Get<QTreeWidget>("lvDirs");
        QCOMPARE(dirs->topLevelItemCount(), 1);
        QVERIFY(dirs->topLevelItem(0)->text(0).toUpper().startsWith("C:\\TEMP"));
        QCOMPARE(dirs->topLevelItem(0)->text(1), QString("Folder and subfolders"));
    }

    void deepFoldersThatShareTheirStartStillDiffer() {
        QString start = "C:\\";
        for (int i = 0; i < 30; ++i)
            start += "folder\\";
        const QString deep24 = start + "level_24\\", deep25 = start + "level_25\\";
        // The first row is the current one, drawn apart from the others.
        Load(TypeOf("Deep", {"*.tmp"},
                    {{"C:\\", FolderOnly},
                     {deep24.toStdString(), FolderOnly},
                     {deep25.toStdString(), FolderOnly}}));
        wiz_->resize(506, 296);
        GoTo(1);
        auto* dirs = Get<QTreeWidget>("lvDirs");
        auto cell = [dirs](int row) { return dirs->visualRect(dirs->model()->index(row, 0)); };
        QVERIFY(cell(1).width() < dirs->fontMetrics().horizontalAdvance(deep24));
        // Drawn, the two rows differ where their paths do.
        const QImage drawn = dirs->viewport()->grab().toImage();
        QVERIFY(drawn.copy(cell(1)) != drawn.copy(cell(2)));
        QHelpEvent hover(QEvent::ToolTip, cell(2).center(),
                         dirs->viewport()->mapToGlobal(cell(2).center()));
        QApplication::sendEvent(dirs->viewport(), &hover);
        QTRY_COMPARE(QToolTip::text(), deep25);
    }

    void summaryThenRenameFinishesWithTheNewName() {
        Load(TypeOf("Old name", {"*.bak"}));
        GoTo(4);
        QVERIFY(Button("btnNext")->isDefault());
        const QString summary = Get<QTextEdit>("reProps")->toPlainText();
        QVERIFY2(summary.startsWith("Type: Old name (enabled)"), qPrintable(summary));
        QVERIFY(summary.contains("Search Local drives (C:)"));
        GoTo(0);
        Edit("ebName")->setText("New name");
        QTest::mouseClick(Button("btnFinish"), Qt::LeftButton);
        QCOMPARE(wiz_->result(), int(QDialog::Accepted));
        QCOMPARE(wiz_->BuildType().Name, std::string("New name"));
    }

    void unusableRecycleBinLocksTheEnableBox() {
        test::RecycleBinSwitch settings;
        settings.unusable = true;
        RecycleSettingsCheck check(settings);
        const bool unusable = check.CheckRecycleSettings();
        QVERIFY(unusable);
        Load(TypeOf("Trash me", {"*.tmp"}), unusable);
        QVERIFY(Get<QRadioButton>("rbRecycle")->isChecked());
        QVERIFY(!Get<QRadioButton>("rbRecycle")->isEnabled());
        QVERIFY(!Get<QCheckBox>("cbEnabled")->isEnabled());
        Get<QRadioButton>("rbDelete")->click();
        QVERIFY(Get<QCheckBox>("cbEnabled")->isEnabled());
        QVERIFY(Button("btnFinish")->isEnabled());

        Make();
        TJunkFileObj held = TypeOf("Held", {"*.tmp"});
        held.Method = MethodHoldingFolder;
        Load(held, true);
        QVERIFY(Get<QCheckBox>("cbEnabled")->isEnabled());
    }

    void specificationListCommands() {
        Load(TypeOf("Lists", {"*.a", "*.b", "*.c"}));
        GoTo(2);
        auto* list = Get<QListWidget>("lbDels");
        QVERIFY(!Button("btnDelEdit")->isEnabled());
        QVERIFY(Button("btnDelClr")->isEnabled());
        list->setCurrentRow(2);
        QVERIFY(Button("btnDelRem")->isEnabled());
        QTest::mouseClick(Button("btnDelRem"), Qt::LeftButton);
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->currentRow(), 1); // the last one, now
        list->setCurrentRow(0);
        QTest::mouseClick(Button("btnDelRem"), Qt::LeftButton);
        QCOMPARE(list->item(0)->text(), QString("*.b"));
        QVERIFY(list->item(0)->isSelected());

        test::ModalDriver driver;
        QString loaded;
        QList<QFont> fonts; // the editors read as the wizard does
        driver.On<TSpecForm>([&](TSpecForm* form) {
            fonts << form->font();
            auto* edit = form->findChild<QLineEdit*>("ebSpec");
            loaded = edit->text();
            edit->setText("~*.*");
            form->accept();
        });
        QTest::mouseClick(Button("btnDelEdit"), Qt::LeftButton);
        QCOMPARE(loaded, QString("*.b"));
        QCOMPARE(list->item(0)->text(), QString("~*.*"));

        GoTo(3);
        driver.On<TNameForm>([&fonts](TNameForm* form) {
            fonts << form->font();
            form->SetEntry("C:\\Data\\keep.txt");
            form->accept();
        });
        QTest::mouseClick(Button("btnPAdd"), Qt::LeftButton);
        QCOMPARE(fonts, QList<QFont>({wiz_->font(), wiz_->font()}));
        QCOMPARE(Get<QListWidget>("lbProts")->item(0)->text(), QString("C:\\Data\\keep.txt"));

        GoTo(2);
        QTest::mouseClick(Button("btnDelClr"), Qt::LeftButton);
        QCOMPARE(list->count(), 0);
        QVERIFY(!Button("btnDelClr")->isEnabled());
        Expect({true, false, false});
    }

    void listPagesTabFromTheListToItsButtonsThenOn() {
        TJunkFileObj type = TypeOf("Tabs", {"*.a"});
        type.Protects = {"*.p"};
        Load(type);
        auto tabsFrom = [](QListWidget* list, int count) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(0)).center());
            QStringList order{QApplication::focusWidget()->objectName()};
            for (int i = 0; i < count; ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                order << QApplication::focusWidget()->objectName();
            }
            return order;
        };
        GoTo(2);
        QCOMPARE(tabsFrom(Get<QListWidget>("lbDels"), 5),
                 QStringList(
                     {"lbDels", "btnDelAdd", "btnDelEdit", "btnDelRem", "btnDelClr", "ckRstDate"}));
        GoTo(3);
        QCOMPARE(tabsFrom(Get<QListWidget>("lbProts"), 4),
                 QStringList({"lbProts", "btnPAdd", "btnPEdit", "btnPRem", "btnPClear"}));
    }

    void statusBarShowsHintsAndDisabledHints() {
        Load(TJunkFileObj());
        auto* status = Get<QStatusBar>("StatusBar1");
        QTest::mouseMove(Edit("ebName"));
        QTRY_COMPARE(status->currentMessage(), QString("Enter a descriptive name"));
        QTest::mouseMove(Button("btnNext"));
        QTRY_COMPARE(status->currentMessage(), QString("Proceed to the next step (disabled)"));
        QTest::keyClicks(Edit("ebName"), "Named"); // Next comes on under the mouse
        QTRY_COMPARE(status->currentMessage(), QString("Proceed to the next step"));
        QTest::mouseMove(Button("btnHelp"));
        QTRY_COMPARE(status->currentMessage(), QString("Activate the Help system"));
    }

    void helpOpensThePagesTopic() {
        Load(TypeOf("Help", {"*.x"}));
        QTest::mouseClick(Button("btnHelp"), Qt::LeftButton);
        GoTo(2);
        QTest::mouseClick(Button("btnHelp"), Qt::LeftButton);
        QCOMPARE(helpAsked_, (std::vector<int>{3, 5}));
    }
};

} // namespace brumo

QTEST_MAIN(brumo::TypeWizPagesTest)
#include "type_wiz_pages_test.moc"
