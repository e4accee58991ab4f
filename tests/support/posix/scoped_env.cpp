#include "support/scoped_env.h"

#include <cstdlib>

namespace brumo::test {

void ScopedEnv::Set(const char* name, const std::string& value) {
    ::setenv(name, value.c_str(), 1);
}

void ScopedEnv::Unset(const char* name) {
    ::unsetenv(name);
}

} // namespace brumo::test
