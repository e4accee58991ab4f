#include "ui/type_wiz.h"

#include "ui/dir_sel_images.h"
#include "ui/path_column_delegate.h"
#include "ui/type_wiz_parts.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace brumo {

using namespace type_wiz;

namespace {
// A page's caption over the rest of its controls.
QVBoxLayout* CaptionedColumn(QWidget* page, const QString& caption) {
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(MakeLabel(page, caption));
    return layout;
}
} // namespace

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
    lvDirs->setItemDelegateForColumn(0, new PathColumnDelegate(lvDirs));
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

QWidget* TTypeWiz::MakeListPage(const ListPage& made, QListWidget*& list,
                                const std::array<ListCommand, 4>& commands,
                                QWidget* (TTypeWiz::*below)(QWidget*)) {
    using Command = void (TTypeWiz::*)(QListWidget*);
    constexpr std::array<Command, 4> runs{&TTypeWiz::ListAdd, &TTypeWiz::ListEdit,
                                          &TTypeWiz::ListRemove, &TTypeWiz::ListClear};
    auto* page = Named<QWidget>(made.page);
    list = Named<QListWidget>(made.list, page);
    for (const ListCommand& command : commands)
        *command.action = MakeAction(command.name, command.caption, command.hint);
    auto* column = Named<QWidget>(made.column, page);
    hintPanels_.insert(column);
    auto* columnLayout = new QVBoxLayout(column);
    columnLayout->setContentsMargins(0, 0, 0, 0);
    for (std::size_t i = 0; i < commands.size(); ++i) {
        QAction* action = *commands[i].action;
        connect(action, &QAction::triggered, this,
                [this, list, run = runs[i]] { (this->*run)(list); });
        columnLayout->addWidget(MakeButton(column, commands[i].button, action));
    }
    columnLayout->addStretch();
    connect(list, &QListWidget::itemSelectionChanged, this, &TTypeWiz::ListCommandsUpdate);
    auto* top = new QHBoxLayout;
    top->addWidget(column);
    top->addWidget(list, 1);

    QWidget* extra = below ? (this->*below)(page) : nullptr;
    QVBoxLayout* layout = CaptionedColumn(page, made.caption);
    layout->addLayout(top, 1);
    if (extra)
        layout->addWidget(extra);
    return page;
}

QWidget* TTypeWiz::MakeDeletesPage() {
    return MakeListPage(
        {"tsDels", "lbDels", "pnlDelButtons", " Search and process these file specifications"},
        lbDels,
        {{{&aDelAdd, "aDelAdd", "&Add", "Add a file specification to be processed", "btnDelAdd"},
          {&aDelEdit, "aDelEdit", "&Edit", "Edit the selected file specification", "btnDelEdit"},
          {&adelRem, "adelRem", "&Remove", "Remove the selected file specification", "btnDelRem"},
          {&adelClear, "adelClear", "&Clear", "Clear the list of file specifications",
           "btnDelClr"}}},
        &TTypeWiz::MakeRestrictionPanel);
}

QWidget* TTypeWiz::MakeProtectsPage() {
    return MakeListPage(
        {"tsProts", "lbProts", "pnlProtButtons",
         " Protect files matching these file specifications from deletion"},
        lbProts,
        {{{&aproAdd, "aproAdd", "&Add", "Add a new file specification to be protected", "btnPAdd"},
          {&aProEdit, "aProEdit", "&Edit", "Edit the selected file specification", "btnPEdit"},
          {&aproRem, "aproRem", "&Remove", "Remove the selected file specification", "btnPRem"},
          {&aproClear, "aproClear", "&Clear",
           "Clear the list of file specifications to be protected", "btnPClear"}}});
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

} // namespace brumo
