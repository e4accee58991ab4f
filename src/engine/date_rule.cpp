#include "engine/date_rule.h"

#include "model/junk_file_type.h"

#include <cmath>

namespace brumo {

DateRule DateRule::Of(const TJunkFileObj& type) {
    return DateRule{type.DateCompare, type.Date1, type.Date2};
}

bool DateRule::Fails(TDateTime f) const {
    switch (compare) {
    case 0:
        return !(std::fabs(f - date1) < 0.01);
    case 1:
        return !(f < date1);
    case 2:
        return !(f >= date1);
    case 3:
        return !(date1 <= f && f < date2);
    case 4:
        return !(f < date1 || f >= date2);
    default:
        return true;
    }
}

} // namespace brumo
