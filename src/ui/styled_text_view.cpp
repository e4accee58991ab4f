#include "ui/styled_text_view.h"

#include <QTextCursor>
#include <QTextEdit>

namespace brumo {

void StyledTextView::Show(QTextEdit& box, const StyledText& text) {
    box.setReadOnly(true);
    box.clear();
    QTextCursor cursor(box.document());
    for (const StyledRun& run : text.Runs()) {
        QTextCharFormat format;
        format.setFontPointSize(run.points);
        format.setFontWeight(run.style == RunStyle::Bold || run.style == RunStyle::BoldUnderline
                                 ? QFont::Bold
                                 : QFont::Normal);
        format.setFontUnderline(run.style == RunStyle::BoldUnderline);
        format.setFontItalic(run.style == RunStyle::Italic);
        cursor.insertText(QString::fromStdString(run.text), format);
        for (int i = 0; i < run.breaks; ++i)
            cursor.insertBlock();
    }
    box.moveCursor(QTextCursor::Start);
    box.ensureCursorVisible();
}

} // namespace brumo
