#pragma once

#include "runs/run_type_list.h"

namespace brumo {

class THDForm;

// The main window's rows as the clean-up run walks them.
class JunkRows : public RunTypeList {
public:
    explicit JunkRows(THDForm& form) : form_(form) {}

    int Count() const override;
    TJunkFileObj* TypeAt(int index) override;
    bool Checked(int index) const override;
    void SetChecked(int index, bool checked) override;

private:
    THDForm& form_;
};

} // namespace brumo
