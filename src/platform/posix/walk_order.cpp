#include "platform/posix/walk_order.h"

#include "platform/posix/dir_listing.h"

namespace brumo {

std::string_view WalkOrder::NameAfter(std::string_view path, size_t at, size_t& next) {
    next = path.find('\\', at + 1);
    if (next == std::string_view::npos)
        next = path.size();
    return path.substr(at + 1, next - at - 1);
}

WalkOrder::Place WalkOrder::Of(std::string_view a, std::string_view b) {
    size_t i = 0;
    size_t j = 0;
    for (;;) {
        if (i >= a.size())
            return j >= b.size() ? Place::Same : Place::Ancestor;
        if (j >= b.size())
            return Place::Descendant;
        size_t nextA = 0;
        size_t nextB = 0;
        const std::string_view nameA = NameAfter(a, i, nextA);
        const std::string_view nameB = NameAfter(b, j, nextB);
        if (nameA != nameB)
            return DirListing::Before(nameA, nameB) ? Place::Earlier : Place::Later;
        i = nextA;
        j = nextB;
    }
}

bool WalkOrder::Before(std::string_view a, std::string_view b) {
    const Place place = Of(a, b);
    return place == Place::Ancestor || place == Place::Earlier;
}

} // namespace brumo
