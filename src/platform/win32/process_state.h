#pragma once

#include "platform/win32/windows_api.h"

namespace brumo {

// What the files a process leaves behind may tell of it: only one whose maker has ended is
// its leftover.
class ProcessState {
public:
    // True only when the process is known to have ended: one that cannot be opened for lack
    // of rights may still run.
    static bool HasEnded(DWORD pid);
};

} // namespace brumo
