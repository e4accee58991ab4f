#pragma once

class QDialog;
class QDialogButtonBox;
class QPushButton;

namespace brumo {

// The OK and Cancel buttons of the entry editors (TSpecForm, TNameForm), in the platform's
// order. OK is the default button and starts unavailable until the entry is acceptable;
// Cancel never takes Enter. They accept and reject the dialog.
class EntryButtons {
public:
    static QDialogButtonBox* Make(QDialog* dialog, QPushButton*& ok, QPushButton*& cancel);
};

} // namespace brumo
