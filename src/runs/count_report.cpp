#include "runs/count_report.h"

#include "runs/line_escape.h"
#include "runs/size_text.h"

#include <algorithm>

namespace brumo {

namespace {

std::string Number(int64_t n) {
    return std::to_string(n);
}

const char* WereOrWas(int64_t n) {
    return n == 1 ? " was" : "s were";
}

const char* Plural(int64_t n) {
    return n == 1 ? "" : "s";
}

} // namespace

std::string CountReport::Text(int32_t folders, int32_t matched, int32_t restricted,
                              int32_t protectedFiles, int64_t bytes, int32_t unreadable,
                              int32_t skipped) {
    std::string text = "Brumo has searched for files matching the selected type\r\n\r\n";
    text += Number(folders) + " folder" + WereOrWas(folders) + " searched\r\n";
    if (unreadable > 0)
        text += Number(unreadable) + " folder" + Plural(unreadable) + " could not be read\r\n";
    if (skipped > 0)
        text += SkippedText(skipped) + "\r\n";
    if (matched == 0) {
        text += "No files matched the junk file specifications";
        return text;
    }
    text +=
        Number(matched) + " file" + Plural(matched) + " matched the junk file specifications\r\n";
    text += Number(restricted) + " file" + Plural(restricted) +
            " did not meet the date or size restrictions\r\n";
    text += Number(protectedFiles) + " file" + WereOrWas(protectedFiles) +
            " protected by the protect file specifications\r\n\r\n";
    // Worked out in 64 bits: the three counters could otherwise wrap when subtracted.
    const int64_t processed =
        std::max<int64_t>(0, int64_t{matched} - int64_t{restricted} - int64_t{protectedFiles});
    text += Number(processed) + " file" + Plural(processed) + " would be processed\r\n";
    if (processed > 0) {
        const bool one = processed == 1;
        const char* subject = one ? "This file" : "These files";
        if (bytes == 0)
            text +=
                std::string(subject) + " " + (one ? "does" : "do") + " not occupy any disk space";
        else
            text += std::string(subject) + " " + (one ? "occupies" : "occupy") + " " +
                    SizeText::Of(bytes) + " of disk space.";
    }
    return text;
}

std::string CountReport::SkippedText(int32_t skipped, const std::string& folder) {
    const std::string where = folder.empty() ? "" : " in " + LineEscape::Of(folder);
    return Number(skipped) + (skipped == 1 ? " name" : " names") + where +
           (skipped == 1 ? " was" : " were") +
           " skipped: " + (skipped == 1 ? "it holds" : "they hold") +
           " a backslash, which a Windows path reads as a folder separator";
}

std::string CountReport::FailedText(const std::string& reason) {
    return "The search ended early: " + reason;
}

} // namespace brumo
