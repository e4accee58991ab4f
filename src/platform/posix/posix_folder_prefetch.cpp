#include "platform/posix/posix_folder_prefetch.h"

#include "platform/posix/dir_listing.h"
#include "platform/posix/posix_folder.h"
#include "platform/posix/walk_order.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace brumo {

namespace {

using Clock = std::chrono::steady_clock;

// A listing served from the caches takes microseconds; one that waits on a disk takes longer
// than this even on a fast one.
constexpr std::chrono::microseconds kSlowRead{250};
// Reads ahead once the walk waited this often, and idles again after this many reads in a row
// found everything cached.
constexpr int kSlowReadsToStart = 2;
constexpr int kQuickReadsToForget = 256;
constexpr size_t kWarmReadsToIdle = 64;
// Folders waiting to be read, at most; beyond that the farthest are found again later.
constexpr size_t kMaxPending = 4096;
// Folders read and not yet reached, at most, however far ahead.
constexpr size_t kMaxAhead = 1024;
// A reader needs little stack: its listing lives on the heap.
constexpr size_t kStackBytes = 64 * 1024;

// Opens a folder below the root without leaving it: no link followed, no mount crossed.
int OpenBeneath(int rootFd, const std::string& relative) {
    std::string host = relative.empty() ? "." : relative.substr(1);
    std::replace(host.begin(), host.end(), '\\', '/');
    open_how how{};
    how.flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_XDEV | RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
    return static_cast<int>(::syscall(SYS_openat2, rootFd, host.c_str(), &how, sizeof how));
}

// Entries that may be folders: links are never walked.
bool MayBeFolder(unsigned char type) {
    return type == DT_DIR || type == DT_UNKNOWN;
}

} // namespace

std::unique_ptr<FolderPrefetch> FolderPrefetch::Create() {
    PosixFolderPrefetch::Settings settings;
    if (const char* value = std::getenv("BRUMO_PREFETCH")) {
        if (std::strcmp(value, "0") == 0)
            return nullptr;
        settings.always = std::strcmp(value, "1") == 0;
    }
    return std::make_unique<PosixFolderPrefetch>(settings);
}

PosixFolderPrefetch::PosixFolderPrefetch(Settings settings) : settings_(settings) {}

PosixFolderPrefetch::~PosixFolderPrefetch() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    for (pthread_t thread : threads_)
        ::pthread_join(thread, nullptr);
}

void PosixFolderPrefetch::StartThreads() {
    pthread_attr_t attr;
    if (::pthread_attr_init(&attr) != 0)
        return;
    ::pthread_attr_setstacksize(&attr, std::max<size_t>(kStackBytes, PTHREAD_STACK_MIN));
    // Signals stay with the program's own threads.
    sigset_t all;
    sigset_t old;
    sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &old);
    for (size_t i = 0; i < settings_.threads; ++i) {
        pthread_t thread;
        if (::pthread_create(&thread, &attr, &ThreadMain, this) == 0)
            threads_.push_back(thread);
    }
    ::pthread_sigmask(SIG_SETMASK, &old, nullptr);
    ::pthread_attr_destroy(&attr);
}

void* PosixFolderPrefetch::ThreadMain(void* self) {
    try {
        static_cast<PosixFolderPrefetch*>(self)->Work();
    } catch (...) {
        // Out of memory: this reader stops; the walk never depended on it.
    }
    return nullptr;
}

void PosixFolderPrefetch::Begin(const Folder& root, const std::vector<std::string>& patterns) {
    End();
    rootFolder_ = dynamic_cast<const PosixFolder*>(&root);
    patternTexts_ = &patterns;
    {
        std::lock_guard lock(mutex_);
        lostSome_ = true; // the first reader starts from the root
        warmReads_ = 0;
    }
    slowReads_ = 0;
    quickReads_ = 0;
    if (settings_.always)
        Start({});
}

