#include "platform/system_clock.h"

#include "platform/win32/windows_api.h"

namespace brumo {

namespace {
std::optional<TDateTime> FromSystemTime(const SYSTEMTIME& st) {
    const auto date = DateTime::EncodeDate(st.wYear, st.wMonth, st.wDay);
    if (!date)
        return std::nullopt;
    return DateTime::Compose(*date, {st.wHour, st.wMinute, st.wSecond, st.wMilliseconds});
}

// FILETIME counts 100-ns intervals from 1601-01-01; Unix time counts seconds from 1970.
constexpr int64_t kTicksPerSecond = 10000000;
constexpr int64_t kSecondsFrom1601To1970 = 11644473600;
} // namespace

TDateTime SystemClock::Now() const {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return FromSystemTime(st).value_or(0.0);
}

std::optional<TDateTime> SystemClock::LocalFromUnix(int64_t seconds, int milliseconds) {
    if (seconds < -kSecondsFrom1601To1970 ||
        seconds > (INT64_MAX / kTicksPerSecond) - kSecondsFrom1601To1970 - 1)
        return std::nullopt;
    const int64_t ticks =
        (seconds + kSecondsFrom1601To1970) * kTicksPerSecond + milliseconds * 10000LL;
    FILETIME utc, local;
    utc.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFF);
    utc.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(ticks) >> 32);
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st))
        return std::nullopt;
    return FromSystemTime(st);
}

} // namespace brumo
