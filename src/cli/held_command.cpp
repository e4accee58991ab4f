#include "cli/held_command.h"

#include "cli/held_confirmation.h"

#include "cli/json_output.h"
#include "cli/text_columns.h"
#include "runs/held_files.h"
#include "runs/line_escape.h"
#include "runs/size_text.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>

namespace brumo {

namespace {

// Sortable and the same in every locale: "2026-12-07 16:05"; "unknown" where the time could
// not be read.
std::string DateText(TDateTime when) {
    if (when == 0)
        return "unknown";
    const CalendarDate date = DateTime::DecodeDate(when);
    const ClockTime time = DateTime::DecodeTime(when);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", date.year, date.month, date.day,
                  time.hour, time.minute);
    return text;
}

void PrintJson(std::ostream& out, const std::vector<HeldFile>& files) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    int64_t total = 0;
    for (const HeldFile& file : files) {
        nlohmann::ordered_json entry = nlohmann::ordered_json::object();
        JsonOutput::PutName(entry, "originalPath", file.originalPath);
        JsonOutput::PutName(entry, "heldPath", file.heldPath);
        entry["size"] = file.size;
        entry["fileDate"] = JsonOutput::Time(file.fileDate);
        entry["heldSince"] = JsonOutput::Time(file.heldSince);
        list.push_back(entry);
        total += file.size;
    }
    JsonOutput::Document(out, {{"files", list}, {"fileCount", files.size()}, {"totalSize", total}});
}

} // namespace

CLI::App* HeldCommand::Add(CLI::App& app) {
    CLI::App* sub = app.add_subcommand("held", "List the files in the holding folders: original "
                                               "path, size and since when each is held.");
    sub->add_flag("--json", json_, "Print one JSON document instead of the table");
    return sub;
}

int HeldCommand::Execute(CliContext& context) {
    std::vector<std::string> refused;
    const std::vector<HeldFile> files = HeldFiles::List(&refused);
    HeldConfirmation::NoteRefused(context, refused);
    if (json_) {
        PrintJson(context.out, files);
        return ExitOk;
    }
    if (files.empty()) {
        context.out << "No file is held.\n";
        return ExitOk;
    }
    std::vector<std::string> paths, sizes;
    size_t pathWidth = 13, sizeWidth = 4;
    int64_t total = 0;
    for (const HeldFile& file : files) {
        // One row per file whatever its name holds, as in the log.
        paths.push_back(LineEscape::Of(file.originalPath));
        sizes.push_back(SizeText::Of(file.size));
        pathWidth = std::max(pathWidth, TextColumns::Width(paths.back()));
        sizeWidth = std::max(sizeWidth, sizes.back().size());
        total += file.size;
    }
    context.out << TextColumns::PadRight("Original path", pathWidth) << "  "
                << TextColumns::PadLeft("Size", sizeWidth) << "  Held since\n";
    for (size_t i = 0; i < files.size(); ++i)
        context.out << TextColumns::PadRight(paths[i], pathWidth) << "  "
                    << TextColumns::PadLeft(sizes[i], sizeWidth) << "  "
                    << DateText(files[i].heldSince) << "\n";
    context.out << SizeText::Grouped(static_cast<int64_t>(files.size()))
                << (files.size() == 1 ? " file holds " : " files hold ") << SizeText::Of(total)
                << ".\n";
    return ExitOk;
}

} // namespace brumo
