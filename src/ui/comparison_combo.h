#pragma once

#include <QComboBox>

namespace brumo {

// A pick-only list of comparison kinds ("exactly", "before", "between", ...) whose entries
// carry a small number-line pictogram of the values they accept, in the list and in the box.
class ComparisonCombo : public QComboBox {
    Q_OBJECT

public:
    // A row's height in the list for the list's font.
    static int ItemHeight(const QFont& font);

    explicit ComparisonCombo(QWidget* parent = nullptr);

    // Gives a plain list beside these the same rows when it drops down.
    static void UseItemHeight(QComboBox& combo);

    // Draws entry `index` (0..4) with its text into the rectangle.
    static void DrawItem(QPainter& painter, const QRect& rect, int index, const QString& text,
                         bool selected, const QPalette& palette, const QFont& font);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace brumo
