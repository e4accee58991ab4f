#include "support/scoped_env.h"

#include <cstdlib>

namespace brumo::test {

namespace {
// HOME and the XDG folders mean nothing to the program on Windows, but Wine's own services in
// the test process read them as host paths (its Recycle Bin is the XDG trash): a Windows path
// there would turn every recycled file into a deleted one.
bool HostOnly(const std::string& name) {
    return name == "HOME" || name.rfind("XDG_", 0) == 0;
}
} // namespace

// _putenv_s keeps the C runtime's copy and the process environment in step.
void ScopedEnv::Set(const char* name, const std::string& value) {
    if (!HostOnly(name))
        _putenv_s(name, value.c_str());
}

void ScopedEnv::Unset(const char* name) {
    if (!HostOnly(name))
        _putenv_s(name, "");
}

} // namespace brumo::test
