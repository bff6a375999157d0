#include "ui/RichTextPieces.h"

#include "TestText.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

using Piece = RichTextPieces::Piece;

// Readable failures: the text in UTF-8 and its format.
void PrintTo(const Piece& p, std::ostream* os)
{
    *os << '"' << utf8(p.text) << '"';
    if (p.coloured)
        *os << " #" << std::hex << p.colour << std::dec;
    *os << (p.bold ? " B" : "") << (p.italic ? " I" : "") << (p.underline ? " U" : "");
}

namespace {

// A piece in the default colour; flags "BIU" in any order.
Piece plain(const std::string& utf8Text, const std::string& flags = "")
{
    Piece p;
    p.text = sj(utf8Text);
    p.bold = flags.find('B') != std::string::npos;
    p.italic = flags.find('I') != std::string::npos;
    p.underline = flags.find('U') != std::string::npos;
    return p;
}

Piece coloured(const std::string& utf8Text, uint32_t colour, const std::string& flags = "")
{
    Piece p = plain(utf8Text, flags);
    p.coloured = true;
    p.colour = colour;
    return p;
}

struct PiecesCase {
    std::string name;
    std::string text; // UTF-8, converted to CP932 for the call
    std::vector<Piece> expected;
};

// Names the case in test listings instead of its bytes.
void PrintTo(const PiecesCase& c, std::ostream* os)
{
    *os << c.name;
}

class RichTextSplitTest : public testing::TestWithParam<PiecesCase> {};

} // namespace

TEST_P(RichTextSplitTest, BlocksFormatTheTextThatFollows)
{
    const PiecesCase& c = GetParam();
    EXPECT_EQ(RichTextPieces::split(sj(c.text)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    RichTextPiecesTest, RichTextSplitTest,
    testing::Values(
        PiecesCase{"NoBlockIsOnePlainPiece", "ただの文章\n二行目", {plain("ただの文章\n二行目")}},
        PiecesCase{"EmptyTextHasNoPiece", "", {}},
        PiecesCase{"TextBeforeTheFirstBlockIsPlain", "前【B】後", {plain("前"), plain("後", "B")}},
        PiecesCase{"EffectsHoldOnlyToTheNextBlock",
                   "【B,I,U】強調【0xFF0000】赤",
                   {plain("強調", "BIU"), coloured("赤", 0xFF0000)}},
        PiecesCase{"ColourHoldsUntilChangedAndDashRestoresTheDefault",
                   "【0x00FF00】緑【b】太緑【-】元",
                   {coloured("緑", 0x00FF00), coloured("太緑", 0x00FF00, "B"), plain("元")}},
        PiecesCase{"CommasBlanksAndTabsSeparate", "【b i\tu】x", {plain("x", "BIU")}},
        PiecesCase{"UnknownTokensAreIgnored", "【Z,BI,bold,0x10】x", {coloured("x", 0x10)}},
        PiecesCase{"ColoursReadAsTheProgramReadsIntegers",
                   "【0】黒【0b101】五【0x1FFFFFF】x",
                   {coloured("黒", 0), coloured("五", 5), coloured("x", 0xFFFFFF)}},
        PiecesCase{"BlocksWithNothingBetweenGiveNoPiece", "【B】【I】x【U】", {plain("x", "I")}},
        PiecesCase{
            "AnUnclosedMarkStaysInTheText", "a【B】b【I c", {plain("a"), plain("b【I c", "B")}},
        // "＝" is 0x81 0x81 in CP932: its trail byte and the "y" after it
        // spell the opening mark 0x81 0x79 to a byte-wise search.
        PiecesCase{"ATrailByteNeverStartsAMark", "＝y】z", {plain("＝y】z")}}),
    [](const testing::TestParamInfo<PiecesCase>& info) { return info.param.name; });

TEST(RichTextPiecesTest, TheMarksAreParameters)
{
    EXPECT_EQ(RichTextPieces::split("a<b>x<->y", "<", ">"),
              (std::vector<Piece>{plain("a"), plain("x", "B"), plain("y")}));
    // The default marks are plain text for other marks.
    EXPECT_EQ(RichTextPieces::split(sj("【B】x"), "<", ">"), (std::vector<Piece>{plain("【B】x")}));
    // Without an opening mark there are no blocks at all.
    EXPECT_EQ(RichTextPieces::split("<b>x", "", ">"), (std::vector<Piece>{plain("<b>x")}));
}
