#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

class QAction;

namespace brumo {

class THDForm;

// Builds the main window's commands, controls and popup menu, and binds each button and
// menu item to its command.
class MainWindowControls {
public:
    explicit MainWindowControls(THDForm& form) : form_(form) {}

    void Build();

private:
    void BuildActions();
    void BuildLayout();
    void BuildStatusBar();
    void BuildPopupMenu();
    QAction* MakeAction(const char* name, const QString& caption, const QString& hint,
                        const QList<QKeySequence>& shortcuts = {});
    // A menu item that shows its own caption and runs the command; `ownShortcut` works in
    // the window as well, the command's shortcuts are shown only.
    QAction* MakeMenuItem(const char* name, const QString& caption, QAction* action,
                          const QKeySequence& ownShortcut = {});

    THDForm& form_;
};

} // namespace brumo
