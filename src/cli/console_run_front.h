#pragma once

#include "cli/progress_line.h"
#include "runs/run_front.h"

#include <istream>
#include <ostream>

namespace brumo {

// A clean-up run's front on the command line: messages become text, questions are asked on a
// terminal or answered by --yes, and the log is named rather than opened.
class ConsoleRunFront : public RunFront {
public:
    // assumeYes answers every question Yes; otherwise canAsk reads the answer from in, and
    // without it the answer is No.
    ConsoleRunFront(std::ostream& out, std::ostream& err, std::istream& in, ProgressLine& progress,
                    bool canAsk, bool assumeYes);

    void SelectType(int) override {}
    void SetStatusPanel(int, const std::string&) override {}
    void ShowTypeFileCount(int32_t) override {}
    void SetBusy(bool) override {}
    void SetCommandCaption(const std::string&) override {}
    MessageAnswer ShowMessage(const RunMessage& message) override;
    bool OfferLog(const RunMessage& message) override;
    void OpenLog(const std::string&) override {}

    // Message text with plain line ends.
    static std::string PlainText(const std::string& text);
    // Asks a yes/no question on the terminal; anything but y or yes is No.
    static bool AskYesNo(std::ostream& out, std::istream& in, const std::string& question);

private:
    std::ostream& out_;
    std::ostream& err_;
    std::istream& in_;
    ProgressLine& progress_;
    bool canAsk_;
    bool assumeYes_;
};

} // namespace brumo
