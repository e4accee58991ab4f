#include "model/styled_text.h"

namespace brumo {

void StyledText::Add(std::string text, RunStyle style, int points, int breaks) {
    runs_.push_back({std::move(text), style, points, breaks});
}

std::string StyledText::PlainText() const {
    std::string out;
    for (const auto& run : runs_) {
        out += run.text;
        out.append(static_cast<size_t>(run.breaks > 0 ? run.breaks : 0), '\n');
    }
    return out;
}

} // namespace brumo
