// Drives the folder picker with the X server's own keys and pointer (xdotool), on a screen with
// a window manager (with_window_manager.sh): events as a user's hand makes them, the double click
// assembled by the server and the toolkit rather than made up by the test.

#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "support/tree_builder.h"
#include "ui/new_pick_form.h"
#include "ui/widget_placement.h"
#include "widget_lookup.h"

#include <QAction>
#include <QMouseEvent>
#include <QProcess>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTest>
#include <QTreeWidget>

#include <optional>

namespace brumo {

// Counts the presses and releases that reach a widget.
class ClickCounter : public QObject {
public:
    int presses = 0, releases = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick)
            ++presses;
        else if (event->type() == QEvent::MouseButtonRelease)
            ++releases;
        return false;
    }
};

class PickerPointerTest : public QObject {
    Q_OBJECT

    std::optional<test::TempTree> c_, d_, settings_;
    std::optional<test::DriveMap> drives_;

    static bool Xdotool(const QStringList& args) { return QProcess::execute("xdotool", args) == 0; }

private slots:
    void init() {
        if (QGuiApplication::platformName() != "xcb")
            QSKIP("needs a window manager: run through with_window_manager.sh");
        if (QStandardPaths::findExecutable("xdotool").isEmpty())
            QSKIP("xdotool is not installed (scripts/setup.sh installs it)");
        c_.emplace();
        d_.emplace();
        settings_.emplace();
        for (const char* dir :
             {"Data/Alpha", "Data/Budget reports and quarterly statements of the regional offices",
              "Data/Zeta", "Temp", "Windows"})
            test::TreeBuilder::MakeDir(*c_ / dir);
        drives_.emplace(std::initializer_list<std::pair<char, std::filesystem::path>>{
            {'C', c_->Root()}, {'D', d_->Root()}});
        WidgetPlacement::SetSettingsFile((*settings_ / "brumo.INI").string());
    }

    void cleanup() {
        drives_.reset();
        c_.reset();
        d_.reset();
        settings_.reset();
    }

    // Keyed down to a long folder under C:\Data, then a double click on another row's tick box:
    // the view stays where it is, and the box is toggled twice, ticked again.
    void doubleClickOnATickBoxAfterKeyingToALongFolder() {
        TNewPickForm form;
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        // A first opening centres the designed frame, whatever the window manager reports on
        // its way to framing the window.
        const QRect work = form.screen()->availableGeometry();
        const QSize designed(460, 380);
        QTRY_COMPARE_WITH_TIMEOUT(form.frameGeometry(),
                                  QRect(work.topLeft() + QPoint(work.width() - designed.width(),
                                                                work.height() - designed.height()) /
                                                             2,
                                        designed),
                                  10000);
        auto* tree = test::Child<QTreeWidget>(&form, "tvDirSel");
        // One key at a time, each taken in before the next, as a hand types them.
        const std::pair<const char*, const char*> keys[] = {{"Down", "C:"},
                                                            {"Right", "C:"},
                                                            {"Down", "Data"},
                                                            {"Right", "Data"},
                                                            {"Down", "Alpha"}};
        for (const auto& [key, current] : keys) {
            QVERIFY(Xdotool({"key", key}));
            QTRY_COMPARE_WITH_TIMEOUT(tree->currentItem()->text(0), QString(current), 10000);
            if (QString(key) == "Right")
                QTRY_VERIFY_WITH_TIMEOUT(tree->currentItem()->isExpanded(), 10000);
        }
        QTRY_VERIFY_WITH_TIMEOUT(tree->horizontalScrollBar()->maximum() > 0, 10000);
        QVERIFY(Xdotool({"key", "Down"}));
        QTRY_COMPARE_WITH_TIMEOUT(tree->currentItem()->text(0).left(6), QString("Budget"), 10000);

        QTreeWidgetItem* alpha = test::TreeItemAt(tree, "C:\\Data\\Alpha");
        const int scrolled = tree->horizontalScrollBar()->value();
        const QPoint box = tree->viewport()->mapToGlobal(form.StateIconRect(alpha).center());
        ClickCounter counter;
        tree->viewport()->installEventFilter(&counter);
        QVERIFY(Xdotool({"mousemove", "--sync", QString::number(box.x()), QString::number(box.y()),
                         "click", "--repeat", "2", "--delay", "80", "1"}));
        QTRY_COMPARE_WITH_TIMEOUT(counter.releases, 2, 10000);
        QCOMPARE(counter.presses, 2);
        QCOMPARE(tree->currentItem(), alpha);
        QCOMPARE(tree->horizontalScrollBar()->value(), scrolled);
        QVERIFY(test::Child<QAction>(&form, "aFolder")->isChecked());
    }
};

} // namespace brumo

QTEST_MAIN(brumo::PickerPointerTest)
#include "picker_pointer_test.moc"
