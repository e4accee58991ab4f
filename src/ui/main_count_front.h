#pragma once

#include "runs/count_front.h"

namespace brumo {

class THDForm;

// The main window as the Count command's front.
class MainCountFront : public CountFront {
public:
    explicit MainCountFront(THDForm& form) : form_(form) {}

    void SetRunMode(int32_t mode) override;
    void SetListEditable(bool editable) override;
    void SetBusyCursor(bool busy) override;
    void SetCountCommand(const std::string& caption, const std::string& hint, bool bold) override;
    void ShowReport(const std::string& text) override;
    void ShowMessage(const std::string& text) override;
    void SelectItem(int index) override;

private:
    THDForm& form_;
};

} // namespace brumo
