// Starts the program itself, as a user would: a second start ends at once and leaves the
// first running; without a display the program makes a test run instead of opening a window.

#include "support/temp_tree.h"
#include "support/tree_builder.h"

#include <QDir>
#include <QProcess>
#include <QTest>

#include <filesystem>
#include <optional>

namespace brumo {

namespace fs = std::filesystem;

class ProgramStartTest : public QObject {
    Q_OBJECT

private:
    std::optional<test::TempTree> dir_;

    // A copy of the program in a folder of its own, so that its files (named after it) and
    // its single-instance name are the test's alone.
    fs::path Program() const { return *dir_ / "bin" / "brumo"; }

    QProcessEnvironment Environment(bool display) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
        if (display)
            env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("HOME", QString::fromStdString((*dir_ / "home").string()));
        env.insert("XDG_DATA_HOME", QString::fromStdString((*dir_ / "home" / "data").string()));
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString((*dir_ / "run").string()));
        env.insert("TMPDIR", QString::fromStdString((*dir_ / "tmp").string()));
        env.insert("BRUMO_DRIVES", QString::fromStdString("C=" + (*dir_ / "c").string()));
        return env;
    }

    void Start(QProcess& process, bool display) const {
        process.setProcessEnvironment(Environment(display));
        process.setProgram(QString::fromStdString(Program().string()));
        process.start();
        QVERIFY(process.waitForStarted(10000));
    }

    bool Claimed() const {
        const QDir run(QString::fromStdString((*dir_ / "run").string()));
        return !run.entryList({"brumo-*.lock"}, QDir::Files | QDir::Hidden).isEmpty();
    }

private slots:
    void init() {
        const fs::path built = fs::path(QT_TESTCASE_BUILDDIR) / ".." / "brumo";
        if (!fs::exists(built))
            QSKIP("the program is not built");
        dir_.emplace();
        for (const char* sub : {"bin", "home", "run", "tmp", "c/junk"})
            fs::create_directories(*dir_ / sub);
        fs::permissions(*dir_ / "run", fs::perms::owner_all, fs::perm_options::replace);
        fs::copy_file(built, Program());
        test::TreeBuilder::MakeFile(*dir_ / "c" / "junk" / "old.bak", 120);
    }

    void cleanup() { dir_.reset(); }

    void secondStartEndsAndLeavesTheFirstRunning() {
        QProcess first;
        Start(first, true);
        QTRY_VERIFY_WITH_TIMEOUT(Claimed(), 20000);

        QProcess second;
        Start(second, true);
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);

        first.kill();
        QVERIFY(first.waitForFinished(10000));
        // A copy that ended abruptly does not keep the next start out.
        QProcess next;
        Start(next, true);
        QTRY_VERIFY_WITH_TIMEOUT(next.state() == QProcess::Running && Claimed(), 20000);
        QTest::qWait(200);
        QCOMPARE(next.state(), QProcess::Running);
        next.kill();
        QVERIFY(next.waitForFinished(10000));
    }

    void withoutADisplayItMakesATestRun() {
        QProcess process;
        Start(process, false);
        QVERIFY(process.waitForFinished(60000));
        const QString errors = QString::fromLocal8Bit(process.readAllStandardError());
        QVERIFY2(errors.contains("no display"), qPrintable(errors));
        QVERIFY(fs::exists(*dir_ / "bin" / "brumo.TEST.TXT"));
        QVERIFY(fs::exists(*dir_ / "c" / "junk" / "old.bak")); // a test run removes nothing
        QCOMPARE(process.exitCode(), 0);
    }
};

} // namespace brumo

QTEST_MAIN(brumo::ProgramStartTest)
#include "program_start_test.moc"
