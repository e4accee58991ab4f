#pragma once

class QFont;
class QWidget;

namespace brumo {

// The font of the wizard and of the windows it opens (the entry editors, the found-files
// list), so that they read alike whichever of them opens first.
class DialogFont {
public:
    static QFont Font();
    static void ApplyTo(QWidget& window);
};

} // namespace brumo
