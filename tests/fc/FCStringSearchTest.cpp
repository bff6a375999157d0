#include "TestText.h"
#include "fc/FCString.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// "表" and "ソ" end in 0x5C, the code of the backslash; "亜" (0x88 0x9F) ends
// in a byte that could itself start a double-byte character.
const std::string kHyou = sj("表");
const std::string kSo = sj("ソ");
const std::string kA = sj("亜");

int code(const std::string& doubleByte)
{
    return static_cast<unsigned char>(doubleByte[0]) * 256 +
           static_cast<unsigned char>(doubleByte[1]);
}

} // namespace

TEST(FCStringCursorTest, NextAndPrevStepWholeCharacters)
{
    FCString s("a" + kHyou + kA + "b");
    EXPECT_TRUE(s.nextChar());
    EXPECT_EQ(s.cursor(), 1);
    EXPECT_TRUE(s.nextChar());
    EXPECT_EQ(s.cursor(), 3);
    EXPECT_TRUE(s.nextChar());
    EXPECT_EQ(s.cursor(), 5);
    EXPECT_FALSE(s.nextChar()); // now at the end
    EXPECT_EQ(s.cursor(), 6);
    EXPECT_FALSE(s.nextChar());
    EXPECT_EQ(s.cursor(), 6);

    EXPECT_TRUE(s.prevChar());
    EXPECT_EQ(s.cursor(), 5);
    EXPECT_TRUE(s.prevChar()); // over "亜", whose trail byte is lead-range
    EXPECT_EQ(s.cursor(), 3);
    EXPECT_TRUE(s.prevChar());
    EXPECT_EQ(s.cursor(), 1);
    EXPECT_FALSE(s.prevChar());
    EXPECT_EQ(s.cursor(), 0);
    EXPECT_FALSE(s.prevChar());
    EXPECT_EQ(s.charCount(), 4);
}

TEST(FCStringCursorTest, PrevCharAgreesWithForwardStepping)
{
    // Runs of lead-range bytes are where stepping back can go wrong.
    const std::string texts[] = {
        kA + kA + kA + "x",           "x" + kA + kA,   kHyou + kSo + "\\", "\x88\x88\x88", "a\x95",
        std::string("\x95\0\x95", 3), "\xB1\xB2" + kA,
    };
    for (const std::string& text : texts) {
        FCString s(text);
        std::vector<int32_t> starts;
        do {
            starts.push_back(s.cursor());
        } while (s.nextChar());
        s.moveCursor(0, 2);
        for (size_t i = starts.size(); i-- > 0;) {
            s.prevChar();
            EXPECT_EQ(s.cursor(), starts[i]) << utf8(text) << " index " << i;
        }
    }
}

TEST(FCStringCursorTest, CurrentCharCodes)
{
    FCString s("a" + kHyou + "\xB1" + std::string(1, '\0') + "z");
    EXPECT_EQ(s.currentChar(), 'a');
    s.setCursor(1);
    EXPECT_EQ(s.currentChar(), code(kHyou));
    s.setCursor(2); // on the trail byte
    EXPECT_EQ(s.currentChar(), code(kHyou));
    s.setCursor(3);
    EXPECT_EQ(s.currentChar(), static_cast<signed char>(0xB1)); // half-width katakana
    EXPECT_LT(s.currentChar(), 0);
    s.setCursor(4);
    EXPECT_EQ(s.currentChar(), 0); // a NUL inside the text
    s.setCursor(5);
    EXPECT_EQ(s.currentChar(), 'z');
    s.setCursor(6);
    EXPECT_EQ(s.currentChar(), 0);

    EXPECT_EQ(s.charCodeAt(1), code(kHyou));
    EXPECT_EQ(s.charCodeAt(3), 0xB1);
    EXPECT_EQ(s.charCodeAt(6), 0);
    EXPECT_EQ(s.charCodeAt(-1), 0);

    // "亜" followed by a letter: the letter is not a trail byte.
    FCString t(kA + "A");
    t.setCursor(2);
    EXPECT_EQ(t.currentChar(), 'A');
}

