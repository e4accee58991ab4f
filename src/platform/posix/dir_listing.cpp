#include "platform/posix/dir_listing.h"

#include "platform/posix/utf8_case.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/syscall.h>
#include <unistd.h>

namespace brumo {

namespace {

#if defined(SYS_getdents64)
// The record the getdents64 call fills.
struct LinuxDirent64 {
    uint64_t ino;
    int64_t off;
    unsigned short reclen;
    unsigned char type;
    char name[1];
};

// One large buffer per thread: most folders then take a single call plus the one that
// reports the end.
constexpr size_t kBufferBytes = 64 * 1024;

char* ThreadBuffer() {
    thread_local std::unique_ptr<uint64_t[]> buffer;
    if (!buffer)
        buffer.reset(new uint64_t[kBufferBytes / sizeof(uint64_t)]);
    return reinterpret_cast<char*>(buffer.get());
}
#endif

} // namespace

void DirListing::Add(const char* name, size_t length, unsigned char type) {
    if (name[0] == '.' && (length == 1 || (length == 2 && name[1] == '.')))
        return;
    if (std::memchr(name, '\\', length) != nullptr)
        return;
    entries_.push_back({static_cast<uint32_t>(names_.size()), static_cast<uint16_t>(length), type});
    names_.append(name, length);
    names_.push_back('\0');
}

void DirListing::SortAsWindows() {
    if (entries_.size() < 2)
        return;
    const auto view = [this](const Entry& e) {
        return std::string_view(names_.data() + e.offset, e.length);
    };
    if (Utf8Case::IsAscii(names_)) {
        // Folded byte by byte as compared: no upper-case copy of the names to make.
        const auto upper = [](char c) {
            return static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        };
        std::sort(entries_.begin(), entries_.end(), [&](const Entry& a, const Entry& b) {
            const char* pa = names_.data() + a.offset;
            const char* pb = names_.data() + b.offset;
            const size_t common = std::min(a.length, b.length);
            for (size_t i = 0; i < common; ++i) {
                const unsigned char ua = upper(pa[i]);
                const unsigned char ub = upper(pb[i]);
                if (ua != ub)
                    return ua < ub;
            }
            return a.length != b.length ? a.length < b.length : view(a) < view(b);
        });
        return;
    }
    std::vector<std::pair<std::u16string, Entry>> keyed;
    keyed.reserve(entries_.size());
    for (const Entry& e : entries_)
        keyed.emplace_back(Utf8Case::UpperUtf16(view(e)), e);
    std::sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) {
        if (a.first != b.first)
            return a.first < b.first;
        return view(a.second) < view(b.second);
    });
    for (size_t i = 0; i < keyed.size(); ++i)
        entries_[i] = keyed[i].second;
}

bool DirListing::Read(int fd) {
    names_.clear();
    entries_.clear();
    if (!ReadUnsorted(fd))
        return false;
    SortAsWindows();
    return true;
}

bool DirListing::ReadUnsorted(int fd) {
#if defined(SYS_getdents64)
    char* buffer = ThreadBuffer();
    for (;;) {
        const long n = ::syscall(SYS_getdents64, fd, buffer, kBufferBytes);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == ENOSYS && names_.empty())
                return ReadWithReaddir(fd);
            return false;
        }
        for (long pos = 0; pos < n;) {
            const auto* d = reinterpret_cast<const LinuxDirent64*>(buffer + pos);
            const size_t room = d->reclen - offsetof(LinuxDirent64, name);
            Add(d->name, ::strnlen(d->name, room), d->type);
            pos += d->reclen;
        }
    }
#else
    return ReadWithReaddir(fd);
#endif
}

bool DirListing::ReadWithReaddir(int fd) {
    const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (copy < 0)
        return false;
    DIR* dir = ::fdopendir(copy);
    if (!dir) {
        ::close(copy);
        return false;
    }
    errno = 0;
    while (const dirent* d = ::readdir(dir)) {
#if defined(_DIRENT_HAVE_D_TYPE) || defined(DT_UNKNOWN)
        Add(d->d_name, std::strlen(d->d_name), d->d_type);
#else
        Add(d->d_name, std::strlen(d->d_name), 0);
#endif
    }
    const int err = errno;
    ::closedir(dir);
    errno = err;
    return err == 0;
}

} // namespace brumo
