#include "document/ScreenplayEncoding.h"

#include "TestText.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using Kind = ScreenplayEncoding::Kind;

struct EncodingCase {
    const char* what;
    std::string bytes;
    Kind expected;
};

std::vector<EncodingCase> encodingCases()
{
    const std::string line = "000001 悠人「おはよう」\n";
    return {
        {"plain ASCII", ".scene\tx\n.A\t1\n.total\t1\n000001 A\n", Kind::ShiftJis},
        {"empty", "", Kind::ShiftJis},
        {"Shift-JIS Japanese", sj(line), Kind::ShiftJis},
        {"UTF-8 Japanese", line, Kind::Utf8},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + line, Kind::Utf8},
        {"byte-order mark and ASCII", "\xEF\xBB\xBF.total\t0\n", Kind::Utf8},
        {"byte-order mark alone", "\xEF\xBB\xBF", Kind::Utf8},
        {"byte-order mark and broken UTF-8", "\xEF\xBB\xBF\x82\xA0", Kind::Utf8},
        {"the first bytes of a mark only", "\xEF\xBB", Kind::ShiftJis},
        // C3 A9 is "é" in UTF-8 and the half-width katakana テ and ｩ in
        // Shift-JIS: valid in both, so read as it always was.
        {"valid in both encodings", "caf\xC3\xA9\n", Kind::ShiftJis},
        // E3 81 82 is "あ"; as Shift-JIS the last byte is a lead without
        // a trail.
        {"UTF-8 whose Shift-JIS reading ends on a lead byte", "\xE3\x81\x82", Kind::Utf8},
        {"UTF-8 cut short in its last character", line + "\xE3\x81", Kind::Utf8},
        {"UTF-8 broken in the middle", "あ\x82\xA0い", Kind::ShiftJis},
        {"an encoded surrogate", "あ\xED\xA0\x80", Kind::ShiftJis},
        {"an overlong form", "あ\xC0\xAF", Kind::ShiftJis},
        {"a sequence past U+10FFFF", "あ\xF4\x90\x80\x80", Kind::ShiftJis},
        {"a four-byte character", "\xF0\x9F\x98\x80", Kind::Utf8},
        // Only the cut sequence is multi-byte: nothing says UTF-8.
        {"ASCII and a cut sequence", "abc\xE3\x81", Kind::ShiftJis},
    };
}

} // namespace

TEST(ScreenplayEncodingTest, DecidesEveryCaseOfTheTable)
{
    for (const EncodingCase& c : encodingCases())
        EXPECT_EQ(ScreenplayEncoding::of(c.bytes), c.expected) << c.what;
}

TEST(ScreenplayEncodingTest, PiecesOfAnySizeGiveTheAnswerOfTheWhole)
{
    for (const EncodingCase& c : encodingCases()) {
        for (std::size_t size = 1; size <= 5; ++size) {
            ScreenplayEncoding encoding;
            bool settledEarly = false;
            for (std::size_t at = 0; at < c.bytes.size(); at += size) {
                encoding.feed(std::string_view(c.bytes).substr(at, size));
                settledEarly = settledEarly || encoding.settled();
            }
            const Kind kind = encoding.finish();
            EXPECT_EQ(kind, c.expected) << c.what << ", pieces of " << size;
            if (settledEarly) {
                EXPECT_EQ(kind, Kind::ShiftJis) << c.what;
            }
        }
    }
}

TEST(ScreenplayEncodingTest, BrokenUtf8SettlesAtOnceAndNothingLaterChangesIt)
{
    ScreenplayEncoding encoding;
    encoding.feed(sj("悠人"));
    ASSERT_TRUE(encoding.settled());
    encoding.feed("あいう");
    EXPECT_EQ(encoding.finish(), Kind::ShiftJis);

    // Valid UTF-8 can always be followed by something that decides
    // otherwise, so it never settles before the end.
    ScreenplayEncoding utf8;
    utf8.feed("あいう");
    EXPECT_FALSE(utf8.settled());
    utf8.feed("\xFF");
    EXPECT_TRUE(utf8.settled());
}

TEST(ScreenplayEncodingTest, ASequenceSplitBetweenPiecesIsOneCharacter)
{
    // "あいう": the first piece ends after the first byte of "あ", which
    // for the Shift-JIS reading is a lead byte waiting for its trail.
    // ("あい" alone would be valid Shift-JIS too: E381 82E3 8184.)
    ScreenplayEncoding encoding;
    encoding.feed("\xE3");
    encoding.feed("\x81\x82\xE3\x81\x84\xE3\x81\x86");
    EXPECT_EQ(encoding.finish(), Kind::Utf8);
    EXPECT_FALSE(encoding.hasByteOrderMark());

    ScreenplayEncoding marked;
    marked.feed("\xEF");
    marked.feed("\xBB\xBF"
                "a");
    EXPECT_EQ(marked.finish(), Kind::Utf8);
    EXPECT_TRUE(marked.hasByteOrderMark());
}
