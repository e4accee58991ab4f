#pragma once

#include "platform/date_time.h"

#include <cstdint>

namespace brumo {

class TJunkFileObj;

// The age restriction: the file date against reference dates counted back from today by
// the age codes "1 day" .. "1 year".
struct AgeRule {
    int32_t compare = 0;
    int32_t age1 = 0;
    int32_t age2 = 0;

    static AgeRule Of(const TJunkFileObj& type);
    // today and fileDate are whole days.
    bool Fails(TDateTime fileDate, TDateTime today) const;
    // today moved back by the age of the code; a code outside the table leaves it at today.
    static TDateTime Reference(TDateTime today, int32_t ageCode);
    // Calendar months back, keeping the day of the month where that month has it.
    static TDateTime MonthsBack(TDateTime today, int months);
};

} // namespace brumo
