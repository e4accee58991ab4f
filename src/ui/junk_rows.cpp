#include "ui/junk_rows.h"

#include "ui/hd_form.h"
#include "ui/junk_item.h"

#include <QListWidget>

namespace brumo {

int JunkRows::Count() const {
    return form_.RowCount();
}

TJunkFileObj* JunkRows::TypeAt(int index) {
    JunkItem* row = form_.Row(index);
    return row ? row->Type() : nullptr;
}

bool JunkRows::Checked(int index) const {
    return form_.RowChecked(index);
}

void JunkRows::SetChecked(int index, bool checked) {
    if (JunkItem* row = form_.Row(index))
        row->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

} // namespace brumo
