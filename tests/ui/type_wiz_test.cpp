#include "ui/type_wiz.h"

#include "app/program_files.h"
#include "modal_driver.h"
#include "platform/clock.h"
#include "platform/named_event.h"
#include "runs/recycle_settings_check.h"
#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"
#include "ui/comparison_combo.h"
#include "ui/help_topics.h"
#include "ui/name_form.h"
#include "ui/new_pick_form.h"
#include "ui/spec_form.h"
#include "ui/widget_placement.h"
#include "ui/wizard_counts_page.h"
#include "widget_lookup.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>

#include <memory>
#include <optional>

namespace brumo {

using test::TreeBuilder;

namespace {
// One Recycle Bin setting for all drives, at zero percent.
class ZeroPercentRecycleBin : public RecycleBinSettings {
public:
    std::optional<std::vector<uint8_t>> PurgeInfo() const override {
        std::vector<uint8_t> value(72, 0);
        value[0] = 72; // size of the value
        value[4] = 1;  // one setting for all drives; its percent (offset 62) stays 0
        return value;
    }
    bool HasDriveSetting(char) const override { return false; }
};

TJunkFileObj TypeOf(std::string name, std::vector<std::string> specs,
                    std::vector<FolderEntry> folders = {}) {
    TJunkFileObj t;
    t.Name = std::move(name);
    t.Specs = std::move(specs);
    t.Folders = std::move(folders);
    return t;
}
} // namespace

class TypeWizTest : public QObject {
    Q_OBJECT

private:
    std::optional<test::TempTree> c_, program_;
    std::optional<test::DriveMap> drives_;
    std::unique_ptr<FixedClock> clock_;
    std::unique_ptr<TTypeWiz> wiz_;
    std::vector<int> helpAsked_;

    template <typename T> T* Get(const char* name) { return test::Child<T>(wiz_.get(), name); }
    QPushButton* Button(const char* name) { return Get<QPushButton>(name); }
    QLineEdit* Edit(const char* name) { return Get<QLineEdit>(name); }
    QComboBox* Combo(const char* name) { return Get<QComboBox>(name); }
    QLabel* Label(const char* name) { return Get<QLabel>(name); }
    WizardCountsPage* Counts() { return Get<WizardCountsPage>("tsCounts"); }

    ProgramFiles Files(const std::string& foundFolder) {
        ProgramFiles files =
            ProgramFiles::Derive((*program_ / "brumo.exe").string(), true, program_->Root());
        files.FoundFiles = foundFolder + "/brumo.$$$.TXT";
        return files;
    }
    void Make(std::optional<ProgramFiles> files = {}) {
        wiz_ = std::make_unique<TTypeWiz>(nullptr, files ? *files : Files(program_->Root()));
    }
    void Load(const TJunkFileObj& type, bool recycleUnusable = false) {
        wiz_->LoadFromType(type, recycleUnusable);
        wiz_->show();
        wiz_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(wiz_.get()));
    }
    void Next() {
        QVERIFY(Button("btnNext")->isEnabled());
        QTest::mouseClick(Button("btnNext"), Qt::LeftButton);
    }
    void GoTo(int page) {
        while (wiz_->Page() < page && !QTest::currentTestFailed())
            Next();
        while (wiz_->Page() > page && !QTest::currentTestFailed())
            QTest::mouseClick(Button("btnBack"), Qt::LeftButton);
    }
    void WaitForCount() { QTRY_VERIFY_WITH_TIMEOUT(!Counts()->Counting(), 20000); }
    void Choose(const char* combo, int index) { Combo(combo)->setCurrentIndex(index); }
    QString FoundList() {
        QFile file(QString::fromStdString(wiz_->FoundFilesPath()));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : "<none>";
    }
    struct Buttons {
        bool back, next, finish;
    };
    void Expect(const Buttons& b) {
        QCOMPARE(Button("btnBack")->isEnabled(), b.back);
        QCOMPARE(Button("btnNext")->isEnabled(), b.next);
        QCOMPARE(Button("btnFinish")->isEnabled(), b.finish);
    }

private slots:
    void init() {
        c_.emplace();
        program_.emplace();
        drives_.emplace(
            std::initializer_list<std::pair<char, std::filesystem::path>>{{'C', c_->Root()}});
        WidgetPlacement::SetSettingsFile((*program_ / "brumo.INI").string());
        clock_ = std::make_unique<FixedClock>(*DateTime::EncodeDate(2026, 12, 7) + 0.5);
        Clock::Install(clock_.get());
        helpAsked_.clear();
        HelpTopics::Install([this](int context) {
            helpAsked_.push_back(context);
            return true;
        });
        Make();
    }

