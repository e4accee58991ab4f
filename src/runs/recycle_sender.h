#pragma once

#include <string>
#include <vector>

namespace brumo {

// The operation that sends a batch of files to the Recycle Bin, replaceable by tests.
class RecycleSender {
public:
    virtual ~RecycleSender() = default;
    // Sends the files in order, stopping at the first that fails: 0, or that failure's code.
    virtual int SendFiles(const std::vector<std::string>& paths) const = 0;
    // The message text for a code returned by SendFiles.
    virtual std::string ErrorText(int code) const = 0;

    // The system's Recycle Bin.
    static const RecycleSender& System();
};

} // namespace brumo
