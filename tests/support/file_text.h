#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace brumo::test {

// The whole of a file, byte for byte; empty when it cannot be read.
inline std::string ReadFileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace brumo::test
