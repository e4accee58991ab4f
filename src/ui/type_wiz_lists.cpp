#include "ui/type_wiz.h"

#include "ui/dir_sel_images.h"
#include "ui/name_form.h"
#include "ui/new_pick_form.h"
#include "ui/spec_form.h"
#include "ui/type_wiz_parts.h"

#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

namespace brumo {

using namespace type_wiz;

namespace {
// The entry the user has selected, -1 for none (a current row alone is not a selection).
int SelectedRow(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? list->currentRow() : -1;
}

// The tick stands for the folder's own files, green for searched subfolders, red for none.
QIcon ModeIcon(int mode) {
    switch (mode) {
    case FolderAndSubfolders:
        return DirSelImages::NodeIcon(0, DirSelImages::Tick::Ticked);
    case FolderOnly:
        return DirSelImages::NodeIcon(1, DirSelImages::Tick::Ticked);
    case SubfoldersOnly:
        return DirSelImages::NodeIcon(0, DirSelImages::Tick::Unticked);
    default:
        return {};
    }
}

} // namespace

// ---- folders -------------------------------------------------------------------------

void TTypeWiz::AddFolderEntry(const FolderEntry& entry) {
    auto* item = new QTreeWidgetItem(lvDirs);
    item->setText(0, Text(entry.path));
    item->setData(0, Qt::UserRole, entry.mode);
    if (!TypeWizRules::IsAllDrivesEntry(entry.path)) {
        item->setIcon(0, ModeIcon(entry.mode));
        item->setText(1, SelectionText(entry.mode));
    }
}

std::vector<FolderEntry> TTypeWiz::FolderEntries() const {
    std::vector<FolderEntry> entries;
    for (int i = 0; i < lvDirs->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = lvDirs->topLevelItem(i);
        entries.push_back({item->text(0).toStdString(), item->data(0, Qt::UserRole).toInt()});
    }
    return entries;
}

void TTypeWiz::adirChangeExecute() {
    std::vector<FolderEntry> chosen;
    for (const FolderEntry& entry : FolderEntries())
        if (!TypeWizRules::IsAllDrivesEntry(entry.path))
            chosen.push_back(entry);
    TNewPickForm picker(this);
    picker.SetFolders(chosen);
    if (picker.exec() != QDialog::Accepted)
        return;
    std::vector<FolderEntry> folders;
    picker.GetFolders(folders);
    lvDirs->clear();
    for (const FolderEntry& entry : folders)
        AddFolderEntry(entry);
    adirClearUpdate();
}

void TTypeWiz::adirClearExecute() {
    lvDirs->clear();
    AddFolderEntry({allDrivesEntry_, FolderAndSubfolders});
    adirClearUpdate();
}

void TTypeWiz::adirClearUpdate() {
    const QTreeWidgetItem* first = lvDirs->topLevelItem(0);
    adirClear->setEnabled(first && !TypeWizRules::IsAllDrivesEntry(first->text(0).toStdString()));
}

// ---- specification lists -------------------------------------------------------------

bool TTypeWiz::EditEntry(QListWidget* list, std::string& entry) {
    if (list == lbDels) {
        TSpecForm form(this);
        if (!entry.empty())
            form.SetSpec(entry);
        if (form.exec() != QDialog::Accepted)
            return false;
        entry = form.GetSpec();
    } else {
        TNameForm form(this);
        if (!entry.empty())
            form.SetEntry(entry);
        if (form.exec() != QDialog::Accepted)
            return false;
        entry = form.GetEntry();
    }
    return true;
}

void TTypeWiz::ListAdd(QListWidget* list) {
    std::string entry;
    if (EditEntry(list, entry))
        list->addItem(Text(entry));
    ListCommandsUpdate();
    UpdateButtons();
}

void TTypeWiz::ListEdit(QListWidget* list) {
    const int row = SelectedRow(list);
    if (row < 0)
        return;
    std::string entry = list->item(row)->text().toStdString();
    if (EditEntry(list, entry))
        list->item(row)->setText(Text(entry));
    ListCommandsUpdate();
    UpdateButtons();
}

void TTypeWiz::ListRemove(QListWidget* list) {
    const int row = SelectedRow(list);
    if (row >= 0) {
        delete list->takeItem(row);
        if (list->count() > 0) {
            list->setCurrentRow(std::min(row, list->count() - 1));
        } else {
            list->setCurrentRow(-1);
        }
    }
    ListCommandsUpdate();
    UpdateButtons();
}

void TTypeWiz::ListClear(QListWidget* list) {
    list->clear();
    ListCommandsUpdate();
    UpdateButtons();
}

void TTypeWiz::ListCommandsUpdate() {
    aDelEdit->setEnabled(SelectedRow(lbDels) >= 0);
    adelRem->setEnabled(SelectedRow(lbDels) >= 0);
    adelClear->setEnabled(lbDels->count() > 0);
    aProEdit->setEnabled(SelectedRow(lbProts) >= 0);
    aproRem->setEnabled(SelectedRow(lbProts) >= 0);
    aproClear->setEnabled(lbProts->count() > 0);
}

} // namespace brumo
