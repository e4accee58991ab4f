#include "ui/hd_form.h"

#include "engine/worker_progress.h"
#include "model/default_types.h"
#include "runs/cleanup_run.h"
#include "runs/count_run.h"
#include "runs/recycle_settings_check.h"
#include "ui/about_form.h"
#include "ui/application.h"
#include "ui/default_form.h"
#include "ui/junk_item.h"
#include "ui/junk_rows.h"
#include "ui/main_count_front.h"
#include "ui/main_run_front.h"
#include "ui/name_edit_delegate.h"
#include "ui/prompter.h"
#include "ui/prop_form.h"
#include "ui/qt_main_thread.h"
#include "ui/type_wiz.h"
#include "ui/widget_placement.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <filesystem>

namespace brumo {

namespace {

constexpr const char* WindowName = "HDForm";
constexpr int HelpRecycleBin = 12;
constexpr QAbstractItemView::EditTriggers RenameTriggers =
    QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed;

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

THDForm::THDForm(MainWindowSetup setup, QWidget* parent)
    : QMainWindow(parent), setup_(std::move(setup)) {
    setObjectName(WindowName);
    setWindowTitle(ApplicationTitle);
    QFont font("Arial");
    font.setPixelSize(13);
    setFont(font);
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

    BuildActions();
    BuildLayout();
    BuildPopupMenu();

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
// Building the window

QAction* THDForm::MakeAction(const char* name, const QString& caption, const QString& hint,
                             const QList<QKeySequence>& shortcuts) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    action->setStatusTip(hint);
    action->setShortcuts(shortcuts);
    addAction(action); // shortcuts work while the window is active
    return action;
}

QAction* THDForm::MakeMenuItem(const char* name, const QString& caption, QAction* action,
                               const QKeySequence& shortcut) {
    // The item shows its own caption until the command's own caption changes (Count reads
    // "Stop" while counting, and "Coun&t" afterwards).
    auto* item = new QAction(caption, this);
    item->setObjectName(name);
    item->setStatusTip(action->statusTip());
    if (!shortcut.isEmpty()) {
        item->setShortcut(shortcut);
        addAction(item);
    }
    auto lastCaption = std::make_shared<QString>(action->text());
    connect(action, &QAction::changed, item, [item, action, lastCaption] {
        item->setEnabled(action->isEnabled());
        item->setStatusTip(action->statusTip());
        if (action->text() != *lastCaption) {
            *lastCaption = action->text();
            item->setText(action->text());
        }
    });
    connect(item, &QAction::triggered, action, [action] {
        if (action->isEnabled())
            action->trigger();
    });
    item->setEnabled(action->isEnabled());
    return item;
}

QPushButton* THDForm::MakeButton(QWidget* parent, const char* name, QAction* action) {
    auto* button = new QPushButton(action->text(), parent);
    button->setObjectName(name);
    button->setStatusTip(action->statusTip());
    button->setEnabled(action->isEnabled());
    button->setAutoDefault(false);
    connect(action, &QAction::changed, button, [button, action] {
        button->setText(action->text());
        button->setStatusTip(action->statusTip());
        button->setEnabled(action->isEnabled());
    });
    connect(button, &QPushButton::clicked, action, &QAction::trigger);
    return button;
}

void THDForm::BuildActions() {
    aAdd = MakeAction("aAdd", "&New item", "Add a new junk file type", {Qt::Key_Insert});
    aDefaults = MakeAction("aDefaults", "&Defaults", "Add one of the default junk file types");
    aEdit = MakeAction("aEdit", "&Edit", "Edit the selected junk file type");
    aRem = MakeAction("aRem", "&Remove", "Remove the highlighted junk file type",
                      {QKeySequence(Qt::CTRL | Qt::Key_X)});
    aUndo = MakeAction("aUndo", "&Undo", "Undo the most recent Remove operation",
                       {QKeySequence(Qt::CTRL | Qt::Key_Z)});
    aUp = MakeAction("aUp", "&Higher", "Move the selected item higher in the list",
                     {QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_H)});
    aDn = MakeAction("aDn", "&Lower", "Move the selected item lower in the list",
                     {QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_L)});
    aProps = MakeAction(
        "aProps", "&Properties", "Display properties for the selected junk file type",
        {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    aCount = MakeAction("aCount", CountRun::CountCaption, CountRun::CountHint);
    aCount->setText("C&ount");
    aCheckAll = MakeAction("aCheckAll", "Check &All", {});
    aCheckAll->setData(1);
    aClearAll = MakeAction("aClearAll", "Unchec&k All", {});
    aClearAll->setData(0);
    aCleanup = MakeAction("aCleanup", "&Clean up", "Process all checked junk file types now");
    aHelp = MakeAction("aHelp", "&Help", "Activate the help system");
    aAbout = MakeAction("aAbout", "A&bout", "Display version and copyright information");
    aExit = MakeAction("aExit", "E&xit", "Exit the program");

    connect(aAdd, &QAction::triggered, this, &THDForm::aAddExecute);
    connect(aDefaults, &QAction::triggered, this, &THDForm::aDefaultsExecute);
    connect(aEdit, &QAction::triggered, this, &THDForm::aEditExecute);
    connect(aRem, &QAction::triggered, this, &THDForm::aRemExecute);
    connect(aUndo, &QAction::triggered, this, &THDForm::aUndoExecute);
    connect(aUp, &QAction::triggered, this, [this] { aMoveExecute(-1); });
    connect(aDn, &QAction::triggered, this, [this] { aMoveExecute(1); });
    connect(aProps, &QAction::triggered, this, &THDForm::aPropsExecute);
    connect(aCount, &QAction::triggered, this, &THDForm::aCountExecute);
    connect(aCheckAll, &QAction::triggered, this, [this] { aCheckAllExecute(aCheckAll); });
    connect(aClearAll, &QAction::triggered, this, [this] { aCheckAllExecute(aClearAll); });
    connect(aCleanup, &QAction::triggered, this, &THDForm::aCleanupExecute);
    connect(aHelp, &QAction::triggered, this, &THDForm::aHelpExecute);
    connect(aAbout, &QAction::triggered, this, &THDForm::aAboutExecute);
    connect(aExit, &QAction::triggered, this, &QWidget::close);
}

void THDForm::BuildLayout() {
    auto* central = new QWidget(this);
    setCentralWidget(central);

    // The button column places its buttons itself, so that its free area (and a disabled
    // button, which does not take the mouse) reports the hint of the button under it.
    pnlButtons = new QWidget(central);
    pnlButtons->setObjectName("pnlButtons");
    pnlButtons->setFixedWidth(98);
    pnlButtons->setMouseTracking(true);
    pnlButtons->installEventFilter(this);
    struct ButtonPlace {
        QPushButton** button;
        const char* name;
        QAction* action;
    };
    const ButtonPlace places[] = {{&btnAdd, "btnAdd", aAdd},    {&btnDef, "btnDef", aDefaults},
                                  {&btnEdit, "btnEdit", aEdit}, {&btnRem, "btnRem", aRem},
                                  {&btnUndo, "btnUndo", aUndo}, {&btnCount, "btnCount", aCount}};
    int top = 26;
    for (const ButtonPlace& place : places) {
        *place.button = MakeButton(pnlButtons, place.name, place.action);
        (*place.button)->setGeometry(10, top, 79, 24);
        top += 30;
    }
    btnCount->hide();

    Label1 = new QLabel("Junk file types:", central);
    Label1->setObjectName("Label1");
    QFont labelFont("Arial");
    labelFont.setPixelSize(16);
    Label1->setFont(labelFont);

    lvJunk = new QListWidget(central);
    lvJunk->setObjectName("lvJunk");
    lvJunk->setSelectionMode(QAbstractItemView::SingleSelection);
    lvJunk->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvJunk->setEditTriggers(RenameTriggers);
    lvJunk->setContextMenuPolicy(Qt::CustomContextMenu);
    lvJunk->setItemDelegate(new NameEditDelegate(
        [this](int row, const QString& text) { return lvJunkEdited(row, text); }, lvJunk));
    lvJunk->viewport()->installEventFilter(this);
    // The selection stays visible when the list loses the focus.
    QPalette palette = lvJunk->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    lvJunk->setPalette(palette);
    connect(lvJunk, &QListWidget::itemChanged, this, &THDForm::lvJunkItemChanged);
    connect(lvJunk, &QListWidget::itemSelectionChanged, this, &THDForm::lvJunkSelectItem);
    connect(lvJunk, &QListWidget::currentRowChanged, this, &THDForm::lvJunkSelectItem);
    connect(lvJunk, &QWidget::customContextMenuRequested, this, &THDForm::pmMainPopup);

    btnCleanup = MakeButton(central, "btnCleanup", aCleanup);
    QFont bold = btnCleanup->font();
    bold.setBold(true);
    btnCleanup->setFont(bold);
    btnCleanup->setMinimumSize(88, 24);
    cbTestMode = new QCheckBox("&Test mode", central);
    cbTestMode->setObjectName("cbTestMode");
    cbTestMode->setStatusTip("If checked, Clean up runs in test mode");
    btnHelp = MakeButton(central, "btnHelp", aHelp);
    btnAbout = MakeButton(central, "btnAbout", aAbout);
    btnExit = MakeButton(central, "btnExit", aExit);
    for (QPushButton* button : {btnHelp, btnAbout, btnExit})
        button->setFixedSize(79, 24);

    auto* listColumn = new QVBoxLayout;
    listColumn->setContentsMargins(0, 4, 8, 0);
    listColumn->addWidget(Label1);
    listColumn->addWidget(lvJunk, 1);
    auto* upper = new QHBoxLayout;
    upper->setContentsMargins(0, 0, 0, 0);
    upper->setSpacing(0);
    upper->addWidget(pnlButtons);
    upper->addLayout(listColumn, 1);

    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(10, 6, 8, 6);
    bottom->addWidget(btnCleanup);
    bottom->addSpacing(10);
    bottom->addWidget(cbTestMode);
    bottom->addStretch();
    bottom->addWidget(btnHelp);
    bottom->addWidget(btnAbout);
    bottom->addWidget(btnExit);

    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(upper, 1);
    layout->addLayout(bottom);

    StatusPanel0 = new QLabel(this);
    StatusPanel0->setObjectName("StatusPanel0");
    StatusPanel0->setFixedWidth(80);
    StatusPanel0->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    StatusPanel1 = new QLabel(this);
    StatusPanel1->setObjectName("StatusPanel1");
    StatusPanel1->setMinimumWidth(50);
    statusBar()->setObjectName("StatusBar1");
    statusBar()->addWidget(StatusPanel0);
    statusBar()->addWidget(StatusPanel1, 1);
}

void THDForm::BuildPopupMenu() {
    pmMain = new QMenu(this);
    pmMain->setObjectName("pmMain");
    pmMain->addAction(MakeMenuItem("mnuEdit", "&Edit item", aEdit));
    pmMain->addAction(MakeMenuItem("mnuRem", "&Remove item", aRem));
    pmMain->addAction(MakeMenuItem("mnuUndo", "&Undo removal", aUndo));
    pmMain->addSeparator();
    pmMain->addAction(
        MakeMenuItem("mnuUp", "Move item &higher", aUp, QKeySequence(Qt::CTRL | Qt::Key_H)));
    pmMain->addAction(
        MakeMenuItem("mnuDown", "Move item &lower", aDn, QKeySequence(Qt::CTRL | Qt::Key_L)));
    pmMain->addSeparator();
    pmMain->addAction(MakeMenuItem("mnuProps", "Display &properties", aProps));
    pmMain->addAction(MakeMenuItem("mnuCount", "Coun&t matching files", aCount));
    pmMain->addSeparator();
    pmMain->addAction(MakeMenuItem("mnuCheckAll", "Check &All", aCheckAll));
    pmMain->addAction(MakeMenuItem("mnuClearAll", "Unchec&k All", aClearAll));

    mnuMethodAll = pmMain->addMenu("Clean-up &method for All");
    mnuMethodAll->setObjectName("mnuMethodAll");
    mnuMethodAll->menuAction()->setObjectName("mnuMethodAllItem");
    const struct {
        QAction** item;
        const char* name;
        const char* caption;
        int code;
        const char* hint;
    } methods[] = {
        {&mnuRecycleAll, "mnuRecycleAll", "Send to Recycle Bin", MethodRecycleBin,
         "For all types, send removed files to Recycle Bin. "},
        {&mnuBackupAll, "mnuBackupAll", "Move to holding folder", MethodHoldingFolder,
         "For all types, move files to folder \\HDVal$$$.$$$."},
        {&mnuDeleteAll, "mnuDeleteAll", "Delete permanently", MethodDelete,
         "For all types, delete files permanently."},
    };
    for (const auto& method : methods) {
        QAction* item = mnuMethodAll->addAction(method.caption);
        item->setObjectName(method.name);
        item->setData(method.code);
        item->setStatusTip(method.hint);
        connect(item, &QAction::triggered, this, [this, item] { mnuSharedAllClick(item); });
        *method.item = item;
    }
    connect(mnuMethodAll, &QMenu::aboutToShow, this, &THDForm::mnuMethodAllClick);
}

// ---------------------------------------------------------------------------------------
// Creation, activation, closing

void THDForm::FormCreate() {
    runMode_ = RunIdle;
    undo_.reset();
    WidgetPlacement::Restore(*this, WindowName, true);
    created_ = true;
    LoadList();
    aAddUpdate();
}

void THDForm::LoadList() {
    const ProgramFiles& files = setup_.files;
    std::optional<TypeStore::LoadResult> loaded;
    if (FileExists(files.RecoveryCopy) &&
        Prompter::AskYes(this,
                         "It appears that Brumo was not shut down properly. Attempt to restore "
                         "changed data from the previous session?",
                         PromptIcon::Question)) {
        // Used even when empty: the previous session may have removed every type.
        loaded = store_.Load(files.RecoveryCopy);
        if (loaded->status == TypeStore::LoadStatus::Missing)
            loaded.reset(); // gone since the question: fall back to the type store
    }
    if (!loaded) {
        loaded = store_.Load(files.TypeStore);
        if (loaded->status == TypeStore::LoadStatus::Missing ||
            loaded->status == TypeStore::LoadStatus::Empty)
            loaded.reset();
    }

    std::vector<TJunkFileObj> types;
    if (loaded) {
        types = std::move(loaded->types);
    } else {
        DefaultTypes::AppendTo(types, RecycleUnusable());
    }
    for (TJunkFileObj& type : types)
        AppendRow(std::make_unique<TJunkFileObj>(std::move(type)));
    if (loaded && loaded->status == TypeStore::LoadStatus::Failed)
        Prompter::Tell(this, Q(loaded->error), PromptIcon::Error);
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
    if (RowCount() > 0)
        lvJunk->setCurrentRow(0);
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
    FormClose();
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

void THDForm::FormClose() {
    const std::vector<const TJunkFileObj*> types = ListTypes();
    const TypeStore::WriteResult saved = store_.Save(setup_.files.TypeStore, types);
    if (!saved.saved) {
        // The recovery copy is kept; it gets this session's list as well, so that the next
        // start offers everything that could not be stored.
        const TypeStore::WriteResult kept = store_.Save(setup_.files.RecoveryCopy, types);
        QString text = Q(saved.Message());
        if (kept.saved)
            text += Q("\r\n\r\nYour junk file types were kept in \"" + setup_.files.RecoveryCopy +
                      "\"; Brumo offers to restore them at its next start.");
        else
            text += "\r\n\r\nYour changes to the junk file types could not be saved: " +
                    Q(kept.Message());
        Prompter::Tell(this, text, PromptIcon::Error);
        return;
    }
    if (!saved.notice.empty())
        Prompter::Tell(this, Q(saved.notice), PromptIcon::Information);
    const TypeStore::WriteResult removed = store_.Remove(setup_.files.RecoveryCopy);
    if (!removed.Message().empty())
        Prompter::Tell(this, Q(removed.Message()),
                       removed.saved ? PromptIcon::Information : PromptIcon::Error);
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
    ScheduleUpdate();
}

bool THDForm::lvJunkEdited(int row, const QString& text) {
    if (text.isEmpty())
        return false;
    TJunkFileObj* type = TypeAt(row) ? Row(row)->Type() : nullptr;
    const std::string name = text.toStdString();
    if (type && type->Name != name) {
        type->Name = name;
        WriteRecoveryCopy();
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
    aHelp->setEnabled(s.help);
    aAbout->setEnabled(s.about);
    aExit->setEnabled(s.exit);
}

bool THDForm::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
        if (watched == pnlButtons)
            pnlButtonsMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
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
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::ShortcutOverride:
        ScheduleUpdate(); // the rules follow every input, once the program is idle again
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void THDForm::pnlButtonsMouseMove(const QPoint& pos) {
    for (QPushButton* button : pnlButtons->findChildren<QPushButton*>()) {
        if (!button->isHidden() && button->geometry().contains(pos)) {
            pnlButtons->setStatusTip(button->statusTip() + " (disabled)");
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

void THDForm::AddWithIdentityCheck(std::unique_ptr<TJunkFileObj> type) {
    for (int i = 0; i < RowCount(); ++i) {
        const TJunkFileObj* existing = TypeAt(i);
        if (!existing || !existing->IsSameFunction(*type))
            continue;
        const QString question =
            QString("You are trying to add a junk file type that is identical in function to "
                    "the existing junk file type \"%1\". Continue?")
                .arg(Q(existing->Name));
        if (!Prompter::AskYes(this, question, PromptIcon::Question))
            return;
    }
    const bool enabled = type->Enabled;
    type->Enabled = false;
    JunkItem* row = AppendRow(std::move(type));
    SetRowChecked(row, enabled);
}

void THDForm::WriteRecoveryCopy() {
    const TypeStore::WriteResult result = store_.Save(setup_.files.RecoveryCopy, ListTypes());
    if (!result.Message().empty())
        Prompter::Tell(this, Q(result.Message()),
                       result.saved ? PromptIcon::Information : PromptIcon::Error);
}

void THDForm::aAddExecute() {
    TTypeWiz wizard(this, setup_.files);
    wizard.LoadFromType(TJunkFileObj(), RecycleUnusable());
    if (RunDialog(wizard) != QDialog::Accepted)
        return;
    AddWithIdentityCheck(std::make_unique<TJunkFileObj>(wizard.BuildType()));
    WriteRecoveryCopy();
    aAddUpdate();
}

void THDForm::aDefaultsExecute() {
    std::unique_ptr<TJunkFileObj> chosen;
    {
        RecycleSettingsCheck fallback;
        TDefaultForm dialog(setup_.recycle ? *setup_.recycle : fallback, this);
        if (RunDialog(dialog) != QDialog::Accepted)
            return;
        chosen = dialog.GetSelectedType();
    }
    if (!chosen)
        return;
    AddWithIdentityCheck(std::move(chosen));
    WriteRecoveryCopy();
    aAddUpdate();
}

void THDForm::aEditExecute() {
    JunkItem* row = Row(SelectedRow());
    if (!row || !row->Type())
        return;
    TTypeWiz wizard(this, setup_.files);
    wizard.LoadFromType(*row->Type(), RecycleUnusable());
    if (RunDialog(wizard) != QDialog::Accepted)
        return;
    row->SetType(std::make_unique<TJunkFileObj>(wizard.BuildType()));
    row->setText(Q(row->Type()->Name));
    SetRowChecked(row, row->Type()->Enabled);
    WriteRecoveryCopy();
    aAddUpdate();
}

void THDForm::aRemExecute() {
    const int index = SelectedRow();
    JunkItem* row = Row(index);
    if (!row)
        return;
    undo_ = row->TakeType(); // the older held type, if any, goes now
    delete lvJunk->takeItem(index);
    if (RowCount() > 0)
        lvJunk->setCurrentRow(std::min(index, RowCount() - 1));
    WriteRecoveryCopy();
    aAddUpdate();
}

void THDForm::aUndoExecute() {
    if (!undo_)
        return;
    auto copy = std::make_unique<TJunkFileObj>(*undo_);
    const bool enabled = copy->Enabled;
    copy->Enabled = false;
    undo_.reset();
    JunkItem* row = AppendRow(std::move(copy));
    SetRowChecked(row, enabled);
    WriteRecoveryCopy();
    aAddUpdate();
}

void THDForm::aMoveExecute(int step) {
    const int from = SelectedRow();
    const int to = from + step;
    if (from < 0 || to < 0 || to >= RowCount())
        return;
    // The row moves whole: caption, type and check box stay together.
    QListWidgetItem* item = lvJunk->takeItem(from);
    lvJunk->insertItem(to, item);
    lvJunk->setCurrentItem(item);
    lvJunk->setFocus();
    aAddUpdate();
}

void THDForm::aPropsExecute() {
    const TJunkFileObj* type = TypeAt(SelectedRow());
    if (!type)
        return;
    TPropForm dialog(this);
    dialog.ShowProps(*type);
    RunDialog(dialog);
}

void THDForm::aCheckAllExecute(QAction* sender) {
    const bool checked = sender->data().toInt() == 1;
    for (int i = 0; i < RowCount(); ++i)
        SetRowChecked(Row(i), checked);
    aAddUpdate();
}

void THDForm::mnuMethodAllClick() {
    mnuRecycleAll->setEnabled(!RecycleUnusable());
    mnuBackupAll->setEnabled(true);
    mnuDeleteAll->setEnabled(true);
}

void THDForm::mnuSharedAllClick(QAction* sender) {
    const int code = sender->data().toInt();
    for (int i = 0; i < RowCount(); ++i)
        if (TJunkFileObj* type = Row(i)->Type())
            if (auto error = type->SetMethod(code)) {
                Prompter::Tell(this, Q(*error), PromptIcon::Error);
                return;
            }
}

void THDForm::pmMainPopup(const QPoint& pos) {
    aAddUpdate();
    pmMain->popup(lvJunk->viewport()->mapToGlobal(pos));
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
    runMode_ = mode;
    if (mode == RunCounting) {
        countProgress_->foldersSearched = 0;
        countProgress_->filesMatched = 0;
    }
    pendingFileCount_.store(-1);
    progressTimer_->start();
    aAddUpdate();
}

void THDForm::LeaveRun() {
    progressTimer_->stop();
    pendingFileCount_.store(-1);
    const int mode = runMode_;
    runMode_ = RunIdle;
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
