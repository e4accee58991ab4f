#include "ui/spec_form.h"

#include "support/temp_tree.h"
#include "ui/widget_placement.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <optional>

namespace brumo {

class SpecFormTest : public QObject {
    Q_OBJECT

private:
    std::optional<test::TempTree> settings_;
    std::unique_ptr<TSpecForm> form_;

    QLineEdit* Edit() { return form_->findChild<QLineEdit*>("ebSpec"); }
    QString Verdict() { return form_->findChild<QLabel*>("lblStat")->text(); }
    bool Ok() { return form_->findChild<QPushButton*>("btnOK")->isEnabled(); }

private slots:
    void init() {
        settings_.emplace();
        WidgetPlacement::SetSettingsFile((*settings_ / "brumo.INI").string());
        form_ = std::make_unique<TSpecForm>();
    }
    void cleanup() {
        form_.reset();
        settings_.reset();
    }

    void opensEmpty() {
        QCOMPARE(form_->windowTitle(), QString("Brumo - files to process"));
        QCOMPARE(Verdict(), QString());
        QVERIFY(!Ok());
        QVERIFY(form_->findChild<QPushButton*>("btnOK")->isDefault());
    }

    void verdictsAndOk_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<bool>("ok");
        QTest::newRow("empty") << ""
                               << "Must enter filename" << false;
        QTest::newRow("no period") << "abc"
                                   << "Must enter extension (or period)" << false;
        QTest::newRow("no name") << ".txt"
                                 << "Must enter filename" << false;
        QTest::newRow("no extension") << "abc."
                                      << "Note: Only matches files with no extension" << true;
        QTest::newRow("long") << "index.html"
                              << "Note: Extension longer than 3 letters" << true;
        QTest::newRow("all") << "*.*"
                             << "Warning: Matches all files!" << true;
        QTest::newRow("both") << "*.t*"
                              << "Warning: * in both name and extension" << true;
        QTest::newRow("exact") << "readme.txt"
                               << "Note: Matches exact filename only" << true;
        QTest::newRow("two periods") << "a.b.c"
                                     << "Note: Matches exact filename only" << true;
        QTest::newRow("question") << "a?c.txt"
                                  << "" << true;
        QTest::newRow("tmp") << "*.tmp"
                             << "" << true;
        QTest::newRow("leading periods") << "..txt"
                                         << "Note: Matches exact filename only" << false;
    }
    void verdictsAndOk() {
        QFETCH(QString, text);
        QFETCH(QString, verdict);
        QFETCH(bool, ok);
        QTest::keyClicks(Edit(), text);
        QCOMPARE(Verdict(), text.isEmpty() ? QString() : verdict);
        QCOMPARE(Ok(), ok);
        form_->SetSpec(text.toStdString()); // loading judges at once as well
        QCOMPARE(form_->GetSpec(), text.toStdString());
        QCOMPARE(Ok(), ok);
    }

    void refusedCharactersAreDroppedTypedOrPasted() {
        QTest::keyClicks(Edit(), "a:b|c\"d.t<x>t");
        QCOMPARE(Edit()->text(), QString("abcd.txt"));
        Edit()->clear();
        QApplication::clipboard()->setText("C:\\temp\\x.txt");
        Edit()->paste();
        QCOMPARE(Edit()->text(), QString("Ctempx.txt"));
        QCOMPARE(Edit()->cursorPosition(), 10);
        QCOMPARE(Verdict(), QString("Note: Matches exact filename only"));
        form_->SetSpec("x/y.tmp");
        QCOMPARE(form_->GetSpec(), std::string("xy.tmp"));
    }

    void positionIsKept() {
        form_->move(40, 50);
        const QPoint where = form_->pos();
        form_.reset();
        form_ = std::make_unique<TSpecForm>();
        QCOMPARE(form_->pos(), where);
    }
};

} // namespace brumo

QTEST_MAIN(brumo::SpecFormTest)
#include "spec_form_test.moc"
