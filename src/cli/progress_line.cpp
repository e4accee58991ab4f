#include "cli/progress_line.h"

#include "runs/size_text.h"

namespace brumo {

ProgressLine::ProgressLine(std::ostream& out, bool enabled) : out_(out), enabled_(enabled) {}

std::string ProgressLine::Text(int32_t folders, int32_t files) {
    return SizeText::Grouped(folders) + (folders == 1 ? " folder" : " folders") + " searched, " +
           SizeText::Grouped(files) + (files == 1 ? " file" : " files") + " found";
}

void ProgressLine::Show(int32_t folders, int32_t files) {
    if (!enabled_ || (folders == lastFolders_ && files == lastFiles_))
        return;
    lastFolders_ = folders;
    lastFiles_ = files;
    const std::string text = Text(folders, files);
    out_ << '\r' << text;
    if (text.size() < shown_)
        out_ << std::string(shown_ - text.size(), ' ') << '\r' << text;
    shown_ = text.size();
    out_.flush();
}

void ProgressLine::Clear() {
    if (!enabled_ || shown_ == 0)
        return;
    out_ << '\r' << std::string(shown_, ' ') << '\r';
    out_.flush();
    shown_ = 0;
    lastFolders_ = lastFiles_ = -1;
}

} // namespace brumo
