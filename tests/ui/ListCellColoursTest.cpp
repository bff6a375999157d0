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

namespace {

// Dark system palettes as desktops ship them, and one whose highlight is
// as dark as its window and whose highlighted text is as dark as both.
struct DarkPalette {
    const char* name;
    ListCellColours::System system;
};
const DarkPalette DarkPalettes[] = {
    {"FusionDark",
     {rgb(0xFF, 0xFF, 0xFF), rgb(0x2A, 0x2A, 0x2A), rgb(0x2A, 0x82, 0xDA), rgb(0, 0, 0)}},
    {"BreezeDark",
     {rgb(0xFC, 0xFC, 0xFC), rgb(0x1B, 0x1E, 0x20), rgb(0x3D, 0xAE, 0xE9), rgb(0xFC, 0xFC, 0xFC)}},
    {"DarkHighlightDarkText",
     {rgb(0xE0, 0xE0, 0xE0), rgb(0x10, 0x10, 0x10), rgb(0x20, 0x20, 0x30), rgb(0x18, 0x18, 0x18)}},
};

// Cells as the program's lists have them: default colours, a row of its
// own light colour (a scene without speakers), a dark text colour of its
// own on the default background.
struct Cell {
    const char* name;
    Colour text;
    Colour background;
};
const Cell Cells[] = {
    {"Default", Default, Default},
    {"NoSpeakerRow", Default, rgb(0xC0, 0xC0, 0xE0)},
    {"OwnDarkText", rgb(0x12, 0x34, 0x56), Default},
};

} // namespace

TEST(ListCellColoursTest, EveryTextStaysReadableUnderADarkPalette)
{
    for (const DarkPalette& palette : DarkPalettes) {
        ASSERT_TRUE(ListCellColours::isDark(palette.system)) << palette.name;
        for (const Cell& cell : Cells) {
            for (State state : {State::Normal, State::Selected, State::SelectedFocused}) {
                const ListCellColours::Pair got =
                    ListCellColours::forCell(cell.text, cell.background, state, palette.system);
                EXPECT_GE(ListCellColours::contrastRatio(got.text, got.background),
                          ListCellColours::MinimumContrast)
                    << palette.name << " " << cell.name << " state " << int(state) << std::hex
                    << " text " << got.text << " on " << got.background;
            }
        }
    }
}

TEST(ListCellColoursTest, ADarkPaletteStillShowsTheSelectionAndTheFocus)
{
    const ListCellColours::System& dark = DarkPalettes[1].system;
    const auto background = [&](State state) {
        return ListCellColours::forCell(Default, Default, state, dark).background;
    };
    EXPECT_EQ(background(State::Normal), dark.background);
    EXPECT_NE(background(State::Selected), dark.background);
    EXPECT_NE(background(State::SelectedFocused), background(State::Selected));
    // The highlight comes from the palette, not the light look's magenta.
    EXPECT_EQ(
        background(State::SelectedFocused),
        ListCellColours::mix(dark.highlight, dark.background, ListCellColours::DarkFocusedWeight));
    EXPECT_EQ(ListCellColours::forCell(Default, Default, State::SelectedFocused, dark).text,
              dark.highlightedText);
}

TEST(ListCellColoursTest, ALightPaletteKeepsTheProgramsOwnColours)
{
    // A light palette with a highlight of its own: the fixed look stays.
    const ListCellColours::System light{rgb(0, 0, 0), rgb(0xFF, 0xFF, 0xFF), rgb(0x30, 0x8C, 0xC6),
                                        rgb(0xFF, 0xFF, 0xFF)};
    EXPECT_FALSE(ListCellColours::isDark(light));
    EXPECT_EQ(ListCellColours::forCell(Default, Default, State::SelectedFocused, light),
              (ListCellColours::Pair{rgb(0, 0, 0x80), rgb(0xFB, 0xC4, 0xF4)}));
    // A coloured cell's own low-contrast text is the caller's choice there.
    EXPECT_EQ(ListCellColours::forCell(rgb(0xEE, 0xEE, 0xEE), Default, State::Normal, light).text,
              rgb(0xEE, 0xEE, 0xEE));
}

TEST(ListCellColoursTest, ContrastFollowsTheWcagFormula)
{
    EXPECT_DOUBLE_EQ(ListCellColours::contrastRatio(rgb(0, 0, 0), rgb(0xFF, 0xFF, 0xFF)), 21.0);
    EXPECT_DOUBLE_EQ(ListCellColours::contrastRatio(rgb(0x80, 0, 0), rgb(0x80, 0, 0)), 1.0);
    // #777777 on white is the well-known borderline grey, just below 4.5.
    EXPECT_NEAR(ListCellColours::contrastRatio(rgb(0x77, 0x77, 0x77), rgb(0xFF, 0xFF, 0xFF)), 4.48,
                0.01);
    // Pure green weighs far more than pure blue.
    EXPECT_GT(ListCellColours::relativeLuminance(rgb(0, 0xFF, 0)),
              ListCellColours::relativeLuminance(rgb(0, 0, 0xFF)) * 9);
    EXPECT_EQ(ListCellColours::readableOn(rgb(0x77, 0x77, 0x77), rgb(0xFF, 0xFF, 0xFF)),
              rgb(0, 0, 0));
    EXPECT_EQ(ListCellColours::readableOn(rgb(0x70, 0x70, 0x70), rgb(0xFF, 0xFF, 0xFF)),
              rgb(0x70, 0x70, 0x70));
    EXPECT_EQ(ListCellColours::readableOn(rgb(0x30, 0x30, 0x30), rgb(0x20, 0x20, 0x20)),
              rgb(0xFF, 0xFF, 0xFF));
}
