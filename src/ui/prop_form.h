#pragma once

#include "model/junk_file_type.h"

#include <QDialog>

class QPushButton;
class QTextEdit;

namespace brumo {

// Shows the properties summary of one junk file type; changes nothing.
class TPropForm : public QDialog {
    Q_OBJECT

public:
    explicit TPropForm(QWidget* parent = nullptr);
    ~TPropForm() override;

    // Writes the type's summary; the form keeps no reference to the type.
    void ShowProps(const TJunkFileObj& type);

private:
    QTextEdit* reProps;
    QPushButton* btnOK;
};

} // namespace brumo
