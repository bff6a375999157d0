#include "render/SurfaceDeviceContext.h"

#include "TestFont.h"
#include "TestText.h"
#include "platform/FontHandle.h"
#include "render/FCFont.h"
#include "render/FCVSurface.h"
#include "render/RecordingDeviceContext.h"

#include <climits>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct Ink {
    int left = INT_MAX;
    int top = INT_MAX;
    int right = INT_MIN; // exclusive
    int bottom = INT_MIN;
    long long amount = 0; // sum of darkening against the background

    bool any() const { return amount > 0; }
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

Ink inkOf(const FCVSurface& surface, uint8_t background = 255)
{
    Ink ink;
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            const uint8_t v = *surface.pixel(x, y);
            if (v == background)
                continue;
            ink.amount += background - v;
            ink.left = std::min(ink.left, x);
            ink.top = std::min(ink.top, y);
            ink.right = std::max(ink.right, x + 1);
            ink.bottom = std::max(ink.bottom, y + 1);
        }
    }
    return ink;
}

Ink drawn(const std::string& faceUtf8, int height, const std::string& textUtf8, int x, int y,
          int weight = 400)
{
    FCVSurface surface(400, 300, 255);
    std::unique_ptr<FCFont> font = makeFont(faceUtf8, height, weight);
    DeviceContext& dc = surface.lockDC();
    dc.selectFont(font.get());
    EXPECT_TRUE(dc.textOut(x, y, sj(textUtf8)));
    dc.selectFont(nullptr);
    return inkOf(surface);
}

} // namespace

TEST(SurfaceDeviceContextTest, VerticalFaceTurnsFullWidthCharacters)
{
    // "一" is a horizontal stroke: turned, it stands upright.
    Ink vertical = drawn("@ＭＳ ゴシック", -40, "一", 20, 20);
    ASSERT_TRUE(vertical.any());
    EXPECT_GT(vertical.height(), 3 * vertical.width());
    Ink horizontal = drawn("ＭＳ ゴシック", -40, "一", 20, 20);
    ASSERT_TRUE(horizontal.any());
    EXPECT_GT(horizontal.width(), 3 * horizontal.height());

    // "ー" has a vertical form (a vertical bar), which the turn lays down
    // again: without the 'vert' form it would stand upright.
    Ink bar = drawn("@ＭＳ 明朝", -40, "ー", 20, 20);
    ASSERT_TRUE(bar.any());
    EXPECT_GT(bar.width(), 3 * bar.height());

    // Single-byte characters stay upright in a vertical face: "l" and "|"
    // are taller than wide either way.
    Ink upright = drawn("@ＭＳ ゴシック", -40, "|", 20, 20);
    ASSERT_TRUE(upright.any());
    EXPECT_GT(upright.height(), 3 * upright.width());
}

TEST(SurfaceDeviceContextTest, TurnedGlyphLiesInTheEmSquareAcrossItsAdvance)
{
    const int x = 30;
    const int y = 50;
    const int em = 40;
    // The upright stroke of the turned "一" stands near the middle of the
    // advance; the turned "、" keeps its vertical form's place at the top
    // right of the em square.
    Ink stroke = drawn("@ＭＳ ゴシック", -em, "一", x, y);
    const int middle = (stroke.left + stroke.right) / 2;
    EXPECT_NEAR(middle, x + em / 2, em / 8);
    EXPECT_GE(stroke.left, x);
    EXPECT_LE(stroke.right, x + em);
    EXPECT_GE(stroke.top, y);
    EXPECT_LE(stroke.bottom, y + em);

    // The vertical "、" sits at the top right of its em square; turned
    // counter-clockwise that is the top left, which the page's clockwise turn
    // brings back to the top right.
    Ink comma = drawn("@ＭＳ 明朝", -em, "、", x, y);
    ASSERT_TRUE(comma.any());
    EXPECT_GE(comma.left, x);
    EXPECT_LE(comma.right, x + em / 2);
    EXPECT_GE(comma.top, y);
    EXPECT_LE(comma.bottom, y + em / 2);
    Ink upright = drawn("ＭＳ 明朝", -em, "、", x, y);
    EXPECT_GT(upright.bottom, y + em / 2) << "upright, it sits at the bottom left";
}

