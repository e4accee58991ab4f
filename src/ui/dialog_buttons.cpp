#include "ui/dialog_buttons.h"

#include <QDialog>
#include <QLayout>
#include <QPushButton>

namespace brumo {

QDialogButtonBox* DialogButtons::Make(QWidget* parent, Qt::Orientation orientation) {
    auto* box = new QDialogButtonBox(orientation, parent);
    box->setObjectName("buttonBox");
    return box;
}

QPushButton* DialogButtons::Add(QDialogButtonBox* box, QDialogButtonBox::StandardButton which,
                                const QString& caption, const char* name) {
    QPushButton* button = box->addButton(which);
    button->setText(caption);
    button->setObjectName(name);
    return button;
}

void DialogButtons::MakeFixedSize(QDialog& dialog) {
    if (QLayout* layout = dialog.layout())
        layout->setSizeConstraint(QLayout::SetFixedSize);
    WithoutMaximizeButton(dialog);
}

void DialogButtons::WithoutMaximizeButton(QDialog& dialog) {
    dialog.setWindowFlags(
        (dialog.windowFlags() & ~Qt::WindowMaximizeButtonHint & ~Qt::WindowContextHelpButtonHint) |
        Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
        Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

} // namespace brumo
