#pragma once

#include "platform/recycle_bin.h"

#include <string>
#include <vector>

namespace brumo {

// The operation that sends a batch of files to the Recycle Bin, replaceable by tests.
class RecycleSender {
public:
    virtual ~RecycleSender() = default;
    // Sends the files, each with its own result.
    virtual std::vector<RecycleResult> SendEach(const std::vector<std::string>& paths) const = 0;
    // The message text for a code returned by SendEach.
    virtual std::string ErrorText(int code) const = 0;

    // The system's Recycle Bin.
    static const RecycleSender& System();
};

} // namespace brumo
