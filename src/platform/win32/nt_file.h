#pragma once

#include "platform/os_error.h"
#include "platform/win32/windows_api.h"

#include <cstdint>
#include <string>

namespace brumo {

// What tells one file from another: its volume and its number there, in the widest form the
// volume gives (a 128-bit number with a 64-bit serial; ReFS needs all of it). Attributes ride
// along, as read with them.
struct FileIdentity {
    uint64_t volume = 0;
    uint64_t low = 0;
    uint64_t high = 0;
    uint32_t attributes = 0;

    bool SameFile(const FileIdentity& other) const {
        return volume == other.volume && low == other.low && high == other.high;
    }
};

// A file or folder handle opened through the native calls, which can open a name relative to
// an open folder: nothing above that folder is looked up again.
class NtFile {
public:
    NtFile() = default;
    explicit NtFile(HANDLE h) : h_(h) {}
    ~NtFile() { Reset(); }
    NtFile(NtFile&& other) noexcept : h_(other.h_) { other.h_ = nullptr; }
    NtFile& operator=(NtFile&& other) noexcept;
    NtFile(const NtFile&) = delete;
    NtFile& operator=(const NtFile&) = delete;

    HANDLE Get() const { return h_; }
    bool Valid() const { return h_ != nullptr; }
    void Reset(HANDLE h = nullptr);

    // One name (no backslash) below folder, case ignored, never through a link at its end:
    // a link is opened as itself. disposition and options as NtCreateFile takes them.
    static OsError Open(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG share,
                        ULONG disposition, ULONG options, NtFile& out);
    // A path as the calls that take one resolve it, the entry at its end opened as itself.
    static OsError OpenPath(const std::string& path, ACCESS_MASK access, NtFile& out);
    // Fails where the volume numbers no files (some servers give every file the number 0):
    // one file could not be told from another there.
    OsError Identity(FileIdentity& out) const;
    // How many names (hard links) the file has.
    OsError LinkCount(uint32_t& out) const;
    // The system's final name, upper case unless not wanted, without a trailing backslash;
    // empty when unknown.
    std::wstring FinalName(bool upper = true) const;

    OsError SetDisposition(bool remove) const;
    // A second name (link) or a new name (rename) for the file, in folder.
    OsError Link(HANDLE folder, const std::wstring& name) const;
    OsError Rename(HANDLE folder, const std::wstring& name) const;
    OsError SetAttributes(uint32_t attributes) const;

    // The system's error code for a native status.
    static OsError Error(LONG status);

private:
    OsError SetName(int infoClass, HANDLE folder, const std::wstring& name) const;

    HANDLE h_ = nullptr;
};

} // namespace brumo
