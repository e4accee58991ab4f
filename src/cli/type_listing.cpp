#include "cli/type_listing.h"

#include "model/display_names.h"

#include <algorithm>
#include <iomanip>
#include <string>

namespace brumo {

namespace {

// Characters on screen: UTF-8 continuation bytes take no column.
size_t Columns(const std::string& text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string Padded(const std::string& text, size_t width) {
    size_t used = Columns(text);
    return used >= width ? text : text + std::string(width - used, ' ');
}

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
    for (const auto& type : types)
        nameWidth = std::max(nameWidth, std::min<size_t>(Columns(type.Name), 40));
    size_t numberWidth = std::max<size_t>(3, std::to_string(types.size()).size());

    out << std::setw(static_cast<int>(numberWidth)) << "No."
        << "  Enabled  " << Padded("Name", nameWidth) << "  Clean-up method\n";
    for (size_t i = 0; i < types.size(); ++i) {
        const TJunkFileObj& type = types[i];
        out << std::setw(static_cast<int>(numberWidth)) << i + 1 << "  "
            << (type.Enabled ? "yes" : "no ") << "      " << Padded(type.Name, nameWidth) << "  "
            << MethodText(type.Method) << "\n";
    }
}

} // namespace brumo
