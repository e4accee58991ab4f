#include "ui/main_run_front.h"

#include "ui/hd_form.h"
#include "ui/prompter.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>

namespace brumo {

namespace {

PromptIcon IconOf(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Question:
        return PromptIcon::Question;
    case MessageIcon::Error:
        return PromptIcon::Error;
    case MessageIcon::Information:
        break;
    }
    return PromptIcon::Information;
}

} // namespace

void MainRunFront::SelectType(int index) {
    form_.runIndex_ = index;
    form_.lvJunk->setCurrentRow(index);
}

void MainRunFront::SetStatusPanel(int panel, const std::string& text) {
    if (panel == 0)
        form_.pendingFileCount_.store(-1); // a count still queued belongs to the last type
    (panel == 0 ? form_.StatusPanel0 : form_.StatusPanel1)->setText(QString::fromStdString(text));
}

void MainRunFront::ShowTypeFileCount(int32_t count) {
    // Called for every file on the worker: only the latest count is kept, and the window's
    // progress timer shows it a few times a second.
    form_.pendingFileCount_.store(count);
}

void MainRunFront::SetBusy(bool busy) {
    form_.lvJunk->setEditTriggers(busy ? QAbstractItemView::NoEditTriggers
                                       : QAbstractItemView::SelectedClicked |
                                             QAbstractItemView::EditKeyPressed);
    if (busy) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        form_.EnterRun(RunCleaning);
    } else {
        QApplication::restoreOverrideCursor();
        form_.LeaveRun();
    }
}

void MainRunFront::SetCommandCaption(const std::string& caption) {
    form_.aCleanup->setText(QString::fromStdString(caption));
}

MessageAnswer MainRunFront::ShowMessage(const RunMessage& message) {
    const Prompt prompt{QString::fromStdString(message.FullText()), IconOf(message.icon),
                        message.buttons == MessageButtons::YesNo ? PromptButtons::YesNo
                                                                 : PromptButtons::Ok,
                        message.helpContext};
    switch (Prompter::Show(&form_, prompt)) {
    case PromptAnswer::Yes:
        return MessageAnswer::Yes;
    case PromptAnswer::No:
        return MessageAnswer::No;
    case PromptAnswer::Ok:
        break;
    }
    return MessageAnswer::Ok;
}

bool MainRunFront::OfferLog(const RunMessage& message) {
    if (form_.closing_)
        return false; // the window is going away: the log stays where it is
    // The run's report: its question only offers the log, so it reads as information (a
    // warning keeps its own icon).
    RunMessage report = message;
    if (report.icon == MessageIcon::Question)
        report.icon = MessageIcon::Information;
    return ShowMessage(report) == MessageAnswer::Yes;
}

void MainRunFront::OpenLog(const std::string& path) {
    if (form_.setup_.openLog)
        form_.setup_.openLog(path);
}

} // namespace brumo