    void cleanup() {
        wiz_.reset();
        HelpTopics::Install({});
        Clock::Install(nullptr);
        drives_.reset();
        c_.reset();
        program_.reset();
    }

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

    void dateBetweenNeedsTwoDifferentDates() {
        Load(TypeOf("Old", {"*.old"}));
        GoTo(2);
        Get<QCheckBox>("ckRstDate")->click();
        QVERIFY(Combo("cbDateType")->isEnabled());
        Expect({true, false, false});
        Choose("cbDateType", 3);
        QVERIFY(Get<QDateEdit>("dpDateDat2")->isEnabled());
        QVERIFY(Label("lblDateAnd")->isEnabled());
        Expect({true, false, false}); // both pickers still show today
        Get<QDateEdit>("dpDateDat2")->setDate(QDate(2026, 1, 1));
        Expect({true, true, true});
        Get<QCheckBox>("ckRstDate")->click();
        QVERIFY(!Get<QDateEdit>("dpDateDat2")->isEnabled());
        QVERIFY(!Combo("cbDateType")->isEnabled());
    }

    void switchingToAgeClearsTheComparison() {
        Load(TypeOf("Old", {"*.old"}));
        GoTo(2);
        Get<QCheckBox>("ckRstDate")->click();
        Choose("cbDateType", 1);
        Expect({true, true, true});
        Get<QRadioButton>("rbAge")->click();
        QCOMPARE(Combo("cbDateType")->currentIndex(), -1);
        QCOMPARE(Combo("cbDateType")->itemText(1), QString("older than"));
        QVERIFY(Combo("cbAgeDat1")->isVisibleTo(wiz_.get()));
        QVERIFY(!Get<QDateEdit>("dpDateDat1")->isVisibleTo(wiz_.get()));
        Expect({true, false, false});
        Choose("cbDateType", 3);
        Choose("cbAgeDat1", 2);
        Choose("cbAgeDat2", 2);
        Expect({true, false, false});
        Choose("cbAgeDat2", 3);
        Expect({true, true, true});
        Choose("cbDateType", 1); // one value: the second age is cleared
        QCOMPARE(Combo("cbAgeDat2")->currentIndex(), -1);
        QVERIFY(!Combo("cbAgeDat2")->isEnabled());
        Choose("cbDateType", 3);
        Choose("cbAgeDat1", 3); // "1 month" and "1 week" is valid; the type holds them in order
        Choose("cbAgeDat2", 2);
        QTest::mouseClick(Button("btnFinish"), Qt::LeftButton);
        const TJunkFileObj& t = wiz_->BuildType();
        QVERIFY(t.AgeRestrict && !t.DateRestrict);
        QCOMPARE(t.Age1, 2);
        QCOMPARE(t.Age2, 3);
    }

