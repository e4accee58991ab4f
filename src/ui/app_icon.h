#pragma once

#include <QIcon>

namespace brumo {

// The program's icon, painted from the same shapes as the installed SVG, so that no image
// plugin is needed to show it.
class AppIcon {
public:
    static QIcon Icon();
    static QPixmap Pixmap(int size);
};

} // namespace brumo
