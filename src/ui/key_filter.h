#pragma once

#include <QObject>

#include <functional>
#include <string_view>

class QLineEdit;

namespace brumo {

// Swallows the key presses of an edit box whose character the predicate refuses. Control
// keys (codes below 32, such as Backspace and the clipboard shortcuts) always pass, so the
// box's change handler cleans pasted text as well.
class KeyFilter : public QObject {
public:
    using Refuses = std::function<bool(QChar)>;
    KeyFilter(QLineEdit* edit, Refuses refuses);

    // Removes the refused characters and every control character (line breaks, tabs) from the
    // box's text; when that changed it, the cleaned
    // text goes back into the box with the caret at its end. Returns the cleaned text.
    static QString Clean(QLineEdit* edit, const Refuses& refuses);

    // Whether the character is one of the given ASCII characters: the refusal of a box that
    // turns away a fixed set of them.
    static bool IsOneOf(std::string_view asciiCharacters, QChar ch);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Refuses refuses_;
};

} // namespace brumo
