#include "ui/new_pick_form.h"

#include "ui/dialog_buttons.h"
#include "ui/dir_sel_images.h"
#include "ui/elided_label.h"
#include "ui/legend_form.h"
#include "ui/widget_placement.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace brumo {

namespace {

constexpr const char* WindowName = "NewPickForm";
constexpr int NodeRole = Qt::UserRole;
constexpr int IconKeyRole = Qt::UserRole + 1;

int IconKey(const PickNode& node) {
    const DirSelImages::Tick tick = node.IsRoot() ? DirSelImages::Tick::None
                                    : node.ticked ? DirSelImages::Tick::Ticked
                                                  : DirSelImages::Tick::Unticked;
    return int(node.mode) * 3 + int(tick);
}

// A push button that follows an action: caption (with its access key), icon, hint, enabled
// state and check mark.
QPushButton* ButtonFor(QAction* action, const char* name, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setCheckable(action->isCheckable());
    auto follow = [button, action] {
        button->setText(action->text());
        button->setIcon(action->icon());
        button->setToolTip(action->toolTip());
        button->setEnabled(action->isEnabled());
        button->setChecked(action->isChecked());
    };
    follow();
    QObject::connect(action, &QAction::changed, button, follow);
    QObject::connect(button, &QPushButton::clicked, action, [action, follow] {
        action->trigger();
        follow();
    });
    return button;
}

// The folder tree: one column as wide as its widest caption, scrolled sideways so that the
// current folder's caption stays in view however deep it lies.
class DirTree : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;

    // The caption's extent in viewport coordinates, from its expand button on.
    QRect CaptionRect(const QTreeWidgetItem* item) const {
        const QRect row = visualItemRect(item);
        const int width = iconSize().width() + 16 + fontMetrics().horizontalAdvance(item->text(0));
        return {row.left() - indentation(), row.top(), indentation() + width, row.height()};
    }

    // Sideways, the view moves only when the row's head (tick box, icon and the caption's
    // first letters) is out of view: a view that moved under the pointer would
    // turn a double click on a tick box into two clicks on different rows.
    void scrollTo(const QModelIndex& index, ScrollHint hint) override {
        QScrollBar* bar = horizontalScrollBar();
        const int kept = bar->value();
        QTreeWidget::scrollTo(index, hint); // would bring the whole wide column's start back
        bar->setValue(kept);
        const QTreeWidgetItem* item = itemFromIndex(index);
        if (!item)
            return;
        const QRect caption = CaptionRect(item);
        const int room = viewport()->width();
        const int head = iconSize().width() + 4 * fontMetrics().averageCharWidth();
        const int row = caption.left() + indentation();
        if (row >= 0 && row + std::min(head, caption.width() - indentation()) <= room)
            return;
        int shift = 0;
        if (caption.left() < 0 || caption.width() > room)
            shift = caption.left();
        else
            shift = caption.right() + 1 - room;
        bar->setValue(kept + shift);
    }

protected:
    bool viewportEvent(QEvent* event) override {
        // Never narrower than the view, so that a selected row is marked across it.
        if (event->type() == QEvent::Resize)
            header()->setMinimumSectionSize(viewport()->width());
        return QTreeWidget::viewportEvent(event);
    }
};

} // namespace

