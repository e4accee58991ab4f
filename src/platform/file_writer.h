#pragma once

#include "platform/os_error.h"

#include <memory>
#include <string>
#include <string_view>

namespace brumo {

// A text file written piece by piece (the run logs). Every failure is reported.
class FileWriter {
public:
    enum class Mode { Create, Append };
    virtual ~FileWriter() = default;
    static OsError Open(const std::string& path, Mode mode, std::unique_ptr<FileWriter>& out);
    virtual OsError Write(std::string_view bytes) = 0;
    virtual OsError Close() = 0;
};

} // namespace brumo