TEST(SurfaceDeviceContextTest, TextDrawnAtYHasNoInkAboveIt)
{
    struct Case {
        const char* face;
        const char* text;
    };
    const Case cases[] = {
        {"@ＭＳ ゴシック", "あ漢字ーAbgj|（）「」"},
        {"ＭＳ ゴシック", "あ漢字ーAbgj|（）「」"},
        {"@ＭＳ 明朝", "一二三、。『』Ｐ－１"},
        {"ＭＳ 明朝", "ÅÉgjpqy"},
    };
    for (const Case& c : cases) {
        const int y = 40;
        FCVSurface surface(600, 200, 255);
        std::unique_ptr<FCFont> font = makeFont(c.face, -30);
        DeviceContext& dc = surface.lockDC();
        dc.selectFont(font.get());
        ASSERT_TRUE(dc.textOut(10, y, sj(c.text)));
        int cx = 0;
        int cy = 0;
        ASSERT_TRUE(dc.textExtent(sj(c.text), cx, cy));
        Ink ink = inkOf(surface);
        ASSERT_TRUE(ink.any()) << c.face;
        EXPECT_GE(ink.top, y) << c.face << " " << c.text;
        EXPECT_LE(ink.bottom, y + cy) << c.face << " " << c.text;
        EXPECT_GE(ink.left, 10) << c.face << " " << c.text;
        EXPECT_LE(ink.right, 10 + cx) << c.face << " " << c.text;
    }
}

TEST(SurfaceDeviceContextTest, ExtentIsTheSumOfAdvancesAndTheCellHeight)
{
    FCVSurface surface(400, 300, 255);
    for (const char* face : {"@ＭＳ ゴシック", "ＭＳ ゴシック", "@ＭＳ 明朝"}) {
        std::unique_ptr<FCFont> font = makeFont(face, -20);
        DeviceContext& dc = surface.lockDC();
        dc.selectFont(font.get());
        int cx = 0;
        int cy = 0;
        ASSERT_TRUE(dc.textExtent(sj("あa"), cx, cy));
        EXPECT_EQ(cx, 20 + 10) << face; // an em and half an em in a fixed-pitch face
        const FontHandle::Metrics& metrics = font->handle()->metrics();
        EXPECT_EQ(cy, metrics.cellHeight) << face;
        EXPECT_EQ(metrics.cellHeight, metrics.ascent + metrics.descent);
        EXPECT_GE(cy, 20) << face;
        ASSERT_TRUE(dc.textExtent(sj("ＡＢＣＤ12"), cx, cy));
        EXPECT_EQ(cx, 4 * 20 + 2 * 10) << face;
        ASSERT_TRUE(dc.textExtent("", cx, cy));
        EXPECT_EQ(cx, 0);
        dc.selectFont(nullptr);
    }
}

TEST(SurfaceDeviceContextTest, AFaceDrawnBolderThanItIsAdvancesOnePixelMore)
{
    // The IPA faces behind the aliases have no bold face of their own, so
    // weight 700 is emboldened, and every advance widens by a pixel.
    FCVSurface surface(400, 300, 255);
    const std::string line = sj("abcdefgあいうえおかきくけこさしすせそ"); // 7 + 15
    const struct {
        const char* face;
        int weight;
        int width;
    } cases[] = {
        {"ＭＳ ゴシック", 400, 7 * 7 + 15 * 14},
        {"ＭＳ ゴシック", 700, 7 * 8 + 15 * 15},
        {"@ＭＳ 明朝", 700, 7 * 8 + 15 * 15},
    };
    for (const auto& c : cases) {
        std::unique_ptr<FCFont> font = makeFont(c.face, -14, c.weight);
        RecordingDeviceContext recording(&surface.lockDC());
        recording.selectFont(font.get());
        int cx = 0;
        int cy = 0;
        ASSERT_TRUE(recording.textExtent(line, cx, cy));
        const auto measured = recording.operations(RecordingDeviceContext::Kind::TextExtent);
        ASSERT_EQ(measured.size(), 1u);
        EXPECT_EQ(measured[0].cx, c.width) << c.face << " " << c.weight;
        EXPECT_EQ(measured[0].font.weight, c.weight);
        recording.selectFont(nullptr);
    }
}

