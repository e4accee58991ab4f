#pragma once

#include "platform/folder_prefetch.h"
#include "platform/posix/name_pattern.h"
#include "platform/posix/unique_fd.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <pthread.h>
#include <set>
#include <string>
#include <vector>

namespace brumo {

class DirListing;
class PosixFolder;

// Reads folders ahead of the walk on a few threads: each opens a folder and reads its listing,
// which leaves its inode and its entries in the system's caches, queues its subfolders, and
// asks for the status of the entries the walk will look up there. The readers follow the
// walk's own order, nearest folder first, and stay a bounded number of folders ahead of it;
// what the walk has passed is dropped unread. Memory stays bounded: the paths of a few thousand
// folders to read or read ahead, and per reader one folder's subfolder names.
class PosixFolderPrefetch final : public FolderPrefetch {
public:
    struct Settings {
        bool always = false; // from the start of a walk, not only once reads are seen to wait
        // Measured on a virtual disk: eight reads in flight take a cold walk to under half its
        // time; more gain little and cost a thread each.
        size_t threads = 8;
        size_t lookahead = 256; // folders read and not yet reached by the walk, at most
    };
    explicit PosixFolderPrefetch(Settings settings);
    ~PosixFolderPrefetch() override;
    PosixFolderPrefetch(const PosixFolderPrefetch&) = delete;
    PosixFolderPrefetch& operator=(const PosixFolderPrefetch&) = delete;

    void SkipFolders(std::vector<FolderIdentity> folders) override { skip_ = std::move(folders); }
    void Begin(const Folder& root, const std::vector<std::string>& patterns) override;
    void Reached(std::string_view relative, std::chrono::nanoseconds readTime) override;
    void End() override;

private:
    // Reads ahead from where the walk is.
    void Start(std::string_view relative);
    void StartThreads();
    static void* ThreadMain(void* self);
    void Work();
    // Whether the open folder is one the walks never enter.
    bool Skipped(int fd) const;
    bool HasWorkLocked() const;
    // Drops the folders read ahead that the walk has reached or passed; how many went.
    size_t PassedLocked();
    // Queues the subfolders of a folder read that the walk has not passed; how many.
    size_t QueueSubfoldersLocked(const std::string& folder, const DirListing& subfolders);
    void WakeLocked(size_t readers);
    void RecordReadLocked(const std::string& folder, std::chrono::nanoseconds took);

    const Settings settings_;
    std::vector<FolderIdentity> skip_; // set before the readers start, then only read
    std::vector<pthread_t> threads_;
    // The walk's own reads, counted while reading ahead is idle.
    int slowReads_ = 0;
    int quickReads_ = 0;
    // The walk's root and patterns, kept by the walk until End.
    const PosixFolder* rootFolder_ = nullptr;
    const std::vector<std::string>* patternTexts_ = nullptr;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> active_{false};
    std::shared_ptr<const UniqueFd> root_;
    std::shared_ptr<const std::vector<NamePattern>> patterns_;
    uint64_t walkNumber_ = 0;
    std::string walker_; // the folder the walk is in
    struct ByWalkOrder {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    // Folders to read, nearest first. Readers finish out of order, so the subfolders they
    // queue land anywhere among those already waiting.
    std::set<std::string, ByWalkOrder> pending_;
    bool lostSome_ = false;         // folders left out of pending_, found again from the root
    std::deque<std::string> ahead_; // read and not yet reached, in walk order
    size_t reading_ = 0;
    size_t waiting_ = 0;
    size_t passedSinceWake_ = 0;
    size_t warmReads_ = 0; // reads in a row that did not wait
};

} // namespace brumo
