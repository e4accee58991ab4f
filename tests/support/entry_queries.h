#pragma once

#include <cstdint>

namespace brumo::test {

// How many times the platform has asked the system about single folder entries so far (a
// status call each on POSIX); a test compares two readings. Always 0 where not counted.
uint64_t EntryQueries();

} // namespace brumo::test
