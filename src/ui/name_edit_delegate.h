#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

#include <functional>

namespace brumo {

// Ends an in-place rename through the owner's handler, which decides whether the row takes
// the new text.
class NameEditDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    // Returns true when the row keeps the new text.
    using Handler = std::function<bool(int row, const QString& text)>;

    NameEditDelegate(Handler edited, QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

    // Closes an open editor without taking its text.
    void Discard();

private:
    Handler edited_;
    mutable QPointer<QWidget> editor_;
};

} // namespace brumo
