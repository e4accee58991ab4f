#include "engine/junk_del_thread.h"

#include "engine/folder_walker.h"
#include "platform/shell.h"

#include <exception>
#include <thread>

namespace brumo {

TJunkDelThread::TJunkDelThread(const TJunkFileObj& type, WorkerSetup setup)
    : type_(type), setup_(std::move(setup)) {}

bool TJunkDelThread::Start(const TJunkFileObj& type, WorkerSetup setup) {
    if (!setup.onDone)
        return false;
    auto* worker = new TJunkDelThread(type, std::move(setup));
    try {
        std::thread([worker] { worker->Execute(); }).detach();
    } catch (const std::exception& e) {
        // No thread to be had: the caller still gets its end callback, as after an error.
        worker->error_ = e.what();
        worker->Finish();
    }
    return true;
}

void TJunkDelThread::Execute() {
    try {
        Shell::LowerCurrentThreadPriority();
        Search();
    } catch (const std::exception& e) {
        error_ = e.what();
    } catch (...) {
        error_ = "unknown error";
    }
    if (error_.empty() && !stopped_ && setup_.onCounts) {
        auto counts = [this] {
            setup_.onCounts(foldersSearched_, filesMatched_, filesRestricted_, filesProtected_,
                            bytesMatched_);
        };
        try {
            if (setup_.mainThread)
                setup_.mainThread->Invoke(counts);
            else
                counts();
        } catch (...) {
            // The front's own failure; the end callback still runs.
        }
    }
    Finish();
}

void WorkerSetup::ExcludeFolders(const std::vector<std::string>& folders) {
    if (folders.empty())
        return;
    excludedFolder = folders.front();
    moreExcludedFolders.assign(folders.begin() + 1, folders.end());
}

void TJunkDelThread::Search() {
    FolderWalker::Options options;
    options.stopEvent = setup_.stopEvent.get();
    options.excludedFolders = setup_.moreExcludedFolders;
    options.excludedFolders.push_back(setup_.excludedFolder);
    options.onFile = setup_.onFile;
    options.onUnreadable = setup_.onUnreadable;
    options.onSkipped = setup_.onSkipped;
    options.progress = setup_.progress.get();
    FolderWalker walker(type_, std::move(options));
    // Counted up to a failure too, for the end callback.
    auto keep = [&] {
        stopped_ = walker.Stopped();
        const SearchCounts& c = walker.Counts();
        foldersSearched_ = c.foldersSearched;
        filesMatched_ = c.filesMatched;
        filesRestricted_ = c.filesRestricted;
        filesProtected_ = c.filesProtected;
        bytesMatched_ = c.bytesMatched;
        foldersUnreadable_ = c.foldersUnreadable;
    };
    try {
        walker.SearchAll();
    } catch (...) {
        keep();
        throw;
    }
    keep();
}

void TJunkDelThread::Finish() {
    // After this hand-over the worker touches nothing of its own: the main thread frees it.
    TJunkDelThread* self = this;
    auto done = [self] {
        std::unique_ptr<TJunkDelThread> owner(self);
        owner->setup_.onDone(*owner);
    };
    try {
        if (setup_.mainThread)
            setup_.mainThread->Post(done);
        else
            done();
    } catch (...) {
        // Nothing can reach the main thread any more; the worker is left behind rather than
        // running the front's code on this thread.
    }
}

} // namespace brumo
