#include "ui/prop_form.h"

#include "engine/local_drives.h"
#include "model/styled_text.h"
#include "ui/styled_text_view.h"
#include "ui/widget_placement.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace brumo {

namespace {
constexpr const char* WindowName = "PropForm";
}

TPropForm::TPropForm(QWidget* parent) : QDialog(parent, Qt::Tool) {
    setObjectName(WindowName);
    setWindowTitle("Brumo  - junk file type properties");
    setMinimumSize(320, 240);
    resize(420, 360);

    btnOK = new QPushButton("Done", this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    reProps = new QTextEdit(this);
    reProps->setObjectName("reProps");
    reProps->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* pnlTop = new QHBoxLayout;
    pnlTop->setContentsMargins(6, 6, 6, 2);
    pnlTop->addWidget(btnOK);
    pnlTop->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(pnlTop);
    layout->addWidget(reProps, 1);

    WidgetPlacement::Restore(*this, WindowName, true);
}

TPropForm::~TPropForm() {
    WidgetPlacement::Save(*this, WindowName, true);
}

void TPropForm::ShowProps(const TJunkFileObj& type) {
    StyledText text;
    type.DescribeTo(text, LocalDrives::LocalDrivesCaption());
    StyledTextView::Show(*reProps, text);
}

} // namespace brumo
