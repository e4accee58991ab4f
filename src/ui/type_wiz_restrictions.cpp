#include "ui/type_wiz.h"

#include "model/display_names.h"
#include "platform/clock.h"
#include "ui/comparison_combo.h"
#include "ui/key_filter.h"
#include "ui/type_wiz_parts.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

#include <cmath>

namespace brumo {

using namespace type_wiz;

namespace {
// Day numbers the date pickers can show: the years 100 to 9999.
QDate ToQDate(TDateTime value) {
    constexpr double kFirst = -657434.0;    // 1 January 100
    constexpr double kPastLast = 2958466.0; // 1 January 10000
    if (!std::isfinite(value) || value < kFirst || value >= kPastLast)
        return {};
    const CalendarDate d = DateTime::DecodeDate(value);
    return QDate(d.year, d.month, d.day);
}

TDateTime FromQDate(const QDate& date) {
    return DateTime::EncodeDate(date.year(), date.month(), date.day()).value_or(0);
}

void Choose(QComboBox* combo, int index) {
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

QDateEdit* MakeDatePicker(QWidget* parent, const char* name) {
    auto* picker = Named<QDateEdit>(name, parent);
    picker->setCalendarPopup(true);
    picker->setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    // The same format whatever the system's settings.
    picker->setDisplayFormat("MM/dd/yyyy");
    return picker;
}

QComboBox* MakeChoice(QWidget* parent, const char* name, const QStringList& items) {
    auto* combo = Named<QComboBox>(name, parent);
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    return combo;
}

// Loading sets a control without its signal and then runs the handler once itself.
void CheckQuietly(QAbstractButton* button) {
    QSignalBlocker block(button);
    button->setChecked(true);
}

void ChooseQuietly(QComboBox* combo, int index) {
    QSignalBlocker block(combo);
    Choose(combo, index);
}
} // namespace

// The panel reads as two sentences over four lines.
QWidget* TTypeWiz::MakeRestrictionPanel(QWidget* page) {
    auto* panel = Named<QFrame>("pnlRestrict", page);
    hintPanels_.insert(panel);
    ckRstDate = Named<QCheckBox>("ckRstDate", "Process matching files only if", panel);
    SetHint(ckRstDate, "If checked, only process files matching the date/age restrictions below");
    rbDate = Named<QRadioButton>("rbDate", "date", panel);
    SetHint(rbDate, "Restrict deletion by absolute date (e.g. 1/1/1999) ");
    rbAge = Named<QRadioButton>("rbAge", "age", panel);
    SetHint(rbAge, "Restrict deleation by relative date (e.g. 1 year old)");
    auto* dateKinds = new QButtonGroup(panel);
    dateKinds->addButton(rbDate, 0);
    dateKinds->addButton(rbAge, 1);
    cbDateType = Named<ComparisonCombo>("cbDateType", panel);
    SetHint(cbDateType, "Choose comparison method for date/age restriction");
    dpDateDat1 = MakeDatePicker(panel, "dpDateDat1");
    SetHint(dpDateDat1, "Choose a date. Click down-arrow for calendar.");
    cbAgeDat1 = MakeChoice(panel, "cbAgeDat1", Names(AgeNames));
    SetHint(cbAgeDat1, "Choose a relative date");
    lblDateAnd = MakeLabel(panel, "and", "lblDateAnd");
    dpDateDat2 = MakeDatePicker(panel, "dpDateDat2");
    SetHint(dpDateDat2, "Choose second date. Click down-arrow for calendar.");
    cbAgeDat2 = MakeChoice(panel, "cbAgeDat2", Names(AgeNames));
    SetHint(cbAgeDat2, "Choose second relative date");
    ckRstSize = Named<QCheckBox>("ckRstSize", "Process matching files only if size is", panel);
    SetHint(ckRstSize, "If checked, only process files matching the size restrictions below");
    cbSizeType = Named<ComparisonCombo>("cbSizeType", panel);
    cbSizeType->addItems(Names(SizeCompareNames));
    cbSizeType->setCurrentIndex(-1);
    SetHint(cbSizeType, "Choose comparison method for size restriction");
    ebSizeDat1 = Named<QLineEdit>("ebSizeDat1", panel);
    SetHint(ebSizeDat1, "Enter file size");
    lblSizeAnd = MakeLabel(panel, "and", "lblSizeAnd");
    ebSizeDat2 = Named<QLineEdit>("ebSizeDat2", panel);
    SetHint(ebSizeDat2, "Enter second file size");
    cbSizeUnits = MakeChoice(panel, "cbSizeUnits", Names(SizeUnitNames));
    SetHint(cbSizeUnits, "Select units for file size");
    for (QComboBox* combo : {static_cast<QComboBox*>(cbDateType), cbAgeDat1, cbAgeDat2,
                             static_cast<QComboBox*>(cbSizeType), cbSizeUnits})
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (QComboBox* combo : {cbAgeDat1, cbAgeDat2, cbSizeUnits})
        ComparisonCombo::UseItemHeight(*combo);
    for (QLineEdit* edit : {ebSizeDat1, ebSizeDat2}) {
        edit->setMaximumWidth(90);
        new KeyFilter(edit, [](QChar ch) { return ch < '0' || ch > '9'; });
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { ebSizeChange(edit); });
    }
    for (QWidget* w : std::initializer_list<QWidget*>{
             rbDate, rbAge, cbDateType, dpDateDat1, cbAgeDat1, lblDateAnd, dpDateDat2, cbAgeDat2,
             cbSizeType, ebSizeDat1, lblSizeAnd, ebSizeDat2, cbSizeUnits})
        w->setEnabled(false);

