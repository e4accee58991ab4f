#include "ui/hd_form.h"

#include "engine/worker_progress.h"
#include "runs/cleanup_run.h"
#include "runs/count_run.h"
#include "runs/recycle_settings_check.h"
#include "ui/about_form.h"
#include "ui/application.h"
#include "ui/held_form.h"
#include "ui/junk_item.h"
#include "ui/junk_list_commands.h"
#include "ui/junk_list_files.h"
#include "ui/junk_rows.h"
#include "ui/main_count_front.h"
#include "ui/main_run_front.h"
#include "ui/main_window_controls.h"
#include "ui/name_edit_delegate.h"
#include "ui/prompter.h"
#include "ui/qt_main_thread.h"
#include "ui/status_hints.h"
#include "ui/widget_placement.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolTip>

namespace brumo {

namespace {

constexpr const char* WindowName = "HDForm";
constexpr int HelpRecycleBin = 12;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

THDForm::THDForm(MainWindowSetup setup, QWidget* parent)
    : QMainWindow(parent), setup_(std::move(setup)) {
    setObjectName(WindowName);
    setWindowTitle(ApplicationTitle);
    setMinimumSize(460, 350);
    resize(520, 400);
    if (!setup_.runDialog)
        setup_.runDialog = [](QDialog& dialog) { return dialog.exec(); };

    updateTimer_ = new QTimer(this);
    updateTimer_->setSingleShot(true);
    updateTimer_->setInterval(0);
    connect(updateTimer_, &QTimer::timeout, this, &THDForm::aAddUpdate);
    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(250);
    connect(progressTimer_, &QTimer::timeout, this, &THDForm::ShowProgress);

    files_ = std::make_unique<JunkListFiles>(setup_.files, this);
    commands_ = std::make_unique<JunkListCommands>(*this);
    MainWindowControls(*this).Build();

    rows_ = std::make_unique<JunkRows>(*this);
    runFront_ = std::make_unique<MainRunFront>(*this);
    countFront_ = std::make_unique<MainCountFront>(*this);
    countProgress_ = std::make_shared<WorkerProgress>();

    CleanupRunSetup run;
    run.front = runFront_.get();
    run.types = rows_.get();
    run.mainThread = &QtMainThread::Instance();
    run.recycleSettings = setup_.recycle;
    run.logPath = setup_.files.Log;
    run.testLogPath = setup_.files.TestLog;
    run.excludedFolders = setup_.files.ExcludedFolders();
    cleanup_ = std::make_unique<CleanupRun>(std::move(run));

    count_ = std::make_unique<CountRun>(*countFront_, QtMainThread::Instance());
    std::vector<std::string> excluded = setup_.files.ExcludedFolders();
    if (!excluded.empty()) {
        std::string program = excluded.front();
        excluded.erase(excluded.begin());
        count_->SetExcludedFolders(std::move(program), std::move(excluded));
    }
    count_->SetProgress(countProgress_);

    qApp->installEventFilter(this);
    FormCreate();
}

THDForm::~THDForm() {
    qApp->removeEventFilter(this);
    // The workers read the rows' types: they end before the rows go.
    closing_ = true;
    StopRunAndWait();
    if (created_)
        WidgetPlacement::Save(*this, WindowName, true);
}

// ---------------------------------------------------------------------------------------
// Creation, activation, closing

void THDForm::FormCreate() {
    runMode_ = RunIdle;
    undo_.reset();
    WidgetPlacement::Restore(*this, WindowName, true);
    created_ = true;
    for (TJunkFileObj& type : files_->Load(RecycleUnusable()))
        AppendRow(std::make_unique<TJunkFileObj>(std::move(type)));
    aAddUpdate();
}

bool THDForm::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::WindowActivate:
        // After the activation has been handled, so that the window is drawn first.
        QMetaObject::invokeMethod(this, &THDForm::FormActivate, Qt::QueuedConnection);
        break;
    case QEvent::StatusTip:
        ShowHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    default:
        break;
    }
    return QMainWindow::event(event);
}

void THDForm::FormActivate() {
    if (activating_ || closing_)
        return;
    activating_ = true;
    if (RecycleUnusable()) {
        const int disabled = CleanupRun::DisableRecycleTypes(*rows_);
        if (disabled > 0)
            Prompter::Tell(this,
                           RecycleError(QString("%1 junk file types that rely on the Recycle "
                                                "Bin have been disabled.")
                                            .arg(disabled)),
                           PromptIcon::Error, HelpRecycleBin);
    }
    const int row =
        keepRowOnActivate_ >= 0 && keepRowOnActivate_ < RowCount() ? keepRowOnActivate_ : 0;
    keepRowOnActivate_ = -1;
    if (RowCount() > 0)
        lvJunk->setCurrentRow(row);
    aAddUpdate();
    activating_ = false;
}

