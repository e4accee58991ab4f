#pragma once

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace brumo::test {

// The id of a process that has just ended, for files a crashed run would have left; -1 when
// none could be started.
inline pid_t EndedProcessId() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    if (child < 0 || ::waitpid(child, nullptr, 0) != child)
        return -1;
    return child;
}

} // namespace brumo::test
