#include "engine/restrictions.h"

#include "model/junk_file_type.h"
#include "platform/clock.h"

namespace brumo {

namespace {

TDateTime Today() {
    return DateTime::DateOf(Clock::Current().Now());
}

} // namespace

Restrictions::Restrictions(const TJunkFileObj& type) {
    if (type.DateRestrict)
        date_ = DateRule::Of(type);
    if (type.AgeRestrict)
        age_ = AgeRule::Of(type);
    if (type.SizeRestrict)
        size_ = SizeRule::Of(type);
}

std::optional<TDateTime> Restrictions::FileDate(const FindEntry& entry) {
    const std::optional<TDateTime> local = Clock::Current().FileTimeToLocal(entry.lastWriteUtc);
    if (!local)
        return std::nullopt;
    const TDateTime day = DateTime::DateOf(*local);
    const CalendarDate d = DateTime::DecodeDate(day);
    if (!DateTime::IsValidDate(d.year, d.month, d.day))
        return std::nullopt;
    return day;
}

bool Restrictions::Passes(const FindEntry& entry) const {
    if (date_ || age_) {
        if (const std::optional<TDateTime> f = FileDate(entry)) {
            if (date_ && date_->Fails(*f))
                return false;
            if (age_ && age_->Fails(*f, Today()))
                return false;
        }
    }
    return !(size_ && size_->Fails(entry.size));
}

bool Restrictions::PassesRestrictions(const TJunkFileObj& type, const FindEntry& entry) {
    return Restrictions(type).Passes(entry);
}

bool Restrictions::FailsDate(const TJunkFileObj& type, TDateTime fileDate) {
    return DateRule::Of(type).Fails(fileDate);
}

bool Restrictions::FailsAge(const TJunkFileObj& type, TDateTime fileDate) {
    return AgeRule::Of(type).Fails(fileDate, Today());
}

bool Restrictions::FailsSize(const TJunkFileObj& type, int64_t size) {
    return SizeRule::Of(type).Fails(size);
}

} // namespace brumo
