#include "ui/main_count_front.h"

#include "ui/hd_form.h"
#include "ui/prompter.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QPushButton>

namespace brumo {

void MainCountFront::SetRunMode(int32_t mode) {
    if (mode == RunCounting)
        form_.EnterRun(RunCounting);
    else
        form_.LeaveRun();
}

void MainCountFront::SetListEditable(bool editable) {
    form_.lvJunk->setEditTriggers(editable ? QAbstractItemView::SelectedClicked |
                                                 QAbstractItemView::EditKeyPressed
                                           : QAbstractItemView::NoEditTriggers);
}

void MainCountFront::SetBusyCursor(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
}

void MainCountFront::SetCountCommand(const std::string& caption, const std::string& hint,
                                     bool bold) {
    form_.aCount->setText(QString::fromStdString(caption));
    form_.aCount->setStatusTip(QString::fromStdString(hint));
    QFont font = form_.btnCount->font();
    font.setBold(bold);
    form_.btnCount->setFont(font);
}

void MainCountFront::ShowReport(const std::string& text) {
    if (!form_.closing_)
        Prompter::Tell(&form_, QString::fromStdString(text), PromptIcon::Information);
}

void MainCountFront::ShowMessage(const std::string& text) {
    if (!form_.closing_)
        Prompter::Tell(&form_, QString::fromStdString(text), PromptIcon::Information);
}

void MainCountFront::SelectItem(int index) {
    if (index >= 0 && index < form_.RowCount())
        form_.lvJunk->setCurrentRow(index);
}

} // namespace brumo
