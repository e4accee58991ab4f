#include "ui/type_wiz.h"

#include "engine/local_drives.h"
#include "model/styled_text.h"
#include "platform/file_system.h"
#include "ui/action_widgets.h"
#include "ui/help_topics.h"
#include "ui/qt_main_thread.h"
#include "ui/status_hints.h"
#include "ui/styled_text_view.h"
#include "ui/type_wiz_parts.h"
#include "ui/widget_placement.h"
#include "ui/wizard_counts_page.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace brumo {

using namespace type_wiz;

namespace {
constexpr int kSelectionColumnWidth = 140;

std::vector<std::string> Entries(const QListWidget* list) {
    std::vector<std::string> entries;
    for (int i = 0; i < list->count(); ++i)
        entries.push_back(list->item(i)->text().toStdString());
    return entries;
}
} // namespace

TTypeWiz::TTypeWiz(QWidget* parent, std::optional<ProgramFiles> files) : QDialog(parent) {
    setObjectName("TypeWiz");
    setWindowTitle("Junk file type wizard");
    setSizeGripEnabled(false);

    const ProgramFiles program = files ? *files : ProgramFiles::OfThisProgram();
    foundFiles_ = program.FoundFiles;
    WizardCountsPage::Setup counting;
    counting.foundFiles = foundFiles_;
    counting.excludedFolders = program.ExcludedFolders();
    counting.mainThread = &QtMainThread::Instance();

    // The hints need the status bar from the first page on; the layout puts it last.
    StatusBar1 = Named<QStatusBar>("StatusBar1", this);
    StatusBar1->setSizeGripEnabled(true);
    // A disabled control shows its hint only on the panels that look for it.
    hints_ = new StatusHints(*StatusBar1, [this](const QWidget& control) {
        for (QWidget* w = control.parentWidget(); w && w != this; w = w->parentWidget())
            if (hintPanels_.count(w))
                return true;
        return false;
    });

    pcWiz = Named<QStackedWidget>("pcWiz", this);
    pcWiz->addWidget(MakeNamePage());
    pcWiz->addWidget(MakeDirsPage());
    pcWiz->addWidget(MakeDeletesPage());
    pcWiz->addWidget(MakeProtectsPage());
    pcWiz->addWidget(MakeSummaryPage());
    countsPage_ = Named<WizardCountsPage>("tsCounts", std::move(counting), this);
    countsPage_->SetNameSource([this] { return ebName->text().toStdString(); });
    connect(countsPage_, &WizardCountsPage::countEnded, this, &TTypeWiz::CountEnded);
    for (QPushButton* button : countsPage_->findChildren<QPushButton*>())
        hints_->Watch(button); // their hints go to the status bar too
    pcWiz->addWidget(countsPage_);

    QWidget* bar = MakeButtonBar();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(pcWiz, 1);
    layout->addWidget(bar);
    layout->addWidget(StatusBar1);

    // Wide enough for its longest text in the window's font.
    lvDirs->header()->resizeSection(
        1,
        std::max(kSelectionColumnWidth,
                 lvDirs->fontMetrics().horizontalAdvance(SelectionText(FolderAndSubfolders)) + 24));
    // The date keeps a digit's room before the picker's arrow.
    for (QDateEdit* picker : {dpDateDat1, dpDateDat2})
        picker->setMinimumWidth(picker->sizeHint().width() +
                                picker->fontMetrics().horizontalAdvance(QLatin1Char('0')));
    // Never smaller than the pages need in the desktop's font, so that no page squeezes its
    // buttons closer than another.
    setMinimumSize(QSize(445, 330).expandedTo(layout->minimumSize()));
    resize(506, 296);

    // Creation order: first page, date comparisons, placement, the all-drives entry, the
    // date pickers at today.
    pcWiz->setCurrentIndex(TypeWizRules::PageName);
    rbDate->setChecked(true);
    WidgetPlacement::Restore(*this, "TypeWiz", true);
    allDrivesEntry_ = "Local drives (" + LocalDrives::LocalDriveList(":", ",") + ")";
    SetDatesToday();
    UpdateButtons();
    ListCommandsUpdate();
    adirClearUpdate();
}