TNewPickForm::TNewPickForm(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(WindowName);
    setWindowTitle("Brumo - Choose folders to search");
    setMinimumSize(320, 240);
    resize(460, 380);
    for (int mode = 0; mode < 5; ++mode)
        for (int tick = 0; tick < 3; ++tick)
            nodeIcons_[mode * 3 + tick] = DirSelImages::NodeIcon(mode, DirSelImages::Tick(tick));

    aFolder = MakeAction("aFolder", "Select &Folder", "Check to search the folder itself");
    aFolder->setCheckable(true);
    aFolder->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F));
    aAllSubs = MakeAction("aAllSubs", "&ALL subfolders",
                          "Search all subfolders that exist now and any created later");
    aAllSubs->setIcon(DirSelImages::Icon(int(SubMode::AllSubs)));
    aNoSubs = MakeAction("aNoSubs", "&NO subfolders",
                         "Search no subfolders, whether existing now or created later");
    aNoSubs->setIcon(DirSelImages::Icon(int(SubMode::NoSubs)));
    aExistSubs = MakeAction("aExistSubs", "&Listed subfolders",
                            "Search all subfolders that exist now, but not any created later");
    aExistSubs->setIcon(DirSelImages::Icon(int(SubMode::ExistSubs)));
    aLegend = MakeAction("aLegend", "Le&gend", "Display a legend for the folder icons");
    aLegend->setCheckable(true);
    connect(aFolder, &QAction::triggered, this, &TNewPickForm::aFolderExecute);
    connect(aAllSubs, &QAction::triggered, this, [this] { aModeExecute(SubMode::AllSubs); });
    connect(aNoSubs, &QAction::triggered, this, [this] { aModeExecute(SubMode::NoSubs); });
    connect(aExistSubs, &QAction::triggered, this, &TNewPickForm::aExistSubsExecute);
    connect(aLegend, &QAction::triggered, this, [this] {
        legend_->Toggle();
        aAllSubsUpdate();
    });

    pmDirSel = new QMenu(this);
    pmDirSel->setObjectName("pmDirSel");
    pmDirSel->addAction(aFolder);
    pmDirSel->addSeparator();
    pmDirSel->addAction(aAllSubs);
    pmDirSel->addAction(aNoSubs);
    pmDirSel->addAction(aExistSubs);
    pmDirSel->addSeparator();
    pmDirSel->addAction(aLegend);

    pnlFullPath = new ElidedLabel(this);
    pnlFullPath->setObjectName("pnlFullPath");
    pnlFullPath->setFrameShape(QFrame::Panel);
    pnlFullPath->setFrameShadow(QFrame::Sunken);
    pnlFullPath->setTextInteractionFlags(Qt::TextSelectableByMouse);

    tvDirSel = new DirTree(this);
    tvDirSel->setObjectName("tvDirSel");
    tvDirSel->setHeaderHidden(true);
    tvDirSel->setColumnCount(1);
    // Deep folders widen the column rather than leave the view: a row outside its column
    // could not be selected.
    tvDirSel->header()->setStretchLastSection(false);
    tvDirSel->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tvDirSel->setUniformRowHeights(true);
    tvDirSel->setRootIsDecorated(false); // the root is never collapsed
    tvDirSel->setSelectionMode(QAbstractItemView::SingleSelection);
    tvDirSel->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvDirSel->setIconSize(DirSelImages::NodeIconSize());
    tvDirSel->setContextMenuPolicy(Qt::CustomContextMenu);
    tvDirSel->installEventFilter(this);
    tvDirSel->viewport()->installEventFilter(this);
    connect(tvDirSel, &QTreeWidget::itemSelectionChanged, this, &TNewPickForm::tvDirSelChange);
    connect(tvDirSel, &QTreeWidget::itemExpanded, this, &TNewPickForm::tvDirSelExpanding);
    connect(tvDirSel, &QTreeWidget::itemCollapsed, this, &TNewPickForm::tvDirSelCollapsing);
    connect(tvDirSel, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        aAllSubsUpdate();
        pmDirSel->popup(tvDirSel->viewport()->mapToGlobal(pos));
    });

    btnInclude = ButtonFor(aAllSubs, "btnInclude", this);
    btnExclude = ButtonFor(aNoSubs, "btnExclude", this);
    btnListed = ButtonFor(aExistSubs, "btnListed", this);
    btnLegend = ButtonFor(aLegend, "btnLegend", this);
    QDialogButtonBox* closing = DialogButtons::Make(this, Qt::Vertical);
    btnOK = DialogButtons::Add(closing, QDialogButtonBox::Ok, "OK", "btnOK");
    btnOK->setDefault(true);
    btnOK->setToolTip("Close this form and accept changes");
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    btnCancel = DialogButtons::Add(closing, QDialogButtonBox::Cancel, "Cancel", "btnCancel");
    btnCancel->setAutoDefault(false);
    btnCancel->setToolTip("Close this form without accepting changes");
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    // One column of buttons, all as wide as the widest.
    int widest = 0;
    for (QPushButton* button : {btnInclude, btnExclude, btnListed, btnLegend})
        widest = std::max(widest, button->sizeHint().width());
    for (QPushButton* button : {btnOK, btnCancel})
        button->setMinimumWidth(widest);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {btnInclude, btnExclude, btnListed})
        buttons->addWidget(button);
    buttons->addSpacing(2 * style()->pixelMetric(QStyle::PM_LayoutVerticalSpacing));
    buttons->addWidget(btnLegend);
    buttons->addStretch();
    buttons->addWidget(closing);
    auto* body = new QHBoxLayout;
    body->addWidget(tvDirSel, 1);
    body->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pnlFullPath);
    layout->addLayout(body, 1);

    // The tree keeps at least the room the buttons take.
    setMinimumSize(std::max(320, 2 * buttons->sizeHint().width() + 3 * layout->spacing() +
                                     layout->contentsMargins().left() +
                                     layout->contentsMargins().right()),
                   240);
    WidgetPlacement::Restore(*this, WindowName, true);
    legend_ = new TLegendForm(this);
    connect(legend_, &TLegendForm::visibilityChanged, this, &TNewPickForm::aAllSubsUpdate);

    auto* root = new QTreeWidgetItem(
        tvDirSel, QStringList(QString::fromUtf8(FolderPickTree::RootCaption.data(),
                                                FolderPickTree::RootCaption.size())));
    root->setData(0, NodeRole, QVariant::fromValue(quintptr(&tree_.Root())));
    Redraw();
    // Current from the start, so that the keys and commands work before any click.
    tvDirSel->setCurrentItem(root);
    tvDirSel->setFocus();
}

