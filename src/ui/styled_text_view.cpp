#include "ui/styled_text_view.h"

#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>

namespace brumo {

void StyledTextView::Show(QTextEdit& box, const StyledText& text) {
    box.setReadOnly(true);
    box.clear();
    QTextCursor cursor(box.document());
    // A line that begins with a tab keeps its indent when it wraps.
    QTextBlockFormat hanging;
    hanging.setLeftMargin(box.tabStopDistance());
    hanging.setTextIndent(-box.tabStopDistance());
    bool lineStart = true;
    for (const StyledRun& run : text.Runs()) {
        if (lineStart && run.text.starts_with('\t'))
            cursor.setBlockFormat(hanging);
        QTextCharFormat format;
        format.setFontPointSize(run.points);
        format.setFontWeight(run.style == RunStyle::Bold || run.style == RunStyle::BoldUnderline
                                 ? QFont::Bold
                                 : QFont::Normal);
        format.setFontUnderline(run.style == RunStyle::BoldUnderline);
        format.setFontItalic(run.style == RunStyle::Italic);
        cursor.insertText(QString::fromStdString(run.text), format);
        for (int i = 0; i < run.breaks; ++i)
            cursor.insertBlock(QTextBlockFormat());
        lineStart = run.breaks > 0 || (lineStart && run.text.empty());
    }
    box.moveCursor(QTextCursor::Start);
    box.ensureCursorVisible();
}

} // namespace brumo
