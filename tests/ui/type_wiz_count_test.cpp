// The type wizard's last page, which counts what the type would process: its results, the list
// of found files, Stop, and closing or failing while it counts.

#include "type_wiz_fixture.h"

#include "modal_driver.h"
#include "platform/named_event.h"
#include "support/tree_builder.h"

#include <QListWidget>
#include <QMessageBox>

#include <filesystem>

namespace brumo {

using test::TreeBuilder;
using test::TypeOf;

class TypeWizCountTest : public QObject, test::TypeWizFixture {
    Q_OBJECT

private slots:
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

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
};

} // namespace brumo

QTEST_MAIN(brumo::TypeWizCountTest)
#include "type_wiz_count_test.moc"
