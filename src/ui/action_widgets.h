#pragma once

#include <QString>

class QAction;
class QObject;
class QPushButton;
class QWidget;

namespace brumo {

// The commands of a window and the push buttons that run them, made the same way in every
// window: each under its object name, its hint as its status tip.
class ActionWidgets {
public:
    static QAction* MakeAction(QObject* parent, const char* name, const QString& caption,
                               const QString& hint);
    // A button that runs the action and follows its caption, hint and enabled state. Not an
    // auto-default button: Enter stays with the window's default.
    static QPushButton* MakeButton(QWidget* parent, const char* name, QAction* action);
    // A button of its own, with a hint and not an auto-default button.
    static QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                                   const QString& hint);
};

} // namespace brumo
