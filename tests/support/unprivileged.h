#pragma once

#include <filesystem>
#include <functional>

namespace brumo::test {

// Runs a test body as a user whom permissions stop. Root, whom they do not stop, runs it in a
// child process under the unprivileged uid 65534; any other user runs it as it is. (POSIX only.)
class Unprivileged {
public:
    // Whether the body can run so: false when root cannot switch users (a locked-down container).
    static bool Available();
    // Hands a tree to the user the body runs as (root: every entry owned by uid 65534).
    static void HandOver(const std::filesystem::path& root);
    // Runs the body; true when none of its expectations failed.
    static bool Run(const std::function<void()>& body);
};

} // namespace brumo::test
