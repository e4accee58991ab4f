#include "support/unprivileged.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace brumo::test {

namespace {
constexpr uid_t kNobody = 65534;

bool SwitchUser() {
    return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}
} // namespace

bool Unprivileged::Available() {
    if (::geteuid() != 0)
        return true;
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(SwitchUser() ? 0 : 1);
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

void Unprivileged::HandOver(const std::filesystem::path& root) {
    if (::geteuid() != 0)
        return;
    // An entry that stays root's makes the test that needs it fail on its own.
    bool handed = ::lchown(root.c_str(), kNobody, kNobody) == 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        handed = ::lchown(entry.path().c_str(), kNobody, kNobody) == 0 && handed;
    static_cast<void>(handed);
}

bool Unprivileged::Run(const std::function<void()>& body) {
    if (::geteuid() != 0) {
        body();
        return !::testing::Test::HasFailure();
    }
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        if (!SwitchUser())
            ::_exit(2);
        body();
        std::fflush(nullptr);
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

} // namespace brumo::test
