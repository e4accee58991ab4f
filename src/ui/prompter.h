#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace brumo {

enum class PromptIcon { None, Information, Question, Warning, Error };
enum class PromptButtons { Ok, YesNo };
enum class PromptAnswer { Ok, Yes, No };

// One message box: caption "Brumo" unless told otherwise. A help context adds a Help
// button that opens that topic and leaves the box open.
struct Prompt {
    QString text;
    PromptIcon icon = PromptIcon::Information;
    PromptButtons buttons = PromptButtons::Ok;
    int helpContext = 0;
    QString caption = "Brumo";
    // A question whose Yes cannot be undone: Enter answers No.
    bool defaultNo = false;
};

// Every question and report of the windows goes through the installed prompter, so that
// tests answer them without modal loops.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual PromptAnswer Ask(QWidget* parent, const Prompt& prompt) = 0;

    // The prompter in use: message boxes unless another one is installed.
    static Prompter& Current();
    // Null returns to message boxes. The prompter must outlive its installation.
    static void Install(Prompter* prompter);

    // Shorthands for the current prompter.
    static PromptAnswer Show(QWidget* parent, const Prompt& prompt) {
        return Current().Ask(parent, prompt);
    }
    static bool AskYes(QWidget* parent, const QString& text, PromptIcon icon, int helpContext = 0);
    // A question about something that cannot be undone: a warning, No by default.
    static bool ConfirmIrreversible(QWidget* parent, const QString& text);
    static void Tell(QWidget* parent, const QString& text, PromptIcon icon, int helpContext = 0);
};

// Modal message boxes. Texts may carry CR LF line ends.
class MessageBoxPrompter : public Prompter {
public:
    using HelpOpener = std::function<void(int context)>;
    explicit MessageBoxPrompter(HelpOpener openHelp = {}) : openHelp_(std::move(openHelp)) {}
    // Opens help for every message box shown afterwards.
    void SetHelpOpener(HelpOpener openHelp) { openHelp_ = std::move(openHelp); }

    PromptAnswer Ask(QWidget* parent, const Prompt& prompt) override;

    static MessageBoxPrompter& Default();

private:
    HelpOpener openHelp_;
};

} // namespace brumo
