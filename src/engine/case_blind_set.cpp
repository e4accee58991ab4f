#include "engine/case_blind_set.h"

#include "platform/locale_info.h"

#include <cstdint>

namespace brumo {

size_t CaseBlindHash::operator()(const std::string& text) const {
    // ASCII letters count in one case. A character beyond ASCII counts only as "some
    // character": its case partner may be another such character or one of the ASCII letters
    // that non-ASCII letters may compare equal to (the dotless i and the long s here; the
    // Kelvin sign too in some Windows locales), so those letters count the same way.
    constexpr unsigned char kOther = 0x01;
    uint64_t hash = 1469598103934665603ull;
    for (const char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            if ((byte & 0xC0) == 0x80)
                continue; // the rest of a character already counted
            byte = kOther;
        } else if (byte >= 'A' && byte <= 'Z') {
            byte = static_cast<unsigned char>(byte - 'A' + 'a');
        }
        if (byte == 'i' || byte == 'k' || byte == 's')
            byte = kOther;
        hash = (hash ^ byte) * 1099511628211ull;
    }
    return static_cast<size_t>(hash);
}

bool CaseBlindEqual::operator()(const std::string& a, const std::string& b) const {
    return LocaleInfo::EqualIgnoreCase(a, b);
}

} // namespace brumo
