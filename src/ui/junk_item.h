#pragma once

#include "model/junk_file_type.h"

#include <QListWidgetItem>

#include <memory>

namespace brumo {

// One row of the main list: it owns its junk file type for as long as it exists.
class JunkItem : public QListWidgetItem {
public:
    explicit JunkItem(std::unique_ptr<TJunkFileObj> type);

    TJunkFileObj* Type() const { return type_.get(); }
    // Hands the type over (to the Undo holder) or replaces it (after Edit).
    std::unique_ptr<TJunkFileObj> TakeType() { return std::move(type_); }
    void SetType(std::unique_ptr<TJunkFileObj> type) { type_ = std::move(type); }

    bool Checked() const { return checkState() == Qt::Checked; }
    // The check state last seen by the list's change handler: an item change that leaves it
    // as it was changed the caption, not the check box.
    bool seenChecked = false;

private:
    std::unique_ptr<TJunkFileObj> type_;
};

} // namespace brumo
