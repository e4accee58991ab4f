#include "ui/entry_buttons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace brumo {

QHBoxLayout* EntryButtons::Make(QDialog* dialog, QPushButton*& ok, QPushButton*& cancel) {
    ok = new QPushButton("OK", dialog);
    ok->setObjectName("btnOK");
    ok->setDefault(true);
    ok->setEnabled(false);
    cancel = new QPushButton("Cancel", dialog);
    cancel->setObjectName("btnCancel");
    cancel->setAutoDefault(false);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);

    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

} // namespace brumo
