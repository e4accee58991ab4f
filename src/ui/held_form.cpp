#include "ui/held_form.h"

#include "platform/clock.h"
#include "platform/date_time.h"
#include "platform/file_system.h"
#include "runs/size_text.h"
#include "ui/action_widgets.h"
#include "ui/path_column_delegate.h"
#include "ui/prompter.h"
#include "ui/status_hints.h"
#include "ui/widget_placement.h"

#include <QAction>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace brumo {

namespace {

constexpr const char* WindowName = "HeldForm";
constexpr int PathColumn = 0;
constexpr int SizeColumn = 1;
constexpr int HeldColumn = 2;
// Each file row keeps its index into the listed files here.
constexpr int FileRole = Qt::UserRole + 1;

// Sizes and times sort by their values, not by their texts.
class HeldItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override {
        const int column = treeWidget() ? treeWidget()->sortColumn() : PathColumn;
        if (column == PathColumn)
            return text(column).compare(other.text(column), Qt::CaseInsensitive) < 0;
        return data(column, Qt::UserRole).toDouble() < other.data(column, Qt::UserRole).toDouble();
    }
};

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString WhenText(TDateTime when) {
    if (when == 0)
        return "unknown";
    const CalendarDate date = DateTime::DecodeDate(when);
    const ClockTime time = DateTime::DecodeTime(when);
    const QDateTime local(QDate(date.year, date.month, date.day),
                          QTime(time.hour, time.minute, time.second));
    return QLocale().toString(local, QLocale::ShortFormat);
}

QString FilesText(int count) {
    return QString::fromStdString(SizeText::Grouped(count)) + (count == 1 ? " file" : " files");
}

} // namespace