TTypeWiz::~TTypeWiz() {
    // The worker reads the result and calls back into the page: it must end first.
    countsPage_->StopAndWait();
    WidgetPlacement::Save(*this, "TypeWiz", true);
    result_.reset();
    (void)FileSystem::DeleteFile(foundFiles_);
}

// ---- construction -------------------------------------------------------------------

QAction* TTypeWiz::MakeAction(const char* name, const QString& caption, const QString& hint) {
    return ActionWidgets::MakeAction(this, name, caption, hint);
}

QPushButton* TTypeWiz::MakeButton(QWidget* parent, const char* name, QAction* action) {
    QPushButton* button = ActionWidgets::MakeButton(parent, name, action);
    hints_->Watch(button);
    return button;
}

QPushButton* TTypeWiz::MakeButton(QWidget* parent, const char* name, const QString& caption,
                                  const QString& hint) {
    QPushButton* button = ActionWidgets::MakeButton(parent, name, caption, hint);
    hints_->Watch(button);
    return button;
}

void TTypeWiz::SetHint(QWidget* control, const QString& hint) {
    hints_->Set(control, hint);
}

QWidget* TTypeWiz::MakeButtonBar() {
    pnlButtons = Named<QFrame>("pnlButtons", this);
    hintPanels_.insert(pnlButtons);
    auto* line = new QFrame(pnlButtons);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    aHelp = MakeAction("aHelp", "&Help", "Activate the Help system");
    aBack = MakeAction("aBack", "< &Back", "Go back to the previous step");
    aNext = MakeAction("aNext", "Next >", "Proceed to the next step");
    connect(aHelp, &QAction::triggered, this, &TTypeWiz::aHelpExecute);
    connect(aBack, &QAction::triggered, this, &TTypeWiz::aBackExecute);
    connect(aNext, &QAction::triggered, this, &TTypeWiz::aNextExecute);
    btnHelp = MakeButton(pnlButtons, "btnHelp", aHelp);
    btnBack = MakeButton(pnlButtons, "btnBack", aBack);
    btnNext = MakeButton(pnlButtons, "btnNext", aNext);
    btnNext->setDefault(true);
    btnFinish =
        MakeButton(pnlButtons, "btnFinish", "&Finish", "Quit the wizard and accept this file type");
    btnFinish->setEnabled(false);
    btnCancel = MakeButton(pnlButtons, "btnCancel", "Cancel",
                           "Quit without adding or editing this junk file type");
    connect(btnFinish, &QPushButton::clicked, this, &TTypeWiz::btnFinishClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnHelp);
    buttons->addStretch();
    buttons->addWidget(btnBack);
    buttons->addWidget(btnNext);
    buttons->addSpacing(style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing));
    buttons->addWidget(btnFinish);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(pnlButtons);
    int left = 0, right = 0, bottom = 0;
    layout->getContentsMargins(&left, nullptr, &right, &bottom);
    layout->setContentsMargins(left, 0, right, bottom);
    layout->addWidget(line);
    layout->addLayout(buttons);
    return pnlButtons;
}

// ---- filling and building ------------------------------------------------------------

void TTypeWiz::LoadFromType(const TJunkFileObj& type, bool recycleBinUnusable) {
    // Each step sets its controls quietly and then runs their handler once, in order.
    if (recycleBinUnusable) {
        recycleBinUnusable_ = true;
        rbRecycle->setEnabled(false);
        MethodChanged();
    }

    ebName->setMaxLength(std::max<int>(kNameTypingLimit, static_cast<int>(Text(type.Name).size())));
    ebName->setText(Text(type.Name));
    cbEnabled->setChecked(type.Enabled);
    (type.Method == MethodHoldingFolder ? rbBackup
     : type.Method == MethodDelete      ? rbDelete
                                        : rbRecycle)
        ->setChecked(true);

    lvDirs->clear();
    for (const FolderEntry& entry : TypeWizRules::FolderEntriesOf(type.Folders, allDrivesEntry_))
        AddFolderEntry(entry);
    lbDels->clear();
    for (const std::string& spec : type.Specs)
        lbDels->addItem(Text(spec));
    lbProts->clear();
    for (const std::string& entry : type.Protects)
        lbProts->addItem(Text(entry));
    ListCommandsUpdate();

    LoadRestrictions(type);
    PageChanged();
}

