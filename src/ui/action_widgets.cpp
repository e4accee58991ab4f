#include "ui/action_widgets.h"

#include <QAction>
#include <QPushButton>

namespace brumo {

QAction* ActionWidgets::MakeAction(QObject* parent, const char* name, const QString& caption,
                                   const QString& hint) {
    auto* action = new QAction(caption, parent);
    action->setObjectName(name);
    action->setStatusTip(hint);
    return action;
}

QPushButton* ActionWidgets::MakeButton(QWidget* parent, const char* name, QAction* action) {
    QPushButton* button = MakeButton(parent, name, action->text(), action->statusTip());
    button->setEnabled(action->isEnabled());
    QObject::connect(action, &QAction::changed, button, [button, action] {
        button->setText(action->text());
        button->setStatusTip(action->statusTip());
        button->setEnabled(action->isEnabled());
    });
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    return button;
}

QPushButton* ActionWidgets::MakeButton(QWidget* parent, const char* name, const QString& caption,
                                       const QString& hint) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setStatusTip(hint);
    button->setAutoDefault(false);
    return button;
}

} // namespace brumo
