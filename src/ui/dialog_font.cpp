#include "ui/dialog_font.h"

#include <QFont>
#include <QWidget>

namespace brumo {

QFont DialogFont::Font() {
    QFont font("Arial");
    font.setPixelSize(13);
    return font;
}

void DialogFont::ApplyTo(QWidget& window) {
    window.setFont(Font());
}

} // namespace brumo
