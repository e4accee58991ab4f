#include "ui/main_window_controls.h"

#include "runs/count_run.h"
#include "runs/schedule_status.h"
#include "ui/action_widgets.h"
#include "ui/hd_form.h"
#include "ui/junk_list_commands.h"
#include "ui/name_edit_delegate.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace brumo {

void MainWindowControls::Build() {
    BuildActions();
    BuildLayout();
    BuildStatusBar();
    BuildPopupMenu();
}

QAction* MainWindowControls::MakeAction(const char* name, const QString& caption,
                                        const QString& hint, const QList<QKeySequence>& shortcuts) {
    QAction* action = ActionWidgets::MakeAction(&form_, name, caption, hint);
    action->setShortcuts(shortcuts);
    form_.addAction(action); // shortcuts work while the window is active
    return action;
}

QAction* MainWindowControls::MakeMenuItem(const char* name, const QString& caption, QAction* action,
                                          const QKeySequence& ownShortcut) {
    // The item shows its own caption until the command's own caption changes (Count reads
    // "Stop" while counting, and "Coun&t" afterwards).
    auto* item = new QAction(caption, &form_);
    item->setObjectName(name);
    item->setStatusTip(action->statusTip());
    if (!ownShortcut.isEmpty()) {
        item->setShortcut(ownShortcut);
        form_.addAction(item);
    } else if (!action->shortcuts().isEmpty()) {
        // Shown beside the caption; only the open menu takes it, the command has its own.
        item->setShortcuts(action->shortcuts());
        item->setShortcutContext(Qt::WidgetShortcut);
    }
    auto lastCaption = std::make_shared<QString>(action->text());
    QObject::connect(action, &QAction::changed, item, [item, action, lastCaption] {
        item->setEnabled(action->isEnabled());
        item->setStatusTip(action->statusTip());
        if (action->text() != *lastCaption) {
            *lastCaption = action->text();
            item->setText(action->text());
        }
    });
    QObject::connect(item, &QAction::triggered, action, [action] {
        if (action->isEnabled())
            action->trigger();
    });
    item->setEnabled(action->isEnabled());
    return item;
}

void MainWindowControls::BuildActions() {
    THDForm& f = form_;
    f.aAdd = MakeAction("aAdd", "&New item", "Add a new junk file type", {Qt::Key_Insert});
    f.aDefaults = MakeAction("aDefaults", "&Defaults", "Add one of the default junk file types");
    f.aEdit = MakeAction("aEdit", "&Edit", "Edit the selected junk file type");
    f.aRem = MakeAction("aRem", "&Remove", "Remove the highlighted junk file type",
                        {QKeySequence(Qt::CTRL | Qt::Key_X)});
    f.aUndo = MakeAction("aUndo", "&Undo", "Undo the most recent Remove operation",
                         {QKeySequence(Qt::CTRL | Qt::Key_Z)});
    f.aUp = MakeAction("aUp", "&Higher", "Move the selected item higher in the list",
                       {QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_H)});
    f.aDn = MakeAction("aDn", "&Lower", "Move the selected item lower in the list",
                       {QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_L)});
    // Ctrl+Enter first: the menu shows the first one.
    f.aProps = MakeAction(
        "aProps", "&Properties", "Display properties for the selected junk file type",
        {QKeySequence(Qt::CTRL | Qt::Key_Enter), QKeySequence(Qt::CTRL | Qt::Key_Return)});
    f.aCount = MakeAction("aCount", CountRun::CountCaption, CountRun::CountHint);
    f.aCount->setText("C&ount");
    f.aCheckAll = MakeAction("aCheckAll", "Check &All", {});
    f.aCheckAll->setData(1);
    f.aClearAll = MakeAction("aClearAll", "Unchec&k All", {});
    f.aClearAll->setData(0);
    f.aCleanup = MakeAction("aCleanup", "&Clean up", "Process all checked junk file types now");
    f.aHeld =
        MakeAction("aHeld", "&Held files...", "Restore or delete the files in the holding folders");
    f.aHelp = MakeAction("aHelp", "&Help", "Activate the help system");
    f.aAbout = MakeAction("aAbout", "A&bout", "Display version and copyright information");
    f.aExit = MakeAction("aExit", "E&xit", "Exit the program");

    JunkListCommands* commands = f.commands_.get();
    auto bind = [&f](QAction* action, auto handler) {
        QObject::connect(action, &QAction::triggered, &f, handler);
    };
    bind(f.aAdd, [commands] { commands->aAddExecute(); });
    bind(f.aDefaults, [commands] { commands->aDefaultsExecute(); });
    bind(f.aEdit, [commands] { commands->aEditExecute(); });
    bind(f.aRem, [commands] { commands->aRemExecute(); });
    bind(f.aUndo, [commands] { commands->aUndoExecute(); });
    bind(f.aUp, [commands] { commands->aMoveExecute(-1); });
    bind(f.aDn, [commands] { commands->aMoveExecute(1); });
    bind(f.aProps, [commands] { commands->aPropsExecute(); });
    bind(f.aCheckAll, [commands, &f] { commands->aCheckAllExecute(f.aCheckAll); });
    bind(f.aClearAll, [commands, &f] { commands->aCheckAllExecute(f.aClearAll); });
    bind(f.aCount, [&f] { f.aCountExecute(); });
    bind(f.aCleanup, [&f] { f.aCleanupExecute(); });
    bind(f.aHeld, [&f] { f.aHeldExecute(); });
    bind(f.aHelp, [&f] { f.aHelpExecute(); });
    bind(f.aAbout, [&f] { f.aAboutExecute(); });
    bind(f.aExit, [&f] { f.close(); });
}

