#include "ui/type_wiz.h"

#include "ui/dir_sel_images.h"
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

    QWidget* panel = MakeRestrictionPanel(page);
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