void THDForm::SetTestMode(bool on) {
    cbTestMode->setChecked(on);
}

void THDForm::BringToFront() {
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void THDForm::closeEvent(QCloseEvent* event) {
    if (closing_ && runMode_ != RunIdle) {
        event->ignore(); // already waiting for the run to end
        return;
    }
    closing_ = true;
    StopRunAndWait();
    files_->SaveAtClose(ListTypes());
    event->accept();
}

void THDForm::StopRunAndWait() {
    if (runMode_ == RunCleaning)
        cleanup_->Stop();
    else if (runMode_ == RunCounting)
        count_->Stop();
    // The worker's end is delivered through the event loop.
    while (runMode_ != RunIdle)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents |
                                        QEventLoop::ExcludeUserInputEvents);
}

// ---------------------------------------------------------------------------------------
// Rows

JunkItem* THDForm::Row(int row) const {
    return row >= 0 && row < lvJunk->count() ? static_cast<JunkItem*>(lvJunk->item(row)) : nullptr;
}

int THDForm::RowCount() const {
    return lvJunk->count();
}

const TJunkFileObj* THDForm::TypeAt(int row) const {
    JunkItem* item = Row(row);
    return item ? item->Type() : nullptr;
}

bool THDForm::RowChecked(int row) const {
    JunkItem* item = Row(row);
    return item && item->Checked();
}

int THDForm::SelectedRow() const {
    const QList<QListWidgetItem*> selected = lvJunk->selectedItems();
    return selected.isEmpty() ? -1 : lvJunk->row(selected.front());
}

std::vector<const TJunkFileObj*> THDForm::ListTypes() const {
    std::vector<const TJunkFileObj*> types;
    for (int i = 0; i < RowCount(); ++i)
        if (const TJunkFileObj* type = TypeAt(i))
            types.push_back(type);
    return types;
}

JunkItem* THDForm::AppendRow(std::unique_ptr<TJunkFileObj> type) {
    auto* row = new JunkItem(std::move(type));
    lvJunk->addItem(row);
    return row;
}

void THDForm::SetRowChecked(JunkItem* row, bool checked) {
    if (row->Checked() == checked)
        lvJunkChange(row);
    else
        row->setCheckState(checked ? Qt::Checked : Qt::Unchecked); // -> lvJunkChange
}

void THDForm::lvJunkItemChanged(QListWidgetItem* item) {
    auto* row = static_cast<JunkItem*>(item);
    if (row->Checked() == row->seenChecked)
        return; // the caption changed
    row->seenChecked = row->Checked();
    lvJunkChange(row);
    ScheduleUpdate();
}

void THDForm::lvJunkChange(JunkItem* row) {
    TJunkFileObj* type = row->Type();
    if (!type || runMode_ != RunIdle)
        return;
    if (row->Checked() && type->Method == MethodRecycleBin && RecycleUnusable()) {
        row->setCheckState(Qt::Unchecked);
        type->Enabled = false;
        Prompter::Tell(this,
                       RecycleError("This junk file type sends files to the Recycle Bin. You "
                                    "cannot enable it at this time."),
                       PromptIcon::Error, HelpRecycleBin);
        return;
    }
    type->Enabled = row->Checked();
}

void THDForm::lvJunkSelectItem() {
    if (runMode_ != RunIdle) {
        // The row being worked on stays the selected one.
        if (runIndex_ >= 0 && runIndex_ < RowCount() && SelectedRow() != runIndex_)
            lvJunk->setCurrentRow(runIndex_);
        return;
    }
    if (SelectedRow() != keepRowOnActivate_)
        keepRowOnActivate_ = -1; // the user has moved on
    ScheduleUpdate();
}

bool THDForm::lvJunkEdited(int row, const QString& text) {
    if (text.isEmpty() || runMode_ != RunIdle)
        return false;
    TJunkFileObj* type = TypeAt(row) ? Row(row)->Type() : nullptr;
    const std::string name = text.toStdString();
    if (type && type->Name != name) {
        type->Name = name;
        files_->WriteRecoveryCopy(ListTypes());
    }
    return true;
}

// ---------------------------------------------------------------------------------------
// Enabling rules and hints

void THDForm::ScheduleUpdate() {
    updateTimer_->start();
}

