#include "ui/junk_list_commands.h"

#include "runs/recycle_settings_check.h"
#include "ui/default_form.h"
#include "ui/hd_form.h"
#include "ui/junk_item.h"
#include "ui/junk_list_files.h"
#include "ui/prompter.h"
#include "ui/prop_form.h"
#include "ui/type_wiz.h"

#include <QAction>
#include <QListWidget>

namespace brumo {

void JunkListCommands::AddWithIdentityCheck(std::unique_ptr<TJunkFileObj> type) {
    for (int i = 0; i < form_.RowCount(); ++i) {
        const TJunkFileObj* existing = form_.TypeAt(i);
        if (!existing || !existing->IsSameFunction(*type))
            continue;
        const QString question =
            QString("You are trying to add a junk file type that is identical in function to "
                    "the existing junk file type \"%1\". Continue?")
                .arg(QString::fromStdString(existing->Name));
        if (!Prompter::AskYes(&form_, question, PromptIcon::Question))
            return;
    }
    const bool enabled = type->Enabled;
    type->Enabled = false;
    JunkItem* row = form_.AppendRow(std::move(type));
    form_.SetRowChecked(row, enabled);
}

void JunkListCommands::Changed() {
    form_.files_->WriteRecoveryCopy(form_.ListTypes());
    form_.aAddUpdate();
}

void JunkListCommands::aAddExecute() {
    TTypeWiz wizard(&form_, form_.setup_.files);
    wizard.LoadFromType(TJunkFileObj(), form_.RecycleUnusable());
    if (form_.RunDialog(wizard) != QDialog::Accepted)
        return;
    AddWithIdentityCheck(std::make_unique<TJunkFileObj>(wizard.BuildType()));
    Changed();
}

void JunkListCommands::aDefaultsExecute() {
    std::unique_ptr<TJunkFileObj> chosen;
    {
        RecycleSettingsCheck fallback;
        TDefaultForm dialog(form_.setup_.recycle ? *form_.setup_.recycle : fallback, &form_);
        if (form_.RunDialog(dialog) != QDialog::Accepted)
            return;
        chosen = dialog.GetSelectedType();
    }
    if (!chosen)
        return;
    AddWithIdentityCheck(std::move(chosen));
    Changed();
}

void JunkListCommands::aEditExecute() {
    JunkItem* row = form_.Row(form_.SelectedRow());
    if (!row || !row->Type())
        return;
    TTypeWiz wizard(&form_, form_.setup_.files);
    wizard.LoadFromType(*row->Type(), form_.RecycleUnusable());
    if (form_.RunDialog(wizard) != QDialog::Accepted)
        return;
    row->SetType(std::make_unique<TJunkFileObj>(wizard.BuildType()));
    row->setText(QString::fromStdString(row->Type()->Name));
    form_.SetRowChecked(row, row->Type()->Enabled);
    Changed();
}

void JunkListCommands::aRemExecute() {
    const int index = form_.SelectedRow();
    JunkItem* row = form_.Row(index);
    if (!row)
        return;
    form_.undo_ = row->TakeType(); // the older held type, if any, goes now
    delete form_.lvJunk->takeItem(index);
    if (form_.RowCount() > 0)
        form_.lvJunk->setCurrentRow(std::min(index, form_.RowCount() - 1));
    Changed();
}

void JunkListCommands::aUndoExecute() {
    if (!form_.undo_)
        return;
    auto copy = std::make_unique<TJunkFileObj>(*form_.undo_);
    const bool enabled = copy->Enabled;
    copy->Enabled = false;
    form_.undo_.reset();
    JunkItem* row = form_.AppendRow(std::move(copy));
    form_.SetRowChecked(row, enabled);
    Changed();
}

void JunkListCommands::aMoveExecute(int step) {
    const int from = form_.SelectedRow();
    const int to = from + step;
    if (from < 0 || to < 0 || to >= form_.RowCount())
        return;
    // The row moves whole: caption, type and check box stay together.
    QListWidgetItem* item = form_.lvJunk->takeItem(from);
    form_.lvJunk->insertItem(to, item);
    form_.lvJunk->setCurrentItem(item);
    form_.lvJunk->setFocus();
    form_.aAddUpdate();
}

void JunkListCommands::aPropsExecute() {
    const TJunkFileObj* type = form_.TypeAt(form_.SelectedRow());
    if (!type)
        return;
    TPropForm dialog(&form_);
    dialog.ShowProps(*type);
    form_.RunDialog(dialog);
}

void JunkListCommands::aCheckAllExecute(QAction* sender) {
    const bool checked = sender->data().toInt() == 1;
    for (int i = 0; i < form_.RowCount(); ++i)
        form_.SetRowChecked(form_.Row(i), checked);
    form_.aAddUpdate();
}

void JunkListCommands::mnuMethodAllClick() {
    form_.mnuRecycleAll->setEnabled(!form_.RecycleUnusable());
    form_.mnuBackupAll->setEnabled(true);
    form_.mnuDeleteAll->setEnabled(true);
}

void JunkListCommands::mnuSharedAllClick(QAction* sender) {
    const int code = sender->data().toInt();
    for (int i = 0; i < form_.RowCount(); ++i)
        if (TJunkFileObj* type = form_.Row(i)->Type())
            if (auto error = type->SetMethod(code)) {
                Prompter::Tell(&form_, QString::fromStdString(*error), PromptIcon::Error);
                return;
            }
}

} // namespace brumo
