// Runs on a screen with a window manager (with_window_manager.sh), where windows get frames.

#include "app/settings_file.h"
#include "hd_form_fixture.h"
#include "ui/default_form.h"
#include "ui/found_form.h"
#include "ui/name_form.h"
#include "ui/new_pick_form.h"
#include "ui/prop_form.h"
#include "ui/spec_form.h"
#include "ui/type_wiz.h"

#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QWindow>

#include <fstream>

namespace brumo {

class WindowFramesTest : public QObject, public test::HDFormFixture {
    Q_OBJECT

    struct Case {
        const char* name; // the window's section, without " Settings"
        const char* stored;
        bool sizeable;  // its stored size is restored
        bool fixedSize; // no maximise button
        std::function<std::unique_ptr<QWidget>()> make;
    };

    std::vector<Case> Cases() {
        return {
            {"HDForm", "Left=0\r\nTop=0\r\nRight=40000\r\nBottom=40000", true, false,
             [this] { return Open(); }},
            {"TypeWiz", "Left=-500\r\nTop=-500\r\nRight=100\r\nBottom=100", true, false,
             [this] { return std::make_unique<TTypeWiz>(nullptr, files_); }},
            {"NewPickForm", "Left=30000\r\nTop=30000\r\nRight=30400\r\nBottom=30300", true, false,
             [] { return std::make_unique<TNewPickForm>(); }},
            {"DefaultForm", "Left=0\r\nTop=0\r\nRight=40000\r\nBottom=40000", true, false,
             [this] { return std::make_unique<TDefaultForm>(*recycle_); }},
            {"PropForm", "Left=-3000\r\nTop=-3000\r\nRight=-2500\r\nBottom=-2500", true, false,
             [] { return std::make_unique<TPropForm>(); }},
            {"SpecForm", "Left=0\r\nTop=-3000", false, true,
             [] { return std::make_unique<TSpecForm>(); }},
            {"NameForm", "Left=40000\r\nTop=40000", false, true,
             [] { return std::make_unique<TNameForm>(); }},
            {"FoundForm", "Left=-20\r\nTop=0", false, false,
             [] { return std::make_unique<TFoundForm>(); }},
        };
    }

    void Store(const Case& c) {
        std::ofstream(files_.Settings, std::ios::binary) << "[" << c.name << " Settings]\r\n"
                                                         << c.stored << "\r\n";
    }

    // Shown, framed by the window manager and settled inside the work area.
    static void Show(QWidget& window, QRect& frame) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect work = window.screen()->availableGeometry();
        QTRY_VERIFY_WITH_TIMEOUT(!window.windowHandle()->frameMargins().isNull(), 10000);
        QTRY_VERIFY2_WITH_TIMEOUT(work.contains(window.frameGeometry()),
                                  qPrintable(QString("%1,%2 %3x%4")
                                                 .arg(window.frameGeometry().x())
                                                 .arg(window.frameGeometry().y())
                                                 .arg(window.frameGeometry().width())
                                                 .arg(window.frameGeometry().height())),
                                  10000);
        frame = window.frameGeometry();
    }

    static QStringList AllowedActions(QWidget& window) {
        QProcess xprop;
        xprop.start("xprop", {"-id", QString::number(window.winId()), "_NET_WM_ALLOWED_ACTIONS"});
        xprop.waitForFinished();
        return QString::fromLatin1(xprop.readAllStandardOutput())
            .split(QRegularExpression("[ ,=\n]+"));
    }

private slots:
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

    // Whatever the settings file holds, the whole window, title bar included, opens inside the
    // work area, and what it shows is what is saved: it reopens at the same place.
    void framesStayInsideTheWorkArea() {
        if (QGuiApplication::platformName() != "xcb")
            QSKIP("needs a window manager: run through with_window_manager.sh");
        for (const Case& c : Cases()) {
            Store(c);
            std::unique_ptr<QWidget> window = c.make();
            QRect shown;
            Show(*window, shown);
            if (QTest::currentTestFailed())
                QFAIL(c.name);
            if (c.fixedSize) {
                const QStringList actions = AllowedActions(*window);
                QVERIFY2(actions.contains("_NET_WM_ACTION_CLOSE"), qPrintable(actions.join(' ')));
                QVERIFY2(!actions.contains("_NET_WM_ACTION_MAXIMIZE_HORZ"), c.name);
            }
            window.reset();
            const SettingsFile settings(files_.Settings);
            const std::string section = std::string(c.name) + " Settings";
            QCOMPARE(settings.ReadInteger(section, "Left", -1), shown.left());
            QCOMPARE(settings.ReadInteger(section, "Top", -1), shown.top());
            if (c.sizeable) {
                QCOMPARE(settings.ReadInteger(section, "Right", -1), shown.right() + 1);
                QCOMPARE(settings.ReadInteger(section, "Bottom", -1), shown.bottom() + 1);
            }
            window = c.make();
            QRect again;
            Show(*window, again);
            QCOMPARE(again, shown);
        }
    }
};

} // namespace brumo

QTEST_MAIN(brumo::WindowFramesTest)
#include "window_frames_test.moc"
