#include "convert/DelimiterScan.h"

#include "platform/Cp932.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <string_view>

namespace {

// Character by character, as FCString's cursor steps: what the scan must
// agree with.
std::size_t stepFind(std::string_view text, std::size_t at, std::string_view set)
{
    const char* end = text.data() + text.size();
    while (at < text.size()) {
        const int length = Cp932::charLength(text.data() + at, end);
        if (length == 1 && set.find(text[at]) != std::string_view::npos)
            return at;
        at += std::size_t(length);
    }
    return text.size();
}

} // namespace

TEST(DelimiterScanTest, ATrailByteNeverPassesForADelimiter)
{
    struct {
        const char* name;
        std::string text;
        const char* set;
        std::size_t found;
    } cases[] = {
        {"trail dot", "\x82.a.", ".", 3},
        {"trail quote", "\x82\"\"", "\"", 2},
        {"trail parenthesis", "\x81(x(", "(", 3},
        {"trail comma", "\xe0,\xe0,,", ",", 4},
        {"trail newline", "\x82\nab\n", "\r\n", 4},
        {"even run of leads", "\x82\x82.", ".", 2},
        {"odd run of leads", "\x82\x82\x82..", ".", 4},
        {"lead before NUL stands alone", std::string("\x82\0.", 3), ".", 2},
        {"half-width kana is single", "\xb1.", ".", 1},
        {"none", "\x82.\x82.", ".", 4},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DelimiterScan::find(c.text, 0, c.set), c.found) << c.name;
        EXPECT_EQ(stepFind(c.text, 0, c.set), c.found) << c.name;
    }
}

TEST(DelimiterScanTest, AgreesWithCharacterSteppingOnAnyBytes)
{
    // Bytes drawn mostly from lead bytes and delimiters, so that trail
    // delimiters, long lead runs and windows without a match all occur.
    const char pool[] = {'\x81', '\x82', '\x9f', '\xe0', '\xfc', '.',    '"',   '(',
                         ',',    '\r',   '\n',   'a',    '\0',   '\xb1', '\x40'};
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::string text(std::size_t(random() % 700), 'x');
        for (char& byte : text)
            byte = random() % 4 == 0 ? 'x' : pool[random() % sizeof pool];
        for (const char* set : {".", "\"", "\r\n", ", \t", ",)"}) {
            std::size_t at = 0;
            while (at < text.size()) {
                const std::size_t expected = stepFind(text, at, set);
                ASSERT_EQ(DelimiterScan::find(text, at, set), expected)
                    << "round " << round << " set " << set << " from " << at;
                // On to the character after the match, or after a
                // character, from a character start.
                at = expected < text.size()
                         ? expected + 1
                         : at + std::size_t(
                                    Cp932::charLength(text.data() + at, text.data() + text.size()));
            }
        }
    }
}

TEST(DelimiterScanTest, FindsADelimiterFarBeyondTheFirstWindow)
{
    const std::string text = std::string(1000, 'a') + "\x82\n" + std::string(300, 'b') + "\r";
    EXPECT_EQ(DelimiterScan::find(text, 0, "\r\n"), text.size() - 1);
    EXPECT_EQ(DelimiterScan::find(text, 0, "\n"), text.size());
}

TEST(DelimiterScanTest, TokensSkipLeadingDelimiters)
{
    const std::string text = "..\x82.name.(say";
    std::size_t at = 0;
    EXPECT_EQ(DelimiterScan::token(text, at, "."), "\x82.name");
    EXPECT_EQ(at, 8u);
    EXPECT_EQ(DelimiterScan::skip(text, at, ".("), 10u);
    EXPECT_TRUE(DelimiterScan::at(text, 9, "("));
    EXPECT_TRUE(DelimiterScan::at(text, 8, "."));
    EXPECT_FALSE(DelimiterScan::at(text, 7, "."));
}
