#include "runs/count_run.h"

#include "engine/junk_del_thread.h"
#include "runs/count_report.h"

namespace brumo {

CountRun::CountRun(CountFront& front, MainThread& mainThread)
    : front_(front), mainThread_(mainThread) {}

void CountRun::SetExcludedFolders(std::string programFolder, std::vector<std::string> more) {
    programFolder_ = std::move(programFolder);
    moreExcluded_ = std::move(more);
}

void CountRun::SetProgress(std::shared_ptr<WorkerProgress> progress) {
    progress_ = std::move(progress);
}

void CountRun::Press(const TJunkFileObj* selected, int index) {
    if (counting_)
        Stop();
    else if (selected)
        Start(*selected, index);
}

bool CountRun::Start(const TJunkFileObj& type, int index) {
    if (counting_)
        return false;
    currentIndex_ = index;
    front_.SetListEditable(false);
    front_.SetBusyCursor(true);
    front_.SetRunMode(1);
    counting_ = true;
    front_.SetCountCommand(StopCaption, StopHint, true);
    stopEvent_ = NamedEvent::Create(StopEventName);
    // Another holder of the name may have left it signalled; this count starts unstopped.
    stopEvent_->Reset();
    if (progress_) {
        progress_->foldersSearched = 0;
        progress_->filesMatched = 0;
    }

    WorkerSetup setup;
    setup.stopEvent = stopEvent_;
    setup.excludedFolder = programFolder_;
    setup.moreExcludedFolders = moreExcluded_;
    setup.mainThread = &mainThread_;
    setup.progress = progress_;
    unreadable_ = 0;
    setup.onUnreadable = [this](const std::string&, const OsError&) { ++unreadable_; };
    skipped_.clear();
    setup.onSkipped = [this](const std::string& folder, const std::vector<std::string>& names) {
        std::lock_guard lock(skippedLock_);
        skipped_.push_back({folder, static_cast<int32_t>(names.size())});
    };
    setup.onCounts = [this](int32_t folders, int32_t matched, int32_t restricted,
                            int32_t protectedFiles, int64_t bytes) {
        ShowCountReport(folders, matched, restricted, protectedFiles, bytes);
    };
    setup.onDone = [this](const TJunkDelThread& sender) { CountDone(sender); };
    TJunkDelThread::Start(type, std::move(setup));
    return true;
}

void CountRun::Stop() {
    if (counting_ && stopEvent_)
        stopEvent_->Set();
}

void CountRun::ShowCountReport(int32_t folders, int32_t matched, int32_t restricted,
                               int32_t protectedFiles, int64_t bytes) {
    CountFigures figures{folders, unreadable_, matched, restricted, protectedFiles, bytes, {}};
    {
        std::lock_guard lock(skippedLock_);
        figures.skipped = skipped_;
    }
    front_.ShowFigures(figures);
    front_.ShowReport(CountReport::Text(folders, matched, restricted, protectedFiles, bytes,
                                        unreadable_, figures.NamesSkipped()));
}

void CountRun::CountDone(const TJunkDelThread& sender) {
    if (sender.Stopped()) {
        outcome_ = Outcome::Stopped;
        front_.ShowMessage(CountReport::StoppedText);
    } else if (sender.Failed()) {
        // Otherwise an error would end the count without a word, as if nothing were found.
        outcome_ = Outcome::Failed;
        front_.ShowMessage(CountReport::FailedText(sender.ErrorText()));
    } else {
        outcome_ = Outcome::Finished;
    }
    if (stopEvent_) {
        stopEvent_->Reset();
        stopEvent_.reset();
    }
    front_.SetCountCommand(CountCaption, CountHint, false);
    front_.SetBusyCursor(false);
    front_.SetListEditable(true);
    counting_ = false;
    front_.SetRunMode(0);
    front_.SelectItem(currentIndex_);
    currentIndex_ = -1;
}

} // namespace brumo
