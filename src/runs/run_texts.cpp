#include "runs/run_texts.h"

#include "platform/locale_info.h"
#include "runs/count_report.h"
#include "runs/line_escape.h"
#include "runs/size_text.h"

#include <cstdarg>
#include <cstdio>

namespace brumo {

namespace {
constexpr int kHelpRecycleBin = 12;
constexpr int kHelpRunEnd = 13;
constexpr int kHelpTestEnd = 14;

std::string ReplaceFirstPercentS(const std::string& text, const std::string& value) {
    const size_t at = text.find("%s");
    if (at == std::string::npos)
        return text;
    return text.substr(0, at) + value + text.substr(at + 2);
}
} // namespace

std::string RunTexts::CannotEnableRecycleType(const std::string& settingsError) {
    return ReplaceFirstPercentS(settingsError, "This junk file type sends files to the Recycle "
                                               "Bin. You cannot enable it at this time.");
}

std::string RunTexts::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    return text;
}

std::string RunTexts::Stars() {
    return std::string(60, '*');
}

std::string RunTexts::Dashes() {
    return std::string(60, '-');
}

std::string RunTexts::TimeText(TDateTime when) {
    const ClockTime time = DateTime::DecodeTime(when);
    int hour = time.hour % 12;
    if (hour == 0)
        hour = 12;
    return Format("%02d:%02d:%02d %s", hour, time.minute, time.second,
                  time.hour < 12 ? "am" : "pm");
}

std::string RunTexts::LogTitle(bool testRun, TDateTime when) {
    return std::string(testRun ? "Brumo TEST Log - " : "Brumo Log - ") +
           LocaleInfo::LongDate(when) + "  " + TimeText(when);
}

std::string RunTexts::TypeHeader(const std::string& name, int32_t method, bool testRun) {
    static const char* const kDone[] = {"sent to Recycle Bin", "moved to holding folder",
                                        "deleted permanently"};
    // A name is one line of the log, whatever it holds.
    std::string header = "\"" + LineEscape::Of(name) + "\" " +
                         (testRun ? "files would have been" : "files have been") + " ";
    if (method >= 0 && method <= 2)
        header += kDone[method];
    return header;
}

std::string RunTexts::UnknownMethodHeader(const std::string& name, int32_t method) {
    return "\"" + LineEscape::Of(name) + "\" cannot be processed: its clean-up method (" +
           std::to_string(method) + ") is unknown";
}

std::string RunTexts::NowProcessing(const std::string& name, bool testRun) {
    return std::string(testRun ? "Now testing " : "Now processing ") + LineEscape::Of(name) + "...";
}

std::vector<std::string> RunTexts::Footer(const RunOutcome& outcome, TDateTime finished) {
    std::vector<std::string> lines;
    lines.push_back(Stars());
    lines.push_back(
        std::string(outcome.testRun ? "Brumo finished testing at " : "Brumo finished at ") +
        TimeText(finished));
    lines.push_back(Format(outcome.testRun
                               ? "Processed %d junk file types and found %d junk files."
                               : "Processed %d junk file types and removed %d junk files.",
                           outcome.typesProcessed, outcome.filesProcessed));
    if (outcome.totalBytes > 0)
        lines.push_back("TOTAL: " + SizeText::Of(outcome.totalBytes) +
                        "  (files may occupy more space on disk)");
    lines.push_back(Stars());
    if (!outcome.testRun) {
        lines.emplace_back();
        lines.emplace_back();
    }
    return lines;
}

std::string RunTexts::FailureDetail(const std::string& message) {
    std::string text = message;
    while (!text.empty() &&
           (text.back() == ' ' || text.back() == '\r' || text.back() == '\n' || text.back() == '.'))
        text.pop_back();
    // A message spread over several lines would break the log's line structure.
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return "\t* " + text;
}

std::string RunTexts::HeldAsDetail(const std::string& heldPath) {
    return "\t* Held as " + heldPath;
}

namespace {
// The folders a run could not search, named in its log.
std::string UnreadableSentence(const RunOutcome& outcome) {
    const int32_t n = outcome.foldersUnreadable;
    if (n <= 0)
        return {};
    return RunTexts::Format(" %d folder%s could not be read; the %slog names %s.", n,
                            n == 1 ? "" : "s", outcome.testRun ? "test " : "",
                            n == 1 ? "it" : "them");
}

// The names a run could not search, whose folders its log names.
std::string SkippedSentence(const RunOutcome& outcome) {
    const int32_t n = outcome.namesSkipped;
    if (n <= 0)
        return {};
    return " " + CountReport::SkippedText(n) + "; the " + (outcome.testRun ? "test " : "") +
           "log names " + (outcome.skipped.size() == 1 ? "the folder." : "the folders.");
}
} // namespace

