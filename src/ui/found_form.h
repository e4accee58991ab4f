#pragma once

#include <QDialog>

#include <string>

class QListWidget;
class QPushButton;

namespace brumo {

// Lists the files that the wizard's count found for the type being edited.
class TFoundForm : public QDialog {
    Q_OBJECT

public:
    explicit TFoundForm(QWidget* parent = nullptr);
    ~TFoundForm() override;

    // Loads the lines of the found-files file and names the type in the caption.
    void LoadFoundList(const std::string& fileName, const std::string& typeName);

    // The width in pixels of the widest line, which the list can scroll to.
    int HorizontalExtent() const { return extent_; }

public slots:
    // "Done" is the cancel button too, and it closes with OK.
    void reject() override { accept(); }

private:
    QPushButton* btnOK;
    QListWidget* ListBox1;
    int extent_ = 0;
};

} // namespace brumo