void PosixFolderPrefetch::Start(std::string_view relative) {
    // The readers' own descriptor of the root and the compiled patterns are made once a walk,
    // when reading ahead first starts: most walks are warm and never need them.
    std::shared_ptr<const UniqueFd> root;
    std::shared_ptr<std::vector<NamePattern>> compiled;
    if (!root_) { // set by this thread alone
        UniqueFd fd = rootFolder_ ? rootFolder_->OpenAgain() : UniqueFd();
        if (!fd.Valid()) {
            rootFolder_ = nullptr; // not this walk, then
            return;
        }
        root = std::make_shared<const UniqueFd>(std::move(fd));
        compiled = std::make_shared<std::vector<NamePattern>>();
        for (const std::string& pattern : *patternTexts_)
            compiled->emplace_back(pattern);
    }
    {
        std::lock_guard lock(mutex_);
        if (root) {
            root_ = std::move(root);
            patterns_ = std::move(compiled);
        }
        walker_.assign(relative);
        PassedLocked();
        active_ = true;
    }
    if (threads_.empty())
        StartThreads();
    wake_.notify_all();
}

void PosixFolderPrefetch::End() {
    std::lock_guard lock(mutex_);
    ++walkNumber_;
    active_ = false;
    root_.reset();
    patterns_.reset();
    pending_.clear();
    ahead_.clear();
    walker_.clear();
    lostSome_ = false;
    rootFolder_ = nullptr;
    patternTexts_ = nullptr;
}

void PosixFolderPrefetch::Reached(std::string_view relative, std::chrono::nanoseconds readTime) {
    if (!active_.load(std::memory_order_relaxed)) {
        // Idle: costs the walk nothing until its reads are seen to wait, more than once in a
        // while (a busy processor alone delays one now and then).
        if (readTime < kSlowRead) {
            if (++quickReads_ >= kQuickReadsToForget)
                slowReads_ = 0;
            return;
        }
        quickReads_ = 0;
        if (++slowReads_ < kSlowReadsToStart)
            return;
        slowReads_ = 0;
        Start(relative);
        return;
    }
    // Where the walk is only guides the readers: rather than wait for them, tell them next time.
    std::unique_lock lock(mutex_, std::try_to_lock);
    if (!lock)
        return;
    walker_.assign(relative);
    passedSinceWake_ += PassedLocked();
    // Readers held back by the window are woken a few folders at a time, not for each one.
    if (passedSinceWake_ >= std::max<size_t>(1, settings_.lookahead / 8)) {
        WakeLocked(passedSinceWake_);
        passedSinceWake_ = 0;
    }
}

size_t PosixFolderPrefetch::PassedLocked() {
    size_t passed = 0;
    while (!ahead_.empty() && !WalkOrder::Before(walker_, ahead_.front())) {
        ahead_.pop_front();
        ++passed;
    }
    return passed;
}

void PosixFolderPrefetch::WakeLocked(size_t readers) {
    // Each wake-up costs a switch of threads: only as many as there is new work for.
    for (size_t i = std::min(readers, waiting_); i > 0; --i)
        wake_.notify_one();
}

bool PosixFolderPrefetch::HasWorkLocked() const {
    if (!active_ || !root_ || ahead_.size() + reading_ >= kMaxAhead)
        return false;
    if (pending_.empty())
        return lostSome_ && reading_ == 0;
    // The window counts only the folders read that the walk reaches first: one read far ahead
    // holds back none nearer.
    const auto nearer =
        std::lower_bound(ahead_.begin(), ahead_.end(), *pending_.begin(), WalkOrder::Before);
    return static_cast<size_t>(nearer - ahead_.begin()) + reading_ < settings_.lookahead;
}

bool PosixFolderPrefetch::Skipped(int fd) const {
    if (skip_.empty())
        return false;
    struct stat st {};
    return ::fstat(fd, &st) == 0 &&
           std::find(skip_.begin(), skip_.end(),
                     FolderIdentity{static_cast<uint64_t>(st.st_dev),
                                    static_cast<uint64_t>(st.st_ino)}) != skip_.end();
}

