#pragma once

#include <atomic>
#include <cstdint>

namespace brumo {

// Live counters a front may read while a worker runs (a progress line); the worker's own
// totals stay authoritative and are read only in its end callbacks.
struct WorkerProgress {
    std::atomic<int32_t> foldersSearched{0};
    std::atomic<int32_t> filesMatched{0};
};

} // namespace brumo
