#include "cli/type_listing.h"

#include "cli/text_columns.h"
#include "model/display_names.h"
#include "runs/line_escape.h"

#include <algorithm>
#include <iomanip>
#include <string>

namespace brumo {

namespace {

std::string MethodText(int32_t method) {
    std::string_view name = DisplayName(MethodNames, method);
    if (name.empty())
        return "unknown method (" + std::to_string(method) + ")";
    return std::string(name);
}

} // namespace

void TypeListing::Print(std::ostream& out, const std::vector<TJunkFileObj>& types) {
    // Very long names overflow their column rather than widen every row.
    size_t nameWidth = std::string("Name").size();
    // One row per type whatever its name holds, as file names in the logs.
    std::vector<std::string> names;
    for (const auto& type : types) {
        names.push_back(LineEscape::Of(type.Name));
        nameWidth = std::max(nameWidth, std::min<size_t>(TextColumns::Width(names.back()), 40));
    }
    size_t numberWidth = std::max<size_t>(3, std::to_string(types.size()).size());

    out << std::setw(static_cast<int>(numberWidth)) << "No."
        << "  Enabled  " << TextColumns::PadRight("Name", nameWidth) << "  Clean-up method\n";
    for (size_t i = 0; i < types.size(); ++i) {
        const TJunkFileObj& type = types[i];
        out << std::setw(static_cast<int>(numberWidth)) << i + 1 << "  "
            << (type.Enabled ? "yes" : "no ") << "      "
            << TextColumns::PadRight(names[i], nameWidth) << "  " << MethodText(type.Method)
            << "\n";
    }
}

} // namespace brumo
