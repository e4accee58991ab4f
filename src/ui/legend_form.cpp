#include "ui/legend_form.h"

#include "ui/dialog_buttons.h"
#include "ui/dir_sel_images.h"
#include "ui/widget_placement.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace brumo {

namespace {

constexpr const char* WindowName = "LegendForm";

struct Row {
    int image;
    const char* text;
};

// Image 7 stands for the all-subfolders row: it is the copy of image 0.
constexpr Row Rows[] = {
    {2, "Search all subfolders that exist now"},
    {7, "Search all subfolders that exist at clean-up time"},
    {1, "Search no subfolders"},
    {3, "Search some subfolders, not all"},
    {4, "Folder has no subfolders"},
};

} // namespace

// Topmost from the start: it is only ever shown as a companion of the picker.
TLegendForm::TLegendForm(QWidget* owner) : QDialog(owner, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(WindowName);
    setWindowTitle("Brumo - Folder Icons Legend");

    tvLegend = new QTreeWidget(this);
    tvLegend->setObjectName("tvLegend");
    tvLegend->setHeaderHidden(true);
    tvLegend->setRootIsDecorated(false);
    tvLegend->setItemsExpandable(false);
    tvLegend->setSelectionMode(QAbstractItemView::NoSelection);
    tvLegend->setFocusPolicy(Qt::NoFocus);
    tvLegend->setIconSize(QSize(16, 16));
    int textWidth = 0;
    for (const Row& row : Rows) {
        auto* item = new QTreeWidgetItem(tvLegend, QStringList(row.text));
        item->setIcon(0, DirSelImages::Icon(row.image));
        textWidth = std::max(textWidth, tvLegend->fontMetrics().horizontalAdvance(row.text));
    }
    // The list explains; it never shows a chosen row.
    connect(tvLegend, &QTreeWidget::itemSelectionChanged, tvLegend, &QTreeWidget::clearSelection);

    QDialogButtonBox* buttons = DialogButtons::Make(this);
    btnOK = DialogButtons::Add(buttons, QDialogButtonBox::Ok, "OK", "btnOK");
    btnOK->setDefault(true);
    btnOK->setAutoDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &TLegendForm::btnOKClick);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tvLegend);
    layout->addWidget(buttons);

    tvLegend->setFixedHeight(tvLegend->sizeHintForRow(0) * int(std::size(Rows)) +
                             2 * tvLegend->frameWidth() + 6);
    tvLegend->setMinimumWidth(textWidth + tvLegend->iconSize().width() +
                              2 * tvLegend->frameWidth() + 24);
    DialogButtons::MakeFixedSize(*this);

    placed_ = WidgetPlacement::Restore(*this, WindowName, false);
}

TLegendForm::~TLegendForm() {
    WidgetPlacement::Save(*this, WindowName, false);
}

void TLegendForm::Toggle() {
    if (isVisible()) {
        hide();
        return;
    }
    if (!placed_)
        PlaceBesideOwner();
    show();
}

void TLegendForm::PlaceBesideOwner() {
    placed_ = true;
    const QWidget* owner = parentWidget();
    if (!owner || !owner->isVisible())
        return;
    const QRect work = owner->screen()->availableGeometry();
    const QRect around = owner->frameGeometry();
    const QSize frame = frameGeometry().size();
    constexpr int gap = 8;
    // The side with room for it, else the side with more room, as near as the screen allows.
    const int right = around.right() + 1 + gap;
    const int left = around.left() - gap - frame.width();
    int x = right + frame.width() <= work.right() + 1                      ? right
            : left >= work.left()                                          ? left
            : work.right() - around.right() >= around.left() - work.left() ? right
                                                                           : left;
    x = std::clamp(x, work.left(), std::max(work.left(), work.right() + 1 - frame.width()));
    const int y = std::clamp(around.top(), work.top(),
                             std::max(work.top(), work.bottom() + 1 - frame.height()));
    move(x, y);
}

void TLegendForm::btnOKClick() {
    hide();
}

void TLegendForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    emit visibilityChanged(true);
}

void TLegendForm::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    emit visibilityChanged(false);
}

} // namespace brumo
