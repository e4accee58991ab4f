#include "cli/count_command.h"

#include "cli/foreground_loop.h"
#include "cli/json_output.h"
#include "cli/type_catalog.h"
#include "platform/shell.h"
#include "runs/count_report.h"
#include "runs/count_run.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <memory>
#include <optional>

namespace brumo {

namespace {

// The window's busy cursor, captions and selection mean nothing here: only the texts count.
class PrintedCount : public CountFront {
public:
    PrintedCount(std::ostream& out, std::ostream& err, ProgressLine& line, bool json)
        : out_(out), err_(err), line_(line), json_(json) {}

    void SetRunMode(int32_t) override {}
    void SetListEditable(bool) override {}
    void SetBusyCursor(bool) override {}
    void SetCountCommand(const std::string&, const std::string&, bool) override {}
    void SelectItem(int) override {}
    void ShowFigures(const CountFigures& figures) override {
        figures_ = figures;
        for (const SkippedNames& folder : figures.skipped)
            ShowMessage("brumo: " + CountReport::SkippedText(folder.names, folder.folder));
    }
    const std::optional<CountFigures>& Figures() const { return figures_; }
    void ShowReport(const std::string& text) override {
        if (json_)
            return;
        line_.Clear();
        out_ << CountCommand::PlainText(text) << '\n';
        out_.flush();
    }
    void ShowMessage(const std::string& text) override {
        line_.Clear();
        err_ << CountCommand::PlainText(text) << '\n';
        err_.flush();
    }

private:
    std::ostream& out_;
    std::ostream& err_;
    ProgressLine& line_;
    bool json_;
    std::optional<CountFigures> figures_;
};

const char* OutcomeName(CountRun::Outcome outcome) {
    switch (outcome) {
    case CountRun::Outcome::Stopped:
        return "stopped";
    case CountRun::Outcome::Failed:
        return "failed";
    default:
        return "finished";
    }
}

void PrintJson(std::ostream& out, const TJunkFileObj& type, CountRun::Outcome outcome,
               const std::optional<CountFigures>& figures) {
    nlohmann::ordered_json count = nlohmann::ordered_json::object();
    JsonOutput::PutName(count, "type", type.Name);
    count["outcome"] = OutcomeName(outcome);
    if (figures) {
        const int64_t toProcess = std::max<int64_t>(
            0, int64_t{figures->filesMatched} - figures->filesRestricted - figures->filesProtected);
        count.update({{"foldersSearched", figures->foldersSearched},
                      {"foldersUnreadable", figures->foldersUnreadable},
                      {"filesMatched", figures->filesMatched},
                      {"filesRestricted", figures->filesRestricted},
                      {"filesProtected", figures->filesProtected},
                      {"filesToProcess", toProcess},
                      {"totalSize", figures->bytes},
                      {"namesSkipped", figures->NamesSkipped()}});
        nlohmann::ordered_json skipped = nlohmann::ordered_json::array();
        for (const SkippedNames& folder : figures->skipped) {
            nlohmann::ordered_json entry = nlohmann::ordered_json::object();
            JsonOutput::PutName(entry, "path", folder.folder);
            entry["names"] = folder.names;
            skipped.push_back(std::move(entry));
        }
        count["skipped"] = std::move(skipped);
    }
    JsonOutput::Document(out, count);
}

} // namespace

CLI::App* CountCommand::Add(CLI::App& app) {
    CLI::App* sub = app.add_subcommand(
        "count", "Count the files that one junk file type selects, without touching any.");
    sub->add_option("TYPE", type_, "The type's number in \"brumo list\" or its name.")->required();
    sub->add_flag("--json", json_, "Print one JSON document instead of the report");
    return sub;
}

int CountCommand::Execute(CliContext& context) {
    std::optional<TypeCatalog> catalog;
    const TJunkFileObj* type = context.FindType(type_, catalog);
    if (!type)
        return ExitError;
    context.NoteUnsearchedFolders(*type);
    const bool terminal = &context.out == &std::cout && Shell::StdoutIsTerminal();
    return Count(*type, context.files.ProgramFolderWindows, {context.files.DataFolderWindows},
                 context.out, context.err, terminal && !json_, json_);
}

std::string CountCommand::PlainText(const std::string& text) {
    std::string plain;
    plain.reserve(text.size());
    for (char c : text)
        if (c != '\r')
            plain += c;
    return plain;
}

int CountCommand::Count(const TJunkFileObj& type, const std::string& programFolder,
                        const std::vector<std::string>& moreExcluded, std::ostream& out,
                        std::ostream& err, bool showProgress, bool json) {
    ForegroundLoop loop(out, showProgress);
    PrintedCount front(out, err, loop.Progress(), json);
    CountRun run(front, loop.Main());
    run.SetExcludedFolders(programFolder, moreExcluded);
    auto progress = std::make_shared<WorkerProgress>();
    run.SetProgress(progress);
    run.Start(type, 0);
    loop.Run([&] { return !run.Counting(); }, [&] { run.Stop(); }, progress.get());
    if (json)
        PrintJson(out, type, run.LastOutcome(), front.Figures());
    switch (run.LastOutcome()) {
    case CountRun::Outcome::Stopped:
        return ExitInterrupted;
    case CountRun::Outcome::Failed:
        return ExitError;
    default:
        return ExitOk;
    }
}

} // namespace brumo