THeldForm::THeldForm(QWidget* parent) : QDialog(parent) {
    setObjectName("HeldForm");
    setWindowTitle("Held files");
    setSizeGripEnabled(true);
    setMinimumSize(420, 260);
    resize(600, 380);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    auto* hints = new StatusHints(*StatusBar1);
    auto button = [this, hints](const char* name, QAction* action) {
        QPushButton* made = ActionWidgets::MakeButton(this, name, action);
        hints->Watch(made);
        return made;
    };

    aRestore = ActionWidgets::MakeAction(
        this, "aRestore", "&Restore",
        "Move the selected files back to where they were cleaned up from");
    aDelete = ActionWidgets::MakeAction(this, "aDelete", "&Delete for good",
                                        "Delete the selected files permanently");
    aPurge = ActionWidgets::MakeAction(
        this, "aPurge", "&Purge files held longer than",
        "Delete permanently every file held longer than the number of days");
    connect(aRestore, &QAction::triggered, this, &THeldForm::aRestoreExecute);
    connect(aDelete, &QAction::triggered, this, &THeldForm::aDeleteExecute);
    connect(aPurge, &QAction::triggered, this, &THeldForm::aPurgeExecute);

    tvHeld = new QTreeWidget(this);
    tvHeld->setObjectName("tvHeld");
    tvHeld->setHeaderLabels({"Original path", "Size", "Held since"});
    tvHeld->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tvHeld->setSortingEnabled(true);
    tvHeld->sortByColumn(PathColumn, Qt::AscendingOrder);
    tvHeld->setRootIsDecorated(false);
    tvHeld->setUniformRowHeights(true);
    tvHeld->setItemDelegateForColumn(PathColumn, new PathColumnDelegate(tvHeld));
    tvHeld->header()->setStretchLastSection(false);
    tvHeld->header()->setSectionResizeMode(PathColumn, QHeaderView::Stretch);
    hints->Set(tvHeld, "The files in the holding folders, by drive");
    lblTotal = new QLabel(this);
    lblTotal->setObjectName("lblTotal");

    btnRestore = button("btnRestore", aRestore);
    btnDelete = button("btnDelete", aDelete);
    btnPurge = button("btnPurge", aPurge);
    // A long caption: some fonts draw it wider than measured.
    btnPurge->setMinimumWidth(btnPurge->sizeHint().width() + 2 * fontMetrics().averageCharWidth());
    seDays = new QSpinBox(this);
    seDays->setObjectName("seDays");
    seDays->setRange(0, 9999);
    seDays->setValue(30);
    hints->Set(seDays, "How many days a file must have been held to be purged");
    auto* daysLabel = new QLabel("days", this);
    btnClose = ActionWidgets::MakeButton(this, "btnClose", "Close", "Close this window");
    hints->Watch(btnClose);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(seDays, &QSpinBox::valueChanged, this, [this] { updateTimer_->start(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnRestore);
    buttons->addWidget(btnDelete);
    buttons->addStretch();
    buttons->addWidget(lblTotal);
    auto* purge = new QHBoxLayout;
    purge->addWidget(btnPurge);
    purge->addWidget(seDays);
    purge->addWidget(daysLabel);
    purge->addStretch();
    purge->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    int left = 0, top = 0, right = 0;
    layout->getContentsMargins(&left, &top, &right, nullptr);
    layout->setContentsMargins(left, top, right, 0); // the status bar closes the window
    layout->addWidget(tvHeld, 1);
    layout->addLayout(buttons);
    layout->addLayout(purge);
    layout->addWidget(StatusBar1);

    updateTimer_ = new QTimer(this);
    updateTimer_->setSingleShot(true);
    updateTimer_->setInterval(0);
    connect(updateTimer_, &QTimer::timeout, this, &THeldForm::aRestoreUpdate);
    connect(tvHeld, &QTreeWidget::itemSelectionChanged, this, [this] { updateTimer_->start(); });

    WidgetPlacement::Restore(*this, WindowName, true);
    LoadHeldFiles();
}

THeldForm::~THeldForm() {
    WidgetPlacement::Save(*this, WindowName, true);
}

void THeldForm::LoadHeldFiles() {
    files_ = HeldFiles::List();
    tvHeld->setSortingEnabled(false);
    tvHeld->clear();
    QTreeWidgetItem* drive = nullptr;
    int64_t driveBytes = 0;
    int64_t total = 0;
    auto closeDrive = [&] {
        if (!drive)
            return;
        drive->setText(SizeColumn, Text(SizeText::Of(driveBytes)));
        drive->setData(SizeColumn, Qt::UserRole, double(driveBytes));
    };
    for (size_t i = 0; i < files_.size(); ++i) {
        const HeldFile& file = files_[i];
        const QString letter = Text(file.originalPath.substr(0, 2));
        if (!drive || drive->data(PathColumn, Qt::UserRole).toString() != letter) {
            closeDrive();
            drive = new HeldItem(tvHeld, {"Drive " + letter});
            drive->setData(PathColumn, Qt::UserRole, letter);
            drive->setFlags(Qt::ItemIsEnabled);
            QFont bold = drive->font(PathColumn);
            bold.setBold(true);
            drive->setFont(PathColumn, bold);
            driveBytes = 0;
        }
        auto* row = new HeldItem(drive, {Text(file.originalPath), Text(SizeText::Of(file.size)),
                                         WhenText(file.heldSince)});
        row->setData(PathColumn, FileRole, qulonglong(i));
        row->setData(SizeColumn, Qt::UserRole, double(file.size));
        row->setData(HeldColumn, Qt::UserRole, file.heldSince);
        row->setTextAlignment(SizeColumn, Qt::AlignRight | Qt::AlignVCenter);
        driveBytes += file.size;
        total += file.size;
    }
    closeDrive();
    tvHeld->setSortingEnabled(true);
    tvHeld->expandAll();
    tvHeld->resizeColumnToContents(SizeColumn);
    tvHeld->resizeColumnToContents(HeldColumn);
    lblTotal->setText(files_.empty() ? QString("The holding folders hold no files")
                                     : "Held: " + Text(SizeText::Of(total)) + " in " +
                                           FilesText(int(files_.size())));
    aRestoreUpdate();
}

std::vector<const HeldFile*> THeldForm::SelectedFiles() const {
    std::vector<const HeldFile*> selected;
    for (QTreeWidgetItem* item : tvHeld->selectedItems()) {
        const QVariant index = item->data(PathColumn, FileRole);
        if (index.isValid() && index.toULongLong() < files_.size())
            selected.push_back(&files_[index.toULongLong()]);
    }
    return selected;
}

std::vector<HeldFile> THeldForm::PurgeCandidates() const {
    return HeldFiles::HeldLongerThan(files_, seDays->value(), Clock::Current().Now());
}

void THeldForm::aRestoreUpdate() {
    const bool selected = !SelectedFiles().empty();
    aRestore->setEnabled(selected);
    aDelete->setEnabled(selected);
    aPurge->setEnabled(!PurgeCandidates().empty());
}

void THeldForm::Report(int done, const QString& doneText, const QStringList& failures) {
    QString text = doneText.arg(FilesText(done));
    if (!failures.isEmpty())
        text += "\r\n\r\n" + failures.join("\r\n");
    Prompter::Tell(this, text, failures.isEmpty() ? PromptIcon::Information : PromptIcon::Warning);
    // The pressed button goes off with its files gone: the list keeps the keyboard, not the
    // next control that takes it.
    QWidget* focused = focusWidget();
    const Place place = TopSelected();
    LoadHeldFiles();
    if (focused && !focused->isEnabled())
        tvHeld->setFocus();
    SelectAt(place);
}

THeldForm::Place THeldForm::TopSelected() const {
    Place top;
    for (QTreeWidgetItem* item : tvHeld->selectedItems()) {
        QTreeWidgetItem* drive = item->parent();
        if (!drive)
            continue;
        const int group = tvHeld->indexOfTopLevelItem(drive);
        const int row = drive->indexOfChild(item);
        if (top.row < 0 || std::pair(group, row) < std::pair(top.group, top.row))
            top = {drive->data(PathColumn, Qt::UserRole).toString(), group, row};
    }
    return top;
}

void THeldForm::SelectAt(const Place& place) {
    // In a long list the user goes on from where the handled files were, not from the top:
    // the file that took the first one's row (or the drive's last) becomes the selected one.
    for (int i = 0; place.row >= 0 && i < tvHeld->topLevelItemCount(); ++i) {
        QTreeWidgetItem* drive = tvHeld->topLevelItem(i);
        if (drive->data(PathColumn, Qt::UserRole).toString() != place.drive ||
            drive->childCount() == 0)
            continue;
        QTreeWidgetItem* next = drive->child(std::min(place.row, drive->childCount() - 1));
        tvHeld->setCurrentItem(next);
        tvHeld->scrollToItem(next);
        return;
    }
}

bool THeldForm::TakeRunLock(std::unique_ptr<FileLock>& lock) {
    if (runLockPath_.empty())
        return true;
    bool held = false;
    OsError error;
    lock = FileLock::TryTake(runLockPath_, held, error);
    if (!held)
        return true; // where no lock file can be made, no run can hold one either
    Prompter::Tell(this,
                   "A clean-up run, restore or purge is in progress in another Brumo. Try again "
                   "when it has finished; nothing was changed.",
                   PromptIcon::Warning);
    return false;
}

void THeldForm::aRestoreExecute() {
    std::unique_ptr<FileLock> lock;
    if (!TakeRunLock(lock))
        return;
    int done = 0;
    QStringList failures;
    for (const HeldFile* file : SelectedFiles()) {
        const std::string& path = file->originalPath;
        bool keepBoth = false;
        if (FileSystem::FileExistsAsNamed(path) && !FileSystem::FolderExists(path)) {
            keepBoth = Prompter::AskYes(this,
                                        "A file named \"" + Text(path) +
                                            "\" is already there.\r\n\r\nKeep both, restoring "
                                            "the held file under a new name?",
                                        PromptIcon::Question);
            if (!keepBoth) {
                failures << Text(path) + ": the file already there was kept";
                continue;
            }
        }
        const HeldOutcome outcome = HeldFiles::Restore(*file, keepBoth);
        if (outcome.done)
            ++done;
        else
            failures << Text(path) + ": " + Text(outcome.reason);
    }
    Report(done, "Restored %1.", failures);
}

void THeldForm::DeleteForGood(const std::vector<HeldFile>& files, const QString& which) {
    if (!Prompter::ConfirmIrreversible(
            this, "Delete " + FilesText(int(files.size())) + which + " for good? " +
                      (files.size() == 1 ? "It" : "They") + " cannot be restored afterwards."))
        return;
    std::unique_ptr<FileLock> lock;
    if (!TakeRunLock(lock))
        return;
    int done = 0;
    QStringList failures;
    for (const HeldFile& file : files) {
        const HeldOutcome outcome = HeldFiles::Delete(file);
        if (outcome.done)
            ++done;
        else
            failures << Text(file.originalPath) + ": " + Text(outcome.reason);
    }
    Report(done, "Deleted %1 for good.", failures);
}

void THeldForm::aDeleteExecute() {
    std::vector<HeldFile> files;
    for (const HeldFile* file : SelectedFiles())
        files.push_back(*file);
    DeleteForGood(files, {});
}

void THeldForm::aPurgeExecute() {
    const int days = seDays->value();
    DeleteForGood(PurgeCandidates(),
                  " held longer than " + QString::number(days) + (days == 1 ? " day" : " days"));
}

} // namespace brumo