TEST(FCStringCursorTest, MoveCursorFromEachOrigin)
{
    FCString s("a" + kHyou + "b");
    EXPECT_EQ(s.moveCursor(1, 0), code(kHyou));
    EXPECT_EQ(s.cursor(), 1);
    EXPECT_EQ(s.moveCursor(1, 1), 'b');
    EXPECT_EQ(s.cursor(), 3);
    EXPECT_EQ(s.moveCursor(-1, 1), code(kHyou));
    EXPECT_EQ(s.moveCursor(-1, 2), 'b');
    EXPECT_EQ(s.moveCursor(-2, 2), code(kHyou));
    EXPECT_EQ(s.moveCursor(0, 0), 'a');
    EXPECT_EQ(s.moveCursor(3, 0), 0); // the last step reaches the end
    EXPECT_EQ(s.cursor(), 4);

    // Wrong signs and origins leave the cursor.
    s.setCursor(1);
    EXPECT_EQ(s.moveCursor(-1, 0), 0);
    EXPECT_EQ(s.moveCursor(1, 2), 0);
    EXPECT_EQ(s.moveCursor(1, 7), 0);
    EXPECT_EQ(s.cursor(), 1);

    FCString one("x");
    EXPECT_EQ(one.moveCursor(-1, 2), 0); // lands on the start
    EXPECT_EQ(one.cursor(), 0);
    FCString half("\xB1\xB2");
    EXPECT_EQ(half.moveCursor(1, 0), static_cast<signed char>(0xB2));
}

TEST(FCStringSearchTest, TrailBytesNeverMatchSingleByteNeedles)
{
    FCString s(kHyou + "a" + kSo + "\\b");
    EXPECT_EQ(s.findChar('\\'), 5);
    s.rewind();
    EXPECT_EQ(s.findAnyOf("\\x"), 5);
    s.rewind();
    EXPECT_EQ(s.findLastOf("\\"), 5);

    FCString only(kHyou + kSo);
    EXPECT_EQ(only.findChar('\\'), FCString::none);
    EXPECT_EQ(only.cursor(), only.length());
    only.rewind();
    EXPECT_EQ(only.findAnyOf("\\"), FCString::none);
    only.rewind();
    EXPECT_EQ(only.findLastOf("\\"), FCString::none);
    only.rewind();
    EXPECT_EQ(only.findText("\\"), FCString::none);
    only.rewind();
    EXPECT_EQ(only.skipSet("\\"), 0);
}

TEST(FCStringSearchTest, FindsDoubleByteCharactersAndSets)
{
    FCString s("ab" + kHyou + "c" + kSo + "d");
    EXPECT_EQ(s.findChar(code(kSo)), 5);
    EXPECT_EQ(s.cursor(), 5);
    s.rewind();
    EXPECT_EQ(s.findAnyOf(("x" + kSo + kHyou).c_str()), 2);
    // Searching goes on from the cursor.
    s.nextChar();
    EXPECT_EQ(s.findAnyOf(("x" + kSo + kHyou).c_str()), 5);
    s.rewind();
    EXPECT_EQ(s.skipSet(("ab" + kHyou).c_str()), 4);
    s.rewind();
    EXPECT_EQ(s.findLastOf(("a" + kHyou).c_str()), 2);
    s.rewind();
    EXPECT_EQ(s.skipSet(s.text()), FCString::none);
    EXPECT_EQ(s.cursor(), s.length());

    FCString half("x\xB1y");
    EXPECT_EQ(half.findChar(static_cast<signed char>(0xB1)), 1);
    half.rewind();
    EXPECT_EQ(half.findChar(0xB1), 1);
    half.rewind();
    EXPECT_EQ(half.findAnyOf(nullptr), FCString::none);
}

TEST(FCStringSearchTest, FindTextMatchesOnCharacterBoundariesOnly)
{
    // Bytes 0x5C 0x83 occur across "表" and "ソ" but are no characters there.
    FCString s(kHyou + kSo + "x" + kSo);
    EXPECT_EQ(s.findText(kSo.c_str()), 2);
    s.nextChar();
    EXPECT_EQ(s.findText(kSo.c_str()), 5);
    s.rewind();
    EXPECT_EQ(s.findText("\x5C\x83"), FCString::none);
    s.rewind();
    // A lone lead byte never matches half a character.
    EXPECT_EQ(s.findText("\x95"), FCString::none);
    s.rewind();
    EXPECT_EQ(s.findText(""), FCString::none);

    FCString plain("one two three");
    plain.setCursor(5);
    EXPECT_EQ(plain.findText("t"), 8);
    plain.rewind();
    EXPECT_EQ(plain.findText("ee"), 11);
}

TEST(FCStringSearchTest, FindTextWithDelimitersMatchesWholeTokens)
{
    FCString s("  cat,category cat2 cat ");
    EXPECT_EQ(s.findText("cat", " ,"), 2);
    s.nextChar();
    EXPECT_EQ(s.findText("cat", " ,"), 20);
    EXPECT_EQ(s.cursor(), 20);
    s.nextChar();
    EXPECT_EQ(s.findText("cat", " ,"), FCString::none);
    EXPECT_EQ(s.cursor(), s.length());
}
