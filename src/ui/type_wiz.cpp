#include "ui/type_wiz.h"

#include "engine/local_drives.h"
#include "model/display_names.h"
#include "model/styled_text.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "ui/comparison_combo.h"
#include "ui/dir_sel_images.h"
#include "ui/help_topics.h"
#include "ui/key_filter.h"
#include "ui/name_form.h"
#include "ui/new_pick_form.h"
#include "ui/qt_main_thread.h"
#include "ui/spec_form.h"
#include "ui/styled_text_view.h"
#include "ui/widget_placement.h"
#include "ui/wizard_counts_page.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>
#include <span>

namespace brumo {

namespace {
constexpr int kNameTypingLimit = 32;
constexpr int kSelectionColumnWidth = 140;

QStringList Names(std::span<const std::string_view> table) {
    QStringList names;
    for (std::string_view name : table)
        names << QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    return names;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

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

// The entry the user has selected, -1 for none (a current row alone is not a selection).
int SelectedRow(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? list->currentRow() : -1;
}

std::vector<std::string> Entries(const QListWidget* list) {
    std::vector<std::string> entries;
    for (int i = 0; i < list->count(); ++i)
        entries.push_back(list->item(i)->text().toStdString());
    return entries;
}

const char* SelectionText(int mode) {
    switch (mode) {
    case FolderAndSubfolders:
        return "Folder and subfolders";
    case FolderOnly:
        return "Folder only";
    case SubfoldersOnly:
        return "Subfolders only";
    default:
        return "";
    }
}

// The tick stands for the folder's own files, green for searched subfolders, red for none.
QIcon ModeIcon(int mode) {
    switch (mode) {
    case FolderAndSubfolders:
        return DirSelImages::NodeIcon(0, DirSelImages::Tick::Ticked);
    case FolderOnly:
        return DirSelImages::NodeIcon(1, DirSelImages::Tick::Ticked);
    case SubfoldersOnly:
        return DirSelImages::NodeIcon(0, DirSelImages::Tick::Unticked);
    default:
        return {};
    }
}

// A new widget (or action) under its object name.
template <class T, class... Args> T* Named(const char* name, Args&&... args) {
    auto* object = new T(std::forward<Args>(args)...);
    object->setObjectName(name);
    return object;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, const char* name = nullptr) {
    auto* label = new QLabel(text, parent);
    if (name)
        label->setObjectName(name);
    return label;
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

// A page's caption over the rest of its controls.
QVBoxLayout* CaptionedColumn(QWidget* page, const QString& caption) {
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(MakeLabel(page, caption));
    return layout;
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

TTypeWiz::TTypeWiz(QWidget* parent, std::optional<ProgramFiles> files) : QDialog(parent) {
    setObjectName("TypeWiz");
    setWindowTitle("Junk file type wizard");
    QFont font("Arial");
    font.setPixelSize(13);
    setFont(font);
    setSizeGripEnabled(false);

    const ProgramFiles program = files ? *files : ProgramFiles::OfThisProgram();
    foundFiles_ = program.FoundFiles;
    WizardCountsPage::Setup counting;
    counting.foundFiles = foundFiles_;
    counting.excludedFolders = program.ExcludedFolders();
    counting.mainThread = &QtMainThread::Instance();

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
        button->installEventFilter(this); // their hints go to the status bar too
    pcWiz->addWidget(countsPage_);

    QWidget* bar = MakeButtonBar();
    StatusBar1 = Named<QStatusBar>("StatusBar1", this);
    StatusBar1->setSizeGripEnabled(true);

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
    setMinimumSize(445, 330);
    resize(506, 296);

    // Creation order: first page, date comparisons, placement, the all-drives entry, the
    // date pickers at today.
    pcWiz->setCurrentIndex(TypeWizRules::PageName);
    rbDate->setChecked(true);
    WidgetPlacement::Restore(*this, "TypeWiz", true);
    allDrivesEntry_ = "Local drives (" + LocalDrives::LocalDriveList(":", ",") + ")";
    const QDate today = ToQDate(DateTime::DateOf(Clock::Current().Now()));
    for (QDateEdit* picker : {dpDateDat1, dpDateDat2}) {
        QSignalBlocker block(picker);
        picker->setDate(today);
    }
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
    auto* action = Named<QAction>(name, caption, this);
    action->setStatusTip(hint);
    return action;
}

QPushButton* TTypeWiz::MakeButton(QWidget* parent, const char* name, QAction* action) {
    QPushButton* button = MakeButton(parent, name, action->text(), action->statusTip());
    connect(button, &QPushButton::clicked, action, &QAction::trigger);
    connect(action, &QAction::changed, button,
            [button, action] { button->setEnabled(action->isEnabled()); });
    button->setEnabled(action->isEnabled());
    return button;
}

QPushButton* TTypeWiz::MakeButton(QWidget* parent, const char* name, const QString& caption,
                                  const QString& hint) {
    auto* button = Named<QPushButton>(name, caption, parent);
    button->setAutoDefault(false);
    SetHint(button, hint);
    return button;
}

void TTypeWiz::SetHint(QWidget* control, const QString& hint) {
    control->setStatusTip(hint);
    control->installEventFilter(this);
}

QWidget* TTypeWiz::MakeNamePage() {
    auto* page = Named<QWidget>("tsName");
    ebName = Named<QLineEdit>("ebName", page);
    ebName->setMaxLength(kNameTypingLimit);
    SetHint(ebName, "Enter a descriptive name");
    cbEnabled = Named<QCheckBox>("cbEnabled", "&Enable", page);
    SetHint(cbEnabled,
            "Only enabled types will be cleaned up - this corresponds to check box in main form");
    gbClean = Named<QGroupBox>("gbClean", "Clean-up method", page);
    rbRecycle = Named<QRadioButton>("rbRecycle", "Send to Recycle Bin", gbClean);
    SetHint(rbRecycle, "Send removed files to Recycle Bin. Can restore by opening Recycle Bin");
    rbBackup = Named<QRadioButton>("rbBackup", "Move to holding folder", gbClean);
    SetHint(rbBackup, "Move files to folder \\HDVal$$$.$$$. Restore manually.");
    rbDelete = Named<QRadioButton>("rbDelete", "Delete permanently", gbClean);
    SetHint(rbDelete, "Delete files permanently. Speed: Fast. Restore: none.");
    rbRecycle->setChecked(true);
    auto* methods = new QVBoxLayout(gbClean);
    for (QRadioButton* rb : {rbRecycle, rbBackup, rbDelete}) {
        methods->addWidget(rb);
        connect(rb, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                MethodChanged();
        });
    }

    QVBoxLayout* layout = CaptionedColumn(page, "Name for this junk file type:");
    layout->addWidget(ebName);
    layout->addWidget(cbEnabled);
    layout->addWidget(gbClean);
    layout->addStretch();
    connect(ebName, &QLineEdit::textChanged, this, &TTypeWiz::UpdateButtons);
    return page;
}

QWidget* TTypeWiz::MakeDirsPage() {
    auto* page = Named<QWidget>("tsDirs");
    lvDirs = Named<QTreeWidget>("lvDirs", page);
    lvDirs->setColumnCount(2);
    lvDirs->setHeaderLabels({"Folder", "Selection"});
    lvDirs->setRootIsDecorated(false);
    lvDirs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvDirs->setIconSize(DirSelImages::NodeIconSize());
    lvDirs->header()->setStretchLastSection(false);
    lvDirs->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    lvDirs->header()->setSectionResizeMode(1, QHeaderView::Fixed);

    SetHint(lvDirs, "To change the selected folders, click Change below");

    aDirChange = MakeAction("aDirChange", "Chan&ge",
                            "Choose which folders to search using a checkable folder tree");
    adirClear =
        MakeAction("adirClear", "&Clear", "Clear the folder list:search all local fixed disks");
    connect(aDirChange, &QAction::triggered, this, &TTypeWiz::adirChangeExecute);
    connect(adirClear, &QAction::triggered, this, &TTypeWiz::adirClearExecute);

    auto* panel = Named<QWidget>("pnlDirButtons", page);
    hintPanels_.insert(panel);
    auto* buttons = new QHBoxLayout(panel);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(MakeButton(panel, "btndirChange", aDirChange));
    buttons->addWidget(MakeButton(panel, "btndirClear", adirClear));
    buttons->addStretch();

    QVBoxLayout* layout = CaptionedColumn(page, "Choose folders to search");
    layout->addWidget(lvDirs, 1);
    layout->addWidget(panel);
    return page;
}

QWidget* TTypeWiz::MakeDeletesPage() {
    auto* page = Named<QWidget>("tsDels");
    lbDels = Named<QListWidget>("lbDels", page);

    aDelAdd = MakeAction("aDelAdd", "&Add", "Add a file specification to be processed");
    aDelEdit = MakeAction("aDelEdit", "&Edit", "Edit the selected file specification");
    adelRem = MakeAction("adelRem", "&Remove", "Remove the selected file specification");
    adelClear = MakeAction("adelClear", "&Clear", "Clear the list of file specifications");
    QLayout* top =
        MakeListWithButtons(page, lbDels, "pnlDelButtons", {aDelAdd, aDelEdit, adelRem, adelClear},
                            {"btnDelAdd", "btnDelEdit", "btnDelRem", "btnDelClr"});

    // The restriction panel reads as two sentences over four lines.
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
    for (QLineEdit* edit : {ebSizeDat1, ebSizeDat2}) {
        edit->setMaximumWidth(90);
        new KeyFilter(edit, [](QChar ch) { return ch < '0' || ch > '9'; });
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { ebSizeChange(edit); });
    }
    for (QWidget* w : std::initializer_list<QWidget*>{
             rbDate, rbAge, cbDateType, dpDateDat1, cbAgeDat1, lblDateAnd, dpDateDat2, cbAgeDat2,
             cbSizeType, ebSizeDat1, lblSizeAnd, ebSizeDat2, cbSizeUnits})
        w->setEnabled(false);

    auto* line1 = new QHBoxLayout;
    line1->addWidget(ckRstDate);
    line1->addWidget(rbDate);
    line1->addWidget(rbAge);
    line1->addWidget(MakeLabel(panel, "is"));
    line1->addStretch();
    auto* line2 = new QHBoxLayout;
    line2->setContentsMargins(20, 0, 0, 0);
    line2->addWidget(cbDateType);
    line2->addWidget(dpDateDat1);
    line2->addWidget(cbAgeDat1);
    line2->addWidget(lblDateAnd);
    line2->addWidget(dpDateDat2);
    line2->addWidget(cbAgeDat2);
    line2->addStretch();
    auto* line4 = new QHBoxLayout;
    line4->setContentsMargins(20, 0, 0, 0);
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

    QVBoxLayout* layout = CaptionedColumn(page, " Search and process these file specifications");
    layout->addLayout(top, 1);
    layout->addWidget(panel);
    return page;
}

QWidget* TTypeWiz::MakeProtectsPage() {
    auto* page = Named<QWidget>("tsProts");
    lbProts = Named<QListWidget>("lbProts", page);
    aproAdd = MakeAction("aproAdd", "&Add", "Add a new file specification to be protected");
    aProEdit = MakeAction("aProEdit", "&Edit", "Edit the selected file specification");
    aproRem = MakeAction("aproRem", "&Remove", "Remove the selected file specification");
    aproClear =
        MakeAction("aproClear", "&Clear", "Clear the list of file specifications to be protected");
    QLayout* top = MakeListWithButtons(page, lbProts, "pnlProtButtons",
                                       {aproAdd, aProEdit, aproRem, aproClear},
                                       {"btnPAdd", "btnPEdit", "btnPRem", "btnPClear"});

    QVBoxLayout* layout =
        CaptionedColumn(page, " Protect files matching these file specifications from deletion");
    layout->addLayout(top, 1);
    return page;
}

QLayout* TTypeWiz::MakeListWithButtons(QWidget* page, QListWidget* list, const char* columnName,
                                       const std::array<QAction*, 4>& actions,
                                       const std::array<const char*, 4>& buttonNames) {
    using Command = void (TTypeWiz::*)(QListWidget*);
    constexpr std::array<Command, 4> commands{&TTypeWiz::ListAdd, &TTypeWiz::ListEdit,
                                              &TTypeWiz::ListRemove, &TTypeWiz::ListClear};
    auto* column = Named<QWidget>(columnName, page);
    hintPanels_.insert(column);
    auto* columnLayout = new QVBoxLayout(column);
    columnLayout->setContentsMargins(0, 0, 0, 0);
    for (std::size_t i = 0; i < actions.size(); ++i) {
        connect(actions[i], &QAction::triggered, this,
                [this, list, command = commands[i]] { (this->*command)(list); });
        columnLayout->addWidget(MakeButton(column, buttonNames[i], actions[i]));
    }
    columnLayout->addStretch();
    connect(list, &QListWidget::itemSelectionChanged, this, &TTypeWiz::ListCommandsUpdate);

    auto* top = new QHBoxLayout;
    top->addWidget(column);
    top->addWidget(list, 1);
    return top;
}

QWidget* TTypeWiz::MakeSummaryPage() {
    auto* page = Named<QWidget>("tsSummary");
    reProps = Named<QTextEdit>("reProps", page);
    reProps->setReadOnly(true);
    reProps->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(reProps);
    return page;
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
    buttons->addSpacing(8);
    buttons->addWidget(btnFinish);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(pnlButtons);
    layout->setContentsMargins(8, 0, 8, 6);
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

// ---- folders -------------------------------------------------------------------------

void TTypeWiz::AddFolderEntry(const FolderEntry& entry) {
    auto* item = new QTreeWidgetItem(lvDirs);
    item->setText(0, Text(entry.path));
    item->setData(0, Qt::UserRole, entry.mode);
    if (!TypeWizRules::IsAllDrivesEntry(entry.path)) {
        item->setIcon(0, ModeIcon(entry.mode));
        item->setText(1, SelectionText(entry.mode));
    }
}

std::vector<FolderEntry> TTypeWiz::FolderEntries() const {
    std::vector<FolderEntry> entries;
    for (int i = 0; i < lvDirs->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = lvDirs->topLevelItem(i);
        entries.push_back({item->text(0).toStdString(), item->data(0, Qt::UserRole).toInt()});
    }
    return entries;
}

void TTypeWiz::adirChangeExecute() {
    std::vector<FolderEntry> chosen;
    for (const FolderEntry& entry : FolderEntries())
        if (!TypeWizRules::IsAllDrivesEntry(entry.path))
            chosen.push_back(entry);
    TNewPickForm picker(this);
    picker.SetFolders(chosen);
    if (picker.exec() != QDialog::Accepted)
        return;
    std::vector<FolderEntry> folders;
    picker.GetFolders(folders);
    lvDirs->clear();
    for (const FolderEntry& entry : folders)
        AddFolderEntry(entry);
    adirClearUpdate();
}

void TTypeWiz::adirClearExecute() {
    lvDirs->clear();
    AddFolderEntry({allDrivesEntry_, FolderAndSubfolders});
    adirClearUpdate();
}

void TTypeWiz::adirClearUpdate() {
    const QTreeWidgetItem* first = lvDirs->topLevelItem(0);
    adirClear->setEnabled(first && !TypeWizRules::IsAllDrivesEntry(first->text(0).toStdString()));
}

// ---- specification lists -------------------------------------------------------------

bool TTypeWiz::EditEntry(QListWidget* list, std::string& entry) {
    if (list == lbDels) {
        TSpecForm form(this);
        if (!entry.empty())
            form.SetSpec(entry);
        if (form.exec() != QDialog::Accepted)
            return false;
        entry = form.GetSpec();
    } else {
        TNameForm form(this);
        if (!entry.empty())
            form.SetEntry(entry);
        if (form.exec() != QDialog::Accepted)
            return false;
        entry = form.GetEntry();
    }
    return true;
}

void TTypeWiz::ListAdd(QListWidget* list) {
    std::string entry;
    if (EditEntry(list, entry))
        list->addItem(Text(entry));
    ListCommandsUpdate();
    UpdateButtons();
}

void TTypeWiz::ListEdit(QListWidget* list) {
    const int row = SelectedRow(list);
    if (row < 0)
        return;
    std::string entry = list->item(row)->text().toStdString();
    if (EditEntry(list, entry))
        list->item(row)->setText(Text(entry));
    ListCommandsUpdate();
    UpdateButtons();
}

void TTypeWiz::ListRemove(QListWidget* list) {
    const int row = SelectedRow(list);
    if (row >= 0) {
        delete list->takeItem(row);
        if (list->count() > 0) {
            list->setCurrentRow(std::min(row, list->count() - 1));
        } else {
            list->setCurrentRow(-1);
        }
    }
    ListCommandsUpdate();
    UpdateButtons();
}

void TTypeWiz::ListClear(QListWidget* list) {
    list->clear();
    ListCommandsUpdate();
    UpdateButtons();
}

void TTypeWiz::ListCommandsUpdate() {
    aDelEdit->setEnabled(SelectedRow(lbDels) >= 0);
    adelRem->setEnabled(SelectedRow(lbDels) >= 0);
    adelClear->setEnabled(lbDels->count() > 0);
    aProEdit->setEnabled(SelectedRow(lbProts) >= 0);
    aproRem->setEnabled(SelectedRow(lbProts) >= 0);
    aproClear->setEnabled(lbProts->count() > 0);
}

// ---- restrictions --------------------------------------------------------------------

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

bool TTypeWiz::event(QEvent* event) {
    // Hints reach the status bar through the controls' own Enter and Leave (eventFilter).
    if (event->type() == QEvent::StatusTip)
        return true;
    return QDialog::event(event);
}

bool TTypeWiz::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter || event->type() == QEvent::Leave) {
        auto* control = qobject_cast<QWidget*>(watched);
        QString hint;
        if (control && event->type() == QEvent::Enter) {
            if (control->isEnabled()) {
                hint = control->statusTip();
            } else {
                // A disabled control shows its hint only on the panels that look for it.
                for (QWidget* w = control->parentWidget(); w && w != this; w = w->parentWidget())
                    if (hintPanels_.count(w)) {
                        hint = control->statusTip() + " (disabled)";
                        break;
                    }
            }
        }
        ShowHint(hint);
    }
    return QDialog::eventFilter(watched, event);
}

void TTypeWiz::ShowHint(const QString& hint) {
    if (hint.isEmpty())
        StatusBar1->clearMessage();
    else
        StatusBar1->showMessage(hint);
}

} // namespace brumo