void MainWindowControls::BuildLayout() {
    THDForm& f = form_;
    auto* central = new QWidget(&f);
    f.setCentralWidget(central);

    // The button column places its buttons itself, so that its free area (and a disabled
    // button, which does not take the mouse) reports the hint of the button under it.
    f.pnlButtons = new QWidget(central);
    f.pnlButtons->setObjectName("pnlButtons");
    f.pnlButtons->setMouseTracking(true);
    struct ButtonPlace {
        QPushButton** button;
        const char* name;
        QAction* action;
    };
    const ButtonPlace places[] = {
        {&f.btnAdd, "btnAdd", f.aAdd},    {&f.btnDef, "btnDef", f.aDefaults},
        {&f.btnEdit, "btnEdit", f.aEdit}, {&f.btnRem, "btnRem", f.aRem},
        {&f.btnUndo, "btnUndo", f.aUndo}, {&f.btnCount, "btnCount", f.aCount}};
    f.Label1 = new QLabel("Junk file types:", central);
    f.Label1->setObjectName("Label1");
    // A heading, larger than the desktop's font by the designed 16 to 13.
    QFont labelFont = f.Label1->font();
    labelFont.setPointSizeF(labelFont.pointSizeF() * 16 / 13);
    f.Label1->setFont(labelFont);

    // The designed 79 x 24 buttons, larger where the desktop's font needs it; the first one
    // level with the list's top, the others as far apart as the style spaces a layout.
    QSize size(79, 24);
    for (const ButtonPlace& place : places) {
        *place.button = ActionWidgets::MakeButton(f.pnlButtons, place.name, place.action);
        size = size.expandedTo((*place.button)->sizeHint());
    }
    QStyle* style = f.style();
    const int spacing = std::max(6, style->pixelMetric(QStyle::PM_LayoutVerticalSpacing));
    const int margin = style->pixelMetric(QStyle::PM_LayoutLeftMargin);
    int top = 4 + f.Label1->sizeHint().height() + spacing;
    for (const ButtonPlace& place : places) {
        (*place.button)->setGeometry(margin, top, size.width(), size.height());
        top += size.height() + spacing;
    }
    f.btnCount->hide();
    f.pnlButtons->setFixedWidth(2 * margin + size.width());

    f.lvJunk = new QListWidget(central);
    f.lvJunk->setObjectName("lvJunk");
    f.lvJunk->setSelectionMode(QAbstractItemView::SingleSelection);
    f.lvJunk->setSelectionBehavior(QAbstractItemView::SelectRows);
    f.lvJunk->setEditTriggers(THDForm::RenameTriggers);
    f.lvJunk->setContextMenuPolicy(Qt::CustomContextMenu);
    f.renameDelegate_ = new NameEditDelegate(
        [&f](int row, const QString& text) { return f.lvJunkEdited(row, text); }, f.lvJunk);
    f.lvJunk->setItemDelegate(f.renameDelegate_);
    // The selection stays visible when the list loses the focus.
    QPalette palette = f.lvJunk->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    f.lvJunk->setPalette(palette);
    QObject::connect(f.lvJunk, &QListWidget::itemChanged, &f, &THDForm::lvJunkItemChanged);
    QObject::connect(f.lvJunk, &QListWidget::itemSelectionChanged, &f, &THDForm::lvJunkSelectItem);
    QObject::connect(f.lvJunk, &QListWidget::currentRowChanged, &f, &THDForm::lvJunkSelectItem);
    QObject::connect(f.lvJunk, &QWidget::customContextMenuRequested, &f, [&f](const QPoint& pos) {
        f.pmMainPopup(f.lvJunk->viewport()->mapTo(f.lvJunk, pos));
    });
    // Keyboard focus starts in the list.
    f.lvJunk->setFocus();

    f.btnCleanup = ActionWidgets::MakeButton(central, "btnCleanup", f.aCleanup);
    QFont bold = f.btnCleanup->font();
    bold.setBold(true);
    f.btnCleanup->setFont(bold);
    f.btnCleanup->setMinimumSize(88, 24);
    f.cbTestMode = new QCheckBox("&Test mode", central);
    f.cbTestMode->setObjectName("cbTestMode");
    f.cbTestMode->setStatusTip("If checked, Clean up runs in test mode");
    f.btnHelp = ActionWidgets::MakeButton(central, "btnHelp", f.aHelp);
    f.btnAbout = ActionWidgets::MakeButton(central, "btnAbout", f.aAbout);
    f.btnExit = ActionWidgets::MakeButton(central, "btnExit", f.aExit);
    for (QPushButton* button : {f.btnHelp, f.btnAbout, f.btnExit})
        button->setMinimumSize(79, 24);

    auto* listColumn = new QVBoxLayout;
    listColumn->setContentsMargins(0, 4, style->pixelMetric(QStyle::PM_LayoutRightMargin), 0);
    listColumn->setSpacing(spacing);
    listColumn->addWidget(f.Label1);
    listColumn->addWidget(f.lvJunk, 1);
    auto* upper = new QHBoxLayout;
    upper->setContentsMargins(0, 0, 0, 0);
    upper->setSpacing(0);
    upper->addWidget(f.pnlButtons);
    upper->addLayout(listColumn, 1);

    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(margin, spacing, style->pixelMetric(QStyle::PM_LayoutRightMargin),
                               spacing);
    bottom->setSpacing(
        std::max(6, style->combinedLayoutSpacing(QSizePolicy::PushButton, QSizePolicy::PushButton,
                                                 Qt::Horizontal)));
    bottom->addWidget(f.btnCleanup);
    bottom->addWidget(f.cbTestMode);
    bottom->addStretch();
    bottom->addWidget(f.btnHelp);
    bottom->addWidget(f.btnAbout);
    bottom->addWidget(f.btnExit);

    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(upper, 1);
    layout->addLayout(bottom);
}

