#pragma once

#include "model/junk_file_type.h"

#include <QDialog>

#include <memory>
#include <vector>

class QPushButton;
class QSplitter;
class QTextEdit;
class QTreeWidget;

namespace brumo {

class RecycleSettingsCheck;

// Lists the built-in junk file types with the summary of the selected one, and hands a copy
// of the chosen type to the caller.
class TDefaultForm : public QDialog {
    Q_OBJECT

public:
    // The Recycle Bin check decides whether the defaults may use the Recycle Bin.
    explicit TDefaultForm(RecycleSettingsCheck& recycle, QWidget* parent = nullptr);
    ~TDefaultForm() override;

    // After OK: a copy of the selected type for the caller; null without a selection.
    std::unique_ptr<TJunkFileObj> GetSelectedType() const;

    static constexpr int DefaultListWidth = 200;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate(RecycleSettingsCheck& recycle);
    void lvDefsClick();
    int SelectedRow() const;

    std::string settingsFile_;
    std::vector<TJunkFileObj> types_; // one per row, owned by the dialog

    QTreeWidget* lvDefs;
    QSplitter* Splitter1;
    QTextEdit* reProps;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};

} // namespace brumo