void THDForm::aAddUpdate() {
    CommandInputs in;
    in.runMode = runMode_;
    in.rowCount = RowCount();
    in.selected = SelectedRow();
    in.anyChecked = rows_->AnyTypeChecked();
    in.undoHeld = undo_ != nullptr;
    const CommandStates s = CommandRules::Evaluate(in);
    aCleanup->setEnabled(s.cleanup);
    cbTestMode->setEnabled(s.testMode);
    aAdd->setEnabled(s.add);
    aDefaults->setEnabled(s.defaults);
    aRem->setEnabled(s.rem);
    aEdit->setEnabled(s.edit);
    aProps->setEnabled(s.props);
    aCount->setEnabled(s.count);
    aUndo->setEnabled(s.undo);
    aUp->setEnabled(s.up);
    aDn->setEnabled(s.down);
    aCheckAll->setEnabled(s.checkAll);
    aClearAll->setEnabled(s.clearAll);
    mnuMethodAll->menuAction()->setEnabled(s.methodAll);
    aHeld->setEnabled(s.held);
    aHelp->setEnabled(s.help);
    aAbout->setEnabled(s.about);
    aExit->setEnabled(s.exit);
}

bool THDForm::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
        if (watched == pnlButtons) {
            pnlButtonsMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
        } else if (auto* button = qobject_cast<QPushButton*>(watched);
                   button && button->parentWidget() == pnlButtons && !button->isEnabled()) {
            // A disabled button swallows the move without passing it to the column.
            const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
            pnlButtonsMouseMove(button->mapToParent(pos));
        }
        break;
    case QEvent::MouseButtonRelease:
        if (watched == lvJunk->viewport()) {
            // A click on a row's check box also makes it the selected row.
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (QListWidgetItem* item = lvJunk->itemAt(mouse->position().toPoint()))
                if (runMode_ == RunIdle)
                    lvJunk->setCurrentItem(item);
        }
        ScheduleUpdate();
        break;
    case QEvent::ShortcutOverride:
        if (RenameEditorKey(watched, static_cast<QKeyEvent*>(event))) {
            event->accept();
            return true;
        }
        ScheduleUpdate();
        break;
    case QEvent::KeyPress:
        // Shift+F10 opens the popup menu as the menu key does.
        if (watched == lvJunk && static_cast<QKeyEvent*>(event)->keyCombination() ==
                                     QKeyCombination(Qt::ShiftModifier, Qt::Key_F10)) {
            pmMainPopup(std::nullopt);
            return true;
        }
        break;
    case QEvent::ContextMenu:
        if (watched == lvJunk &&
            static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
            pmMainPopup(std::nullopt);
            return true;
        }
        break;
    case QEvent::ToolTip:
        if (watched == lvJunk->viewport())
            return lvJunkToolTip(static_cast<QHelpEvent*>(event));
        break;
    case QEvent::StatusTip:
        // Menus tell their items' hints to themselves: the window shows them.
        if (watched == pmMain || watched == mnuMethodAll) {
            ShowHint(static_cast<QStatusTipEvent*>(event)->tip());
        } else if (auto* control = qobject_cast<QWidget*>(watched);
                   control && !control->isEnabled() && control->window() == this) {
            // Qt tells a disabled control's hint as an enabled one's.
            const bool leaving = static_cast<QStatusTipEvent*>(event)->tip().isEmpty();
            ShowHint(leaving ? QString() : StatusHints::Of(*control));
            return true;
        }
        break;
    case QEvent::EnabledChange:
        // A control that changes its state under the mouse changes its hint with it.
        if (auto* control = qobject_cast<QWidget*>(watched); control && control->underMouse() &&
                                                             control->window() == this &&
                                                             !control->statusTip().isEmpty())
            ShowHint(StatusHints::Of(*control));
        break;
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
        ScheduleUpdate(); // the rules follow every input, once the program is idle again
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool THDForm::RenameEditorKey(QObject* watched, QKeyEvent* event) const {
    auto* editor = qobject_cast<QLineEdit*>(watched);
    if (!editor || editor->parentWidget() != lvJunk->viewport())
        return false;
    const QKeySequence pressed(event->keyCombination());
    for (const QAction* action : actions())
        if (action->shortcuts().contains(pressed))
            return true;
    return false;
}

bool THDForm::lvJunkToolTip(QHelpEvent* event) {
    QListWidgetItem* item = lvJunk->itemAt(event->pos());
    const QWidget* viewport = lvJunk->viewport();
    // The caption is cut where its row reaches past the visible part of the list.
    if (item && lvJunk->visualItemRect(item).right() >= viewport->width()) {
        QToolTip::showText(event->globalPos(), item->text(), lvJunk->viewport(),
                           lvJunk->visualItemRect(item));
    } else {
        QToolTip::hideText();
        event->ignore();
    }
    return true;
}

