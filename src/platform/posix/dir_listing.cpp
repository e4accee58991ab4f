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

namespace {
// "." and ".." are no entries.
bool IsEntry(const char* name, size_t length) {
    return !(name[0] == '.' && (length == 1 || (length == 2 && name[1] == '.')));
}
} // namespace

bool DirListing::Spellable(std::string_view name) {
    return name.find('\\') == std::string_view::npos;
}

void DirListing::Add(std::string& names, std::vector<Entry>& entries, std::string_view name,
                     unsigned char type) {
    entries.push_back(
        {static_cast<uint32_t>(names.size()), static_cast<uint16_t>(name.size()), type});
    names.append(name);
    names.push_back('\0');
}

namespace {
// Names of ASCII letters only are folded byte by byte as compared: no upper-case copy to make.
bool AsciiBefore(std::string_view a, std::string_view b) {
    const auto upper = [](char c) {
        return static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    };
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const unsigned char ua = upper(a[i]);
        const unsigned char ub = upper(b[i]);
        if (ua != ub)
            return ua < ub;
    }
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}
} // namespace

bool DirListing::Before(std::string_view a, std::string_view b) {
    if (Utf8Case::IsAscii(a) && Utf8Case::IsAscii(b))
        return AsciiBefore(a, b);
    const std::u16string ua = Utf8Case::UpperUtf16(a);
    const std::u16string ub = Utf8Case::UpperUtf16(b);
    return ua != ub ? ua < ub : a < b;
}

void DirListing::SortAsWindows() {
    if (entries_.size() < 2)
        return;
    const auto view = [this](const Entry& e) {
        return std::string_view(names_.data() + e.offset, e.length);
    };
    if (Utf8Case::IsAscii(names_)) {
        std::sort(entries_.begin(), entries_.end(),
                  [&](const Entry& a, const Entry& b) { return AsciiBefore(view(a), view(b)); });
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

bool DirListing::Read(int fd, const Visit& keep) {
    names_.clear();
    entries_.clear();
    unspellableNames_.clear();
    unspellable_.clear();
    const bool read = ScanAll(fd, [&](std::string_view name, unsigned char type) {
        if (!Spellable(name))
            Add(unspellableNames_, unspellable_, name, type);
        else if (!keep || keep(name, type))
            Add(names_, entries_, name, type);
        return false;
    });
    if (!read)
        return false;
    SortAsWindows();
    return true;
}

bool DirListing::Scan(int fd, const Visit& visit) {
    return ScanAll(fd, [&](std::string_view name, unsigned char type) {
        return Spellable(name) && visit(name, type);
    });
}

bool DirListing::ScanAll(int fd, const Visit& visit) {
#if defined(SYS_getdents64)
    char* buffer = ThreadBuffer();
    for (bool first = true;; first = false) {
        const long n = ::syscall(SYS_getdents64, fd, buffer, kBufferBytes);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == ENOSYS && first)
                return ScanWithReaddir(fd, visit);
            return false;
        }
        for (long pos = 0; pos < n;) {
            const auto* d = reinterpret_cast<const LinuxDirent64*>(buffer + pos);
            const size_t room = d->reclen - offsetof(LinuxDirent64, name);
            const size_t length = ::strnlen(d->name, room);
            if (IsEntry(d->name, length) && visit(std::string_view(d->name, length), d->type))
                return true;
            pos += d->reclen;
        }
    }
#else
    return ScanWithReaddir(fd, visit);
#endif
}

bool DirListing::ScanWithReaddir(int fd, const Visit& visit) {
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
        const unsigned char type = d->d_type;
#else
        const unsigned char type = 0;
#endif
        const size_t length = std::strlen(d->d_name);
        if (IsEntry(d->d_name, length) && visit(std::string_view(d->d_name, length), type)) {
            errno = 0;
            break;
        }
    }
    const int err = errno;
    ::closedir(dir);
    errno = err;
    return err == 0;
}

} // namespace brumo