    void sizeEditsRefuseAndStripNonDigits() {
        Load(TypeOf("Big", {"*.big"}));
        GoTo(2);
        Get<QCheckBox>("ckRstSize")->click();
        Choose("cbSizeType", 2);
        Choose("cbSizeUnits", 0);
        QLineEdit* size1 = Edit("ebSizeDat1");
        QTest::keyClicks(size1, "12a3");
        QCOMPARE(size1->text(), QString("123"));
        Expect({true, true, true});
        size1->clear();
        size1->insert("1,024"); // as a paste arrives
        QCOMPARE(size1->text(), QString("1024"));
        QCOMPARE(size1->cursorPosition(), 4);
        size1->setText("2147483648");
        Expect({true, false, false});
        size1->setText("2147483647");
        Expect({true, true, true});

        Choose("cbSizeType", 3);
        QVERIFY(Edit("ebSizeDat2")->isEnabled());
        size1->setText("10");
        Expect({true, false, false});
        Edit("ebSizeDat2")->setText("10");
        Expect({true, false, false});
        Edit("ebSizeDat2")->setText("010");
        Expect({true, true, true});
        const TJunkFileObj& t = wiz_->BuildType();
        QCOMPARE(t.Size1, 10);
        QCOMPARE(t.Size2, 10);
        Choose("cbSizeType", 0); // one value: the second size is emptied
        QCOMPARE(Edit("ebSizeDat2")->text(), QString());
        QVERIFY(!Edit("ebSizeDat2")->isEnabled());
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
        TreeBuilder::MakeDir(*c_ / "Temp");
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

    void beforeDateRestrictionLoaded() {
        TJunkFileObj t = TypeOf("Dated", {"*.log"});
        t.DateRestrict = true;
        t.DateCompare = 1;
        t.Date1 = *DateTime::EncodeDate(2024, 3, 5);
        t.Date2 = *DateTime::EncodeDate(2025, 1, 2);
        Load(t);
        QVERIFY(Get<QCheckBox>("ckRstDate")->isChecked());
        QVERIFY(Get<QRadioButton>("rbDate")->isChecked());
        QCOMPARE(Combo("cbDateType")->currentText(), QString("before"));
        QCOMPARE(Get<QDateEdit>("dpDateDat1")->date(), QDate(2024, 3, 5));
        QCOMPARE(Get<QDateEdit>("dpDateDat2")->date(), QDate(2025, 1, 2));
        QVERIFY(Get<QDateEdit>("dpDateDat1")->isEnabled());
        QVERIFY(!Get<QDateEdit>("dpDateDat2")->isEnabled());
        Expect({false, true, true});
        const TJunkFileObj& built = wiz_->BuildType();
        QVERIFY(built.DateRestrict && !built.AgeRestrict);
        QCOMPARE(built.DateCompare, 1);
        QCOMPARE(built.Date1, t.Date1);
        QCOMPARE(built.Date2, t.Date2);
    }

    void everyRestrictionRoundTrips() {
        TJunkFileObj t = TypeOf("All", {"*.a", "*.b"}, {{"C:\\X", SubfoldersOnly}});
        t.Name = std::string(40, 'n'); // longer than can be typed, kept as it is
        t.Enabled = false;
        t.Method = MethodHoldingFolder;
        t.Protects = {"C:\\keep.a", "keep*.*"};
        t.AgeRestrict = true;
        t.AgeCompare = 4;
        t.Age1 = 1;
        t.Age2 = 5;
        t.SizeRestrict = true;
        t.SizeCompare = 3;
        t.Size1 = 100;
        t.Size2 = 500;
        t.SizeUnits = 2;
        t.Date1 = t.Date2 = *DateTime::EncodeDate(2026, 12, 7); // the pickers' day
        Load(t);
        QVERIFY(Get<QRadioButton>("rbBackup")->isChecked());
        QCOMPARE(Combo("cbDateType")->currentText(), QString("not between"));
        QCOMPARE(Edit("ebSizeDat2")->text(), QString("500"));
        TJunkFileObj expected = t;
        expected.DateCompare = t.AgeCompare; // one comparison list serves date and age
        QCOMPARE(wiz_->BuildType(), expected);
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
        ZeroPercentRecycleBin settings;
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

    void restrictionControlsLookAlike() {
        Load(TypeOf("Look", {"*.a"}));
        GoTo(2);
        auto redPixels = [](QWidget* w) {
            const QImage image = w->grab().toImage();
            int count = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    count += c.red() > 200 && c.green() < 80 && c.blue() < 80 ? 1 : 0;
                }
            return count;
        };
        // A disabled comparison list greys its pictogram.
        auto* size = Get<QCheckBox>("ckRstSize");
        QTest::mouseClick(size, Qt::LeftButton, {}, QPoint(8, size->height() / 2));
        QVERIFY(Combo("cbSizeType")->isEnabled());
        Choose("cbSizeType", 3);
        QVERIFY(redPixels(Combo("cbSizeType")) > 0);
        QTest::mouseClick(size, Qt::LeftButton, {}, QPoint(8, size->height() / 2));
        QVERIFY(!Combo("cbSizeType")->isEnabled());
        QCOMPARE(redPixels(Combo("cbSizeType")), 0);

        // The age lists drop down with the comparison lists' rows.
        auto* date = Get<QCheckBox>("ckRstDate");
        QTest::mouseClick(date, Qt::LeftButton, {}, QPoint(8, date->height() / 2));
        auto rowHeight = [](QComboBox* combo) {
            combo->setFocus();
            QTest::keyClick(combo, Qt::Key_F4);
            QAbstractItemView* popup = combo->view();
            [&] { QTRY_VERIFY(popup->isVisible()); }();
            const int height = popup->visualRect(popup->model()->index(0, 0)).height();
            QTest::keyClick(popup, Qt::Key_Escape);
            return height;
        };
        const int comparisonRow = rowHeight(Combo("cbDateType"));
        QTest::mouseClick(Get<QRadioButton>("rbAge"), Qt::LeftButton);
        QCOMPARE(rowHeight(Combo("cbAgeDat1")), comparisonRow);

        // The date leaves room before the picker's arrow.
        QTest::mouseClick(Get<QRadioButton>("rbDate"), Qt::LeftButton);
        auto* picker = Get<QDateEdit>("dpDateDat1");
        QStyleOptionComboBox option; // as the picker draws itself with a calendar
        option.initFrom(picker);
        option.editable = true;
        option.subControls = QStyle::SC_All;
        const QRect arrow = picker->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                            QStyle::SC_ComboBoxArrow, picker);
        auto* text = picker->findChild<QLineEdit*>();
        const int textEnd =
            text->geometry().left() + 2 + text->fontMetrics().horizontalAdvance(text->text());
        QVERIFY2(arrow.left() - textEnd >= 4, qPrintable(QString::number(arrow.left() - textEnd)));
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

    void countNothingMatched() {
        TreeBuilder::MakeFile(*c_ / "Sub/readme.txt", 10);
        Load(TypeOf("Nothing", {"*.tmp"}, {{"C:\\", FolderAndSubfolders}}));
        GoTo(5);
        QVERIFY(Button("btnFinish")->isDefault());
        QCOMPARE(Label("lblTypCount")->text(), QString("Counting files for \"Nothing\""));
        Expect({false, false, false});
        QVERIFY(!Button("btnCancel")->isEnabled());
        WaitForCount();
        QCOMPARE(Label("lblTypDirs")->text(), QString("2 folders were searched"));
        QCOMPARE(Label("lblTypDels")->text(),
                 QString("No files matched the junk file specifications"));
        QCOMPARE(Label("lblTypActual")->text(), QString());
        QVERIFY(!Button("btnView")->isEnabled());
        QVERIFY(!Button("btnStop")->isEnabled());
        Expect({true, false, true});
        QVERIFY(Button("btnCancel")->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
    }

    void longNameInTheCountsHeadingReadsInItsTooltip() {
        const std::string name(300, 'n');
        Load(TypeOf(name, {"*.tmp"}, {{"C:\\", FolderAndSubfolders}}));
        const int width = wiz_->width();
        GoTo(5);
        const QString heading = QString::fromStdString("Counting files for \"" + name + "\"");
        QTRY_COMPARE(Label("lblTypCount")->toolTip(), heading); // cut with an ellipsis
        QCOMPARE(wiz_->width(), width);
        WaitForCount();
    }

    void countOneEmptyFileThenViewAndCountAgain() {
        TreeBuilder::MakeFile(*c_ / "a.tmp", 0);
        Load(TypeOf("One", {"*.tmp"}, {{"C:\\", FolderOnly}}));
        GoTo(5);
        WaitForCount();
        QCOMPARE(Label("lblTypDirs")->text(), QString("1 folder was searched"));
        QCOMPARE(Label("lblTypActual")->text(), QString("1 file would be processed"));
        QCOMPARE(Label("lblTypSize")->text(), QString("This file does not occupy any disk space"));
        QCOMPARE(FoundList(), QString("C:\\a.tmp\r\n"));
        QVERIFY(Button("btnView")->isEnabled());

        test::ModalDriver driver;
        QString caption;
        int rows = -1;
        QFont font;
        driver.On<QDialog>([&](QDialog* form) {
            font = form->font();
            caption = form->windowTitle();
            rows = form->findChild<QListWidget*>("ListBox1")->count();
            form->accept();
        });
        QTest::mouseClick(Button("btnView"), Qt::LeftButton);
        QCOMPARE(caption, QString("Files for \"One\""));
        QCOMPARE(rows, 1);
        QCOMPARE(font, wiz_->font());

        // Back and Next count anew, from an empty list.
        std::filesystem::remove(*c_ / "a.tmp");
        QTest::mouseClick(Button("btnBack"), Qt::LeftButton);
        QVERIFY(Button("btnNext")->isDefault());
        Next();
        QCOMPARE(Label("lblTypSize")->text(), QString());
        WaitForCount();
        QCOMPARE(FoundList(), QString());
        QCOMPARE(Label("lblTypDels")->text(),
                 QString("No files matched the junk file specifications"));
    }

    void countHeldBackByRestrictionAndProtection() {
        TreeBuilder::MakeFile(*c_ / "zero.tmp", 0);
        TreeBuilder::MakeFile(*c_ / "keep1.tmp", 100);
        TreeBuilder::MakeFile(*c_ / "keep2.tmp", 200);
        TJunkFileObj t = TypeOf("Held", {"*.tmp"}, {{"C:\\", FolderOnly}});
        t.Protects = {"keep*.*"};
        t.SizeRestrict = true;
        t.SizeCompare = 2; // at least 1 byte
        t.Size1 = 1;
        t.SizeUnits = 0;
        Load(t);
        GoTo(5);
        WaitForCount();
        QCOMPARE(Label("lblTypDels")->text(),
                 QString("3 files matched the junk file specifications"));
        QCOMPARE(Label("lblTypRes")->text(),
                 QString("1 file did not meet the date or size restrictions"));
        QCOMPARE(Label("lblTypProts")->text(),
                 QString("2 files were protected by the protect file specifications\n"));
        QCOMPARE(Label("lblTypActual")->text(), QString("0 files would be processed"));
        QCOMPARE(Label("lblTypSize")->text(), QString());
        QVERIFY(!Button("btnView")->isEnabled());
    }

    void countStoppedAtOnce() {
        TreeBuilder::MakeFile(*c_ / "a.tmp", 5);
        Load(TypeOf("Stopped", {"*.tmp"}, {{"C:\\", FolderAndSubfolders}}));
        GoTo(4);
        // Signalled before the worker starts, so it stops at its first look.
        std::shared_ptr<NamedEvent> stop = NamedEvent::Create("Brumo Stop Event");
        stop->Set();
        Next();
        QTest::mouseClick(Button("btnStop"), Qt::LeftButton);
        QVERIFY(!Button("btnStop")->isEnabled());
        WaitForCount();
        QCOMPARE(Label("lblTypCount")->text(), QString("Operation stopped by user"));
        QCOMPARE(Label("lblTypDirs")->text(), QString());
        QCOMPARE(Label("lblTypDels")->text(), QString());
        QVERIFY(!Button("btnView")->isEnabled());
        Expect({true, false, true});
        QVERIFY(Button("btnCancel")->isEnabled());
        QVERIFY(!stop->IsSet()); // reset for the next count
    }

    void closingWhileCountingAwaitsTheWorker() {
        for (int i = 0; i < 50; ++i)
            TreeBuilder::MakeFile(
                *c_ / ("d" + std::to_string(i % 5)) / ("f" + std::to_string(i) + ".tmp"), 1);
        Load(TypeOf("Closing", {"*.tmp"}, {{"C:\\", FolderAndSubfolders}}));
        GoTo(5);
        QVERIFY(Counts()->Counting());
        wiz_->close();
        QVERIFY(!Counts()->Counting());
        QVERIFY(!wiz_->isVisible());
        QCOMPARE(wiz_->result(), int(QDialog::Rejected));

        Make();
        Load(TypeOf("Destroyed", {"*.tmp"}, {{"C:\\", FolderAndSubfolders}}));
        GoTo(5);
        const std::string found = wiz_->FoundFilesPath();
        wiz_.reset(); // waits for the worker, then deletes the list
        QVERIFY(!std::filesystem::exists(found));
    }

    void unwritableFoundListLeavesThePageUsable() {
        Make(Files((*program_ / "missing" / "deeper").string()));
        Load(TypeOf("Nowhere", {"*.tmp"}, {{"C:\\", FolderOnly}}));
        test::ModalDriver driver;
        QString message;
        driver.On<QMessageBox>([&message](QMessageBox* box) {
            message = box->text();
            box->accept();
        });
        GoTo(5);
        QVERIFY(driver.Answered() == 1);
        QVERIFY2(message.contains("brumo.$$$.TXT"), qPrintable(message));
        QVERIFY(!Counts()->Counting());
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(Button("btnBack")->isEnabled());
        QVERIFY(Button("btnCancel")->isEnabled());
        QVERIFY(!Button("btnStop")->isEnabled());
    }

    void comparisonPictograms() {
        const QRect rect(0, 0, 100, ComparisonCombo::ItemHeight);
        const int c = (0 + 100 - 4) / 2, f = 100 / 4, bottom = 18;
        auto draw = [&](int index) {
            QImage image(rect.size(), QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter p(&image);
            QPalette palette;
            palette.setColor(QPalette::Base, Qt::white);
            ComparisonCombo::DrawItem(p, rect, index, "", false, palette, QFont());
            return image;
        };
        auto red = [](const QImage& image, int x, int y) {
            return image.pixelColor(x, y) == QColor(Qt::red);
        };
        const QImage exactly = draw(0), less = draw(1), between = draw(3), outside = draw(4);
        QVERIFY(red(exactly, c + 1, bottom - 4)); // solid centre
        QVERIFY(!red(less, c + 1, bottom - 4));   // open centre
        QVERIFY(red(less, c, bottom - 5));
        auto thick = [&](const QImage& image, int x) {
            int rows = 0;
            for (int y = bottom - 5; y < bottom; ++y)
                rows += red(image, x, y) ? 1 : 0;
            return rows == 2;
        };
        QVERIFY(thick(less, 10));                            // to the left
        QVERIFY(!thick(exactly, 10) && !thick(exactly, 11)); // dotted
        QVERIFY(red(between, c - f + 1, bottom - 4));
        QVERIFY(!red(between, c + f + 1, bottom - 4));
        QVERIFY(!red(outside, c - f + 1, bottom - 4));
        QVERIFY(red(outside, c + f + 1, bottom - 4));
        QVERIFY(thick(outside, 95)); // to the right
    }
};

} // namespace brumo

QTEST_MAIN(brumo::TypeWizTest)
#include "type_wiz_test.moc"