void THDForm::pnlButtonsMouseMove(const QPoint& pos) {
    for (QPushButton* button : pnlButtons->findChildren<QPushButton*>()) {
        if (!button->isHidden() && button->geometry().contains(pos)) {
            pnlButtons->setStatusTip(StatusHints::Of(*button));
            ShowHint(pnlButtons->statusTip());
            return;
        }
    }
    pnlButtons->setStatusTip({});
    ShowHint({});
}

void THDForm::ShowHint(const QString& hint) {
    // A clean-up run's progress owns the status bar.
    if (runMode_ > RunCounting)
        return;
    StatusPanel1->setText(hint);
}

// ---------------------------------------------------------------------------------------
// Commands

bool THDForm::RecycleUnusable() {
    return setup_.recycle && setup_.recycle->CheckRecycleSettings();
}

QString THDForm::RecycleError(const QString& sentence) const {
    QString text = setup_.recycle ? Q(setup_.recycle->RecycleSettingsError()) : QString("%s");
    const qsizetype at = text.indexOf("%s");
    if (at >= 0)
        text.replace(at, 2, sentence);
    return text;
}

int THDForm::RunDialog(QDialog& dialog) {
    return setup_.runDialog(dialog);
}

void THDForm::pmMainPopup(std::optional<QPoint> pos) {
    aAddUpdate();
    if (!pos) {
        // From the keyboard: at the current row, within the part of it that is seen.
        const QRect seen = lvJunk->viewport()->rect();
        QRect row = lvJunk->visualItemRect(lvJunk->currentItem()).intersected(seen);
        if (row.isEmpty())
            row = QRect(seen.topLeft(), QSize(1, 1));
        pos = lvJunk->viewport()->mapTo(
            lvJunk, QPoint(row.left() + std::min(row.width(), 40), row.center().y()));
    }
    pmMain->popup(lvJunk->mapToGlobal(*pos));
}

void THDForm::aCountExecute() {
    if (runMode_ == RunCounting) {
        count_->Stop();
        return;
    }
    const int index = SelectedRow();
    const TJunkFileObj* type = TypeAt(index);
    if (!type || runMode_ != RunIdle)
        return;
    runIndex_ = index;
    count_->Press(type, index);
}

void THDForm::aCleanupExecute() {
    if (runMode_ == RunCounting)
        return;
    cleanup_->Execute(cbTestMode->isChecked());
    aAddUpdate();
}

void THDForm::aHeldExecute() {
    THeldForm held(this);
    if (!Files().Log.empty())
        held.SetRunLockPath(Files().Log + ".lock");
    RunDialog(held);
}

void THDForm::aHelpExecute() {
    if (setup_.openHelp)
        setup_.openHelp(0);
}

void THDForm::aAboutExecute() {
    auto openHelp = setup_.openHelp;
    TAboutForm about(
        setup_.version,
        [openHelp] {
            if (openHelp)
                openHelp(0);
        },
        this);
    RunDialog(about);
}

// ---------------------------------------------------------------------------------------
// Run state

void THDForm::EnterRun(int mode) {
    // No rename survives into the run: its editor closes without a word.
    renameDelegate_->Discard();
    runMode_ = mode;
    if (mode == RunCounting) {
        countProgress_->foldersSearched = 0;
        countProgress_->filesMatched = 0;
    }
    pendingFileCount_.store(-1);
    progressTimer_->start();
    QWidget* focused = QApplication::focusWidget();
    aAddUpdate();
    // A control the run switches off would hand the keyboard to the next one in the chain,
    // often Exit; it goes to where the run is stopped instead (Count's Stop is in the list's
    // menu).
    if (focused && !focused->isEnabled()) {
        QWidget* stop = mode == RunCleaning ? static_cast<QWidget*>(btnCleanup) : lvJunk;
        stop->setFocus(Qt::OtherFocusReason);
    }
}

void THDForm::LeaveRun() {
    progressTimer_->stop();
    pendingFileCount_.store(-1);
    const int mode = runMode_;
    runMode_ = RunIdle;
    if (mode == RunCounting)
        keepRowOnActivate_ = runIndex_;
    runIndex_ = -1;
    if (mode == RunCounting)
        StatusPanel0->clear();
    // Check boxes clicked during the run take effect now, under the check-box rule.
    for (int i = 0; i < RowCount(); ++i) {
        JunkItem* row = Row(i);
        if (row->Type() && row->Checked() != row->Type()->Enabled)
            lvJunkChange(row);
    }
    aAddUpdate();
}

void THDForm::ShowProgress() {
    if (runMode_ == RunCounting) {
        StatusPanel0->setText(QString::number(countProgress_->filesMatched.load()));
        return;
    }
    const int32_t count = pendingFileCount_.exchange(-1);
    if (count >= 0)
        StatusPanel0->setText(QString::number(count));
}

} // namespace brumo
