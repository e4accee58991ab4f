#include "platform/posix/dir_handle.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#if defined(__linux__)
#include <linux/openat2.h>
#endif

namespace brumo {

struct DirHandle::Pool {
    std::mutex mutex;
    std::list<DirHandle*> lru; // open, closable handles; most recently used first
    size_t limit = 0;

    Pool() {
        // Deep walks hold one descriptor per level: use all the process may have.
        rlimit rl{};
        if (::getrlimit(RLIMIT_NOFILE, &rl) == 0) {
            if (rl.rlim_cur < rl.rlim_max) {
                rlimit raised = rl;
                raised.rlim_cur = rl.rlim_max == RLIM_INFINITY ? (1 << 20) : rl.rlim_max;
                if (::setrlimit(RLIMIT_NOFILE, &raised) == 0)
                    rl = raised;
            }
            // Leave most descriptors to the rest of the program (logs, trash, the window).
            const rlim_t quarter = rl.rlim_cur == RLIM_INFINITY ? (1 << 18) : rl.rlim_cur / 4;
            limit = std::max<size_t>(16, static_cast<size_t>(quarter));
        } else {
            limit = 256;
        }
    }

    static Pool& Get() {
        static Pool pool;
        return pool;
    }

    // Closes the least recently used unpinned descriptors: a quarter of them, at least one.
    bool ShrinkLocked() {
        size_t want = std::max<size_t>(1, lru.size() / 4);
        bool closed = false;
        for (auto it = lru.end(); it != lru.begin() && want > 0;) {
            --it;
            DirHandle* h = *it;
            if (h->pins_ > 0)
                continue;
            ++it; // CloseLocked removes h from the list
            h->CloseLocked(*this, true);
            closed = true;
            --want;
        }
        return closed;
    }
};

namespace {

std::atomic<bool> haveOpenat2{true};

int OpenSubfolder(int parentFd, const char* name) {
#if defined(__linux__)
    if (haveOpenat2.load(std::memory_order_relaxed)) {
        open_how how{};
        how.flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
        how.resolve =
            RESOLVE_NO_XDEV | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS | RESOLVE_BENEATH;
        const long fd = ::syscall(SYS_openat2, parentFd, name, &how, sizeof how);
        if (fd >= 0 || (errno != ENOSYS && errno != EPERM))
            return static_cast<int>(fd);
        haveOpenat2.store(false, std::memory_order_relaxed);
    }
#endif
    return ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

bool IsPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

} // namespace

DirHandle::Use::Use(Use&& other) noexcept : handle_(other.handle_), fd_(other.fd_) {
    other.handle_ = nullptr;
    other.fd_ = -1;
}

DirHandle::Use& DirHandle::Use::operator=(Use&& other) noexcept {
    if (this != &other) {
        Release();
        handle_ = other.handle_;
        fd_ = other.fd_;
        other.handle_ = nullptr;
        other.fd_ = -1;
    }
    return *this;
}

DirHandle::Use::~Use() {
    Release();
}

void DirHandle::Use::Release() {
    if (handle_) {
        Pool& pool = Pool::Get();
        std::lock_guard lock(pool.mutex);
        --handle_->pins_;
        handle_ = nullptr;
        fd_ = -1;
    }
}

size_t DirHandle::OpenLimit() {
    return Pool::Get().limit;
}

std::shared_ptr<DirHandle> DirHandle::Adopt(int fd) {
    Pool::Get(); // raises the descriptor limit before the walk needs it
    std::shared_ptr<DirHandle> h(new DirHandle());
    h->fd_ = fd;
    return h;
}

DirHandle::~DirHandle() {
    if (fd_ < 0)
        return;
    if (!parent_) {
        ::close(fd_);
        return;
    }
    Pool& pool = Pool::Get();
    std::lock_guard lock(pool.mutex);
    CloseLocked(pool, false);
}

void DirHandle::RegisterLocked(Pool& pool, int fd) {
    fd_ = fd;
    pool.lru.push_front(this);
    lru_ = pool.lru.begin();
    if (pool.lru.size() > pool.limit)
        pool.ShrinkLocked();
}

void DirHandle::CloseLocked(Pool& pool, bool reopenable) {
    if (reopenable && !identityKnown_) {
        struct stat st {};
        if (::fstat(fd_, &st) == 0) {
            dev_ = st.st_dev;
            ino_ = st.st_ino;
            identityKnown_ = true;
        }
    }
    ::close(fd_);
    fd_ = -1;
    pool.lru.erase(lru_);
}

int DirHandle::EnsureOpenLocked(Pool& pool) {
    if (fd_ >= 0) {
        if (parent_ && lru_ != pool.lru.begin())
            pool.lru.splice(pool.lru.begin(), pool.lru, lru_);
        return fd_;
    }
    if (!parent_ || !identityKnown_) {
        errno = EBADF;
        return -1;
    }
    const int parentFd = parent_->EnsureOpenLocked(pool);
    if (parentFd < 0)
        return -1;
    ++parent_->pins_;
    int fd = OpenSubfolder(parentFd, name_.c_str());
    if (fd < 0 && (errno == EMFILE || errno == ENFILE) && pool.ShrinkLocked())
        fd = OpenSubfolder(parentFd, name_.c_str());
    --parent_->pins_;
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_dev != dev_ || st.st_ino != ino_) {
        // Something else now stands at this name: never act inside it.
        ::close(fd);
        errno = ESTALE;
        return -1;
    }
    RegisterLocked(pool, fd);
    return fd;
}

DirHandle::Use DirHandle::Acquire() {
    Pool& pool = Pool::Get();
    std::lock_guard lock(pool.mutex);
    const int fd = EnsureOpenLocked(pool);
    if (fd < 0)
        return Use();
    ++pins_;
    return Use(this, fd);
}

std::shared_ptr<DirHandle> DirHandle::OpenChild(const std::shared_ptr<DirHandle>& parent,
                                                const std::string& name) {
    if (!IsPlainName(name)) {
        errno = ENOENT;
        return nullptr;
    }
    Pool& pool = Pool::Get();
    std::lock_guard lock(pool.mutex);
    const int parentFd = parent->EnsureOpenLocked(pool);
    if (parentFd < 0)
        return nullptr;
    ++parent->pins_;
    int fd = OpenSubfolder(parentFd, name.c_str());
    if (fd < 0 && (errno == EMFILE || errno == ENFILE) && pool.ShrinkLocked())
        fd = OpenSubfolder(parentFd, name.c_str());
    --parent->pins_;
    if (fd < 0)
        return nullptr;
    std::shared_ptr<DirHandle> child(new DirHandle());
    child->parent_ = parent;
    child->name_ = name;
    child->RegisterLocked(pool, fd);
    return child;
}

} // namespace brumo
