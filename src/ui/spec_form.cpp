#include "ui/spec_form.h"

#include "ui/dialog_buttons.h"
#include "ui/entry_buttons.h"
#include "model/entry_rules.h"
#include "ui/key_filter.h"
#include "ui/widget_placement.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace brumo {

namespace {
bool SpecRefuses(QChar ch) {
    return KeyFilter::IsOneOf(EntryRules::SpecRefused, ch);
}
} // namespace

TSpecForm::TSpecForm(QWidget* parent) : QDialog(parent) {
    setObjectName("SpecForm");
    setWindowTitle("Brumo - files to process");
    setWindowFlag(Qt::Tool);

    ebSpec = new QLineEdit(this);
    ebSpec->setObjectName("ebSpec");
    ebSpec->setMinimumWidth(260);
    new KeyFilter(ebSpec, SpecRefuses);
    lblStat = new QLabel(this);
    lblStat->setObjectName("lblStat");
    lblStat->setAlignment(Qt::AlignCenter);
    lblStat->setMinimumHeight(lblStat->fontMetrics().height());
    QDialogButtonBox* buttons = EntryButtons::Make(this, btnOK, btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ebSpec);
    layout->addWidget(lblStat);
    layout->addWidget(buttons);
    DialogButtons::MakeFixedSize(*this);

    connect(ebSpec, &QLineEdit::textChanged, this, &TSpecForm::ebSpecChange);

    WidgetPlacement::Restore(*this, "SpecForm", false);
}

TSpecForm::~TSpecForm() {
    WidgetPlacement::Save(*this, "SpecForm", false);
}

void TSpecForm::SetSpec(const std::string& spec) {
    ebSpec->setText(QString::fromStdString(spec));
    btnOK->setEnabled(EntryRules::SpecAcceptable(GetSpec()));
}

std::string TSpecForm::GetSpec() const {
    return ebSpec->text().toStdString();
}

void TSpecForm::ebSpecChange() {
    const std::string text = KeyFilter::Clean(ebSpec, SpecRefuses).toStdString();
    lblStat->setText(QString::fromStdString(EntryRules::SpecVerdict(text)));
    btnOK->setEnabled(EntryRules::SpecAcceptable(text));
}

} // namespace brumo
