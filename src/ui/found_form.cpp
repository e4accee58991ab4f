#include "ui/found_form.h"

#include "platform/file_system.h"
#include "ui/widget_placement.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace brumo {

namespace {
constexpr int kRowHeight = 16;
constexpr int kTextMargin = 4;

QStringList LinesOf(const std::string& bytes) {
    QStringList lines = QString::fromStdString(bytes).split('\n');
    for (QString& line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the final line end adds no line
    return lines;
}
} // namespace

TFoundForm::TFoundForm(QWidget* parent) : QDialog(parent) {
    setObjectName("FoundForm");
    setWindowFlag(Qt::Tool);
    setMinimumSize(300, 200);
    resize(420, 300);

    btnOK = new QPushButton("Done", this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName("ListBox1");
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ListBox1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    auto* top = new QHBoxLayout;
    top->addWidget(btnOK);
    top->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top);
    layout->addWidget(ListBox1);

    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    WidgetPlacement::Restore(*this, "FoundForm", false);
}

TFoundForm::~TFoundForm() {
    WidgetPlacement::Save(*this, "FoundForm", false);
}

void TFoundForm::LoadFoundList(const std::string& fileName, const std::string& typeName) {
    std::string bytes;
    (void)FileSystem::ReadFile(fileName, bytes); // a missing file lists nothing
    const QStringList lines = LinesOf(bytes);
    const QFontMetrics metrics(ListBox1->font());
    ListBox1->clear();
    extent_ = 0;
    for (const QString& line : lines) {
        const int width = metrics.horizontalAdvance(line);
        extent_ = std::max(extent_, width);
        // Each row is as wide as its text, so the list scrolls as far as the widest.
        auto* item = new QListWidgetItem(line);
        item->setSizeHint(QSize(width + 2 * kTextMargin, kRowHeight));
        ListBox1->addItem(item);
    }

    setWindowTitle(QString::fromStdString("Files for \"" + typeName + "\""));
}

} // namespace brumo