TNewPickForm::~TNewPickForm() {
    WidgetPlacement::Save(*this, WindowName, true);
}

QAction* TNewPickForm::MakeAction(const char* name, const QString& caption, const QString& hint) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    action->setToolTip(hint);
    action->setStatusTip(hint);
    addAction(action); // so that its shortcut works anywhere in the window
    return action;
}

void TNewPickForm::SetFolders(const std::vector<FolderEntry>& folders) {
    tree_.SetFolders(folders);
    Redraw();
}

void TNewPickForm::GetFolders(std::vector<FolderEntry>& folders) const {
    tree_.GetFolders(folders);
}

void TNewPickForm::done(int result) {
    legend_->hide();
    QDialog::done(result);
}

PickNode* TNewPickForm::NodeOf(const QTreeWidgetItem* item) {
    return item ? reinterpret_cast<PickNode*>(item->data(0, NodeRole).value<quintptr>()) : nullptr;
}

PickNode* TNewPickForm::SelectedNode() const {
    const QList<QTreeWidgetItem*> selected = tvDirSel->selectedItems();
    return selected.isEmpty() ? nullptr : NodeOf(selected.first());
}

void TNewPickForm::Redraw() {
    syncing_ = true;
    SyncItem(tvDirSel->topLevelItem(0), tree_.Root());
    syncing_ = false;
    btnOK->setEnabled(tree_.OkEnabled());
    aAllSubsUpdate();
}

void TNewPickForm::SyncItem(QTreeWidgetItem* item, PickNode& node) {
    const int key = IconKey(node);
    if (item->data(0, IconKeyRole) != QVariant(key)) {
        item->setIcon(0, nodeIcons_[key]);
        item->setData(0, IconKeyRole, key);
    }
    const auto policy = node.hasSubfolders ? QTreeWidgetItem::ShowIndicator
                                           : QTreeWidgetItem::DontShowIndicatorWhenChildless;
    if (item->childIndicatorPolicy() != policy)
        item->setChildIndicatorPolicy(policy);
    if (item->childCount() == 0 && !node.children.empty()) {
        QList<QTreeWidgetItem*> children;
        for (const auto& child : node.children) {
            auto* childItem =
                new QTreeWidgetItem(QStringList(QString::fromStdString(child->caption)));
            childItem->setData(0, NodeRole, QVariant::fromValue(quintptr(child.get())));
            children.append(childItem);
        }
        item->addChildren(children);
    }
    for (int i = 0; i < item->childCount(); ++i)
        SyncItem(item->child(i), *node.children[size_t(i)]);
    if (node.expanded && !item->isExpanded())
        item->setExpanded(true);
}

void TNewPickForm::tvDirSelChange() {
    const PickNode* node = SelectedNode();
    pnlFullPath->SetFullText(node ? " " + QString::fromStdString(FolderPickTree::NodePath(*node))
                                  : QString());
    aAllSubsUpdate();
}

