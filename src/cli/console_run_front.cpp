#include "cli/console_run_front.h"

#include <cctype>
#include <string>

namespace brumo {

ConsoleRunFront::ConsoleRunFront(std::ostream& out, std::ostream& err, std::istream& in,
                                 ProgressLine& progress, bool canAsk, bool assumeYes)
    : out_(out), err_(err), in_(in), progress_(progress), canAsk_(canAsk), assumeYes_(assumeYes) {}

std::string ConsoleRunFront::PlainText(const std::string& text) {
    std::string plain;
    plain.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        plain += text[i];
    }
    return plain;
}

bool ConsoleRunFront::AskYesNo(std::ostream& out, std::istream& in, const std::string& question) {
    out << question << " [y/N] " << std::flush;
    std::string answer;
    if (!std::getline(in, answer))
        return false;
    for (char& c : answer)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return answer == "y" || answer == "yes";
}

MessageAnswer ConsoleRunFront::ShowMessage(const RunMessage& message) {
    progress_.Clear();
    if (message.buttons == MessageButtons::Ok) {
        std::ostream& stream = message.icon == MessageIcon::Error ? err_ : out_;
        stream << PlainText(message.text) << "\n";
        return MessageAnswer::Ok;
    }
    out_ << PlainText(message.text) << "\n";
    if (assumeYes_)
        return MessageAnswer::Yes;
    if (canAsk_) {
        std::string question = PlainText(message.question);
        while (!question.empty() && question.front() == '\n')
            question.erase(question.begin());
        out_ << "\n";
        return AskYesNo(out_, in_, question) ? MessageAnswer::Yes : MessageAnswer::No;
    }
    return MessageAnswer::No;
}

bool ConsoleRunFront::OfferLog(const RunMessage& message) {
    progress_.Clear();
    out_ << PlainText(message.text) << "\n";
    return false;
}

} // namespace brumo
