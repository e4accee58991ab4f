#pragma once

#include "app/program_files.h"
#include "app/version_info.h"
#include "model/junk_file_type.h"
#include "ui/command_rules.h"

#include <QAbstractItemView>
#include <QMainWindow>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QCheckBox;
class QDialog;
class QHelpEvent;
class QKeyEvent;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;
class QTimer;

namespace brumo {

class CleanupRun;
class CountRun;
class JunkItem;
class JunkListCommands;
class JunkListFiles;
class JunkRows;
class MainCountFront;
class MainRunFront;
class MainWindowControls;
class NameEditDelegate;
class RecycleSettingsCheck;
struct WorkerProgress;

// What the main window works with; tests give their own files, checks and openers.
struct MainWindowSetup {
    ProgramFiles files;
    RecycleSettingsCheck* recycle = nullptr; // lives as long as the program
    VersionInfo version;
    // Opens the help at a topic; 0 is the help's contents.
    std::function<void(int context)> openHelp;
    // Opens a log with the desktop's default application.
    std::function<void(const std::string& path)> openLog;
    // Shows a dialog modally and returns its result.
    std::function<int(QDialog& dialog)> runDialog;
};

// The main window: the ordered list of junk file types and every command on it.
class THDForm : public QMainWindow {
    Q_OBJECT

public:
    explicit THDForm(MainWindowSetup setup, QWidget* parent = nullptr);
    ~THDForm() override;

    // Run on every activation: disables the types that rely on an unusable Recycle Bin,
    // selects the first row and updates the commands.
    void FormActivate();
    void SetTestMode(bool on);
    // Restores a minimised window and brings it to the front (a second start asks for it).
    void BringToFront();
    // The enabling rules, applied to the commands now.
    void aAddUpdate();

    int CurrentRunMode() const { return runMode_; }
    int RowCount() const;
    const TJunkFileObj* TypeAt(int row) const;
    bool RowChecked(int row) const;
    int SelectedRow() const;
    const TJunkFileObj* UndoHeld() const { return undo_.get(); }
    const ProgramFiles& Files() const { return setup_.files; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class JunkListCommands;
    friend class JunkRows;
    friend class MainCountFront;
    friend class MainRunFront;
    friend class MainWindowControls;

    static constexpr QAbstractItemView::EditTriggers RenameTriggers =
        QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed;

    void FormCreate();
    void StopRunAndWait();

    JunkItem* Row(int row) const;
    JunkItem* AppendRow(std::unique_ptr<TJunkFileObj> type);
    // Sets a row's check box under the check-box rule, also when it does not change.
    void SetRowChecked(JunkItem* row, bool checked);
    void lvJunkItemChanged(QListWidgetItem* item);
    void lvJunkChange(JunkItem* row);
    void lvJunkSelectItem();
    bool lvJunkEdited(int row, const QString& text);
    void ScheduleUpdate();
    void ShowHint(const QString& hint);
    // The hint of a disabled button in the button column under the point, or none.
    void pnlButtonsMouseMove(const QPoint& pos);
    // The full name of a row whose caption the list cuts.
    bool lvJunkToolTip(QHelpEvent* event);
    // While the rename editor has the focus, the window's shortcuts are its keys.
    bool RenameEditorKey(QObject* watched, QKeyEvent* event) const;

    bool RecycleUnusable();
    QString RecycleError(const QString& sentence) const;
    std::vector<const TJunkFileObj*> ListTypes() const;
    int RunDialog(QDialog& dialog);

    void aCountExecute();
    void aCleanupExecute();
    void aHeldExecute();
    void aHelpExecute();
    void aAboutExecute();
    // `pos` in the list's coordinates; none opens it at the current row (keyboard).
    void pmMainPopup(std::optional<QPoint> pos);

    // Run state, as the fronts of the count and the clean-up run set it.
    void EnterRun(int mode);
    void LeaveRun();
    void ShowProgress();

    MainWindowSetup setup_;
    std::unique_ptr<JunkListFiles> files_;
    std::unique_ptr<JunkListCommands> commands_;
    std::unique_ptr<TJunkFileObj> undo_;
    int runMode_ = RunIdle;
    int runIndex_ = -1;    // the row being counted or processed
    bool closing_ = false; // the window goes: a run's closing messages are not shown
    bool created_ = false; // FormCreate has run: placement is saved at destruction
    bool activating_ = false;
    // A count's row stays selected through the activation that follows its report.
    int keepRowOnActivate_ = -1;
    std::atomic<int32_t> pendingFileCount_{-1};

    std::unique_ptr<JunkRows> rows_;
    std::unique_ptr<MainRunFront> runFront_;
    std::unique_ptr<MainCountFront> countFront_;
    std::shared_ptr<WorkerProgress> countProgress_;
    std::unique_ptr<CleanupRun> cleanup_;
    std::unique_ptr<CountRun> count_;
    QTimer* updateTimer_;
    QTimer* progressTimer_;

    QAction* aAdd;
    QAction* aDefaults;
    QAction* aEdit;
    QAction* aRem;
    QAction* aUndo;
    QAction* aUp;
    QAction* aDn;
    QAction* aProps;
    QAction* aCount;
    QAction* aCheckAll;
    QAction* aClearAll;
    QAction* aCleanup;
    QAction* aHeld;
    QAction* aHelp;
    QAction* aAbout;
    QAction* aExit;

    QWidget* pnlButtons;
    QPushButton* btnAdd;
    QPushButton* btnDef;
    QPushButton* btnEdit;
    QPushButton* btnRem;
    QPushButton* btnUndo;
    QPushButton* btnCount;
    QLabel* Label1;
    QListWidget* lvJunk;
    NameEditDelegate* renameDelegate_;
    QPushButton* btnCleanup;
    QCheckBox* cbTestMode;
    QPushButton* btnHelp;
    QPushButton* btnAbout;
    QPushButton* btnExit;
    QLabel* StatusPanel0;
    QLabel* StatusPanel1;

    QMenu* pmMain;
    QMenu* mnuMethodAll;
    QAction* mnuRecycleAll;
    QAction* mnuBackupAll;
    QAction* mnuDeleteAll;
};

} // namespace brumo
