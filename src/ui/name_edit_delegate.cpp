#include "ui/name_edit_delegate.h"

#include <QLineEdit>

namespace brumo {

NameEditDelegate::NameEditDelegate(Handler edited, QObject* parent)
    : QStyledItemDelegate(parent), edited_(std::move(edited)) {}

void NameEditDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const {
    const auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line) {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    if (edited_(index.row(), line->text()))
        model->setData(index, line->text(), Qt::EditRole);
}

} // namespace brumo
