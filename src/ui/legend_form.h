#pragma once

#include <QDialog>

class QPushButton;
class QTreeWidget;

namespace brumo {

// A small window beside the folder picker that explains its five folder icons. It is shown
// and hidden by the picker, never destroyed before it.
class TLegendForm : public QDialog {
    Q_OBJECT

public:
    explicit TLegendForm(QWidget* owner);
    ~TLegendForm() override;

    // Shows it (above every other window), or hides it when it is visible.
    void Toggle();

signals:
    void visibilityChanged(bool visible);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void btnOKClick();

    // Beside its owner, where the screen has room, the first time it shows without a stored
    // place: centred, it would hide the owner's tree.
    void PlaceBesideOwner();

    bool placed_ = false;
    QTreeWidget* tvLegend;
    QPushButton* btnOK;
};

} // namespace brumo
