#pragma once

#include <cstddef>
#include <string>

namespace brumo {

// Why a stored list could not be read: a message for the user (naming the file and the
// byte offset) and the offset of the value that failed.
struct StoreError {
    std::string message;
    size_t offset = 0;
};

} // namespace brumo
