#pragma once

#include <QStyledItemDelegate>

namespace brumo {

// Draws a column of paths cut in the middle, so that deep folders that share a long start
// still show where they end, and shows a cut path whole as the row's tooltip.
class PathColumnDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

} // namespace brumo
