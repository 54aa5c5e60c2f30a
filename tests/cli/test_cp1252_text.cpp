// The game's Windows-1252 names to UTF-8 and back.

#include "db/cp1252_text.h"

#include <gtest/gtest.h>

#include <string>

namespace rostradb {
namespace {

TEST(Cp1252Text, EveryByteSurvivesTheWayThereAndBack)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = cp1252ToUtf8(all);
    EXPECT_EQ(utf8ToCp1252(utf8), all);
    EXPECT_TRUE(cp1252EqualsUtf8(all, utf8));
    EXPECT_FALSE(cp1252EqualsUtf8(all, utf8.substr(0, utf8.size() - 1))); // a byte of the last character short
    EXPECT_FALSE(cp1252EqualsUtf8(all.substr(1), utf8));
    EXPECT_FALSE(cp1252EqualsUtf8("J\xE9r", "Jer"));
}

TEST(Cp1252Text, LettersAndTypographyMapToTheirCharacters)
{
    EXPECT_EQ(cp1252ToUtf8("Jos\xE9 M\xFCller"), "José Müller");
    // 0x80..0x9F are where Windows-1252 and Latin-1 part ways.
    EXPECT_EQ(cp1252ToUtf8("\x80\x8A\x9F\x93"), "€ŠŸ“");
    // An undefined byte keeps its C1 code point rather than vanishing.
    EXPECT_EQ(cp1252ToUtf8("\x81"), "\xC2\x81");
    EXPECT_EQ(utf8ToCp1252("Ødegård ‘Œ’"), "\xD8" "deg\xE5rd \x91\x8C\x92");
}

TEST(Cp1252Text, TextTheCodePageCannotHoldIsRefused)
{
    EXPECT_EQ(utf8ToCp1252("Łódź"), std::nullopt); // Ł and ź are not in the code page
    EXPECT_EQ(utf8ToCp1252("\xF0\x9F\x98\x80"), std::nullopt); // beyond the basic plane
    EXPECT_EQ(utf8ToCp1252("\xC3"), std::nullopt);             // cut short
    EXPECT_EQ(utf8ToCp1252("\xC0\xA9"), std::nullopt);         // overlong ©
    EXPECT_EQ(utf8ToCp1252("\xED\xA0\x80"), std::nullopt);     // a surrogate half
    EXPECT_EQ(utf8ToCp1252("\xE9"), std::nullopt);             // Latin-1, not UTF-8
    EXPECT_EQ(utf8ToCp1252(""), "");
}

} // namespace
} // namespace rostradb
