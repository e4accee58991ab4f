#pragma once

#include "platform/date_time.h"

#include <cstdint>

namespace brumo {

class TJunkFileObj;

// The absolute date restriction: "exactly", "before", "after", "between", "not between".
struct DateRule {
    int32_t compare = 0;
    TDateTime date1 = 0;
    TDateTime date2 = 0;

    static DateRule Of(const TJunkFileObj& type);
    // fileDate is a whole day.
    bool Fails(TDateTime fileDate) const;
};

} // namespace brumo
