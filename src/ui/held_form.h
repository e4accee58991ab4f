#pragma once

#include "platform/file_lock.h"
#include "runs/held_files.h"

#include <QDialog>
#include <QString>

#include <memory>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QPushButton;
class QSpinBox;
class QStatusBar;
class QTimer;
class QTreeWidget;

namespace brumo {

// The files in the holding folders, grouped by drive: put back, deleted for good or purged
// by age. Sizeable, its placement kept.
class THeldForm : public QDialog {
    Q_OBJECT

public:
    explicit THeldForm(QWidget* parent = nullptr);
    ~THeldForm() override;

    // The lock file of real runs: restore and delete take it, so that no run of another
    // Brumo holds files while held ones move.
    void SetRunLockPath(std::string path) { runLockPath_ = std::move(path); }
    // Reads the holding folders again and shows what they hold.
    void LoadHeldFiles();
    // The enabling rules, applied to the commands now.
    void aRestoreUpdate();

private:
    std::vector<const HeldFile*> SelectedFiles() const;
    std::vector<HeldFile> PurgeCandidates() const;
    // Shows what was done and what failed, and lists the holding folders again.
    void Report(int done, const QString& doneText, const QStringList& failures);
    // Where a file row stands: its drive and its place in the drive's group.
    struct Place {
        QString drive;
        int group = -1;
        int row = -1;
    };
    Place TopSelected() const;
    void SelectAt(const Place& place);
    // Asks first; `which` tells which files after their count.
    void DeleteForGood(const std::vector<HeldFile>& files, const QString& which);
    // False, after saying why, while another Brumo runs, restores or purges.
    bool TakeRunLock(std::unique_ptr<FileLock>& lock);

    void aRestoreExecute();
    void aDeleteExecute();
    void aPurgeExecute();

    std::vector<HeldFile> files_;
    std::string runLockPath_;
    QTimer* updateTimer_;

    QAction* aRestore;
    QAction* aDelete;
    QAction* aPurge;
    QTreeWidget* tvHeld;
    QLabel* lblTotal;
    QPushButton* btnRestore;
    QPushButton* btnDelete;
    QPushButton* btnPurge;
    QSpinBox* seDays;
    QPushButton* btnClose;
    QStatusBar* StatusBar1;
};

} // namespace brumo
