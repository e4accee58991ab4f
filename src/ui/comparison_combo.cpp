#include "ui/comparison_combo.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStylePainter>
#include <QStyledItemDelegate>

namespace brumo {

namespace {
// A little smaller than the list's own font, leaving room below the text for the line.
QFont PictogramFont(const QFont& base) {
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * 11 / 13);
    return font;
}

class PictogramDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        ComparisonCombo::DrawItem(
            *painter, option.rect, index.row(), index.data(Qt::DisplayRole).toString(),
            option.state & QStyle::State_Selected, option.palette, option.font);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(),
                     ComparisonCombo::ItemHeight(option.font));
    }
};
class RowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(),
                     ComparisonCombo::ItemHeight(option.font));
    }
};
} // namespace

int ComparisonCombo::ItemHeight(const QFont& font) {
    return QFontMetrics(PictogramFont(font)).height() + 5;
}

void ComparisonCombo::UseItemHeight(QComboBox& combo) {
    combo.setItemDelegate(new RowDelegate(&combo));
}

ComparisonCombo::ComparisonCombo(QWidget* parent) : QComboBox(parent) {
    setItemDelegate(new PictogramDelegate(this));
    setMinimumHeight(ItemHeight(font()) + 6);
}

void ComparisonCombo::DrawItem(QPainter& p, const QRect& rect, int index, const QString& text,
                               bool selected, const QPalette& palette, const QFont& font) {
    // Edges as the table gives them: Right and Bottom lie just outside the rectangle.
    const int left = rect.left();
    const int top = rect.top();
    const int right = rect.left() + rect.width();
    const int bottom = rect.top() + rect.height();

    p.save();
    p.fillRect(rect, palette.brush(selected ? QPalette::Highlight : QPalette::Base));
    p.setFont(PictogramFont(font));
    p.setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    p.drawText(QRect(left + 2, top, rect.width() - 2, rect.height()), Qt::AlignLeft | Qt::AlignTop,
               text);

    const int y = bottom - 3;
    const int c = (left + right - 4) / 2;
    const int f = (right - left) / 4;
    // Grey like the text while the list is disabled.
    const QColor red = palette.currentColorGroup() == QPalette::Disabled
                           ? palette.color(QPalette::Disabled, QPalette::Text)
                           : QColor(Qt::red);
    auto segment = [&](int from, int to, bool thick) {
        QPen pen(red, thick ? 2 : 1, thick ? Qt::SolidLine : Qt::DotLine);
        pen.setCapStyle(Qt::FlatCap);
        p.setPen(pen);
        p.drawLine(from, y, to, y);
    };
    auto square = [&](int x, bool solid) {
        const QRect box(x, bottom - 5, 4, 4);
        if (solid) {
            p.fillRect(box, red);
        } else {
            p.setPen(QPen(red, 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(box.adjusted(0, 0, -1, -1));
        }
    };
    switch (index) {
    case 0:
        segment(left, c, false);
        square(c, true);
        segment(c + 4, right, false);
        break;
    case 1:
        segment(left, c, true);
        square(c, false);
        segment(c + 4, right, false);
        break;
    case 2:
        segment(left, c, false);
        square(c, true);
        segment(c + 4, right, true);
        break;
    case 3:
        segment(left, c - f, false);
        square(c - f, true);
        segment(c - f + 4, c + f, true);
        square(c + f, false);
        segment(c + f + 4, right, false);
        break;
    case 4:
        segment(left, c - f, true);
        square(c - f, false);
        segment(c - f + 4, c + f, false);
        square(c + f, true);
        segment(c + f + 4, right, true);
        break;
    default:
        break;
    }
    p.restore();
}

void ComparisonCombo::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (currentIndex() < 0)
        return;
    QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    const bool focused = hasFocus() && !view()->isVisible();
    QPalette pal = palette();
    if (!isEnabled())
        pal.setCurrentColorGroup(QPalette::Disabled);
    // Closed, the choice sits on the box's own face, as in the plain lists beside it.
    pal.setBrush(pal.currentColorGroup(), QPalette::Base, Qt::transparent);
    pal.setBrush(pal.currentColorGroup(), QPalette::Text,
                 pal.brush(pal.currentColorGroup(), QPalette::ButtonText));
    DrawItem(painter, field, currentIndex(), currentText(), focused, pal, font());
}

} // namespace brumo
