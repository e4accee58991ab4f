#include "platform/posix/test_faults.h"

#include <atomic>

namespace brumo {

namespace {

std::atomic<int> renameCode{0};
std::atomic<int> renameCount{0};

} // namespace

void TestFaults::FailRenames(int code, int count) {
    renameCode = code;
    renameCount = count;
}

void TestFaults::Clear() {
    renameCount = 0;
    renameCode = 0;
}

int TestFaults::TakeRenameFault() {
    int left = renameCount.load();
    while (left > 0) {
        if (renameCount.compare_exchange_weak(left, left - 1))
            return renameCode.load();
    }
    return 0;
}

} // namespace brumo
