#pragma once

#include "engine/age_rule.h"
#include "engine/date_rule.h"
#include "engine/size_rule.h"
#include "platform/date_time.h"
#include "platform/find_entry.h"

#include <cstdint>
#include <optional>

namespace brumo {

class TJunkFileObj;

// The date, age and size restrictions of one type, read once when a search starts.
// Tested in that order; a file without a date is not held back by date or age.
class Restrictions {
public:
    explicit Restrictions(const TJunkFileObj& type);

    bool Any() const { return date_ || age_ || size_; }
    bool Passes(const FindEntry& entry) const;

    // The last-write time as a local whole day; empty when it cannot be converted.
    static std::optional<TDateTime> FileDate(const FindEntry& entry);

    static bool PassesRestrictions(const TJunkFileObj& type, const FindEntry& entry);
    static bool FailsDate(const TJunkFileObj& type, TDateTime fileDate);
    // Today is read from the clock on every call.
    static bool FailsAge(const TJunkFileObj& type, TDateTime fileDate);
    static bool FailsSize(const TJunkFileObj& type, int64_t size);

private:
    std::optional<DateRule> date_;
    std::optional<AgeRule> age_;
    std::optional<SizeRule> size_;
};

} // namespace brumo
