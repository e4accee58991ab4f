#pragma once

#include <optional>
#include <string>

namespace brumo::test {

// Sets an environment variable for the object's lifetime, then puts the previous value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    static void Set(const char* name, const std::string& value);
    static void Unset(const char* name);

private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace brumo::test
