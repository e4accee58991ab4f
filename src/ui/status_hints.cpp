#include "ui/status_hints.h"

#include <QEvent>
#include <QStatusBar>
#include <QWidget>

namespace brumo {

StatusHints::StatusHints(QStatusBar& bar, ShowsDisabled showsDisabled)
    : QObject(bar.window()), bar_(&bar), window_(bar.window()),
      showsDisabled_(std::move(showsDisabled)) {
    window_->installEventFilter(this);
}

void StatusHints::Set(QWidget* control, const QString& hint) {
    control->setStatusTip(hint);
    Watch(control);
}

void StatusHints::Watch(QWidget* control) {
    control->installEventFilter(this);
}

void StatusHints::Show(const QString& hint) {
    if (!bar_)
        return;
    if (hint.isEmpty())
        bar_->clearMessage();
    else
        bar_->showMessage(hint);
}

QString StatusHints::Of(const QWidget& control) {
    const QString hint = control.statusTip();
    return hint.isEmpty() || control.isEnabled() ? hint : hint + " (disabled)";
}

bool StatusHints::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_)
        return event->type() == QEvent::StatusTip;
    auto* control = qobject_cast<QWidget*>(watched);
    const QEvent::Type type = event->type();
    if (!control || (type != QEvent::Enter && type != QEvent::Leave &&
                     (type != QEvent::EnabledChange || !control->underMouse())))
        return false;
    QString hint;
    if (type != QEvent::Leave &&
        (control->isEnabled() || !showsDisabled_ || showsDisabled_(*control)))
        hint = Of(*control);
    Show(hint);
    return false;
}

} // namespace brumo
