#pragma once

#include "model/junk_file_type.h"

namespace brumo {

// The ordered types a clean-up run walks, each with its check state: the main window's rows,
// or the command line's enabled types. Types must stay in place while a run lasts.
class RunTypeList {
public:
    virtual ~RunTypeList() = default;
    virtual int Count() const = 0;
    // Null for a row without a type.
    virtual TJunkFileObj* TypeAt(int index) = 0;
    virtual bool Checked(int index) const = 0;
    virtual void SetChecked(int index, bool checked) = 0;

    bool AnyTypeChecked() const {
        for (int i = 0; i < Count(); ++i)
            if (Checked(i))
                return true;
        return false;
    }
};

} // namespace brumo
