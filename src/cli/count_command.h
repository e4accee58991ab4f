#pragma once

#include "cli/subcommand.h"

#include <ostream>
#include <string>
#include <vector>

namespace brumo {

class TJunkFileObj;

// brumo count TYPE: the Count report of one junk file type, without touching any file.
class CountCommand : public Subcommand {
public:
    CLI::App* Add(CLI::App& app) override;
    int Execute(CliContext& context) override;

    // With json, standard output gets one JSON document rather than the report.
    // Exit codes: 0 counted, 2 the search failed, 130 stopped with Ctrl-C.
    static int Count(const TJunkFileObj& type, const std::string& programFolder,
                     const std::vector<std::string>& moreExcluded, std::ostream& out,
                     std::ostream& err, bool showProgress, bool json = false);
    // The report as printed: line ends as the terminal expects them.
    static std::string PlainText(const std::string& text);

private:
    std::string type_;
    bool json_ = false;
};

} // namespace brumo
