#include "document/ScreenplayUtf8Decoder.h"

#include "TestText.h"

#include <gtest/gtest.h>
#include <string>

namespace {

const std::string Geta = "\x81\xAC"; // 〓

struct Decoded {
    std::string text;
    std::size_t substitutions;
};

Decoded decode(std::string_view bytes, std::size_t pieceSize = 0)
{
    ScreenplayUtf8Decoder decoder;
    Decoded result;
    if (pieceSize == 0)
        pieceSize = bytes.size() + 1;
    for (std::size_t at = 0; at < bytes.size(); at += pieceSize)
        decoder.convert(bytes.substr(at, pieceSize), result.text);
    decoder.finish(result.text);
    result.substitutions = decoder.substitutions();
    return result;
}

} // namespace

TEST(ScreenplayUtf8DecoderTest, JapaneseBecomesItsShiftJisForm)
{
    const std::string text = ".scene\t表の幕間\n000001 ﾏｽﾀｰ「いらっしゃい！」\\n　ソ\n";
    const Decoded decoded = decode(text);
    EXPECT_EQ(decoded.text, sj(text));
    EXPECT_EQ(decoded.substitutions, 0u);
}

TEST(ScreenplayUtf8DecoderTest, TheByteOrderMarkAtTheStartIsDropped)
{
    EXPECT_EQ(decode("\xEF\xBB\xBF"
                     "abc")
                  .text,
              "abc");
    EXPECT_EQ(decode("\xEF\xBB\xBF").text, "");
    EXPECT_EQ(decode("\xEF\xBB\xBF").substitutions, 0u);
    // Only at the start: later it is a character Shift-JIS lacks.
    EXPECT_EQ(decode("\xEF\xBB\xBF\xEF\xBB\xBF"
                     "a")
                  .text,
              Geta + "a");
}

TEST(ScreenplayUtf8DecoderTest, CharactersShiftJisCannotHoldBecomeGeta)
{
    struct Case {
        const char* utf8;
        std::string cp932;
        std::size_t substitutions;
    };
    const Case cases[] = {
        {"caf\xC3\xA9", "caf" + Geta, 1},     // é
        {"\xF0\x9F\x98\x80!", Geta + "!", 1}, // one emoji, one mark
        {"\xEF\xBF\xBD", Geta, 1},            // U+FFFD itself
        {"a\xFF"
         "b",
         "a" + Geta + "b", 1},              // a byte of no UTF-8
        {"あ\xE3\x81", sj("あ") + Geta, 1}, // cut short at the end
        {"\xE6\xBC\xA2\xE5\xAD\x97\xC3\xA9\xC3\xA9", sj("漢字") + Geta + Geta, 2},
    };
    for (const Case& c : cases) {
        const Decoded decoded = decode(c.utf8);
        EXPECT_EQ(decoded.text, c.cp932) << c.utf8;
        EXPECT_EQ(decoded.substitutions, c.substitutions) << c.utf8;
    }
}

TEST(ScreenplayUtf8DecoderTest, JisCodePointsTakeTheCodePageForm)
{
    // The JIS mapping's code point, and the code page's byte pair for the
    // same character.
    const std::pair<const char*, const char*> cases[] = {
        {"\xE3\x80\x9C", "\x81\x60"}, // WAVE DASH
        {"\xE2\x80\x96", "\x81\x61"}, // DOUBLE VERTICAL LINE
        {"\xE2\x88\x92", "\x81\x7C"}, // MINUS SIGN
        {"\xE2\x80\x94", "\x81\x5C"}, // EM DASH
        {"\xC2\xA2", "\x81\x91"},     // CENT SIGN
        {"\xC2\xA3", "\x81\x92"},     // POUND SIGN
        {"\xC2\xAC", "\x81\xCA"},     // NOT SIGN
    };
    for (const auto& [utf8, cp932] : cases) {
        const Decoded decoded = decode(utf8);
        EXPECT_EQ(decoded.text, cp932) << utf8;
        EXPECT_EQ(decoded.substitutions, 0u) << utf8;
    }
    // Their code page forms read as before, and the yen sign is not made a
    // backslash (which would make "¥n" a forced break).
    EXPECT_EQ(decode("～∥－―").text, sj("～∥－―"));
    EXPECT_EQ(decode("\xC2\xA5n").text, Geta + "n");
}

TEST(ScreenplayUtf8DecoderTest, EveryCutIntoPiecesGivesTheSameBytes)
{
    const std::string text = "\xEF\xBB\xBF"
                             "表\xF0\x9F\x98\x80ｱ\xFF〜a\xE3\x81\x82\xE3\x81";
    const Decoded whole = decode(text);
    for (std::size_t size = 1; size <= 6; ++size) {
        const Decoded pieces = decode(text, size);
        EXPECT_EQ(pieces.text, whole.text) << "pieces of " << size;
        EXPECT_EQ(pieces.substitutions, whole.substitutions) << "pieces of " << size;
    }
    EXPECT_EQ(whole.text, sj("表") + Geta + sj("ｱ") + Geta + sj("～") + "a" + sj("あ") + Geta);
}
