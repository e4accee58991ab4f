#include "support/scoped_env.h"

#include <cstdlib>

namespace brumo::test {

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name))
        old_ = old;
    Set(name, value);
}

ScopedEnv::~ScopedEnv() {
    if (old_)
        Set(name_, *old_);
    else
        Unset(name_);
}

} // namespace brumo::test
