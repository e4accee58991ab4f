#include "ui/about_form.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

namespace brumo {

class AboutFormTest : public QObject {
    Q_OBJECT

private:
    static VersionInfo Version(const char* text, bool beta, const char* legal = "") {
        VersionInfo v;
        v.VersionText = text;
        v.IsBeta = beta;
        v.LegalText = legal;
        return v;
    }
    static QLabel* Label(QWidget& form, const char* name) { return form.findChild<QLabel*>(name); }
    static bool IsRed(QLabel* label) {
        return label->palette().color(QPalette::WindowText) == QColor(Qt::red);
    }

private slots:
    void versionLineForEachCombination_data() {
        QTest::addColumn<QString>("versionText");
        QTest::addColumn<bool>("beta");
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("red");
        QTest::newRow("beta with version")
            << "2.0.0.488" << true << "Brumo - beta version 2.0.0.488" << true;
        QTest::newRow("release with version")
            << "2.0.0.488" << false << "Brumo - version 2.0.0.488" << false;
        QTest::newRow("beta without version") << "" << true << "Brumo beta" << true;
        QTest::newRow("release without version") << "" << false << "Brumo" << false;
    }

    void versionLineForEachCombination() {
        QFETCH(QString, versionText);
        QFETCH(bool, beta);
        QFETCH(QString, line);
        QFETCH(bool, red);
        TAboutForm form(Version(versionText.toUtf8().constData(), beta), {});
        QCOMPARE(form.windowTitle(), QString("About Brumo"));
        QCOMPARE(Label(form, "lblVersion")->text(), line);
        QCOMPARE(IsRed(Label(form, "lblVersion")), red);
        QVERIFY(!Label(form, "imgIcon")->pixmap().isNull());
    }

    void secondLineFallsBackWithoutLegalText() {
        TAboutForm withLegal(Version("1", false, "Copyright (c) someone"), {});
        QCOMPARE(Label(withLegal, "lblLegal")->text(), QString("Copyright (c) someone"));
        TAboutForm without(Version("1", false), {});
        QCOMPARE(Label(without, "lblLegal")->text(), QString(VersionInfo::FallbackSecondLine));
    }

    void linkOpensHelpAndOkCloses() {
        int opened = 0;
        TAboutForm form(Version("2.0.0.488", true), [&] { ++opened; });
        QLabel* link = Label(form, "lblLink");
        QVERIFY(link->text().contains(TAboutForm::LinkText));
        emit link->linkActivated("help");
        QCOMPARE(opened, 1);

        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        // Fixed size, centred in the work area.
        QCOMPARE(form.minimumSize(), form.maximumSize());
        const QRect area = form.screen()->availableGeometry();
        QVERIFY(qAbs(form.frameGeometry().center().x() - area.center().x()) <= 1);
        QVERIFY(qAbs(form.frameGeometry().center().y() - area.center().y()) <= 1);
        form.findChild<QPushButton*>("btnAboutOK")->click();
        QCOMPARE(form.result(), int(QDialog::Accepted));
    }
};

} // namespace brumo

QTEST_MAIN(brumo::AboutFormTest)
#include "about_form_test.moc"
