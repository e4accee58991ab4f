#pragma once

#include "model/junk_file_type.h"
#include "ui/folder_pick_tree.h"

#include <QDialog>
#include <QHash>
#include <QIcon>

#include <array>
#include <vector>

class QAction;
class QHelpEvent;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace brumo {

class ElidedLabel;
class TLegendForm;

// Lets the user choose the folders a junk file type searches, in a tree of the local
// drives and their folders: each folder's tick says whether its own files are searched, its
// icon what happens with its subfolders. The tree's logic lives in FolderPickTree; this
// window shows it and turns the user's commands into its operations.
class TNewPickForm : public QDialog {
    Q_OBJECT

public:
    explicit TNewPickForm(QWidget* parent = nullptr);
    ~TNewPickForm() override;

    // Before showing: an empty list (or only the all-drives entry) keeps every drive chosen.
    void SetFolders(const std::vector<FolderEntry>& folders);
    // After OK: the folder entries that reproduce the choices.
    void GetFolders(std::vector<FolderEntry>& folders) const;

    TLegendForm* Legend() const { return legend_; }
    // Where a press toggles the node's tick; empty for the root, which has none.
    QRect StateIconRect(QTreeWidgetItem* item) const;

public slots:
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void tvDirSelChange();
    void tvDirSelExpanding(QTreeWidgetItem* item);
    void tvDirSelCollapsing(QTreeWidgetItem* item);
    bool tvDirSelKeyDown(QKeyEvent* event);
    bool tvDirSelMouseDown(QMouseEvent* event);
    bool tvDirSelToolTip(QHelpEvent* event);
    void aFolderExecute();
    void aModeExecute(SubMode mode);
    void aExistSubsExecute();
    void aAllSubsUpdate();

    PickNode* SelectedNode() const;
    static PickNode* NodeOf(const QTreeWidgetItem* item);
    // Brings the items in line with the tree's nodes, then applies the OK rule and the
    // enabling of the commands.
    void Redraw();
    void SyncItem(QTreeWidgetItem* item, PickNode& node);
    QAction* MakeAction(const char* name, const QString& caption, const QString& hint);

    FolderPickTree tree_;
    std::array<QIcon, 15> nodeIcons_; // mode * 3 + tick
    bool syncing_ = false;

    ElidedLabel* pnlFullPath;
    QTreeWidget* tvDirSel;
    QPushButton* btnInclude;
    QPushButton* btnExclude;
    QPushButton* btnListed;
    QPushButton* btnLegend;
    QPushButton* btnOK;
    QPushButton* btnCancel;
    QMenu* pmDirSel;
    QAction* aFolder;
    QAction* aAllSubs;
    QAction* aNoSubs;
    QAction* aExistSubs;
    QAction* aLegend;
    TLegendForm* legend_ = nullptr;
};

} // namespace brumo
