#include "platform/shell.h"

#include <sys/ioctl.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace brumo {

namespace {

constexpr int kBelowNormalSteps = 5;

} // namespace

bool Shell::OpenWithDefaultApp(const std::string& path) {
    // Everything the children need is made before fork: after it only calls that are safe in
    // a child of a threaded process.
    const char* argv[] = {"xdg-open", path.c_str(), nullptr};
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return false;
    const int devNull = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        if (devNull >= 0)
            ::close(devNull);
        return false;
    }
    if (child == 0) {
        // The middle process ends at once, so the opener is nobody's child to wait for.
        ::setsid();
        const pid_t opener = ::fork();
        if (opener == 0) {
            if (devNull >= 0) {
                ::dup2(devNull, STDIN_FILENO);
                ::dup2(devNull, STDOUT_FILENO);
            }
            ::execvp(argv[0], const_cast<char* const*>(argv));
            const int error = errno;
            [[maybe_unused]] ssize_t n = ::write(report[1], &error, sizeof error);
            ::_exit(127);
        }
        ::_exit(opener < 0 ? 1 : 0);
    }
    ::close(report[1]);
    if (devNull >= 0)
        ::close(devNull);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // The pipe closes without a word when exec succeeds.
    int error = 0;
    ssize_t n;
    while ((n = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && n == 0;
}

int Shell::RunProgram(const std::vector<std::string>& argv, std::string& output) {
    output.clear();
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    int out[2];
    if (argv.empty() || ::pipe2(out, O_CLOEXEC) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    ::posix_spawn_file_actions_adddup2(&actions, out[1], STDERR_FILENO);
    pid_t child = 0;
    const int spawned = ::posix_spawnp(&child, args[0], &actions, nullptr, args.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        return -1;
    }
    char buffer[4096];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) != 0;)
        if (n > 0)
            output.append(buffer, static_cast<size_t>(n));
        else if (errno != EINTR)
            break;
    ::close(out[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool Shell::StdoutIsTerminal() {
    return ::isatty(STDOUT_FILENO) == 1;
}

int Shell::StdoutColumns() {
    struct winsize size {};
    if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0)
        return 0;
    return size.ws_col;
}

bool Shell::HasDesktop() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"})
        if (const char* value = std::getenv(name); value && *value)
            return true;
    return false;
}

bool Shell::StdinIsTerminal() {
    return ::isatty(STDIN_FILENO) == 1;
}

void Shell::LetClosedPipesFailWrites() {
    std::signal(SIGPIPE, SIG_IGN);
}

void Shell::LowerCurrentThreadPriority() {
    // On Linux the nice value belongs to the thread when given its thread id.
    const id_t tid = static_cast<id_t>(::syscall(SYS_gettid));
    errno = 0;
    const int current = ::getpriority(PRIO_PROCESS, tid);
    if (current == -1 && errno != 0)
        return;
    const int lowered = current + kBelowNormalSteps > 19 ? 19 : current + kBelowNormalSteps;
    ::setpriority(PRIO_PROCESS, tid, lowered);
}

} // namespace brumo
