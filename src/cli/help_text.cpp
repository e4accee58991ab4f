#include "cli/help_text.h"

#include "cli/text_columns.h"
#include "platform/shell.h"

#include <sstream>

namespace brumo {

namespace {

// Where a continued line's text starts: after "  name  " in an entry, else after the indent.
size_t ContinuationIndent(const std::string& line) {
    const size_t indent = line.find_first_not_of(' ');
    if (indent == std::string::npos)
        return 0;
    const size_t gap = line.find("  ", indent);
    if (indent > 0 && gap != std::string::npos) {
        const size_t text = line.find_first_not_of(' ', gap);
        if (text != std::string::npos)
            return text;
    }
    return indent;
}

} // namespace

std::string HelpText::Wrap(const std::string& text, size_t width) {
    std::istringstream lines(text);
    std::string wrapped;
    for (std::string line; std::getline(lines, line);) {
        const std::string indent(ContinuationIndent(line), ' ');
        while (TextColumns::Width(line) > width) {
            // The last space that keeps the line within the width, past the indent.
            size_t cut = line.rfind(' ', width);
            if (cut == std::string::npos || cut <= indent.size())
                cut = line.find(' ', width);
            if (cut == std::string::npos)
                break;
            size_t end = cut;
            while (end > 0 && line[end - 1] == ' ')
                --end;
            if (end <= indent.size())
                break;
            wrapped += line.substr(0, end) + "\n";
            line = indent + line.substr(line.find_first_not_of(' ', cut));
        }
        wrapped += line + "\n";
    }
    return wrapped;
}

size_t HelpText::OutputWidth() {
    const int columns = Shell::StdoutColumns();
    return columns >= 20 ? static_cast<size_t>(columns) : 80;
}

const char* HelpText::Footer() {
    return "Held files: the holding-folder clean-up method moves each file to 'HDVal$$$.$$$' at "
           "its drive's root. \"brumo held\" lists them, \"brumo restore\" puts them back, and "
           "\"brumo purge\" deletes those held longer than some days.\n\n"
           "Output for scripts: list, describe, count and held take --json and print one JSON "
           "document; \"run --json\" prints JSON lines, one per file as it is logged, then the "
           "run's summary. Field names are camelCase, sizes are bytes, times ISO 8601 local "
           "time, paths as the logs write them; a path or name that is not valid UTF-8 also "
           "comes as its bytes in base64 (originalPathBase64 ...), which \"brumo restore "
           "--base64\" takes back. Messages stay on standard error. The README and brumo(1) "
           "name every field.\n\n"
           "Names a Windows path cannot hold: a Linux file name may hold a backslash, which a "
           "Windows path reads as a folder separator, so that such a file or folder cannot be "
           "named: it is skipped, never matched, searched or removed. count and run say how many "
           "names they skipped and in which folders, on standard error, in the report and the "
           "log, and in --json (namesSkipped). A name that is not valid UTF-8 is searched as "
           "any other.\n\n"
           "ENVIRONMENT:\n"
           "  BRUMO_DRIVES  The whole drive table, \"C=/some/folder;D=/other/folder\": each "
           "letter once, each folder absolute; a drive whose folder is missing is not ready. "
           "Unset or empty: C: is / and each further local disk gets the next letter.\n"
           "  XDG_DATA_HOME  The data folder's parent (~/.local/share when not set), and the "
           "home trash.\n"
           "  TMPDIR  The temporary folder that the built-in types search.\n\n"
           "FILES:\n"
           "  brumo.DAT  The type store, beside the program, or in $XDG_DATA_HOME/brumo/ for an "
           "installed copy, with the files below.\n"
           "  brumo.D$$  The recovery copy the window leaves after a crash; \"brumo recover\" "
           "restores or discards it. While a window is open (it holds brumo.DAT.lock), the copy "
           "is that window's unsaved changes, which the commands leave alone.\n"
           "  brumo.LOG.TXT  The log of the real runs; brumo.TEST.TXT that of the last test "
           "run.\n"
           "  'HDVal$$$.$$$'  The holding folder at each drive's root.\n\n"
           "EXIT STATUS:\n"
           "  0  Done.\n"
           "  1  Some files could not be removed, restored or deleted, a log could not be "
           "written, or the output could not be written.\n"
           "  2  Bad arguments or environment, a type store that cannot be read, nothing "
           "confirmed, or a run that could not start.\n"
           "  130  Interrupted (Ctrl+C or SIGTERM).";
}

} // namespace brumo
