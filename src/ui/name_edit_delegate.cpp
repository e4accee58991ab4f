#include "ui/name_edit_delegate.h"

#include <QLineEdit>

namespace brumo {

NameEditDelegate::NameEditDelegate(Handler edited, QObject* parent)
    : QStyledItemDelegate(parent), edited_(std::move(edited)) {}

QWidget* NameEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
    editor_ = QStyledItemDelegate::createEditor(parent, option, index);
    return editor_;
}

void NameEditDelegate::Discard() {
    if (editor_)
        emit closeEditor(editor_, QAbstractItemDelegate::RevertModelCache);
}

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