TEST(SurfaceDeviceContextTest, CharactersFollowEachOtherByTheirAdvances)
{
    // The second character's ink starts beyond the first one's advance.
    Ink first = drawn("@ＭＳ ゴシック", -20, "あ", 10, 10);
    Ink pair = drawn("@ＭＳ ゴシック", -20, "あ|", 10, 10);
    Ink alone = drawn("@ＭＳ ゴシック", -20, "|", 30, 10);
    ASSERT_TRUE(first.any() && pair.any() && alone.any());
    EXPECT_EQ(pair.right, alone.right);
    EXPECT_EQ(pair.amount, first.amount + alone.amount);
}

TEST(SurfaceDeviceContextTest, WeightFromSixHundredIsEmboldened)
{
    const std::string text = "台詞の一行ABC";
    Ink normal = drawn("@ＭＳ ゴシック", -30, text, 10, 10, 400);
    Ink bold = drawn("@ＭＳ ゴシック", -30, text, 10, 10, 700);
    Ink demi = drawn("@ＭＳ ゴシック", -30, text, 10, 10, 600);
    Ink light = drawn("@ＭＳ ゴシック", -30, text, 10, 10, 500);
    EXPECT_GT(bold.amount, normal.amount * 11 / 10);
    EXPECT_GT(demi.amount, normal.amount * 11 / 10);
    EXPECT_EQ(light.amount, normal.amount);
}

TEST(SurfaceDeviceContextTest, GlyphsDarkenWhatIsUnderThem)
{
    FCVSurface white(120, 60, 255);
    FCVSurface grey(120, 60, 200);
    std::unique_ptr<FCFont> font = makeFont("@ＭＳ 明朝", -30);
    for (FCVSurface* surface : {&white, &grey}) {
        DeviceContext& dc = surface->lockDC();
        dc.selectFont(font.get());
        dc.textOut(5, 5, sj("語り"));
        dc.selectFont(nullptr);
    }
    ASSERT_TRUE(inkOf(white).any());
    // On white a pixel keeps 255 - coverage; on 200 it keeps
    // 200 * (255 - coverage) / 255.
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 120; ++x)
            ASSERT_EQ(*grey.pixel(x, y), 200 * *white.pixel(x, y) / 255) << x << "," << y;

    // Drawing twice darkens again: the text is drawn over the background.
    FCVSurface twice(120, 60, 255);
    DeviceContext& dc = twice.lockDC();
    dc.selectFont(font.get());
    dc.textOut(5, 5, sj("語り"));
    dc.textOut(5, 5, sj("語り"));
    EXPECT_GT(inkOf(twice).amount, inkOf(white).amount);
}

TEST(SurfaceDeviceContextTest, SelectingKeepsThePreviousFontWhenTheNewOneIsNotCreated)
{
    FCVSurface surface(200, 100, 255);
    DeviceContext& dc = surface.lockDC();
    std::unique_ptr<FCFont> big = makeFont("@ＭＳ ゴシック", -40);
    FCFont uncreated;
    EXPECT_EQ(dc.selectFont(big.get()), nullptr);
    EXPECT_EQ(dc.selectFont(&uncreated), nullptr);
    int cx = 0;
    int cy = 0;
    ASSERT_TRUE(dc.textExtent(sj("あ"), cx, cy));
    EXPECT_EQ(cx, 40) << "the big font stays selected";

    std::unique_ptr<FCFont> small = makeFont("@ＭＳ ゴシック", -10);
    EXPECT_EQ(dc.selectFont(small.get()), big.get());
    EXPECT_EQ(dc.selectFont(big.get()), small.get());

    // The selected face outlives a release of its FCFont, as in GDI.
    big->release();
    ASSERT_TRUE(dc.textExtent(sj("あ"), cx, cy));
    EXPECT_EQ(cx, 40);
    EXPECT_TRUE(dc.textOut(0, 0, sj("あ")));
}

