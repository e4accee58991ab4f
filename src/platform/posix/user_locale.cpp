#include "platform/posix/user_locale.h"

#include <cstring>
#include <initializer_list>
#include <langinfo.h>

namespace brumo {

namespace {

bool IsUtf8(locale_t loc) {
    const char* codeset = nl_langinfo_l(CODESET, loc);
    return codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
}

locale_t NewUtf8Ctype(locale_t base) {
    for (const char* name : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
        if (locale_t loc = newlocale(LC_CTYPE_MASK, name, base))
            return loc;
    }
    return base;
}

locale_t MakeUserLocale() {
    locale_t loc = newlocale(LC_ALL_MASK, "", locale_t{});
    if (!loc)
        loc = newlocale(LC_ALL_MASK, "C", locale_t{});
    if (!IsUtf8(loc))
        loc = NewUtf8Ctype(loc);
    return loc;
}

locale_t MakeNeutralLocale() {
    locale_t loc = newlocale(LC_ALL_MASK, "C", locale_t{});
    return NewUtf8Ctype(loc);
}

} // namespace

locale_t UserLocale::Get() {
    static const locale_t loc = MakeUserLocale();
    return loc;
}

locale_t UserLocale::Neutral() {
    static const locale_t loc = MakeNeutralLocale();
    return loc;
}

} // namespace brumo
