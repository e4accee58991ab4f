#include "platform/temp_name.h"

namespace brumo {

namespace {
constexpr size_t kNameKept = 200;
constexpr std::string_view kSuffix = ".tmp";
} // namespace

std::string TempName::Make(std::string_view finalName, char mark, uint32_t maker, uint32_t n) {
    std::string name = Head(finalName);
    name.append(1, mark).append(std::to_string(maker)).append(1, '-').append(std::to_string(n));
    return name.append(kSuffix);
}

std::string TempName::Head(std::string_view finalName) {
    return "." + std::string(finalName.substr(0, kNameKept));
}

uint32_t TempName::MakerOf(std::string_view name, char mark) {
    if (name.size() < 2 || name[0] != '.' || !name.ends_with(kSuffix))
        return 0;
    name.remove_suffix(kSuffix.size());
    const size_t at = name.rfind(mark);
    if (at == std::string_view::npos || at < 2)
        return 0;
    const std::string_view tail = name.substr(at + 1);
    const size_t dash = tail.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash + 1 == tail.size())
        return 0;
    uint64_t maker = 0;
    for (size_t i = 0; i < tail.size(); ++i) {
        if (i == dash)
            continue;
        if (tail[i] < '0' || tail[i] > '9')
            return 0;
        if (i < dash && (maker = maker * 10 + static_cast<uint64_t>(tail[i] - '0')) > 0x7FFFFFFF)
            return 0;
    }
    return static_cast<uint32_t>(maker);
}

} // namespace brumo