    // The choices line up under the text of the check box above them.
    const int indent = style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                       style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    auto* line1 = new QHBoxLayout;
    line1->addWidget(ckRstDate);
    line1->addWidget(rbDate);
    line1->addWidget(rbAge);
    line1->addWidget(MakeLabel(panel, "is"));
    line1->addStretch();
    auto* line2 = new QHBoxLayout;
    line2->setContentsMargins(indent, 0, 0, 0);
    line2->addWidget(cbDateType);
    line2->addWidget(dpDateDat1);
    line2->addWidget(cbAgeDat1);
    line2->addWidget(lblDateAnd);
    line2->addWidget(dpDateDat2);
    line2->addWidget(cbAgeDat2);
    line2->addStretch();
    auto* line4 = new QHBoxLayout;
    line4->setContentsMargins(indent, 0, 0, 0);
    line4->addWidget(cbSizeType);
    line4->addWidget(ebSizeDat1);
    line4->addWidget(lblSizeAnd);
    line4->addWidget(ebSizeDat2);
    line4->addWidget(cbSizeUnits);
    line4->addStretch();
    auto* lines = new QVBoxLayout(panel);
    lines->setContentsMargins(0, 4, 0, 0);
    lines->setSpacing(3);
    lines->addLayout(line1);
    lines->addLayout(line2);
    lines->addWidget(ckRstSize);
    lines->addLayout(line4);

    connect(ckRstDate, &QCheckBox::toggled, this, &TTypeWiz::ckRstDateClick);
    connect(rbDate, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            rbDateClick(0);
    });
    connect(rbAge, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            rbDateClick(1);
    });
    connect(cbDateType, &QComboBox::currentIndexChanged, this, &TTypeWiz::cbDateTypeChange);
    connect(ckRstSize, &QCheckBox::toggled, this, &TTypeWiz::ckRstSizeClick);
    connect(cbSizeType, &QComboBox::currentIndexChanged, this, &TTypeWiz::cbSizeTypeChange);
    for (QComboBox* combo : {cbAgeDat1, cbAgeDat2, cbSizeUnits})
        connect(combo, &QComboBox::currentIndexChanged, this, &TTypeWiz::UpdateButtons);
    for (QDateEdit* picker : {dpDateDat1, dpDateDat2})
        connect(picker, &QDateEdit::dateChanged, this, &TTypeWiz::UpdateButtons);
    return panel;
}

void TTypeWiz::SetDatesToday() {
    const QDate today = ToQDate(DateTime::DateOf(Clock::Current().Now()));
    for (QDateEdit* picker : {dpDateDat1, dpDateDat2}) {
        QSignalBlocker block(picker);
        picker->setDate(today);
    }
}

