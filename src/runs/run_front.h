#pragma once

#include <cstdint>
#include <string>

namespace brumo {

enum class MessageIcon { Question, Error, Information };
enum class MessageButtons { YesNo, Ok };
enum class MessageAnswer { Yes, No, Ok };

// A message box with the caption "Brumo". The question, when there is one, closes the text;
// a front that cannot ask (a script) shows the text without it.
struct RunMessage {
    std::string text;
    std::string question;
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
    int helpContext = 0; // a Help button opens this topic; 0: no Help button

    std::string FullText() const { return text + question; }
};

// What a clean-up run needs from the front that started it (the main window, the command
// line). Everything is called on the main thread except ShowTypeFileCount.
class RunFront {
public:
    virtual ~RunFront() = default;
    // Selects the row of the type being processed.
    virtual void SelectType(int index) = 0;
    // Status-bar panel 0 (file count) or 1 (what is being done).
    virtual void SetStatusPanel(int panel, const std::string& text) = 0;
    // The current type's file count for panel 0. Called on the worker thread: deliver it to
    // the front's own thread.
    virtual void ShowTypeFileCount(int32_t count) = 0;
    // Busy-with-arrow cursor and a read-only list while a run lasts.
    virtual void SetBusy(bool busy) = 0;
    // Caption of the clean-up command: "Stop" while a run lasts.
    virtual void SetCommandCaption(const std::string& caption) = 0;
    virtual MessageAnswer ShowMessage(const RunMessage& message) = 0;
    // The message that ends a run and offers its log; true opens the log.
    virtual bool OfferLog(const RunMessage& message) {
        return ShowMessage(message) == MessageAnswer::Yes;
    }
    // Opens a log with the desktop's default application.
    virtual void OpenLog(const std::string& path) = 0;
};

} // namespace brumo
