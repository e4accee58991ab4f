#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace brumo {

// Edits one entry to protect: a file specification or the full path of one file, chosen
// by the radio buttons (entering either edit box chooses its mode).
class TNameForm : public QDialog {
    Q_OBJECT

public:
    explicit TNameForm(QWidget* parent = nullptr);
    ~TNameForm() override;

    // An entry holding a colon is a full name, anything else a specification.
    void SetEntry(const std::string& entry);
    std::string GetEntry() const;

    // The open-file dialog's starting folder, as kept in the settings file.
    const std::string& InitialDir() const { return initialDir_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rbSpecClick();
    void ebSpecChange();
    void ebNameChange();
    void btnBrowseClick();
    void UpdateOK();

    std::string settingsFile_;
    std::string initialDir_;

    QRadioButton* rbSpec;
    QLineEdit* ebSpec;
    QRadioButton* rbName;
    QPushButton* btnBrowse;
    QLineEdit* ebName;
    QLabel* lblStat;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};

} // namespace brumo
