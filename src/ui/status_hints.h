#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QStatusBar;
class QWidget;

namespace brumo {

// Shows in a dialog's status bar the hint of the control under the mouse, " (disabled)" after
// it for a disabled one, and nothing once the mouse has left. The hint follows a control that
// changes its state under the mouse. Qt's own status tip events are kept from the dialog: only
// the watched controls' Enter and Leave decide.
class StatusHints : public QObject {
public:
    // Whether a disabled control shows its hint at all; by default every one does.
    using ShowsDisabled = std::function<bool(const QWidget&)>;
    explicit StatusHints(QStatusBar& bar, ShowsDisabled showsDisabled = {});

    // Gives the control its hint and watches it.
    void Set(QWidget* control, const QString& hint);
    // Watches a control that has its hint (status tip) already.
    void Watch(QWidget* control);
    void Show(const QString& hint);
    // The hint a control shows: its own, with " (disabled)" after it while it is disabled.
    static QString Of(const QWidget& control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QStatusBar> bar_;
    QWidget* window_;
    ShowsDisabled showsDisabled_;
};

} // namespace brumo