TEST(SurfaceDeviceContextTest, FreshContextDrawsInItsDefaultFont)
{
    FCVSurface surface(200, 100, 255);
    DeviceContext& dc = surface.lockDC();
    EXPECT_TRUE(dc.textOut(10, 10, sj("既定")));
    Ink ink = inkOf(surface);
    ASSERT_TRUE(ink.any());
    EXPECT_GE(ink.top, 10);
}

TEST(SurfaceDeviceContextTest, TextReachingBeyondTheEdgesIsClipped)
{
    FCVSurface surface(50, 30, 255);
    std::unique_ptr<FCFont> font = makeFont("@ＭＳ ゴシック", -40);
    DeviceContext& dc = surface.lockDC();
    dc.selectFont(font.get());
    EXPECT_TRUE(dc.textOut(-25, -20, sj("あいう")));
    EXPECT_TRUE(dc.textOut(30, 20, sj("あいう")));
    EXPECT_TRUE(dc.textOut(INT_MAX - 10, INT_MAX - 10, sj("あい")));
    EXPECT_TRUE(dc.textOut(INT_MIN, INT_MIN, sj("あい")));
    EXPECT_TRUE(inkOf(surface).any());
    // Broken CP932 (a lead byte at the end) draws without reading past it.
    EXPECT_TRUE(dc.textOut(0, 0, std::string("a\x82", 2)));
}

TEST(SurfaceDeviceContextTest, FillRectLeavesRightAndBottomEdgesOutAndClips)
{
    FCVSurface surface(20, 20, 255);
    DeviceContext& dc = surface.lockDC();
    dc.fillRect({2, 2, 10, 10}, {DeviceContext::BrushKind::None, 0, nullptr});
    EXPECT_FALSE(inkOf(surface).any());

    dc.fillRect({2, 3, 6, 8}, {DeviceContext::BrushKind::Solid, 0, nullptr});
    Ink ink = inkOf(surface);
    EXPECT_EQ(ink.left, 2);
    EXPECT_EQ(ink.top, 3);
    EXPECT_EQ(ink.right, 6);
    EXPECT_EQ(ink.bottom, 8);
    EXPECT_EQ(ink.amount, 4 * 5 * 255);

    dc.fillRect({15, -5, 40, 3}, {DeviceContext::BrushKind::Solid, 100, nullptr});
    EXPECT_EQ(*surface.pixel(19, 0), 100);
    EXPECT_EQ(*surface.pixel(15, 2), 100);
    EXPECT_EQ(*surface.pixel(15, 3), 255);
    EXPECT_EQ(inkOf(surface).amount, 4 * 5 * 255 + 5 * 3 * 155);
}

TEST(SurfaceDeviceContextTest, PatternTilesAreAlignedToTheSurfaceOrigin)
{
    for (int size : {2, 3, 4}) {
        FCVSurface tile(size, size, 255);
        *tile.pixel(1, 0) = 60;
        FCVSurface surface(40, 40, 255);
        DeviceContext& dc = surface.lockDC();
        const FCRect rect{3, 5, 17, 26};
        dc.fillRect(rect, {DeviceContext::BrushKind::Pattern, 0, &tile});
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 40; ++x) {
                const bool inside =
                    x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
                const uint8_t expected = inside ? *tile.pixel(x % size, y % size) : 255;
                ASSERT_EQ(*surface.pixel(x, y), expected) << size << ": " << x << "," << y;
            }
        }
    }
}
