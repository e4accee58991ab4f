#include "support/recycle_probe.h"

namespace brumo::test {

bool InRecycleBin(const std::filesystem::path& dataHome, const std::string& name) {
    return std::filesystem::exists(dataHome / "Trash" / "files" / name);
}

} // namespace brumo::test
