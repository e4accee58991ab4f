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
    // A question answered no, or asked where nobody can answer, ends what it asked about:
    // that is said where errors go, with the way on.
    if (canAsk_) {
        std::string question = PlainText(message.question);
        while (!question.empty() && question.front() == '\n')
            question.erase(question.begin());
        out_ << "\n";
        if (AskYesNo(out_, in_, question))
            return MessageAnswer::Yes;
        err_ << "brumo: cancelled; nothing was changed\n";
        return MessageAnswer::No;
    }
    err_ << "brumo: cancelled, as no terminal can answer the question above; nothing was "
            "changed. Answer yes with --yes to go on\n";
    return MessageAnswer::No;
}

bool ConsoleRunFront::OfferLog(const RunMessage& message) {
    progress_.Clear();
    out_ << PlainText(message.text) << "\n";
    return false;
}

} // namespace brumo
