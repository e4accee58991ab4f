#include "ui/name_form.h"

#include "app/settings_file.h"
#include "modal_driver.h"
#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"
#include "ui/widget_placement.h"

#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>
#include <optional>

namespace brumo {

class NameFormTest : public QObject {
    Q_OBJECT

private:
    std::optional<test::TempTree> c_, settings_;
    std::optional<test::DriveMap> drives_;
    std::unique_ptr<TNameForm> form_;

    template <typename T> T* Get(const char* name) { return form_->findChild<T*>(name); }
    QLineEdit* Spec() { return Get<QLineEdit>("ebSpec"); }
    QLineEdit* Name() { return Get<QLineEdit>("ebName"); }
    QString Verdict() { return Get<QLabel>("lblStat")->text(); }
    bool Ok() { return Get<QPushButton>("btnOK")->isEnabled(); }
    bool NameMode() { return Get<QRadioButton>("rbName")->isChecked(); }
    std::string SettingsPath() { return (*settings_ / "brumo.INI").string(); }
    void ShowForm() {
        form_->show();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    }

private slots:
    void init() {
        c_.emplace();
        settings_.emplace();
        drives_.emplace(
            std::initializer_list<std::pair<char, std::filesystem::path>>{{'C', c_->Root()}});
        WidgetPlacement::SetSettingsFile(SettingsPath());
        form_ = std::make_unique<TNameForm>();
    }
    void cleanup() {
        form_.reset();
        drives_.reset();
        c_.reset();
        settings_.reset();
    }

    void opensInSpecificationMode() {
        QCOMPARE(form_->windowTitle(), QString("Brumo - files to protect"));
        QVERIFY(!NameMode());
        QCOMPARE(Verdict(), QString("Must enter filename"));
        QVERIFY(!Ok());
        ShowForm();
        QCOMPARE(QApplication::focusWidget(), Spec());
        QTest::keyClicks(Spec(), "*.bak");
        QCOMPARE(Verdict(), QString());
        QVERIFY(Ok());
        QCOMPARE(form_->GetEntry(), std::string("*.bak"));
    }

    void fullNames() {
        test::TreeBuilder::MakeFile(*c_ / "here.txt", 1);
        test::TreeBuilder::MakeDir(*c_ / "folder");
        form_->SetEntry("x:");
        QVERIFY(NameMode());
        Name()->setText("x.txt");
        QCOMPARE(Verdict(), QString("Enter full path"));
        QVERIFY(!Ok());
        Name()->setText("C:\\nothere.txt");
        QCOMPARE(Verdict(), QString("File does not exist"));
        QVERIFY(Ok());
        Name()->setText("C:\\here.txt");
        QCOMPARE(Verdict(), QString("File exists"));
        QTest::keyClick(Name(), Qt::Key_Space); // Windows drops trailing blanks
        QCOMPARE(Verdict(), QString("File exists"));
        Name()->setText("C:\\folder");
        QCOMPARE(Verdict(), QString("File does not exist"));
        Name()->clear();
        QTest::keyClicks(Name(), "C:\\a*b?.txt");
        QCOMPARE(Name()->text(), QString("C:\\ab.txt"));
    }

    void loadingChoosesTheMode() {
        form_->SetEntry("C:\\Data\\keep.txt");
        QVERIFY(NameMode());
        QCOMPARE(Name()->text(), QString("C:\\Data\\keep.txt"));
        QVERIFY(Ok());
        ShowForm();
        QCOMPARE(QApplication::focusWidget(), Name());
        QVERIFY(NameMode());
        QCOMPARE(form_->GetEntry(), std::string("C:\\Data\\keep.txt"));

        form_ = std::make_unique<TNameForm>();
        form_->SetEntry("*.bak");
        QVERIFY(!NameMode());
        QCOMPARE(Spec()->text(), QString("*.bak"));
    }

    void enteringTheOtherBoxSwitchesMode() {
        form_->SetEntry("C:\\keep.txt");
        Spec()->setText("abc");
        QVERIFY(NameMode());
        QVERIFY(Ok()); // still judged by the full name
        ShowForm();
        QTest::mouseClick(Spec(), Qt::LeftButton);
        QVERIFY(!NameMode());
        QCOMPARE(Verdict(), QString("Must enter extension (or period)"));
        QVERIFY(!Ok());
        QCOMPARE(form_->GetEntry(), std::string("abc"));
        QTest::mouseClick(Name(), Qt::LeftButton);
        QVERIFY(NameMode());
        QVERIFY(Ok());
    }

