#pragma once

#include "engine/main_thread.h"
#include "engine/worker_progress.h"
#include "model/junk_file_type.h"
#include "platform/named_event.h"
#include "platform/os_error.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace brumo {

class TJunkDelThread;

// Called on the worker thread for every accepted file.
using OnFileFn = std::function<void(const std::string& path, int64_t size)>;
// Called on the main thread, the worker waiting, when a search ends without a stop.
using OnCountsFn =
    std::function<void(int32_t foldersSearched, int32_t filesMatched, int32_t filesRestricted,
                       int32_t filesProtected, int64_t bytesMatched)>;
// Called on the worker thread for a folder that is there but could not be listed.
using OnUnreadableFn = std::function<void(const std::string& folder, const OsError& error)>;
// Called on the worker thread for a folder holding names the search skipped, since a Windows
// path cannot spell them: those names.
using OnSkippedFn =
    std::function<void(const std::string& folder, const std::vector<std::string>& names)>;
// Called on the main thread after the worker's search has ended.
using OnDoneFn = std::function<void(const TJunkDelThread& sender)>;

struct WorkerSetup {
    std::shared_ptr<NamedEvent> stopEvent;
    std::string excludedFolder; // never searched, nor anything below it
    // Further folders never searched (the program's data folder); the user's own trash is
    // always left out.
    std::vector<std::string> moreExcludedFolders;
    MainThread* mainThread = nullptr;         // null: callbacks run on the worker thread
    OnFileFn onFile;                          // optional
    OnUnreadableFn onUnreadable;              // optional
    OnSkippedFn onSkipped;                    // optional
    OnCountsFn onCounts;                      // optional
    OnDoneFn onDone;                          // required: without it nothing starts
    std::shared_ptr<WorkerProgress> progress; // optional, for a progress display

    // Sets both kinds of excluded folder from one list, the program's folder first; an
    // empty list leaves them unset.
    void ExcludeFolders(const std::vector<std::string>& folders);
};

// The worker: searches one junk file type's folders on its own thread, below normal priority.
// The type must stay unchanged until OnDone has run; the worker frees itself after OnDone.
class TJunkDelThread {
public:
    // Starts a worker on the type; returns false (and starts nothing) without OnDone.
    static bool Start(const TJunkFileObj& type, WorkerSetup setup);

    bool Stopped() const { return stopped_.load(); }
    // The search ended early through an error; OnCounts was not called.
    bool Failed() const { return !error_.empty(); }
    const std::string& ErrorText() const { return error_; }
    int32_t FoldersSearched() const { return foldersSearched_; }
    int32_t FilesMatched() const { return filesMatched_; }
    int32_t FilesRestricted() const { return filesRestricted_; }
    int32_t FilesProtected() const { return filesProtected_; }
    int64_t BytesMatched() const { return bytesMatched_; }
    int32_t FoldersUnreadable() const { return foldersUnreadable_; }

    TJunkDelThread(const TJunkDelThread&) = delete;
    TJunkDelThread& operator=(const TJunkDelThread&) = delete;

private:
    TJunkDelThread(const TJunkFileObj& type, WorkerSetup setup);
    void Execute();
    void Search();
    void Finish();

    const TJunkFileObj& type_;
    WorkerSetup setup_;
    std::atomic<bool> stopped_{false};
    std::string error_;
    int32_t foldersSearched_ = 0;
    int32_t filesMatched_ = 0;
    int32_t filesRestricted_ = 0;
    int32_t filesProtected_ = 0;
    int64_t bytesMatched_ = 0;
    int32_t foldersUnreadable_ = 0;
};

} // namespace brumo
