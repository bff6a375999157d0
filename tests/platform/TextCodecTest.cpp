#include "platform/TextCodec.h"

#include "platform/Sjis.h"

#include <gtest/gtest.h>

namespace {
const std::string replacementUtf8 = "\xEF\xBF\xBD"; // U+FFFD
}

TEST(TextCodecTest, JapaneseTextRoundTripsBetweenCp932AndUtf8)
{
    const std::string cp932 = "\x91\xE4\x96\x7B\x83\x5C\x95\x5C a\\~"; // 台本ソ表 a\~
    const std::string utf8 = "台本ソ表 a\\~";
    EXPECT_EQ(TextCodec::toUtf8(cp932), utf8);
    EXPECT_EQ(TextCodec::fromUtf8(utf8), cp932);
    std::string exact;
    ASSERT_TRUE(TextCodec::toUtf8Exact(cp932, exact));
    EXPECT_EQ(exact, utf8);
    ASSERT_TRUE(TextCodec::fromUtf8Exact(utf8, exact));
    EXPECT_EQ(exact, cp932);
}

TEST(TextCodecTest, HalfWidthKanaAndTheWindowsOnlyCharactersConvert)
{
    EXPECT_EQ(TextCodec::toUtf8("\xB1\xDE"), "ｱﾞ");
    EXPECT_EQ(TextCodec::toUtf8("\x87\x40"), "①");
    EXPECT_EQ(TextCodec::toUtf8("\x81\x60"), "～");
    EXPECT_EQ(TextCodec::fromUtf8("～"), "\x81\x60");
}

TEST(TextCodecTest, BytesThatAreNoCharacterBecomeTheReplacementCharacter)
{
    struct Case {
        std::string cp932;
        std::string utf8;
    };
    const Case cases[] = {
        {"\x80", replacementUtf8},
        {"\xA0", replacementUtf8},
        {"\xFF", replacementUtf8},
        {"a\x81", "a" + replacementUtf8},      // lead byte cut off at the end
        {"\xFC\xFC", replacementUtf8},         // a pair CP932 leaves undefined
        {"\x81\x20z", replacementUtf8 + " z"}, // a lead byte without a trail
        {std::string("\x81\0", 2), replacementUtf8 + std::string(1, '\0')},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextCodec::toUtf8(c.cp932), c.utf8);
        std::string exact = "untouched";
        EXPECT_FALSE(TextCodec::toUtf8Exact(c.cp932, exact));
    }
}

TEST(TextCodecTest, CharactersCp932LacksBecomeAQuestionMark)
{
    EXPECT_EQ(TextCodec::fromUtf8("a😀b"), "a?b");
    EXPECT_EQ(TextCodec::fromUtf8("♡"), "?");
    EXPECT_EQ(TextCodec::fromUtf16(u"\xD800x"), "?x"); // lone surrogate
    std::string exact;
    EXPECT_FALSE(TextCodec::fromUtf8Exact("a😀b", exact));
    EXPECT_FALSE(TextCodec::fromUtf16Exact(u"\xD800", exact));
}

TEST(TextCodecTest, BrokenUtf8NeverCrashesAndIsRefusedByTheExactConversion)
{
    const std::string broken[] = {
        "\xC3",             // cut off
        "\xC0\xAF",         // overlong "/"
        "\xED\xA0\x80",     // encoded surrogate
        "\xF4\x90\x80\x80", // beyond U+10FFFF
        "\xFF",
        "a\x80z",
    };
    for (const std::string& utf8 : broken) {
        std::string lenient = TextCodec::fromUtf8(utf8);
        EXPECT_NE(lenient.find('?'), std::string::npos) << TextCodec::toUtf8(lenient);
        std::string exact;
        EXPECT_FALSE(TextCodec::fromUtf8Exact(utf8, exact));
    }
    EXPECT_EQ(TextCodec::fromUtf8("a\x80z"), "a?z");
}

TEST(TextCodecTest, EmptyAndNulHoldingTextsKeepTheirLength)
{
    EXPECT_EQ(TextCodec::toUtf8(""), "");
    EXPECT_EQ(TextCodec::fromUtf8(""), "");
    const std::string withNul("a\0b", 3);
    EXPECT_EQ(TextCodec::toUtf8(withNul), withNul);
    EXPECT_EQ(TextCodec::fromUtf8(withNul), withNul);
    EXPECT_EQ(TextCodec::toUtf16(withNul).size(), 3u);
}

TEST(TextCodecTest, SjisOfConvertsEachLiteralOnceAndKeepsIt)
{
    static const char* const literal = "台本";
    const char* first = Sjis::of(literal);
    EXPECT_STREQ(first, "\x91\xE4\x96\x7B");
    EXPECT_EQ(Sjis::of(literal), first) << "the same literal must come back from the cache";
    EXPECT_STREQ(
        Sjis::of("メモリが足りません！"),
        "\x83\x81\x83\x82\x83\x8A\x82\xAA\x91\xAB\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x49");
}
