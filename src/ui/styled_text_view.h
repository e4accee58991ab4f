#pragma once

#include "model/styled_text.h"

class QTextEdit;

namespace brumo {

// Shows a type's summary runs in a rich-text box: read-only, scrolled to the top.
class StyledTextView {
public:
    static void Show(QTextEdit& box, const StyledText& text);
};

} // namespace brumo
