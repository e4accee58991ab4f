#include "ui/junk_item.h"

namespace brumo {

JunkItem::JunkItem(std::unique_ptr<TJunkFileObj> type) : type_(std::move(type)) {
    setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable |
             Qt::ItemIsEditable);
    if (type_) {
        setText(QString::fromStdString(type_->Name));
        seenChecked = type_->Enabled;
    }
    setCheckState(seenChecked ? Qt::Checked : Qt::Unchecked);
}

} // namespace brumo