WizardControls TTypeWiz::Controls() const {
    WizardControls c;
    c.page = Page();
    c.name = ebName->text().toStdString();
    c.enabled = cbEnabled->isChecked();
    c.method = rbRecycle->isChecked()  ? MethodRecycleBin
               : rbDelete->isChecked() ? MethodDelete
                                       : MethodHoldingFolder;
    c.folders = FolderEntries();
    c.specs = Entries(lbDels);
    c.protects = Entries(lbProts);
    ReadRestrictions(c);
    return c;
}

const TJunkFileObj& TTypeWiz::BuildType() {
    // A running count reads the result: it stays as it is until the count has ended.
    if (!result_ || !countsPage_->Counting())
        result_ = std::make_unique<TJunkFileObj>(TypeWizRules::BuildType(Controls()));
    return *result_;
}

// ---- pages and buttons ---------------------------------------------------------------

int TTypeWiz::Page() const {
    return pcWiz->currentIndex();
}

void TTypeWiz::ShowPage(int page) {
    if (page == Page())
        return;
    countShown_ = false;
    pcWiz->setCurrentIndex(page);
    PageChanged();
}

void TTypeWiz::PageChanged() {
    UpdateButtons();
    adirClearUpdate();
    if (Page() == TypeWizRules::PageSummary) {
        btnFinish->setDefault(false);
        btnNext->setDefault(true);
        StyledText summary;
        BuildType().DescribeTo(summary, allDrivesEntry_);
        StyledTextView::Show(*reProps, summary);
    } else if (Page() == TypeWizRules::PageCounts) {
        StartCount();
    }
}

void TTypeWiz::UpdateButtons() {
    if (Page() == TypeWizRules::PageCounts && countShown_)
        return; // the count decides
    const WizardButtons b = TypeWizRules::Buttons(Controls());
    aBack->setEnabled(b.back);
    aNext->setEnabled(b.next);
    btnFinish->setEnabled(b.finish);
}

void TTypeWiz::StartCount() {
    countShown_ = true;
    btnCancel->setEnabled(false);
    btnNext->setDefault(false);
    btnFinish->setDefault(true);
    if (!result_)
        BuildType();
    countsPage_->Start(*result_);
}

void TTypeWiz::CountEnded() {
    btnFinish->setEnabled(true);
    aNext->setEnabled(false);
    aBack->setEnabled(true);
    btnCancel->setEnabled(true);
}

void TTypeWiz::aBackExecute() {
    if (Page() > TypeWizRules::PageName)
        ShowPage(Page() - 1);
}

void TTypeWiz::aNextExecute() {
    if (Page() < TypeWizRules::PageCounts)
        ShowPage(Page() + 1);
}

void TTypeWiz::aHelpExecute() {
    if (!HelpTopics::Open(Page() + 3))
        QMessageBox::information(this, "Brumo", "The help for this page could not be opened.");
}

void TTypeWiz::btnFinishClick() {
    BuildType();
    accept();
}

// ---- window events -------------------------------------------------------------------

void TTypeWiz::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!activated_) {
        activated_ = true;
        ebName->setFocus();
    }
}

void TTypeWiz::closeEvent(QCloseEvent* event) {
    // Closed by its frame while counting: the worker must not outlive the window it calls.
    countsPage_->StopAndWait();
    QDialog::closeEvent(event);
}

void TTypeWiz::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (btnCancel->isEnabled())
            btnCancel->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace brumo
