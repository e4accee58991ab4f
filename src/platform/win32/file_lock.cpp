#include "platform/file_lock.h"

#include "platform/win32/win_text.h"
#include "platform/win32/windows_api.h"

namespace brumo {

namespace {
// Opened without sharing: a second opener is refused until the handle closes, and the file
// goes with the handle.
class HandleFileLock final : public FileLock {
public:
    explicit HandleFileLock(HANDLE handle) : handle_(handle) {}
    ~HandleFileLock() override { CloseHandle(handle_); }

private:
    HANDLE handle_;
};
} // namespace

std::unique_ptr<FileLock> FileLock::TryTake(const std::string& path, bool& held, OsError& error) {
    held = false;
    error = {};
    HANDLE h =
        CreateFileW(WinText::FilePath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        held = code == ERROR_SHARING_VIOLATION || code == ERROR_ACCESS_DENIED;
        if (!held)
            error = OsError{static_cast<int>(code)};
        return nullptr;
    }
    return std::make_unique<HandleFileLock>(h);
}

} // namespace brumo
