#include "ui/found_form.h"

#include "support/temp_tree.h"
#include "ui/widget_placement.h"

#include <QListWidget>
#include <QScrollBar>
#include <QTest>

#include <fstream>
#include <memory>
#include <optional>

namespace brumo {

class FoundFormTest : public QObject {
    Q_OBJECT

private:
    std::optional<test::TempTree> dir_;
    std::unique_ptr<TFoundForm> form_;

    QListWidget* List() { return form_->findChild<QListWidget*>("ListBox1"); }
    std::string Write(const std::string& bytes) {
        const std::string path = (*dir_ / "brumo.$$$.TXT").string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

private slots:
    void init() {
        dir_.emplace();
        WidgetPlacement::SetSettingsFile((*dir_ / "brumo.INI").string());
        form_ = std::make_unique<TFoundForm>();
    }
    void cleanup() {
        form_.reset();
        dir_.reset();
    }

    void listsTheLinesAndScrollsToTheLongest() {
        const std::string longPath = "C:\\" + std::string(600, 'x') + "\\deep.tmp";
        form_->LoadFoundList(Write("C:\\a.tmp\r\n" + longPath + "\r\nC:\\b.tmp\r\n"), "Temp files");
        QCOMPARE(form_->windowTitle(), QString("Files for \"Temp files\""));
        QCOMPARE(List()->count(), 3);
        QCOMPARE(List()->item(1)->text(), QString::fromStdString(longPath));
        const int width = List()->fontMetrics().horizontalAdvance(QString::fromStdString(longPath));
        QCOMPARE(form_->HorizontalExtent(), width);

        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        QScrollBar* bar = List()->horizontalScrollBar();
        QTRY_VERIFY(bar->isVisible());
        QVERIFY(bar->maximum() + List()->viewport()->width() >= width);
    }

    void emptyFileShowsAnEmptyList() {
        form_->LoadFoundList(Write(""), "None");
        QCOMPARE(List()->count(), 0);
        QCOMPARE(form_->HorizontalExtent(), 0);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        QVERIFY(!List()->horizontalScrollBar()->isVisible());
    }

    void doneClosesWithOkAndThePositionIsKept() {
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        QTest::keyClick(form_.get(), Qt::Key_Escape);
        QCOMPARE(form_->result(), int(QDialog::Accepted));
        form_->move(60, 70);
        const QPoint where = form_->pos();
        form_.reset();
        form_ = std::make_unique<TFoundForm>();
        QCOMPARE(form_->pos(), where);
    }
};

} // namespace brumo

QTEST_MAIN(brumo::FoundFormTest)
#include "found_form_test.moc"
