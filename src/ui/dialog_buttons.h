#pragma once

#include <QDialogButtonBox>

class QDialog;
class QPushButton;
class QString;

namespace brumo {

// A dialog's closing buttons as the platform lays them out: its order, its icons where its
// style shows them, its spacing; the captions and names stay the dialog's own.
class DialogButtons {
public:
    static QDialogButtonBox* Make(QWidget* parent, Qt::Orientation orientation = Qt::Horizontal);
    static QPushButton* Add(QDialogButtonBox* box, QDialogButtonBox::StandardButton which,
                            const QString& caption, const char* name);
    // A window of one size, the size its layout asks for, offers no maximise button.
    static void MakeFixedSize(QDialog& dialog);
    static void WithoutMaximizeButton(QDialog& dialog);
};

} // namespace brumo
