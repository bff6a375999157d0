#include "document/ScreenplayScanner.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> lines(std::string_view text)
{
    ScreenplayScanner scanner(text);
    std::vector<std::string> out;
    std::string_view line;
    while (scanner.nextLine(line))
        out.emplace_back(line);
    return out;
}

} // namespace

TEST(ScreenplayScannerTest, RunsOfCrAndLfMakeOneBreak)
{
    EXPECT_EQ(lines("a\r\n\r\nb\n\n\rc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(lines("\r\n\r\n"), std::vector<std::string>{});
    EXPECT_EQ(lines("  x  \n"), std::vector<std::string>{"  x  "});
}

TEST(ScreenplayScannerTest, AStrayLeadByteBeforeALineBreakIsDropped)
{
    // A line feed is never a trail byte: the line ends there and the lead
    // byte left without a trail is dropped, wherever the line ends.
    EXPECT_EQ(lines("a\x81\nb\nc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(lines("a\x81\r\nb"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(lines("a\x81"), std::vector<std::string>{"a"});
    EXPECT_EQ(lines("\x81\nb"), std::vector<std::string>{"b"});
    // Lead-capable bytes pair from the line start: an even run is whole
    // characters, an odd one ends with the stray byte.
    EXPECT_EQ(lines("\x81\x81\n"), std::vector<std::string>{"\x81\x81"});
    EXPECT_EQ(lines("\x81\x81\x81\n"), std::vector<std::string>{"\x81\x81"});
}

TEST(ScreenplayScannerTest, TextsWithNulBytesAreScannedWhole)
{
    std::string text("a\0b\nc", 5);
    auto result = lines(text);
    ASSERT_EQ(result.size(), 2u);
    EXPECT_EQ(result[0], std::string("a\0b", 3));
}

TEST(ScreenplayScannerTest, IntegersReadLikeTheHeader)
{
    EXPECT_EQ(ScreenplayScanner::toInteger("0x1A"), 26);
    EXPECT_EQ(ScreenplayScanner::toInteger("0b101"), 5);
    EXPECT_EQ(ScreenplayScanner::toInteger("-12abc"), -12);
    EXPECT_EQ(ScreenplayScanner::toInteger(""), 0);
}

TEST(ScreenplayScannerTest, PiecewiseReadingGivesTheSameLinesAtEveryPieceSize)
{
    // Lines that span pieces, CR LF pairs cut in two, and a stray lead byte
    // whose line break arrives in the next piece.
    const std::string text = "first line\r\n\r\nsecond \x81\nstill second\n"
                             "\x95\x5C\x81\x75long line that goes on and on\r\nlast";
    const auto whole = lines(text);
    ASSERT_EQ(whole.size(), 5u);
    for (std::size_t piece : {1u, 2u, 3u, 5u, 7u, 16u, 64u}) {
        std::size_t at = 0;
        ScreenplayScanner scanner(
            [&](char* buffer, std::size_t capacity) {
                std::size_t n = std::min({capacity, piece, text.size() - at});
                std::memcpy(buffer, text.data() + at, n);
                at += n;
                return n;
            },
            16);
        std::vector<std::string> got;
        std::string_view line;
        while (scanner.nextLine(line))
            got.emplace_back(line);
        EXPECT_EQ(got, whole) << "pieces of " << piece << " bytes";
    }
}
