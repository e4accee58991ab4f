#pragma once

#include <QIcon>
#include <QPixmap>

namespace brumo {

// The folder picker's eight images, painted at 16 and 32 pixels so that they stay crisp
// on high-density screens: 0 green folder with a plus (all subfolders), 1 red folder with a
// plus (no subfolders), 2 green folder (existing subfolders), 3 yellow folder (some
// subfolders), 4 grey folder (no subfolders at all), 5 ticked box, 6 empty box, 7 a copy of 0.
class DirSelImages {
public:
    static constexpr int Count = 8;
    static constexpr int Ticked = 5;
    static constexpr int Unticked = 6;
    enum class Tick { None, Ticked, Unticked };

    // One image, `size` being 16 or 32 device pixels.
    static QPixmap Pixmap(int index, int size);
    static QIcon Icon(int index);
    // A tree node's picture: its tick's box (or a blank where it has none) before the image
    // of its mode. The same picture is used when the node is selected.
    static QIcon NodeIcon(int modeIndex, Tick tick);
    static QSize NodeIconSize() { return QSize(32, 16); }
};

} // namespace brumo
