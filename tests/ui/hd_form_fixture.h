#pragma once

// The main window's test fixture: a program folder of its own, a Recycle Bin a test switches
// between usable and unusable, scripted messages and the dialogs, help and logs it opens.

#include "model/type_store.h"
#include "recycle_bin_switch.h"
#include "runs/recycle_settings_check.h"
#include "scripted_prompter.h"
#include "support/temp_tree.h"
#include "ui/hd_form.h"
#include "ui/widget_placement.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QListWidget>
#include <QMenu>
#include <QTest>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

namespace brumo::test {

class HDFormFixture {
protected:
    std::optional<TempTree> dir_;
    ProgramFiles files_;
    RecycleBinSwitch recycleBin_;
    std::unique_ptr<RecycleSettingsCheck> recycle_;
    std::unique_ptr<ScriptedPrompter> prompter_;
    std::function<int(QDialog&)> dialogs_;
    std::vector<int> helpOpened_;
    std::vector<std::string> logsOpened_;

    void SetUp() {
        dir_.emplace();
        files_ =
            ProgramFiles::Derive((*dir_ / "Brumo.exe").string(), true, (*dir_ / "data").string());
        WidgetPlacement::SetSettingsFile(files_.Settings);
        recycleBin_.unusable = false;
        recycle_ = std::make_unique<RecycleSettingsCheck>(recycleBin_);
        prompter_ = std::make_unique<ScriptedPrompter>();
        dialogs_ = nullptr;
        helpOpened_.clear();
        logsOpened_.clear();
    }

    void TearDown() {
        prompter_.reset();
        recycle_.reset();
        dir_.reset();
    }

    std::unique_ptr<THDForm> Open() {
        MainWindowSetup setup;
        setup.files = files_;
        setup.recycle = recycle_.get();
        setup.version = VersionInfo::OfThisBuild();
        setup.openHelp = [this](int context) { helpOpened_.push_back(context); };
        setup.openLog = [this](const std::string& path) { logsOpened_.push_back(path); };
        setup.runDialog = [this](QDialog& dialog) {
            return dialogs_ ? dialogs_(dialog) : int(QDialog::Rejected);
        };
        return std::make_unique<THDForm>(std::move(setup));
    }

    static TJunkFileObj Type(const std::string& name, int method, bool enabled = true,
                             const std::string& specs = "*.tmp") {
        return TJunkFileObj(name, enabled, method, "", specs, "", 0);
    }
    void Store(const std::string& path, const std::vector<TJunkFileObj>& types) {
        TypeStore store;
        QVERIFY(store.Save(path, types).saved);
    }
    static std::vector<TJunkFileObj> Stored(const std::string& path) {
        TypeStore store;
        return store.Load(path).types;
    }
    static bool Exists(const std::string& path) { return std::filesystem::exists(path); }

    static QAction* Action(THDForm& form, const char* name) {
        return form.findChild<QAction*>(name);
    }
    // Triggers a command as the user would: with the rules applied first.
    static void Do(THDForm& form, const char* name) {
        form.aAddUpdate();
        QAction* action = Action(form, name);
        QVERIFY2(action, name);
        QVERIFY2(action->isEnabled(), name);
        action->trigger();
    }
    static QListWidget* List(THDForm& form) { return form.findChild<QListWidget*>("lvJunk"); }
    static void Select(THDForm& form, int row) {
        List(form)->setCurrentRow(row);
        form.aAddUpdate();
    }
    static void Show(THDForm& form) {
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
    }
    // The menu key, as the platform delivers it: a keyboard context menu event at the
    // focused list's cursor rectangle. With `shiftF10`, that key instead.
    static QMenu* PopupFromKeyboard(THDForm& form, bool shiftF10 = false) {
        auto* menu = form.findChild<QMenu*>("pmMain");
        QListWidget* list = List(form);
        if (shiftF10) {
            QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
        } else {
            const QPoint at = list->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
            QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, at, list->mapToGlobal(at));
            QApplication::sendEvent(list, &menuKey);
        }
        if (!QTest::qWaitForWindowExposed(menu))
            qWarning() << "the popup menu did not open";
        return menu;
    }
    static QStringList Names(THDForm& form) {
        QStringList names;
        for (int i = 0; i < form.RowCount(); ++i) {
            names << QString::fromStdString(form.TypeAt(i)->Name);
            // The caption always shows the name.
            if (List(form)->item(i)->text() != names.back())
                qWarning() << "caption" << List(form)->item(i)->text() << "for" << names.back();
        }
        return names;
    }
    // Check box and Enabled of every row, which agree outside runs.
    static QList<bool> Checks(THDForm& form) {
        QList<bool> checks;
        for (int i = 0; i < form.RowCount(); ++i) {
            checks << form.RowChecked(i);
            if (form.TypeAt(i)->Enabled != form.RowChecked(i))
                qWarning() << "row" << i << "check box and Enabled differ";
        }
        return checks;
    }
    static QString RefusalText() {
        return "This junk file type sends files to the Recycle Bin. You cannot enable it at "
               "this time.";
    }
};

} // namespace brumo::test
