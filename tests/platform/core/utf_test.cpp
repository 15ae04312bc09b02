#include "sim/utf.h"
#include <gtest/gtest.h>

using moltr::sim::Utf16;
using moltr::sim::Utf8;

TEST(Utf, RoundTripsBeyondTheBasicPlane) {
    const std::string text = "A\xC3\xA4\xE2\x82\xAC\xF0\x9F\x96\xA8"; // A, a-umlaut, euro, printer
    std::u16string wide = Utf16(text);
    ASSERT_EQ(wide.size(), 5u);
    EXPECT_EQ(wide[2], u'\u20AC');
    EXPECT_EQ(Utf8(wide), text);
}

TEST(Utf, BrokenSequencesBecomeReplacementCharacters) {
    EXPECT_EQ(Utf16("\xC3"), u"\uFFFD");
    EXPECT_EQ(Utf16("a\x80z"), u"a\uFFFDz");
    const char16_t lone[] = {0xD800, u'x', 0};
    EXPECT_EQ(Utf8(reinterpret_cast<const WCHAR*>(lone)), "\xEF\xBF\xBDx");
}

TEST(Utf, WideLiteralsAreUtf16) {
    const WCHAR* text = L"\u00C4rger";
    EXPECT_EQ(Utf8(text), "\xC3\x84rger");
}
