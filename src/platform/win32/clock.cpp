#include "platform/clock.h"

#include "platform/win32/windows_api.h"

#include <atomic>

namespace brumo {

namespace {
TDateTime FromSystemTime(const SYSTEMTIME& st) {
    const auto date = DateTime::EncodeDate(st.wYear, st.wMonth, st.wDay);
    const TDateTime time =
        DateTime::EncodeTime({st.wHour, st.wMinute, st.wSecond, st.wMilliseconds});
    return date ? *date + time : 0;
}

class SystemClock : public Clock {
public:
    TDateTime Now() const override {
        SYSTEMTIME st;
        GetLocalTime(&st);
        return FromSystemTime(st);
    }
};

const SystemClock kSystemClock;
std::atomic<const Clock*> installed{nullptr};
} // namespace

std::optional<TDateTime> Clock::FileTimeToLocal(int64_t fileTimeUtc) const {
    if (fileTimeUtc < 0)
        return std::nullopt;
    FILETIME utc, local;
    utc.dwLowDateTime = static_cast<DWORD>(fileTimeUtc & 0xFFFFFFFF);
    utc.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(fileTimeUtc) >> 32);
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st))
        return std::nullopt;
    return FromSystemTime(st);
}

const Clock& Clock::Current() {
    const Clock* clock = installed.load();
    return clock ? *clock : kSystemClock;
}

void Clock::Install(const Clock* clock) {
    installed.store(clock);
}

} // namespace brumo
