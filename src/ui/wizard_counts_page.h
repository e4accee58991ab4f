#pragma once

#include "engine/main_thread.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QPushButton;

namespace brumo {

class FileWriter;
class NamedEvent;
class TJunkDelThread;
class TJunkFileObj;

// The wizard's last page: counts the files the edited type would process, on the worker
// thread, writing the list of found files, and shows the totals when the count ends.
class WizardCountsPage : public QWidget {
    Q_OBJECT

public:
    struct Setup {
        std::string foundFiles;                   // host path of the found-files list
        std::vector<std::string> excludedFolders; // the program's folder first
        MainThread* mainThread = nullptr;
    };

    WizardCountsPage(Setup setup, QWidget* parent = nullptr);
    // Stops and awaits a running count: the worker calls back into this page.
    ~WizardCountsPage() override;

    // Starts a count of the type, which must stay unchanged until countEnded. Returns false
    // when the found-files list could not be created (the user has been told; countEnded
    // has been emitted).
    bool Start(const TJunkFileObj& type);
    bool Counting() const { return counting_; }
    // Signals the stop and runs the event loop until the count has ended.
    void StopAndWait();

    // The name the found-files dialog shows, read when it opens.
    void SetNameSource(std::function<std::string()> source) { nameSource_ = std::move(source); }

signals:
    void countEnded();

private:
    void btnStopClick();
    void btnViewClick();
    void ShowCounts(int32_t folders, int32_t matched, int32_t restricted, int32_t protectedFiles,
                    int64_t bytes);
    void CountDone(const TJunkDelThread& sender);
    void EndCount();

    Setup setup_;
    std::function<std::string()> nameSource_;
    std::shared_ptr<NamedEvent> stopEvent_;
    std::shared_ptr<FileWriter> found_;
    bool counting_ = false;

    QLabel* lblTypCount;
    QLabel* lblTypDirs;
    QLabel* lblTypDels;
    QLabel* lblTypRes;
    QLabel* lblTypProts;
    QLabel* lblTypActual;
    QLabel* lblTypSize;
    QPushButton* btnStop;
    QPushButton* btnView;
};

} // namespace brumo
