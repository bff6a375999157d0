#include "ui/ListCellColours.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace {

using Colour = ListCellColours::Colour;
using State = ListCellColours::State;
constexpr Colour rgb(uint32_t r, uint32_t g, uint32_t b)
{
    return UxListViewControl::rgb(r, g, b);
}
constexpr Colour Default = UxListViewControl::DefaultColour;

// The system colours the cases resolve DefaultColour to: a white window with
// black text, as on a stock desktop.
constexpr Colour SystemText = rgb(0x00, 0x00, 0x00);
constexpr Colour SystemBackground = rgb(0xFF, 0xFF, 0xFF);

struct ColourCase {
    std::string name;
    Colour cellText;
    Colour cellBackground;
    State state;
    Colour expectedText;
    Colour expectedBackground;
};

// Names the case in test listings instead of its bytes.
void PrintTo(const ColourCase& c, std::ostream* os)
{
    *os << c.name;
}

class CellColoursTest : public testing::TestWithParam<ColourCase> {};

} // namespace

TEST_P(CellColoursTest, ColoursFollowTheRowState)
{
    const ColourCase& c = GetParam();
    const ListCellColours::Pair got = ListCellColours::forCell(
        c.cellText, c.cellBackground, c.state, SystemText, SystemBackground);
    EXPECT_EQ(got.text, c.expectedText) << std::hex << got.text;
    EXPECT_EQ(got.background, c.expectedBackground) << std::hex << got.background;
}

// Blends worked by hand: (h * 59 + c * 196) / 255 per channel.
//   focused over C0,C0,E0:   (F0*59+C0*196)/255 = CB, (0+C0*196)/255 = 93,
//                            (D0*59+E0*196)/255 = DC
//   unfocused over C0,C0,E0: (60*59+C0*196)/255 = A9, (A0*59+C0*196)/255 = B8,
//                            (D8*59+E0*196)/255 = DE
//   focused over white:      (F0*59+FF*196)/255 = FB, (FF*196)/255 = C4,
//                            (D0*59+FF*196)/255 = F4
//   unfocused over black:    (60*59)/255 = 16, (A0*59)/255 = 25, (D8*59)/255 = 31
INSTANTIATE_TEST_SUITE_P(
    ListCellColoursTest, CellColoursTest,
    testing::Values(ColourCase{"NoSpeakerRowUnselected", Default, rgb(0xC0, 0xC0, 0xE0),
                               State::Normal, SystemText, rgb(0xC0, 0xC0, 0xE0)},
                    ColourCase{"NoSpeakerRowSelectedWithFocus", Default, rgb(0xC0, 0xC0, 0xE0),
                               State::SelectedFocused, rgb(0, 0, 0x80), rgb(0xCB, 0x93, 0xDC)},
                    ColourCase{"NoSpeakerRowSelectedWithoutFocus", Default, rgb(0xC0, 0xC0, 0xE0),
                               State::Selected, rgb(0, 0, 0), rgb(0xA9, 0xB8, 0xDE)},
                    ColourCase{"DefaultCellUnselectedTakesSystemColours", Default, Default,
                               State::Normal, SystemText, SystemBackground},
                    ColourCase{"DefaultCellSelectedBlendsOverTheSystemWindow", Default, Default,
                               State::SelectedFocused, rgb(0, 0, 0x80), rgb(0xFB, 0xC4, 0xF4)},
                    ColourCase{"OwnTextColourShowsOnlyUnselected", rgb(0x12, 0x34, 0x56),
                               rgb(0, 0, 0), State::Normal, rgb(0x12, 0x34, 0x56), rgb(0, 0, 0)},
                    ColourCase{"OwnTextColourGivesWayWhenSelected", rgb(0x12, 0x34, 0x56),
                               rgb(0, 0, 0), State::Selected, rgb(0, 0, 0), rgb(0x16, 0x25, 0x31)}),
    [](const testing::TestParamInfo<ColourCase>& info) { return info.param.name; });

TEST(ListCellColoursTest, BlendKeepsChannelsApartAndStaysInRange)
{
    // A channel never spills into its neighbour, even at the extremes.
    EXPECT_EQ(ListCellColours::blend(rgb(0xFF, 0xFF, 0xFF), rgb(0xFF, 0xFF, 0xFF)),
              rgb(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(ListCellColours::blend(rgb(0, 0, 0), rgb(0, 0, 0)), 0u);
    EXPECT_EQ(ListCellColours::blend(rgb(0xFF, 0, 0), rgb(0, 0, 0)), rgb(59, 0, 0));
    EXPECT_EQ(ListCellColours::blend(rgb(0, 0, 0), rgb(0, 0xFF, 0)), rgb(0, 196, 0));
    EXPECT_EQ(ListCellColours::blend(rgb(0, 0, 0xFF), rgb(0, 0, 0xFF)), rgb(0, 0, 0xFF));
    // The unused top byte of either colour does not leak into the result.
    EXPECT_EQ(ListCellColours::blend(0xFF000000u, 0xFF000000u), 0u);
}
