#pragma once

#include <locale.h>

namespace brumo {

// Locale objects made once per process and never changed, so every thread may use them.
class UserLocale {
public:
    // The locale the environment names (LC_ALL, LC_* and LANG), with a UTF-8 character type
    // when its own is not UTF-8, since every string in the program is UTF-8.
    static locale_t Get();
    // A UTF-8 locale without language rules: case folding of file names is the same for
    // every user, as the file system's own upper-case table is on Windows.
    static locale_t Neutral();
};

} // namespace brumo