RunMessage RunTexts::FinalMessage(const RunOutcome& outcome) {
    RunMessage message;
    message.buttons = MessageButtons::YesNo;
    message.icon = MessageIcon::Question;
    std::string& text = message.text;
    if (outcome.outputClosed)
        text += "Before its output was closed, ";
    else if (outcome.stopped)
        text += "Before you stopped it, ";
    const std::string unprocessed =
        outcome.typesUnprocessed <= 0
            ? std::string()
            : Format(" %d junk file types could not be processed, since their clean-up method "
                     "is unknown.",
                     outcome.typesUnprocessed);
    if (!outcome.testRun) {
        text += Format("Brumo processed %d junk file types and removed %d junk files.",
                       outcome.typesProcessed, outcome.filesProcessed);
        text += unprocessed;
        if (outcome.filesFailed > 0)
            text += Format(" %d files could not be removed. Check the log for details.",
                           outcome.filesFailed);
        text += UnreadableSentence(outcome);
        text += SkippedSentence(outcome);
        if (outcome.totalBytes > 0) {
            text += outcome.filesRestorable <= 0
                        ? "\r\nBy permanently deleting these files you have realized a savings "
                          "of at least "
                        : "\r\nWhen all of these files are permanently deleted, you will realize "
                          "a savings of at least ";
            text += SizeText::Of(outcome.totalBytes);
        }
        message.question = "\r\n\r\nDo you want to view the log file?";
        message.helpContext = kHelpRunEnd;
        return message;
    }
    text += Format("Brumo tested %d junk file types and found %d junk files.",
                   outcome.typesProcessed, outcome.filesProcessed);
    text += unprocessed;
    text += UnreadableSentence(outcome);
    text += SkippedSentence(outcome);
    if (outcome.totalBytes > 0)
        text += "\r\nIf all of these files were permanently deleted, you would realize a savings "
                "of at least " +
                SizeText::Of(outcome.totalBytes) + ".";
    if (outcome.heldFiles > 0)
        text += "\r\nThe holding folders already hold " + SizeText::Of(outcome.heldBytes) + " in " +
                SizeText::Grouped(outcome.heldFiles) +
                (outcome.heldFiles == 1 ? " file." : " files.");
    if (outcome.recycleWarning) {
        text += "\r\n\r\nWARNING: The Recycle Bin is set too small on at least one of your "
                "drives. If you were to clean up this set of junk file types, you would not be "
                "able to restore all of the files that were sent to the Recycle Bin.\r\n\r\nYou "
                "will find Recycle Bin statistics at the end of the test log.";
        message.icon = MessageIcon::Error;
        message.helpContext = kHelpRecycleBin;
    } else {
        message.helpContext = kHelpTestEnd;
    }
    message.question = "\r\n\r\nDo you want to view the test log?";
    return message;
}

RunMessage RunTexts::RecycleDisabledMessage(const std::string& settingsError, int disabled,
                                            bool typesRemain) {
    RunMessage message;
    message.helpContext = kHelpRecycleBin;
    if (typesRemain) {
        message.text = ReplaceFirstPercentS(
            settingsError,
            Format("%d junk file types that rely on the Recycle Bin have been disabled.",
                   disabled));
        message.question = "\r\n\r\nDo you want to proceed?";
        message.icon = MessageIcon::Question;
        message.buttons = MessageButtons::YesNo;
    } else {
        message.text = ReplaceFirstPercentS(
            settingsError, Format("%d junk file types that rely on the Recycle Bin have been "
                                  "disabled.\r\n\r\nThere are no enabled junk file types to "
                                  "process.",
                                  disabled));
        message.icon = MessageIcon::Error;
        message.buttons = MessageButtons::Ok;
    }
    return message;
}

RunMessage RunTexts::RunInProgressMessage() {
    RunMessage message;
    message.text = "A clean-up run, or a restore or purge of held files, is in progress in "
                   "another Brumo. Try again when it has finished.";
    message.icon = MessageIcon::Error;
    return message;
}

RunMessage RunTexts::NothingToProcessMessage() {
    RunMessage message;
    message.text = "There are no enabled junk file types to process.";
    message.icon = MessageIcon::Error;
    return message;
}

RunMessage RunTexts::LogOpenFailedMessage(const std::string& path, const std::string& reason) {
    RunMessage message;
    message.text = "Brumo could not open the log file\r\n" + path + "\r\n\r\n" + reason +
                   "\r\n\r\nThe clean-up run did not start.";
    message.icon = MessageIcon::Error;
    return message;
}

RunMessage RunTexts::LogWriteFailedMessage(const std::string& path, const std::string& reason,
                                           const RunOutcome& outcome) {
    RunMessage message;
    message.text = "Brumo could not write to the log file\r\n" + path + "\r\n\r\n" + reason +
                   "\r\n\r\nThe clean-up run has been stopped";
    message.text += outcome.testRun ? ". " : " and nothing more was removed. ";
    message.text +=
        Format(outcome.testRun ? "Before it stopped, Brumo tested %d junk file types and found "
                                 "%d junk files."
                               : "Before it stopped, Brumo processed %d junk file types and "
                                 "removed %d junk files.",
               outcome.typesProcessed, outcome.filesProcessed);
    if (!outcome.testRun && outcome.filesFailed > 0)
        message.text += Format(" %d files could not be removed.", outcome.filesFailed);
    message.icon = MessageIcon::Error;
    return message;
}

} // namespace brumo
