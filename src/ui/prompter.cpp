#include "ui/prompter.h"

#include <QMessageBox>
#include <QPushButton>

namespace brumo {

namespace {

Prompter*& Installed() {
    static Prompter* prompter = nullptr;
    return prompter;
}

QMessageBox::Icon IconOf(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::Warning:
        return QMessageBox::Warning;
    case PromptIcon::Error:
        return QMessageBox::Critical;
    case PromptIcon::None:
        return QMessageBox::NoIcon;
    case PromptIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

} // namespace

Prompter& Prompter::Current() {
    return Installed() ? *Installed() : MessageBoxPrompter::Default();
}

void Prompter::Install(Prompter* prompter) {
    Installed() = prompter;
}

bool Prompter::AskYes(QWidget* parent, const QString& text, PromptIcon icon, int helpContext) {
    return Show(parent, {text, icon, PromptButtons::YesNo, helpContext}) == PromptAnswer::Yes;
}

bool Prompter::ConfirmIrreversible(QWidget* parent, const QString& text) {
    Prompt prompt{text, PromptIcon::Warning, PromptButtons::YesNo};
    prompt.defaultNo = true;
    return Show(parent, prompt) == PromptAnswer::Yes;
}

void Prompter::Tell(QWidget* parent, const QString& text, PromptIcon icon, int helpContext) {
    Show(parent, {text, icon, PromptButtons::Ok, helpContext});
}

MessageBoxPrompter& MessageBoxPrompter::Default() {
    static MessageBoxPrompter prompter;
    return prompter;
}

PromptAnswer MessageBoxPrompter::Ask(QWidget* parent, const Prompt& prompt) {
    QString text = prompt.text;
    text.replace("\r\n", "\n");
    const auto buttons = prompt.buttons == PromptButtons::YesNo
                             ? QMessageBox::Yes | QMessageBox::No
                             : QMessageBox::StandardButtons(QMessageBox::Ok);
    QMessageBox box(IconOf(prompt.icon), prompt.caption, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    if (prompt.buttons == PromptButtons::YesNo)
        box.setDefaultButton(prompt.defaultNo ? QMessageBox::No : QMessageBox::Yes);
    if (prompt.helpContext > 0 && openHelp_) {
        // Help answers nothing: the box stays open while the help shows.
        QPushButton* help = box.addButton(QMessageBox::Help);
        QObject::disconnect(help, &QAbstractButton::clicked, nullptr, nullptr);
        const int context = prompt.helpContext;
        QObject::connect(help, &QAbstractButton::clicked, &box,
                         [this, context] { openHelp_(context); });
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    default:
        return prompt.buttons == PromptButtons::YesNo ? PromptAnswer::No : PromptAnswer::Ok;
    }
}

} // namespace brumo
