#pragma once

#include "runs/run_type_list.h"

#include <vector>

namespace brumo {

// The command line's list for a clean-up run: every type, checked when it is enabled.
class EnabledTypeList : public RunTypeList {
public:
    explicit EnabledTypeList(std::vector<TJunkFileObj> types);

    int Count() const override { return static_cast<int>(types_.size()); }
    TJunkFileObj* TypeAt(int index) override { return &types_[index]; }
    bool Checked(int index) const override { return checked_[index]; }
    void SetChecked(int index, bool checked) override { checked_[index] = checked; }
    int CheckedCount() const;

private:
    std::vector<TJunkFileObj> types_;
    std::vector<bool> checked_;
};

} // namespace brumo