void MainWindowControls::BuildStatusBar() {
    THDForm& f = form_;
    // Sunken panels, as the runs write into both side by side.
    auto panel = [&f](const char* name) {
        auto* label = new QLabel(&f);
        label->setObjectName(name);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setIndent(3);
        return label;
    };
    f.StatusPanel0 = panel("StatusPanel0");
    f.StatusPanel0->setFixedWidth(80);
    f.StatusPanel0->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    f.StatusPanel1 = panel("StatusPanel1");
    f.StatusPanel1->setMinimumWidth(50);
    QStatusBar* bar = f.statusBar();
    bar->setObjectName("StatusBar1");
    bar->addWidget(f.StatusPanel0);
    bar->addWidget(f.StatusPanel1, 1);
    // How the last scheduled clean-up ended, where one has run.
    if (const std::string last = ScheduleStatus::Read(f.setup_.files.ScheduleStatus);
        !last.empty()) {
        QLabel* schedule = panel("StatusSchedule");
        schedule->setText(QString::fromStdString("Last scheduled clean-up: " + last));
        bar->addPermanentWidget(schedule);
    }
}

void MainWindowControls::BuildPopupMenu() {
    THDForm& f = form_;
    f.pmMain = new QMenu(&f);
    f.pmMain->setObjectName("pmMain");
    f.pmMain->addAction(MakeMenuItem("mnuEdit", "&Edit item", f.aEdit));
    f.pmMain->addAction(MakeMenuItem("mnuRem", "&Remove item", f.aRem));
    f.pmMain->addAction(MakeMenuItem("mnuUndo", "&Undo removal", f.aUndo));
    f.pmMain->addSeparator();
    f.pmMain->addAction(
        MakeMenuItem("mnuUp", "Move item &higher", f.aUp, QKeySequence(Qt::CTRL | Qt::Key_H)));
    f.pmMain->addAction(
        MakeMenuItem("mnuDown", "Move item &lower", f.aDn, QKeySequence(Qt::CTRL | Qt::Key_L)));
    f.pmMain->addSeparator();
    f.pmMain->addAction(MakeMenuItem("mnuProps", "Display &properties", f.aProps));
    f.pmMain->addAction(MakeMenuItem("mnuCount", "Coun&t matching files", f.aCount));
    f.pmMain->addSeparator();
    f.pmMain->addAction(MakeMenuItem("mnuCheckAll", "Check &All", f.aCheckAll));
    f.pmMain->addAction(MakeMenuItem("mnuClearAll", "Unchec&k All", f.aClearAll));

    f.mnuMethodAll = f.pmMain->addMenu("Clean-up &method for All");
    f.mnuMethodAll->setObjectName("mnuMethodAll");
    f.mnuMethodAll->menuAction()->setObjectName("mnuMethodAllItem");
    const struct {
        QAction** item;
        const char* name;
        const char* caption;
        int code;
        const char* hint;
    } methods[] = {
        {&f.mnuRecycleAll, "mnuRecycleAll", "Send to Recycle Bin", MethodRecycleBin,
         "For all types, send removed files to Recycle Bin. "},
        {&f.mnuBackupAll, "mnuBackupAll", "Move to holding folder", MethodHoldingFolder,
         "For all types, move files to folder \\HDVal$$$.$$$."},
        {&f.mnuDeleteAll, "mnuDeleteAll", "Delete permanently", MethodDelete,
         "For all types, delete files permanently."},
    };
    JunkListCommands* commands = f.commands_.get();
    for (const auto& method : methods) {
        QAction* item = f.mnuMethodAll->addAction(method.caption);
        item->setObjectName(method.name);
        item->setData(method.code);
        item->setStatusTip(method.hint);
        QObject::connect(item, &QAction::triggered, &f,
                         [commands, item] { commands->mnuSharedAllClick(item); });
        *method.item = item;
    }
    QObject::connect(f.mnuMethodAll, &QMenu::aboutToShow, &f,
                     [commands] { commands->mnuMethodAllClick(); });
    f.pmMain->addSeparator();
    f.pmMain->addAction(MakeMenuItem("mnuHeld", "Held &files...", f.aHeld));
    // The window shows the menus' hints (its event filter) and clears the last one when
    // the menu closes.
    QObject::connect(f.pmMain, &QMenu::aboutToHide, &f, [&f] { f.ShowHint({}); });
}

} // namespace brumo
