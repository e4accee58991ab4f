#include "ui/elided_label.h"

#include <algorithm>

namespace brumo {

ElidedLabel::ElidedLabel(QWidget* parent, Qt::TextElideMode mode) : QLabel(parent), mode_(mode) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void ElidedLabel::SetFullText(const QString& text) {
    full_ = text;
    Elide();
}

QSize ElidedLabel::minimumSizeHint() const {
    // Any width will do: the text gives up its start.
    return {0, QLabel::minimumSizeHint().height()};
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    Elide();
}

void ElidedLabel::Elide() {
    // A framed label indents its text by half an "x" on each side.
    const int room =
        contentsRect().width() - 2 * margin() - fontMetrics().horizontalAdvance(QLatin1Char('x'));
    const QString shown = fontMetrics().elidedText(full_, mode_, std::max(room, 0));
    setText(shown);
    setToolTip(shown == full_ ? QString() : full_.trimmed());
}

} // namespace brumo
