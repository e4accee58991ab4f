#include "platform/file_writer.h"

#include "platform/win32/win_text.h"

#include "platform/win32/windows_api.h"

namespace brumo {

namespace {
OsError LastError() {
    const DWORD code = GetLastError();
    return OsError{code ? static_cast<int>(code) : ERROR_GEN_FAILURE};
}

class Win32Writer : public FileWriter {
public:
    explicit Win32Writer(HANDLE h) : h_(h) {}
    ~Win32Writer() override {
        if (h_ != INVALID_HANDLE_VALUE)
            CloseHandle(h_);
    }
    Win32Writer(const Win32Writer&) = delete;
    Win32Writer& operator=(const Win32Writer&) = delete;

    OsError Write(std::string_view bytes) override {
        if (h_ == INVALID_HANDLE_VALUE)
            return OsError{ERROR_INVALID_HANDLE};
        while (!bytes.empty()) {
            const DWORD chunk =
                bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
            DWORD written = 0;
            if (!WriteFile(h_, bytes.data(), chunk, &written, nullptr))
                return LastError();
            if (written == 0)
                return OsError{ERROR_WRITE_FAULT};
            bytes.remove_prefix(written);
        }
        return {};
    }

    OsError Close() override {
        if (h_ == INVALID_HANDLE_VALUE)
            return {};
        const BOOL ok = CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        return ok ? OsError{} : LastError();
    }

private:
    HANDLE h_;
};
} // namespace

OsError FileWriter::Open(const std::string& path, Mode mode, std::unique_ptr<FileWriter>& out) {
    out.reset();
    // Appending through FILE_APPEND_DATA alone puts every write at the current end.
    const DWORD access = mode == Mode::Append ? FILE_APPEND_DATA : GENERIC_WRITE;
    const DWORD disposition = mode == Mode::Append ? OPEN_ALWAYS : CREATE_ALWAYS;
    HANDLE h = CreateFileW(WinText::FilePath(path).c_str(), access, FILE_SHARE_READ, nullptr,
                           disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return LastError();
    out = std::make_unique<Win32Writer>(h);
    return {};
}

} // namespace brumo