    void pastedLineBreaksAndTabsAreDropped() {
        ShowForm();
        QApplication::clipboard()->setText("a\tb.t\r\nxt");
        QTest::keyClick(Spec(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Spec()->text(), QString("ab.txt"));
        QTest::mouseClick(Name(), Qt::LeftButton);
        QApplication::clipboard()->setText("C:\\Data\\\nkeep.txt\t");
        QTest::keyClick(Name(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(form_->GetEntry(), std::string("C:\\Data\\keep.txt"));
    }

    void browseFromTheKeyboardKeepsTheChosenFile() {
        test::TreeBuilder::MakeFile(*c_ / "Data/keep.txt", 3);
        ShowForm();
        QTest::keyClicks(Spec(), "*.bak");
        test::ModalDriver driver;
        driver.On<QFileDialog>([&](QFileDialog* dialog) {
            dialog->findChild<QLineEdit*>("fileNameEdit")
                ->setText(QString::fromStdString((*c_ / "Data/keep.txt").string()));
            static_cast<QDialog*>(dialog)->accept();
        });
        QTest::keyClick(form_.get(), Qt::Key_B, Qt::AltModifier);
        QTRY_COMPARE(driver.Answered(), 1);
        QVERIFY(NameMode());
        // The focus that comes back with the window leaves the chosen mode alone.
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        QVERIFY(NameMode());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(form_->result(), int(QDialog::Accepted));
        QCOMPARE(form_->GetEntry(), std::string("C:\\Data\\keep.txt"));
    }

    void browsePicksAHostFileAsAWindowsPath() {
        test::TreeBuilder::MakeFile(*c_ / "Data/keep.txt", 3);
        auto driver = std::make_unique<test::ModalDriver>();
        QString title;
        driver->On<QFileDialog>([&](QFileDialog* dialog) {
            title = dialog->windowTitle();
            // selectFile leaves the name box alone while it has the focus, which the dialog
            // may or may not have been given by now: type the name in as a user would.
            auto* nameBox = dialog->findChild<QLineEdit*>("fileNameEdit");
            QVERIFY(nameBox);
            nameBox->setText(QString::fromStdString((*c_ / "Data/keep.txt").string()));
            static_cast<QDialog*>(dialog)->accept(); // through the public base
        });
        QTest::mouseClick(Get<QPushButton>("btnBrowse"), Qt::LeftButton);
        QCOMPARE(title, QString("Choose file to protect"));
        QVERIFY(NameMode());
        QCOMPARE(Name()->text(), QString("C:\\Data\\keep.txt"));
        QCOMPARE(Verdict(), QString("File exists"));
        QVERIFY(Ok());
        driver.reset();

        form_->SetEntry("*.x");
        test::ModalDriver cancel;
        cancel.On<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
        QTest::mouseClick(Get<QPushButton>("btnBrowse"), Qt::LeftButton);
        QCOMPARE(cancel.Answered(), 1);
        QVERIFY(!NameMode());
    }

    void accessKeysChooseTheModeAndGoToItsBox() {
        test::TreeBuilder::MakeFile(*c_ / "Data/keep.txt", 1);
        ShowForm();
        QTest::keyClick(form_.get(), Qt::Key_N, Qt::AltModifier);
        QVERIFY(NameMode());
        QCOMPARE(QApplication::focusWidget(), Name());
        // Windows ignores trailing periods and blanks in a name.
        QTest::keyClicks(QApplication::focusWidget(), "C:\\Data\\keep.txt.");
        QCOMPARE(Verdict(), QString("File exists"));
        QTest::keyClicks(QApplication::focusWidget(), " .");
        QCOMPARE(Verdict(), QString("File exists"));
        QVERIFY(Ok());
        QTest::keyClick(form_.get(), Qt::Key_S, Qt::AltModifier);
        QVERIFY(!NameMode());
        QCOMPARE(QApplication::focusWidget(), Spec());
        QTest::keyClicks(QApplication::focusWidget(), "*.tmp");
        QCOMPARE(form_->GetEntry(), std::string("*.tmp"));
    }

    void browseStartsOnADriveAndTellsWhyAFileElsewhereIsRefused() {
        const std::string outside = (*settings_ / "outside.txt").string();
        test::TreeBuilder::MakeFile(*settings_ / "outside.txt", 1);
        ShowForm();
        test::ModalDriver driver;
        QString start;
        driver.On<QFileDialog>([&](QFileDialog* dialog) {
            start = QFileInfo(dialog->directory().absolutePath()).canonicalFilePath();
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(outside));
            static_cast<QDialog*>(dialog)->accept();
        });
        QTest::mouseClick(Get<QPushButton>("btnBrowse"), Qt::LeftButton);
        QCOMPARE(start, QFileInfo(QString::fromStdString(c_->Root().string())).canonicalFilePath());
        QVERIFY(NameMode());
        QCOMPARE(Name()->text(), QString::fromStdString(outside));
        QCOMPARE(Verdict(), QString("Enter full path: the chosen file is on no drive"));
        QVERIFY(!Ok());
    }

    void initialFolderIsReadAndWrittenBack() {
        // The tests run outside every drive: the first drive stands in for their folder.
        const std::string programFolder = form_->InitialDir();
        QCOMPARE(programFolder, std::string("C:\\"));
        form_.reset();
        SettingsFile settings(SettingsPath());
        QCOMPARE(settings.ReadString("NameForm Settings", "InitialDir", ""), programFolder);

        QVERIFY(!settings.WriteString("NameForm Settings", "InitialDir", "C:\\Data"));
        form_ = std::make_unique<TNameForm>();
        QCOMPARE(form_->InitialDir(), std::string("C:\\Data\\"));
        form_.reset();
        QCOMPARE(settings.ReadString("NameForm Settings", "InitialDir", ""),
                 std::string("C:\\Data\\"));
    }
};

} // namespace brumo

QTEST_MAIN(brumo::NameFormTest)
#include "name_form_test.moc"
