#pragma once

#include "runs/run_front.h"

namespace brumo {

class THDForm;

// The main window as the clean-up run's front: the list, the status bar, the Clean up
// command and the run's messages.
class MainRunFront : public RunFront {
public:
    explicit MainRunFront(THDForm& form) : form_(form) {}

    void SelectType(int index) override;
    void SetStatusPanel(int panel, const std::string& text) override;
    void ShowTypeFileCount(int32_t count) override;
    void SetBusy(bool busy) override;
    void SetCommandCaption(const std::string& caption) override;
    MessageAnswer ShowMessage(const RunMessage& message) override;
    bool OfferLog(const RunMessage& message) override;
    void OpenLog(const std::string& path) override;

private:
    THDForm& form_;
};

} // namespace brumo
