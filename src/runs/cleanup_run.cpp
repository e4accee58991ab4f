#include "runs/cleanup_run.h"

#include "platform/clock.h"
#include "runs/held_files.h"

namespace brumo {

namespace {
constexpr const char* kStopEventName = "Brumo Stop Event";
}

CleanupRun::CleanupRun(CleanupRunSetup setup)
    : setup_(std::move(setup)), handler_(log_, *setup_.recycleSender, *setup_.fileOperations) {
    if (!setup_.startWorker)
        setup_.startWorker = &TJunkDelThread::Start;
    handler_.SetRecycleStats(&setup_.recycleSettings->Stats());
    RunFront* front = setup_.front;
    handler_.SetCountDisplay([front](int32_t count) { front->ShowTypeFileCount(count); });
    handler_.SetRecordSink(setup_.onFileRecord);
}

int CleanupRun::DisableRecycleTypes(RunTypeList& types) {
    int disabled = 0;
    for (int i = 0; i < types.Count(); ++i) {
        TJunkFileObj* type = types.TypeAt(i);
        if (!type || type->Method != MethodRecycleBin)
            continue;
        if (type->Enabled)
            ++disabled;
        types.SetChecked(i, false);
        type->Enabled = false;
    }
    return disabled;
}

int CleanupRun::NextChecked(int from) const {
    RunTypeList& types = *setup_.types;
    for (int i = from; i < types.Count(); ++i)
        if (types.Checked(i) && types.TypeAt(i))
            return i;
    return -1;
}

void CleanupRun::Execute(bool testMode) {
    if (running_)
        Stop();
    else
        Start(testMode);
}

bool CleanupRun::Start(bool testMode) {
    if (running_)
        return false;
    RunFront& front = *setup_.front;
    RunTypeList& types = *setup_.types;

    if (setup_.recycleSettings->CheckRecycleSettings()) {
        const int disabled = DisableRecycleTypes(types);
        if (disabled > 0) {
            const bool remain = types.AnyTypeChecked();
            const MessageAnswer answer = front.ShowMessage(RunTexts::RecycleDisabledMessage(
                setup_.recycleSettings->RecycleSettingsError(), disabled, remain));
            if (!remain || answer != MessageAnswer::Yes)
                return false;
        }
    }
    const int first = NextChecked(0);
    if (first < 0) {
        front.ShowMessage(RunTexts::NothingToProcessMessage());
        return false;
    }

    // One real run at a time: two would interleave their logs and fight over the same files.
    if (!testMode) {
        bool held = false;
        OsError lockError;
        lock_ = FileLock::TryTake(setup_.logPath + ".lock", held, lockError);
        if (held) {
            front.ShowMessage(RunTexts::RunInProgressMessage());
            return false;
        }
        // A lock file that cannot be made means a log that cannot be either: that says why.
    }

    testRun_ = testMode;
    if (testRun_)
        setup_.recycleSettings->Stats().ClearPending();
    handler_.StartRun();
    outcome_ = RunOutcome{};
    outcome_.testRun = testRun_;

    front.SetBusy(true);
    running_ = true;
    front.SetCommandCaption("Stop");

    stopEvent_ = NamedEvent::Create(kStopEventName);
    stopEvent_->Reset();
    stopRequested_ = false;
    outputClosed_ = false;

    const std::string& path = testRun_ ? setup_.testLogPath : setup_.logPath;
    if (const OsError error = log_.Open(path, !testRun_)) {
        lock_.reset();
        stopEvent_.reset();
        running_ = false;
        front.SetBusy(false);
        front.SetCommandCaption("&Clean up");
        front.ShowMessage(RunTexts::LogOpenFailedMessage(path, error.Message()));
        return false;
    }
    // A log that cannot be written ends the run: the worker sees the stop, and the file
    // handlers remove nothing more.
    log_.SetFailureHandler([event = stopEvent_] { event->Set(); });
    log_.WriteLines({RunTexts::Stars(), RunTexts::LogTitle(testRun_, Clock::Current().Now()),
                     RunTexts::Stars()});
    if (!setup_.logNotes.empty()) {
        log_.WriteLines(setup_.logNotes);
        log_.WriteLine("");
    }

    typesProcessed_ = 1;
    typesUnprocessed_ = 0;
    currentIndex_ = first;
    StartCurrentType();
    return true;
}

void CleanupRun::BeginTypeLog(const TJunkFileObj& type) {
    setup_.front->SetStatusPanel(1, RunTexts::NowProcessing(type.Name, testRun_));
    handler_.BeginType(type.Method, type.Name);
    setup_.front->SetStatusPanel(0, "0");
    log_.WriteLines({RunTexts::TypeHeader(type.Name, type.Method, testRun_), RunTexts::Dashes()});
}

void CleanupRun::StartCurrentType() {
    const TJunkFileObj& type = *setup_.types->TypeAt(currentIndex_);
    setup_.front->SelectType(currentIndex_);
    if (type.Method < MethodRecycleBin || type.Method > MethodDelete) {
        // A store from elsewhere may hold a method this program does not know: its files are
        // neither searched nor removed, and the log and the final message say so.
        ++typesUnprocessed_;
        handler_.BeginType(type.Method, type.Name);
        log_.WriteLines(
            {RunTexts::UnknownMethodHeader(type.Name, type.Method), RunTexts::Dashes()});
        TypeDone(false);
        return;
    }
    BeginTypeLog(type);
    if (log_.Failed()) {
        Finish(false);
        return;
    }
    WorkerSetup worker;
    worker.stopEvent = stopEvent_;
    worker.ExcludeFolders(setup_.excludedFolders);
    worker.progress = setup_.progress;
    worker.mainThread = setup_.mainThread;
    if (testRun_)
        worker.onFile = [this](const std::string& path, int64_t size) {
            handler_.TestFile(path, size);
        };
    else
        worker.onFile = [this](const std::string& path, int64_t size) {
            handler_.RealFile(path, size);
        };
    worker.onUnreadable = [this](const std::string& folder, const OsError& error) {
        handler_.UnreadableFolder(folder, error.Message());
    };
    worker.onSkipped = [this](const std::string& folder, const std::vector<std::string>& names) {
        handler_.Skipped(folder, names);
    };
    worker.onDone = [this](const TJunkDelThread& sender) { TypeDone(sender.Stopped()); };
    if (!setup_.startWorker(type, std::move(worker)))
        Finish(false);
}

void CleanupRun::Stop() {
    StopWith(RunTexts::HaltedLine);
}

void CleanupRun::StopForClosedOutput() {
    if (running_ && !stopRequested_)
        outputClosed_ = true;
    StopWith(RunTexts::OutputClosedLine);
}

void CleanupRun::StopWith(const char* logLine) {
    if (!running_ || stopRequested_)
        return;
    // Remembered here too: a stop that comes after the search ended but before its end was
    // handled must still end the run.
    stopRequested_ = true;
    stopEvent_->Set();
    log_.WriteLines({logLine, ""});
}

void CleanupRun::TypeDone(bool workerStopped) {
    if (handler_.Counters().CurrentMethod == MethodRecycleBin) {
        if (testRun_)
            handler_.TestFile("", 0);
        else
            handler_.RecycleFile("", 0);
    }
    // A log that failed stops the worker too, but that is no stop of the user's.
    const bool stopped = stopRequested_ || (workerStopped && !log_.Failed());
    const int next = NextChecked(currentIndex_ + 1);
    if (!stopped && !workerStopped && !log_.Failed() && next >= 0) {
        ++typesProcessed_;
        stopEvent_->Reset();
        currentIndex_ = next;
        log_.WriteLine("");
        StartCurrentType();
        return;
    }
    currentIndex_ = next;
    Finish(stopped);
}

void CleanupRun::Finish(bool stopped) {
    RunFront& front = *setup_.front;
    if (stopEvent_) {
        stopEvent_->Reset();
        stopEvent_.reset();
    }

    const RunCounters& counters = handler_.Counters();
    outcome_.testRun = testRun_;
    outcome_.stopped = stopped;
    outcome_.outputClosed = stopped && outputClosed_;
    outcome_.typesProcessed = typesProcessed_ - typesUnprocessed_;
    outcome_.filesProcessed = counters.FilesProcessed;
    outcome_.filesRestorable = counters.FilesRestorable;
    outcome_.filesFailed = counters.FilesFailed;
    outcome_.totalBytes = counters.TotalBytes;
    outcome_.foldersUnreadable = counters.FoldersUnreadable;
    outcome_.namesSkipped = counters.NamesSkipped;
    outcome_.skipped = handler_.SkippedFolders();
    outcome_.typesUnprocessed = typesUnprocessed_;
    if (testRun_) {
        for (const HeldFile& file : HeldFiles::List()) {
            ++outcome_.heldFiles;
            outcome_.heldBytes += file.size;
        }
    } else {
        // Listing removes the partial copies that killed moves left, while the run lock keeps
        // restore and purge away.
        HeldFiles::List();
    }

    if (!log_.Failed()) {
        std::vector<std::string> lines = RunTexts::Footer(outcome_, Clock::Current().Now());
        if (testRun_) {
            lines.emplace_back("Recycle Bin statistics:");
            DriveRecycleStats& stats = setup_.recycleSettings->Stats();
            stats.ReadVolumeFigures();
            outcome_.recycleWarning = stats.StatisticsLines(lines);
            lines.push_back(RunTexts::Stars());
        }
        log_.WriteLines(lines);
    }
    log_.Close();
    log_.SetFailureHandler(nullptr);
    lock_.reset();

    front.SetStatusPanel(0, "");
    front.SetStatusPanel(1, "");
    running_ = false;
    front.SetBusy(false);
    front.SetCommandCaption("&Clean up");
    currentIndex_ = -1;

    if (log_.Failed()) {
        front.ShowMessage(
            RunTexts::LogWriteFailedMessage(log_.Path(), log_.Error().Message(), outcome_));
        return;
    }
    if (front.OfferLog(RunTexts::FinalMessage(outcome_)))
        front.OpenLog(log_.Path());
}

} // namespace brumo