void PosixFolderPrefetch::Work() {
    DirListing subfolders;
    std::string lookups; // names the walk will look up, each ended by a zero
    std::unique_lock lock(mutex_);
    for (;;) {
        ++waiting_;
        wake_.wait(lock, [this] { return stop_ || HasWorkLocked(); });
        --waiting_;
        if (stop_)
            return;
        if (pending_.empty()) {
            // Found again from the root: the way down to the walk is cached, what lies
            // beyond it is read.
            lostSome_ = false;
            pending_.emplace();
        }
        std::string folder = std::move(pending_.extract(pending_.begin()).value());
        const WalkOrder::Place place = WalkOrder::Of(folder, walker_);
        if (place == WalkOrder::Place::Earlier)
            continue;
        // The walk's own folders and those read ahead before are listed again only for
        // their subfolders, from the caches.
        const bool ahead =
            place == WalkOrder::Place::Descendant || place == WalkOrder::Place::Later;
        const bool cold =
            ahead && !std::binary_search(ahead_.begin(), ahead_.end(), folder, WalkOrder::Before);
        const std::shared_ptr<const UniqueFd> root = root_;
        const std::shared_ptr<const std::vector<NamePattern>> patterns = patterns_;
        const uint64_t walk = walkNumber_;
        ++reading_;
        lock.unlock();
        lookups.clear();
        const auto keep = [&](std::string_view name, unsigned char type) {
            if (MayBeFolder(type))
                return true;
            if (cold && std::any_of(patterns->begin(), patterns->end(),
                                    [&](const NamePattern& p) { return p.Matches(name); }))
                lookups.append(name).push_back('\0');
            return false;
        };
        const Clock::time_point start = Clock::now();
        const UniqueFd fd(OpenBeneath(root->Get(), folder));
        const bool read = fd.Valid() && !Skipped(fd.Get()) && subfolders.Read(fd.Get(), keep);
        const int error = errno;
        const Clock::duration took = Clock::now() - start;
        lock.lock();
        --reading_;
        if (!fd.Valid() && (error == ENOSYS || error == EPERM)) {
            // No way to open without following links: nothing is read ahead.
            stop_ = true;
            wake_.notify_all();
            return;
        }
        if (walk != walkNumber_ || !read)
            continue;
        if (cold)
            RecordReadLocked(folder, took);
        WakeLocked(QueueSubfoldersLocked(folder, subfolders));
        if (lookups.empty())
            continue;
        lock.unlock();
        for (size_t at = 0; at < lookups.size() && !stop_; at = lookups.find('\0', at) + 1) {
            struct stat st {};
            ::fstatat(fd.Get(), lookups.c_str() + at, &st, AT_SYMLINK_NOFOLLOW);
        }
        lock.lock();
    }
}

void PosixFolderPrefetch::RecordReadLocked(const std::string& folder,
                                           std::chrono::nanoseconds took) {
    if (WalkOrder::Before(walker_, folder)) {
        auto at = ahead_.end();
        while (at != ahead_.begin() && WalkOrder::Before(folder, *(at - 1)))
            --at;
        ahead_.insert(at, folder);
    }
    if (took >= kSlowRead) {
        warmReads_ = 0;
    } else if (++warmReads_ >= kWarmReadsToIdle && !settings_.always) {
        // Everything is cached: reading ahead would only cost time.
        warmReads_ = 0;
        active_ = false;
    }
}

bool PosixFolderPrefetch::ByWalkOrder::operator()(const std::string& a,
                                                  const std::string& b) const {
    return WalkOrder::Before(a, b);
}

size_t PosixFolderPrefetch::QueueSubfoldersLocked(const std::string& folder,
                                                  const DirListing& subfolders) {
    const WalkOrder::Place place = WalkOrder::Of(folder, walker_);
    if (place == WalkOrder::Place::Earlier)
        return 0;
    size_t first = 0;
    if (place == WalkOrder::Place::Ancestor) {
        // Below a folder the walk is in, the subfolders it has passed are left out.
        size_t next = 0;
        const std::string_view current = WalkOrder::NameAfter(walker_, folder.size(), next);
        size_t count = subfolders.Size();
        while (count > 0) {
            const size_t half = count / 2;
            if (DirListing::Before(subfolders.NameView(first + half), current)) {
                first += half + 1;
                count -= half + 1;
            } else {
                count = half;
            }
        }
    }
    // The nearest subfolders come first: of very many, the others are found again later.
    size_t end = subfolders.Size();
    if (end - first > kMaxPending) {
        end = first + kMaxPending;
        lostSome_ = true;
    }
    for (size_t i = first; i < end; ++i) {
        std::string sub;
        sub.reserve(folder.size() + 1 + subfolders.NameView(i).size());
        sub.append(folder).append(1, '\\').append(subfolders.NameView(i));
        pending_.insert(std::move(sub));
    }
    // The farthest are found again once the nearer ones are read.
    while (pending_.size() > kMaxPending) {
        pending_.erase(std::prev(pending_.end()));
        lostSome_ = true;
    }
    return end - first;
}

} // namespace brumo
