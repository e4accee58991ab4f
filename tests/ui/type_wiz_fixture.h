#pragma once

// The type wizard's test fixture: drive C: and the program folder in temporary trees, a pinned
// day, the help topics it asks for, and the wizard's controls by name.

#include "app/program_files.h"
#include "platform/clock.h"
#include "support/drive_map.h"
#include "support/temp_tree.h"
#include "ui/help_topics.h"
#include "ui/type_wiz.h"
#include "ui/widget_placement.h"
#include "ui/wizard_counts_page.h"
#include "widget_lookup.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <optional>

namespace brumo::test {

inline TJunkFileObj TypeOf(std::string name, std::vector<std::string> specs,
                           std::vector<FolderEntry> folders = {}) {
    TJunkFileObj t;
    t.Name = std::move(name);
    t.Specs = std::move(specs);
    t.Folders = std::move(folders);
    return t;
}

class TypeWizFixture {
protected:
    std::optional<TempTree> c_, program_;
    std::optional<DriveMap> drives_;
    std::unique_ptr<FixedClock> clock_;
    std::unique_ptr<TTypeWiz> wiz_;
    std::vector<int> helpAsked_;

    template <typename T> T* Get(const char* name) { return Child<T>(wiz_.get(), name); }
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

    void SetUp() {
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

    void TearDown() {
        wiz_.reset();
        HelpTopics::Install({});
        Clock::Install(nullptr);
        drives_.reset();
        c_.reset();
        program_.reset();
    }
};

} // namespace brumo::test
