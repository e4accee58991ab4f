#include "ui/key_filter.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace brumo {

KeyFilter::KeyFilter(QLineEdit* edit, Refuses refuses)
    : QObject(edit), refuses_(std::move(refuses)) {
    edit->installEventFilter(this);
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        for (QChar ch : text)
            if (ch.unicode() > 31 && refuses_(ch))
                return true;
    }
    return QObject::eventFilter(watched, event);
}

QString KeyFilter::Clean(QLineEdit* edit, const Refuses& refuses) {
    const QString text = edit->text();
    QString cleaned = text;
    // Line breaks and tabs too: pasted, they would make an entry no file name can match.
    for (qsizetype i = cleaned.size() - 1; i >= 0; --i)
        if (cleaned[i].unicode() < 32 || refuses(cleaned[i]))
            cleaned.remove(i, 1);
    if (cleaned != text) {
        edit->setText(cleaned);
        edit->setCursorPosition(static_cast<int>(cleaned.size()));
    }
    return cleaned;
}

bool KeyFilter::IsOneOf(std::string_view asciiCharacters, QChar ch) {
    return ch.unicode() < 128 &&
           asciiCharacters.find(static_cast<char>(ch.unicode())) != std::string_view::npos;
}

} // namespace brumo