void TNewPickForm::tvDirSelExpanding(QTreeWidgetItem* item) {
    if (syncing_)
        return;
    tree_.Expand(*NodeOf(item));
    Redraw();
}

void TNewPickForm::tvDirSelCollapsing(QTreeWidgetItem* item) {
    PickNode* node = NodeOf(item);
    if (node->IsRoot()) {
        item->setExpanded(true);
        return;
    }
    node->expanded = false;
}

bool TNewPickForm::tvDirSelKeyDown(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Space:
        aFolderExecute();
        return true;
    case Qt::Key_Asterisk: // expands everything below: a whole drive at once
        return true;
    default:
        return false;
    }
}

bool TNewPickForm::tvDirSelMouseDown(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return false;
    QTreeWidgetItem* item = tvDirSel->itemAt(event->position().toPoint());
    if (!item || !StateIconRect(item).contains(event->position().toPoint()))
        return false;
    // The second press of a double click comes as the double click: it toggles again, and
    // must not expand the node.
    tvDirSel->setCurrentItem(item);
    aFolderExecute();
    return true;
}

bool TNewPickForm::tvDirSelToolTip(QHelpEvent* event) {
    // A caption that the view cuts is shown whole.
    const QTreeWidgetItem* item = tvDirSel->itemAt(event->pos());
    const QRect caption = item ? static_cast<DirTree*>(tvDirSel)->CaptionRect(item) : QRect();
    if (caption.isValid() &&
        (caption.left() < 0 || caption.right() >= tvDirSel->viewport()->width()))
        QToolTip::showText(event->globalPos(), item->text(0), tvDirSel->viewport(),
                           tvDirSel->visualItemRect(item));
    else
        QToolTip::hideText();
    return true;
}

QRect TNewPickForm::StateIconRect(QTreeWidgetItem* item) const {
    if (!item || NodeOf(item)->IsRoot())
        return {};
    QStyleOptionViewItem option;
    option.initFrom(tvDirSel);
    option.rect = tvDirSel->visualItemRect(item);
    option.features = QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
    option.decorationSize = tvDirSel->iconSize();
    option.decorationPosition = QStyleOptionViewItem::Left;
    option.decorationAlignment = Qt::AlignCenter;
    option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    option.text = item->text(0);
    option.icon = item->icon(0);
    option.font = tvDirSel->font();
    option.widget = tvDirSel;
    const QRect decoration =
        tvDirSel->style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, tvDirSel);
    return {decoration.left(), decoration.top(), decoration.width() / 2, decoration.height()};
}

bool TNewPickForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tvDirSel && event->type() == QEvent::KeyPress)
        return tvDirSelKeyDown(static_cast<QKeyEvent*>(event));
    if (watched == tvDirSel->viewport() &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick))
        return tvDirSelMouseDown(static_cast<QMouseEvent*>(event));
    if (watched == tvDirSel->viewport() && event->type() == QEvent::ToolTip)
        return tvDirSelToolTip(static_cast<QHelpEvent*>(event));
    return QDialog::eventFilter(watched, event);
}

void TNewPickForm::aFolderExecute() {
    if (PickNode* node = SelectedNode())
        tree_.ToggleFolder(*node, FolderPickTree::How::Toggle);
    Redraw();
}

void TNewPickForm::aModeExecute(SubMode mode) {
    if (PickNode* node = SelectedNode())
        tree_.ApplySubfolderMode(*node, mode);
    Redraw();
}

void TNewPickForm::aExistSubsExecute() {
    if (PickNode* node = SelectedNode())
        tree_.ListSubfolders(*node);
    Redraw();
}

void TNewPickForm::aAllSubsUpdate() {
    const FolderPickTree::Commands c = FolderPickTree::CommandStates(SelectedNode());
    aFolder->setEnabled(c.folder);
    aFolder->setChecked(c.folderChecked);
    aAllSubs->setEnabled(c.allSubs);
    aNoSubs->setEnabled(c.noSubs);
    aExistSubs->setEnabled(c.existSubs);
    aLegend->setChecked(legend_ && legend_->isVisible());
}

} // namespace brumo
