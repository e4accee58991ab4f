#include "cli/enabled_type_list.h"

namespace brumo {

EnabledTypeList::EnabledTypeList(std::vector<TJunkFileObj> types) : types_(std::move(types)) {
    for (const TJunkFileObj& type : types_)
        checked_.push_back(type.Enabled);
}

int EnabledTypeList::CheckedCount() const {
    int count = 0;
    for (bool checked : checked_)
        count += checked ? 1 : 0;
    return count;
}

} // namespace brumo
