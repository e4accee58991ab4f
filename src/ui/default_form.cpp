#include "ui/default_form.h"

#include "app/placement.h"
#include "app/settings_file.h"
#include "engine/local_drives.h"
#include "model/default_types.h"
#include "model/styled_text.h"
#include "runs/recycle_settings_check.h"
#include "ui/dialog_buttons.h"
#include "ui/prompter.h"
#include "ui/styled_text_view.h"
#include "ui/widget_placement.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPushButton>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace brumo {

namespace {
constexpr const char* WindowName = "DefaultForm";
constexpr const char* ListWidthKey = "ListWidth";

// Rows with air above and below the name, as a desktop's lists have.
class RoomyRows : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QSize size = QStyledItemDelegate::sizeHint(option, index);
        return {size.width(), size.height() + option.fontMetrics.height() / 2};
    }
};
} // namespace

TDefaultForm::TDefaultForm(RecycleSettingsCheck& recycle, QWidget* parent) : QDialog(parent) {
    setObjectName(WindowName);
    setWindowTitle("Brumo - Default junk file types");
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    resize(560, 340);

    lvDefs = new QTreeWidget;
    lvDefs->setObjectName("lvDefs");
    lvDefs->setHeaderLabels({"Type"});
    lvDefs->header()->setSectionsClickable(false);
    lvDefs->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lvDefs->setRootIsDecorated(false);
    lvDefs->setUniformRowHeights(true);
    lvDefs->setItemDelegate(new RoomyRows(lvDefs));
    lvDefs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvDefs->setSelectionMode(QAbstractItemView::SingleSelection);
    lvDefs->viewport()->installEventFilter(this);
    connect(lvDefs, &QTreeWidget::itemSelectionChanged, this, &TDefaultForm::lvDefsClick);

    reProps = new QTextEdit;
    reProps->setObjectName("reProps");
    reProps->setReadOnly(true);
    reProps->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    reProps->setMinimumSize(220, 240);

    Splitter1 = new QSplitter(Qt::Horizontal);
    Splitter1->setObjectName("Splitter1");
    Splitter1->setHandleWidth(5);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->addWidget(lvDefs);
    Splitter1->addWidget(reProps);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);

    QDialogButtonBox* buttons = DialogButtons::Make(this);
    btnOK = DialogButtons::Add(buttons, QDialogButtonBox::Ok, "OK", "btnOK");
    btnOK->setDefault(true);
    btnOK->setEnabled(false);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    btnCancel = DialogButtons::Add(buttons, QDialogButtonBox::Cancel, "Cancel", "btnCancel");
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Splitter1, 1);
    layout->addWidget(buttons);

    FormCreate(recycle);
}

void TDefaultForm::FormCreate(RecycleSettingsCheck& recycle) {
    WidgetPlacement::Restore(*this, WindowName, true);
    settingsFile_ = WidgetPlacement::SettingsFileName();

    const int listWidth =
        SettingsFile(settingsFile_)
            .ReadInteger(Placement::SectionOf(WindowName), ListWidthKey, DefaultListWidth);
    Splitter1->setSizes({listWidth, std::max(width() - listWidth, 1)});

    types_ = DefaultTypes::Build(recycle.CheckRecycleSettings());
    for (const TJunkFileObj& type : types_)
        new QTreeWidgetItem(lvDefs, QStringList(QString::fromStdString(type.Name)));

    if (lvDefs->topLevelItemCount() > 0) {
        lvDefs->setCurrentItem(lvDefs->topLevelItem(0));
        lvDefsClick();
    }
}

TDefaultForm::~TDefaultForm() {
    WidgetPlacement::Save(*this, WindowName, true);
    SettingsFile settings(settingsFile_);
    if (auto error = settings.WriteInteger(Placement::SectionOf(WindowName), ListWidthKey,
                                           Splitter1->sizes().value(0, DefaultListWidth)))
        Prompter::Tell(parentWidget(), QString::fromStdString(error->Message()),
                       PromptIcon::Warning);
}

int TDefaultForm::SelectedRow() const {
    const QList<QTreeWidgetItem*> selected = lvDefs->selectedItems();
    return selected.isEmpty() ? -1 : lvDefs->indexOfTopLevelItem(selected.front());
}

void TDefaultForm::lvDefsClick() {
    const int row = SelectedRow();
    btnOK->setEnabled(row >= 0);
    if (row < 0)
        return; // the last summary stays
    StyledText text;
    types_[size_t(row)].DescribeTo(text, LocalDrives::LocalDrivesCaption());
    StyledTextView::Show(*reProps, text);
}

bool TDefaultForm::eventFilter(QObject* watched, QEvent* event) {
    // A click on the list's free area leaves no row selected.
    if (watched == lvDefs->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!lvDefs->itemAt(mouse->position().toPoint()))
            lvDefs->clearSelection();
    }
    return QDialog::eventFilter(watched, event);
}

std::unique_ptr<TJunkFileObj> TDefaultForm::GetSelectedType() const {
    const int row = SelectedRow();
    if (row < 0)
        return nullptr;
    return std::make_unique<TJunkFileObj>(types_[size_t(row)]);
}

} // namespace brumo
