#include "ui/ListGauge.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace {

using Rect = ListGauge::Rect;

struct LayoutCase {
    std::string name;
    Rect cell;
    int percent;
    Rect frame;
    Rect inside;
    Rect filled;
};

// Names the case in test listings instead of its bytes.
void PrintTo(const LayoutCase& c, std::ostream* os)
{
    *os << c.name;
}

class GaugeLayoutTest : public testing::TestWithParam<LayoutCase> {};

struct LabelCase {
    std::string name;
    std::string format;
    std::string fixedLabel;
    int percent;
    std::string expected;
};

void PrintTo(const LabelCase& c, std::ostream* os)
{
    *os << c.name;
}

class GaugeLabelTest : public testing::TestWithParam<LabelCase> {};

} // namespace

TEST_P(GaugeLayoutTest, TheCellNarrowsIntoFrameInsideAndFill)
{
    const LayoutCase& c = GetParam();
    const ListGauge::Layout got = ListGauge::layout(c.cell, c.percent);
    EXPECT_EQ(got.frame, c.frame);
    EXPECT_EQ(got.inside, c.inside);
    EXPECT_EQ(got.filled, c.filled);
}

INSTANTIATE_TEST_SUITE_P(
    ListGaugeTest, GaugeLayoutTest,
    testing::Values(
        // A 100 x 20 cell at (10, 40): frame 96 x 18 from (12, 40); inside
        // 94 x 16 from (13, 41); fill inside the shadow, 93 x 15 at most.
        LayoutCase{
            "Empty", {10, 40, 100, 20}, 0, {12, 40, 96, 18}, {13, 41, 94, 16}, {14, 42, 0, 15}},
        LayoutCase{
            "Half", {10, 40, 100, 20}, 50, {12, 40, 96, 18}, {13, 41, 94, 16}, {14, 42, 46, 15}},
        LayoutCase{
            "Full", {10, 40, 100, 20}, 100, {12, 40, 96, 18}, {13, 41, 94, 16}, {14, 42, 93, 15}},
        LayoutCase{"AbovehundredIsFull",
                   {10, 40, 100, 20},
                   250,
                   {12, 40, 96, 18},
                   {13, 41, 94, 16},
                   {14, 42, 93, 15}},
        LayoutCase{"NegativeIsEmpty",
                   {10, 40, 100, 20},
                   -5,
                   {12, 40, 96, 18},
                   {13, 41, 94, 16},
                   {14, 42, 0, 15}},
        LayoutCase{"TinyCellNeverGoesNegative",
                   {0, 0, 3, 1},
                   100,
                   {2, 0, 0, 0},
                   {3, 1, 0, 0},
                   {4, 2, 0, 0}}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return info.param.name; });

TEST_P(GaugeLabelTest, TheLabelShowsThePercentSafely)
{
    const LabelCase& c = GetParam();
    EXPECT_EQ(ListGauge::label(c.format, c.fixedLabel, c.percent), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    ListGaugeTest, GaugeLabelTest,
    testing::Values(LabelCase{"DefaultFormat", "", "", 42, "42%"},
                    LabelCase{"OwnFormat", "done %d of 100", "", 7, "done 7 of 100"},
                    LabelCase{"FixedLabelAtZero", "", "waiting", 0, "waiting"},
                    LabelCase{"FixedLabelIgnoredAboveZero", "", "waiting", 1, "1%"},
                    LabelCase{"ZeroWithoutFixedLabel", "", "", 0, "0%"},
                    LabelCase{"ClampedPercent", "", "", 180, "100%"},
                    // Conversions other than %d and %% are kept as text, so a
                    // pattern can never read arguments that were not given.
                    LabelCase{"ForeignConversionsStayText", "%s %x %d", "", 3, "%s %x 3"},
                    LabelCase{"LonePercentAtEnd", "50%", "", 9, "50%"}),
    [](const testing::TestParamInfo<LabelCase>& info) { return info.param.name; });
