#include "engine/size_rule.h"

#include "model/junk_file_type.h"

namespace brumo {

SizeRule SizeRule::Of(const TJunkFileObj& type) {
    return SizeRule{type.SizeCompare, type.Size1, type.Size2, type.SizeUnits};
}

int64_t SizeRule::UnitFactor(int32_t units) {
    switch (units) {
    case 0:
        return 1;
    case 1:
        return 1024;
    case 2:
        return 1048576;
    default:
        return 0;
    }
}

bool SizeRule::Fails(int64_t s) const {
    const int64_t factor = UnitFactor(units);
    // A unit we do not know gives no size to compare with: hold the file back rather than
    // guess, since the type was meant to narrow the selection.
    if (factor == 0)
        return true;
    const int64_t v1 = int64_t{size1} * factor;
    const int64_t v2 = int64_t{size2} * factor;
    switch (compare) {
    case 0:
        return !(s == v1);
    case 1:
        return !(s < v1);
    case 2:
        return !(s >= v1);
    case 3:
        return !(v1 <= s && s < v2);
    case 4:
        return !(s < v1 || s >= v2);
    default:
        return true;
    }
}

} // namespace brumo
