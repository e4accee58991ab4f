#include "platform/locale_info.h"

#include <gtest/gtest.h>

namespace brumo {
namespace {

// Case folding letter by letter: no expansions (Windows' own comparison treats "ß" as "ss").
TEST(LocaleInfoPosix, SharpSIsNoDoubleS) {
    EXPECT_FALSE(LocaleInfo::EqualIgnoreCase("Straße", "STRASSE"));
}

} // namespace
} // namespace brumo