void TTypeWiz::LoadRestrictions(const TJunkFileObj& type) {
    auto restrictByDate = [this](QRadioButton* kind, int compare) {
        CheckQuietly(ckRstDate);
        ckRstDateClick();
        CheckQuietly(kind);
        rbDateClick(kind == rbAge ? 1 : 0);
        ChooseQuietly(cbDateType, compare);
        cbDateTypeChange();
    };
    if (type.DateRestrict) {
        restrictByDate(rbDate, type.DateCompare);
        const QDate date1 = ToQDate(type.Date1);
        const QDate date2 = ToQDate(type.Date2);
        if (date1.isValid())
            dpDateDat1->setDate(date1);
        if (date2.isValid())
            dpDateDat2->setDate(date2);
    }
    if (type.AgeRestrict) {
        restrictByDate(rbAge, type.AgeCompare);
        Choose(cbAgeDat1, type.Age1);
        Choose(cbAgeDat2, type.Age2);
    }
    if (type.SizeRestrict) {
        CheckQuietly(ckRstSize);
        ckRstSizeClick();
        ChooseQuietly(cbSizeType, type.SizeCompare);
        cbSizeTypeChange();
        ebSizeDat1->setText(QString::number(type.Size1));
        ebSizeDat2->setText(QString::number(type.Size2));
        Choose(cbSizeUnits, type.SizeUnits);
    }
}

void TTypeWiz::ReadRestrictions(WizardControls& c) const {
    c.restrictDate = ckRstDate->isChecked();
    c.byDate = rbDate->isChecked();
    c.byAge = rbAge->isChecked();
    c.dateType = cbDateType->currentIndex();
    c.date1 = FromQDate(dpDateDat1->date());
    c.date2 = FromQDate(dpDateDat2->date());
    c.age1 = cbAgeDat1->currentIndex();
    c.age2 = cbAgeDat2->currentIndex();
    c.restrictSize = ckRstSize->isChecked();
    c.sizeType = cbSizeType->currentIndex();
    c.size1 = ebSizeDat1->text().toStdString();
    c.size2 = ebSizeDat2->text().toStdString();
    c.sizeUnits = cbSizeUnits->currentIndex();
}

void TTypeWiz::ckRstDateClick() {
    const bool on = ckRstDate->isChecked();
    const bool two = on && TypeWizRules::TakesTwoValues(cbDateType->currentIndex());
    for (QWidget* w :
         std::initializer_list<QWidget*>{rbDate, rbAge, cbDateType, cbAgeDat1, dpDateDat1})
        w->setEnabled(on);
    for (QWidget* w : std::initializer_list<QWidget*>{cbAgeDat2, dpDateDat2, lblDateAnd})
        w->setEnabled(two);
    UpdateButtons();
}

void TTypeWiz::rbDateClick(int code) {
    const bool byDate = code == 0;
    {
        // New entries leave no comparison chosen; the user chooses again.
        QSignalBlocker block(cbDateType);
        cbDateType->clear();
        cbDateType->addItems(byDate ? Names(DateCompareNames) : Names(AgeCompareNames));
        cbDateType->setCurrentIndex(-1);
    }
    dpDateDat1->setVisible(byDate);
    dpDateDat2->setVisible(byDate);
    cbAgeDat1->setVisible(!byDate);
    cbAgeDat2->setVisible(!byDate);
    UpdateButtons();
}

void TTypeWiz::cbDateTypeChange() {
    const bool two = TypeWizRules::TakesTwoValues(cbDateType->currentIndex());
    dpDateDat2->setEnabled(two);
    cbAgeDat2->setEnabled(two);
    lblDateAnd->setEnabled(two);
    if (!two)
        cbAgeDat2->setCurrentIndex(-1);
    UpdateButtons();
}

void TTypeWiz::ckRstSizeClick() {
    const bool on = ckRstSize->isChecked();
    const bool two = on && TypeWizRules::TakesTwoValues(cbSizeType->currentIndex());
    for (QWidget* w : std::initializer_list<QWidget*>{cbSizeType, ebSizeDat1, cbSizeUnits})
        w->setEnabled(on);
    ebSizeDat2->setEnabled(two);
    lblSizeAnd->setEnabled(two);
    UpdateButtons();
}

void TTypeWiz::cbSizeTypeChange() {
    const bool two = TypeWizRules::TakesTwoValues(cbSizeType->currentIndex());
    ebSizeDat2->setEnabled(two);
    lblSizeAnd->setEnabled(two);
    if (!two)
        ebSizeDat2->clear();
    UpdateButtons();
}

void TTypeWiz::ebSizeChange(QLineEdit* edit) {
    KeyFilter::Clean(edit, [](QChar ch) { return ch < '0' || ch > '9'; });
    UpdateButtons();
}

void TTypeWiz::MethodChanged() {
    // With the Recycle Bin unusable a Recycle Bin type keeps its Enable box as it is.
    if (recycleBinUnusable_)
        cbEnabled->setEnabled(!rbRecycle->isChecked());
}

} // namespace brumo
