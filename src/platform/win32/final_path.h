#pragma once

#include "platform/win32/windows_api.h"

#include <string>

namespace brumo {

// The system's own name of an open file or folder: every link and junction on the way resolved,
// short names long, the case as stored.
class FinalPath {
public:
    // "\\?\X:\..." or "\\?\UNC\server\share\..."; empty when the system cannot tell.
    static std::wstring Of(HANDLE handle);
    // A drive path in its link-free form ("X:\..."). Components that do not exist yet are kept
    // as given after the resolved part; a path that resolves onto a share, or whose drive
    // cannot be opened, stays as it is.
    static std::string Resolve(const std::string& path);
};

} // namespace brumo
