#include "support/recycle_probe.h"

#include "platform/win32/windows_api.h"

#include <shellapi.h>

namespace brumo::test {

bool InRecycleBin(const std::filesystem::path&, const std::string&) {
    SHQUERYRBINFO info{};
    info.cbSize = sizeof info;
    return SUCCEEDED(SHQueryRecycleBinW(nullptr, &info)) && info.i64NumItems > 0;
}

} // namespace brumo::test
