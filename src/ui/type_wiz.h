#pragma once

#include "app/program_files.h"
#include "model/junk_file_type.h"
#include "model/type_wiz_rules.h"

#include <QDialog>

#include <array>
#include <memory>
#include <optional>
#include <set>
#include <string>

class QAction;
class QCheckBox;
class QDateEdit;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QStatusBar;
class QTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace brumo {

class ComparisonCombo;
class StatusHints;
class WizardCountsPage;

// The editor of one junk file type, in six pages: name and method, folders, specifications
// with restrictions, protections, summary, and a count of the matching files. It validates
// by enabling: Next and Finish are available only while the entries are complete.
class TTypeWiz : public QDialog {
    Q_OBJECT

public:
    // `files` names the found-files list and the folders a count leaves out; by default
    // those of the running program.
    explicit TTypeWiz(QWidget* parent = nullptr, std::optional<ProgramFiles> files = {});
    ~TTypeWiz() override;

    // Fills the controls from the type; `recycleBinUnusable` keeps the Recycle Bin method
    // from being chosen and the Enable box from changing while it is selected.
    void LoadFromType(const TJunkFileObj& type, bool recycleBinUnusable);
    // The type the controls describe, owned by the wizard until it goes.
    const TJunkFileObj& BuildType();

    int Page() const;
    WizardControls Controls() const;
    const std::string& AllDrivesEntry() const { return allDrivesEntry_; }
    const std::string& FoundFilesPath() const { return foundFiles_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* MakeNamePage();
    QWidget* MakeDirsPage();
    QWidget* MakeDeletesPage();
    QWidget* MakeProtectsPage();
    QWidget* MakeRestrictionPanel(QWidget* page);
    QWidget* MakeSummaryPage();
    // The object names and the caption of a list page.
    struct ListPage {
        const char* page;
        const char* list;
        const char* column;
        const char* caption;
    };
    // A list command: where its action is kept, the action, and its button.
    struct ListCommand {
        QAction** action;
        const char* name;
        const char* caption;
        const char* hint;
        const char* button;
    };
    // A page of a list beside a column of buttons for its Add, Edit, Remove and Clear
    // commands, in that order, wired to the list commands below; `below` makes what goes
    // under the list.
    QWidget* MakeListPage(const ListPage& made, QListWidget*& list,
                          const std::array<ListCommand, 4>& commands,
                          QWidget* (TTypeWiz::*below)(QWidget*) = nullptr);
    QWidget* MakeButtonBar();
    // The window's commands and buttons, their hints shown in the status bar.
    QAction* MakeAction(const char* name, const QString& caption, const QString& hint);
    QPushButton* MakeButton(QWidget* parent, const char* name, QAction* action);
    QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                            const QString& hint);
    void SetHint(QWidget* control, const QString& hint);

    void ShowPage(int page);
    void PageChanged();
    void UpdateButtons();
    void StartCount();
    void CountEnded();

    void aBackExecute();
    void aNextExecute();
    void aHelpExecute();
    void btnFinishClick();

    void AddFolderEntry(const FolderEntry& entry);
    std::vector<FolderEntry> FolderEntries() const;
    void adirChangeExecute();
    void adirClearExecute();
    void adirClearUpdate();

    // The list commands of the Deletes page (TSpecForm) and the Protects page (TNameForm).
    void ListAdd(QListWidget* list);
    void ListEdit(QListWidget* list);
    void ListRemove(QListWidget* list);
    void ListClear(QListWidget* list);
    void ListCommandsUpdate();
    bool EditEntry(QListWidget* list, std::string& entry);

    void ckRstDateClick();
    void rbDateClick(int code);
    void cbDateTypeChange();
    void ckRstSizeClick();
    void cbSizeTypeChange();
    void ebSizeChange(QLineEdit* edit);
    void MethodChanged();
    void SetDatesToday();
    void LoadRestrictions(const TJunkFileObj& type);
    void ReadRestrictions(WizardControls& c) const;

    std::string foundFiles_;
    std::string allDrivesEntry_;
    std::unique_ptr<TJunkFileObj> result_;
    bool recycleBinUnusable_ = false;
    bool activated_ = false;
    bool countShown_ = false; // page 5 holds a started count's state
    std::set<QWidget*> hintPanels_;
    StatusHints* hints_;

    QStackedWidget* pcWiz;
    QStatusBar* StatusBar1;
    QWidget* pnlButtons;
    QPushButton* btnHelp;
    QPushButton* btnBack;
    QPushButton* btnNext;
    QPushButton* btnFinish;
    QPushButton* btnCancel;
    QAction* aHelp;
    QAction* aBack;
    QAction* aNext;

    QLineEdit* ebName;
    QCheckBox* cbEnabled;
    QGroupBox* gbClean;
    QRadioButton* rbRecycle;
    QRadioButton* rbBackup;
    QRadioButton* rbDelete;

    QTreeWidget* lvDirs;
    QAction* aDirChange;
    QAction* adirClear;

    QListWidget* lbDels;
    QAction* aDelAdd;
    QAction* aDelEdit;
    QAction* adelRem;
    QAction* adelClear;
    QCheckBox* ckRstDate;
    QRadioButton* rbDate;
    QRadioButton* rbAge;
    ComparisonCombo* cbDateType;
    QDateEdit* dpDateDat1;
    QComboBox* cbAgeDat1;
    QLabel* lblDateAnd;
    QDateEdit* dpDateDat2;
    QComboBox* cbAgeDat2;
    QCheckBox* ckRstSize;
    ComparisonCombo* cbSizeType;
    QLineEdit* ebSizeDat1;
    QLabel* lblSizeAnd;
    QLineEdit* ebSizeDat2;
    QComboBox* cbSizeUnits;

    QListWidget* lbProts;
    QAction* aproAdd;
    QAction* aProEdit;
    QAction* aproRem;
    QAction* aproClear;

    QTextEdit* reProps;
    WizardCountsPage* countsPage_;
};

} // namespace brumo
