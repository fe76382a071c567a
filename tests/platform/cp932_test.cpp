#include "platform/cp932.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Cp932, DecodesJapaneseAndAscii) {
    EXPECT_EQ(cp932ToUtf8("\x8a\xbf\x8e\x9a abc"), "漢字 abc");
    EXPECT_EQ(cp932ToUtf8("\xb1\xb2"), "ｱｲ") << "half-width katakana";
    EXPECT_EQ(cp932ToUtf8("\x81\x60"), "～");
}

TEST(Cp932, BadBytesBecomeReplacementsWithoutLosingNeighbours) {
    EXPECT_EQ(cp932ToUtf8("a\x85\x40z"), "a\xEF\xBF\xBD@z");
    EXPECT_EQ(cp932ToUtf8("ab\x82"), "ab\xEF\xBF\xBD") << "a lead byte cut off at the end";
    EXPECT_FALSE(cp932ToUtf8Strict("ab\x82").has_value());
    EXPECT_EQ(cp932ToUtf8Strict("ok").value(), "ok");
}

TEST(Cp932, TypedTextBackToBytes) {
    EXPECT_EQ(utf8ToCp932("I am Ken.").value(), "I am Ken.");
    EXPECT_EQ(utf8ToCp932("。").value(), "\x81\x42");
    EXPECT_FALSE(utf8ToCp932("😀").has_value());
}
