#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace brumo {

// Edits one file specification to process, judging it on every keystroke.
class TSpecForm : public QDialog {
    Q_OBJECT

public:
    explicit TSpecForm(QWidget* parent = nullptr);
    ~TSpecForm() override;

    void SetSpec(const std::string& spec);
    std::string GetSpec() const;

private:
    void ebSpecChange();

    QLineEdit* ebSpec;
    QLabel* lblStat;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};

} // namespace brumo
