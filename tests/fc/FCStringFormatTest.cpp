#include "TestText.h"
#include "fc/FCString.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace {

std::string formatted(const char* pattern, int value)
{
    FCString s("old");
    s.create(pattern, value);
    return s.toStdString();
}

std::string printed(const char* pattern, int value)
{
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

std::string number(int32_t value, int radix, int width, char fill)
{
    FCString s;
    s.appendNumber(value, radix, width, fill);
    return s.toStdString();
}

} // namespace

TEST(FCStringFormatTest, IntegerConversionsMatchTheCLibrary)
{
    // The conversions these patterns use are the ones C and wvsprintfA share.
    const char* patterns[] = {"%d", "%i", "%5d", "%-5d|", "%05d", "%.3d",   "%8.3d", "%u",
                              "%x", "%X", "%#x", "%#X",   "%08X", "%-#8x|", "%.0d",  "%3i%%"};
    const int values[] = {
        0, 7, -42, 255, 65535, std::numeric_limits<int>::max(), std::numeric_limits<int>::min()};
    for (const char* pattern : patterns) {
        for (int value : values) {
            // Unsigned conversions get the value's bit pattern, as in C.
            EXPECT_EQ(formatted(pattern, value), printed(pattern, value))
                << pattern << " " << value;
        }
    }
    // l is 32 bits, as on Windows; h cuts to 16 bits.
    FCString sized;
    sized.create("%ld|%lu|%lx", int32_t(-1), uint32_t(4000000000u), uint32_t(255));
    EXPECT_EQ(sized.view(), "-1|4000000000|ff");
    EXPECT_EQ(formatted("%hd", 70000), "4464");
    EXPECT_EQ(formatted("%hu", -1), "65535");
}

TEST(FCStringFormatTest, StringAndCharacterConversions)
{
    FCString s;
    s.create("[%s|%5s|%-5s|%.2s|%S]", "ab", "cd", "ef", "ghij", "kl");
    EXPECT_EQ(s.view(), "[ab|   cd|ef   |gh|kl]");
    s.create("%s/%s", static_cast<const char*>(nullptr), "x");
    EXPECT_EQ(s.view(), "(null)/x");
    s.create("%c%c%3c", 'a', 'b', 'c');
    EXPECT_EQ(s.view(), "ab  c");
    s.create("100%%");
    EXPECT_EQ(s.view(), "100%");
    EXPECT_EQ(s.unit(), 256);
    EXPECT_EQ(s.cursor(), 0);

    // Precision never splits a double-byte character; Japanese literals pass
    // through whole.
    const std::string kana = sj("あい");
    s.create("%.3s", kana.c_str());
    EXPECT_EQ(s.view(), sj("あ"));
    const std::string pattern = sj("第%d話「%s」");
    s.create(pattern.c_str(), 3, kana.c_str());
    EXPECT_EQ(s.view(), sj("第3話「あい」"));

    // Long output is not limited.
    const std::string longText(5000, 'z');
    s.create("<%s>", longText.c_str());
    EXPECT_EQ(s.length(), 5002);
    s.create(static_cast<const char*>(nullptr));
    EXPECT_TRUE(s.isEmpty());
}

TEST(FCStringFormatTest, AppendNumberPadsAndTruncates)
{
    EXPECT_EQ(number(5, 16, 8, '0'), "00000005");
    EXPECT_EQ(number(123456, 10, 3, ' '), "456");
    EXPECT_EQ(number(255, 16, 0, ' '), "ff");
    EXPECT_EQ(number(-12, 10, 0, ' '), "-12");
    EXPECT_EQ(number(-12, 10, 5, '*'), "**-12");
    EXPECT_EQ(number(-1234, 10, 3, ' '), "234");
    EXPECT_EQ(number(-1, 16, 0, ' '), "ffffffff"); // no sign outside radix 10
    EXPECT_EQ(number(5, 2, 0, ' '), "101");
    EXPECT_EQ(number(35, 36, 0, ' '), "z");
    EXPECT_EQ(number(std::numeric_limits<int32_t>::min(), 10, 0, ' '), "-2147483648");
    EXPECT_EQ(number(0, 10, 3, '0'), "000");
    EXPECT_EQ(number(42, 10, -3, '0'), "42");

    FCString u("n=");
    u.appendUnsigned(4294967295u, 10, 0, ' ');
    u.appendUnsigned(10, 16, 8, '0');
    EXPECT_EQ(u.view(), "n=42949672950000000a");

    FCString chained;
    chained << "x" << -3 << FCString("y");
    EXPECT_EQ(chained.view(), "x-3y");

    FCString n("old");
    n.setCursor(2);
    n.setNumber(-907);
    EXPECT_EQ(n.view(), "-907");
    EXPECT_EQ(n.cursor(), 0);
    EXPECT_EQ(n.unit(), 256);
}

TEST(FCStringFormatTest, ToIntegerReadsHexBinaryAndDecimal)
{
    struct Case {
        std::string text;
        int32_t value;
    } cases[] = {
        {"0x1A", 26},
        {"0xff", 255},
        {"0x7fZ", 127},
        {"0x", 0},
        {"0xg", 0},
        {"0X1A", 0},
        {"0b101", 5},
        {"0b1012", 5},
        {"0b2", 0},
        {"", 0},
        {"-12abc", -12},
        {"  +34", 34},
        {"\t\n-7", -7},
        {"12" + sj("３"), 12},
        {"0x1" + sj("Ａ"), 1},
        {"4294967295", -1}, // wraps in 32 bits
        {"4294967296", 0},
        {"0x100000001", 1},
        {std::string("5\0"
                     "7",
                     3),
         5},
    };
    for (const Case& c : cases) {
        FCString s(c.text);
        s.setCursor(1);
        EXPECT_EQ(s.toInteger(), c.value) << utf8(c.text);
        EXPECT_EQ(s.cursor(), std::min(1, s.length()));
    }

    FCString fromCursor("id=0x10");
    fromCursor.setCursor(3);
    EXPECT_EQ(fromCursor.toInteger(true), 16);
    EXPECT_EQ(fromCursor.toInteger(false), 0);
    EXPECT_EQ(fromCursor.cursor(), 3);
}
