#include "ui/entry_buttons.h"

#include "ui/dialog_buttons.h"

#include <QDialog>
#include <QPushButton>

namespace brumo {

QDialogButtonBox* EntryButtons::Make(QDialog* dialog, QPushButton*& ok, QPushButton*& cancel) {
    QDialogButtonBox* box = DialogButtons::Make(dialog);
    ok = DialogButtons::Add(box, QDialogButtonBox::Ok, "OK", "btnOK");
    ok->setDefault(true);
    ok->setEnabled(false);
    cancel = DialogButtons::Add(box, QDialogButtonBox::Cancel, "Cancel", "btnCancel");
    cancel->setAutoDefault(false);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return box;
}

} // namespace brumo
