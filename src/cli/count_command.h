#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace brumo {

class TJunkFileObj;

// "brumo count TYPE": the Count report of one type, printed.
class CountCommand {
public:
    // Exit codes: 0 counted, 1 the search failed, 130 stopped with Ctrl-C.
    static int Count(const TJunkFileObj& type, const std::string& programFolder,
                     const std::vector<std::string>& moreExcluded, std::ostream& out,
                     std::ostream& err, bool showProgress);
    // The report as printed: line ends as the terminal expects them.
    static std::string PlainText(const std::string& text);
};

} // namespace brumo
