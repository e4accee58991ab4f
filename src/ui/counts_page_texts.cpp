#include "ui/counts_page_texts.h"

#include "runs/size_text.h"

#include <cstdio>

namespace brumo {

namespace {
template <typename... Args> std::string Format(const char* format, Args... args) {
    char text[512];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

const char* WasWere(int32_t n) {
    return n == 1 ? " was" : "s were";
}
const char* Plural(int32_t n) {
    return n == 1 ? "" : "s";
}
} // namespace

std::string CountsPageTexts::Heading(const std::string& typeName) {
    return "Counting files for \"" + typeName + "\"";
}

CountsPageTexts CountsPageTexts::Of(int32_t folders, int32_t matched, int32_t restricted,
                                    int32_t protectedFiles, int64_t bytes) {
    CountsPageTexts t;
    t.dirs = Format("%d folder%s searched\r\n", folders, WasWere(folders));
    if (matched == 0) {
        t.dels = "No files matched the junk file specifications";
        return t;
    }
    t.dels = Format("%d file%s matched the junk file specifications\r\n", matched, Plural(matched));
    t.res = Format("%d file%s did not meet the date or size restrictions\r\n", restricted,
                   Plural(restricted));
    t.prots = Format("%d file%s protected by the protect file specifications\r\n\r\n",
                     protectedFiles, WasWere(protectedFiles));
    // Widened: the counters are 32-bit and a difference must not overflow.
    const int64_t left = int64_t{matched} - restricted - protectedFiles;
    const int32_t processed = left > 0 ? static_cast<int32_t>(left) : 0;
    t.actual = Format("%d file%s would be processed", processed, Plural(processed));
    t.viewEnabled = processed > 0;
    if (processed > 0) {
        const char* subject = processed == 1 ? "This file" : "These files";
        if (bytes != 0)
            t.size = Format("%s %s %s  of disk space.", subject,
                            processed == 1 ? "occupies" : "occupy", SizeText::Of(bytes).c_str());
        else
            t.size =
                Format("%s %s not occupy any disk space", subject, processed == 1 ? "does" : "do");
    }
    return t;
}

} // namespace brumo
