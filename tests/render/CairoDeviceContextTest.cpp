#include "render/CairoDeviceContext.h"

#include "TestFont.h"
#include "TestText.h"
#include "platform/FontHandle.h"
#include "render/FCFont.h"
#include "render/FCVSurface.h"
#include "render/SurfaceDeviceContext.h"

#include <cairo.h>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int Width = 320;
constexpr int Height = 200;

// Where the ink of a grey page lies: its amount, bounding box and centroid.
struct Ink {
    double amount = 0;
    double cx = 0;
    double cy = 0;
    int left = Width;
    int top = Height;
    int right = 0;
    int bottom = 0;
};

Ink inkOf(const std::vector<uint8_t>& grey, int width, int height)
{
    Ink ink;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int v = 255 - grey[static_cast<std::size_t>(y) * width + x];
            if (v <= 0)
                continue;
            ink.amount += v;
            ink.cx += static_cast<double>(v) * x;
            ink.cy += static_cast<double>(v) * y;
            // The box counts clear ink only, so that faint anti-aliasing
            // fringes do not decide it.
            if (v >= 64) {
                ink.left = std::min(ink.left, x);
                ink.top = std::min(ink.top, y);
                ink.right = std::max(ink.right, x + 1);
                ink.bottom = std::max(ink.bottom, y + 1);
            }
        }
    }
    if (ink.amount > 0) {
        ink.cx /= ink.amount;
        ink.cy /= ink.amount;
    }
    return ink;
}

// A white cairo page of the test size, read back as grey levels.
class CairoPage {
public:
    CairoPage()
        : m_surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, Width, Height)),
          m_cr(cairo_create(m_surface))
    {
        cairo_set_source_rgb(m_cr, 1, 1, 1);
        cairo_paint(m_cr);
    }
    ~CairoPage()
    {
        cairo_destroy(m_cr);
        cairo_surface_destroy(m_surface);
    }
    CairoPage(const CairoPage&) = delete;
    CairoPage& operator=(const CairoPage&) = delete;

    cairo_t* cr() { return m_cr; }

    std::vector<uint8_t> grey()
    {
        cairo_surface_flush(m_surface);
        const unsigned char* data = cairo_image_surface_get_data(m_surface);
        const int stride = cairo_image_surface_get_stride(m_surface);
        std::vector<uint8_t> out(static_cast<std::size_t>(Width) * Height);
        for (int y = 0; y < Height; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
            for (int x = 0; x < Width; ++x)
                out[static_cast<std::size_t>(y) * Width + x] = (row[x] >> 8) & 0xFF;
        }
        return out;
    }

private:
    cairo_surface_t* m_surface;
    cairo_t* m_cr;
};

std::vector<uint8_t> greyOf(const FCVSurface& surface)
{
    std::vector<uint8_t> out(static_cast<std::size_t>(surface.width()) * surface.height());
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            out[static_cast<std::size_t>(y) * surface.width() + x] = *surface.pixel(x, y);
    return out;
}

struct GlyphCase {
    const char* name;
    const char* face; // UTF-8
    int weight;
    const char* text; // UTF-8
};

class CairoGlyphPlacement : public ::testing::TestWithParam<GlyphCase> {};

} // namespace

// The vector page puts every glyph where the raster page puts its coverage:
// same ink centroid and box within a pixel, about the same amount of ink.
// (Turned bold glyphs are compared on the PDF page: cairo's own rasteriser
// emboldens a glyph after turning it, which shifts the added stroke width to
// the other side, while a PDF's font program holds the glyph emboldened
// upright, as the raster page has it.)
TEST_P(CairoGlyphPlacement, InkLiesWhereTheRasterPageHasIt)
{
    const GlyphCase& c = GetParam();
    auto font = makeFont(c.face, -28, c.weight);

    FCVSurface raster(Width, Height, 255);
    SurfaceDeviceContext rasterDc(raster);
    rasterDc.selectFont(font.get());
    ASSERT_TRUE(rasterDc.textOut(40, 60, sj(c.text)));

    CairoPage page;
    {
        CairoDeviceContext vectorDc(page.cr(), Width, Height);
        vectorDc.selectFont(font.get());
        ASSERT_TRUE(vectorDc.textOut(40, 60, sj(c.text)));
        vectorDc.flush();
    }

    const Ink expected = inkOf(greyOf(raster), Width, Height);
    const Ink actual = inkOf(page.grey(), Width, Height);
    ASSERT_GT(expected.amount, 0);
    ASSERT_GT(actual.amount, 0);
    EXPECT_NEAR(actual.cx, expected.cx, 0.75);
    EXPECT_NEAR(actual.cy, expected.cy, 0.75);
    EXPECT_NEAR(actual.left, expected.left, 1);
    EXPECT_NEAR(actual.right, expected.right, 1);
    EXPECT_NEAR(actual.top, expected.top, 1);
    EXPECT_NEAR(actual.bottom, expected.bottom, 1);
    EXPECT_NEAR(actual.amount / expected.amount, 1.0, 0.2);
}

INSTANTIATE_TEST_SUITE_P(
    CairoDeviceContextTest, CairoGlyphPlacement,
    ::testing::Values(GlyphCase{"TurnedKana", "@ＭＳ ゴシック", 400, "あ"},
                      GlyphCase{"TurnedBracketTakesItsVerticalForm", "@ＭＳ 明朝", 400, "「"},
                      GlyphCase{"TurnedCommaTakesItsVerticalForm", "@ＭＳ 明朝", 400, "、"},
                      GlyphCase{"UprightBold", "ＭＳ ゴシック", 700, "漢字"},
                      GlyphCase{"UprightSingleBytes", "@ＭＳ 明朝", 400, "Ag1"},
                      GlyphCase{"MixedLine", "@ＭＳ 明朝", 400, "A「台詞」b"},
                      GlyphCase{"HorizontalFace", "ＭＳ ゴシック", 400, "あ「」"}),
    [](const ::testing::TestParamInfo<GlyphCase>& info) { return std::string(info.param.name); });

TEST(CairoDeviceContextTest, ShapingMatchesTheRasterGlyphs)
{
    // Advances, orientation and ink as the raster cache has them, in every
    // kind of face.
    struct FaceCase {
        const char* face;
        int weight;
        bool vertical;
    };
    const FaceCase faces[] = {
        {"@ＭＳ ゴシック", 400, true}, {"@ＭＳ 明朝", 700, true}, {"ＭＳ ゴシック", 400, false}};
    const char* const texts[] = {"あ", "「", "ー", "A", "1", " ", "\t", "ｱ", "　"};
    for (const FaceCase& f : faces) {
        auto font = makeFont(f.face, -20, f.weight);
        FontHandle& handle = *font->handle();
        for (const char* text : texts) {
            SCOPED_TRACE(std::string(f.face) + " [" + text + "]");
            const std::string cp932 = sj(text);
            const int code = cp932.size() == 2 ? (static_cast<unsigned char>(cp932[0]) << 8) |
                                                     static_cast<unsigned char>(cp932[1])
                                               : static_cast<unsigned char>(cp932[0]);
            const FontHandle::Shaping shaped = handle.shaping(code);
            const FontHandle::Glyph& glyph = handle.glyph(code);
            EXPECT_EQ(shaped.advance, glyph.advance);
            EXPECT_EQ(shaped.turned, f.vertical && cp932.size() == 2);
            const bool blank = cp932 == " " || cp932 == "\t";
            EXPECT_EQ(shaped.utf8, blank ? std::string(" ") : std::string(text));
            EXPECT_EQ(shaped.glyphs.empty(), blank);
            // Every inked piece comes from a shaped glyph.
            EXPECT_LE(glyph.pieces.size(), shaped.glyphs.size());
        }
    }
}

TEST(CairoDeviceContextTest, ShadedLinesGoBackToTheirPlaceInReadingOrder)
{
    CairoPage page;
    auto font = makeFont("@ＭＳ 明朝", -14, 400);
    CairoDeviceContext dc(page.cr(), Width, Height);
    dc.selectFont(font.get());
    // A header running up the left edge, drawn bottom first: its order
    // stays as drawn.
    dc.textOut(10, 60, sj("ｓ"));
    dc.textOut(10, 50, sj("１"));
    // Lines at the left edge 48, the comment block (y 76 and 96) drawn last
    // over its shading, as the renderer draws it.
    dc.textOut(48, 56, sj("一"));
    dc.textOut(48, 116, sj("四"));
    dc.textOut(48, 136, sj("五"));
    dc.fillRect({48, 76, 90, 110}, {DeviceContext::BrushKind::None, 0, nullptr});
    dc.textOut(48, 76, sj("二"));
    dc.textOut(48, 96, sj("三"));

    std::string order;
    for (const CairoDeviceContext::PendingText& text : dc.pendingTexts())
        order += text.utf8;
    EXPECT_EQ(order, "ｓ１一二三四五");
    dc.flush();
    EXPECT_TRUE(dc.pendingTexts().empty());
}

TEST(CairoDeviceContextTest, TextAfterAFillOutsideItKeepsItsPlace)
{
    CairoPage page;
    auto font = makeFont("@ＭＳ 明朝", -14, 400);
    CairoDeviceContext dc(page.cr(), Width, Height);
    dc.selectFont(font.get());
    dc.textOut(48, 56, sj("一"));
    dc.textOut(48, 96, sj("三"));
    dc.fillRect({48, 56, 90, 70}, {DeviceContext::BrushKind::Solid, 200, nullptr});
    dc.textOut(48, 76, sj("二")); // below the shading: an ordinary later line
    std::string order;
    for (const CairoDeviceContext::PendingText& text : dc.pendingTexts())
        order += text.utf8;
    EXPECT_EQ(order, "一三二");
}

TEST(CairoDeviceContextTest, FillsMatchTheRasterPixelForPixel)
{
    FCVSurface tile(3, 3, 255);
    *tile.pixel(0, 0) = 40;
    struct Case {
        const char* name;
        DeviceContext::Brush brush;
        FCRect rect;
    };
    const Case cases[] = {
        {"solid", {DeviceContext::BrushKind::Solid, 128, nullptr}, {10, 20, 50, 33}},
        {"black", {DeviceContext::BrushKind::Solid, 0, nullptr}, {0, 0, 7, 9}},
        {"pattern", {DeviceContext::BrushKind::Pattern, 0, &tile}, {5, 7, 44, 31}},
        {"clipped",
         {DeviceContext::BrushKind::Solid, 90, nullptr},
         {-5, Height - 4, 12, Height + 9}},
        {"none", {DeviceContext::BrushKind::None, 0, nullptr}, {5, 5, 60, 60}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FCVSurface raster(Width, Height, 255);
        SurfaceDeviceContext rasterDc(raster);
        rasterDc.fillRect(c.rect, c.brush);
        CairoPage page;
        CairoDeviceContext vectorDc(page.cr(), Width, Height);
        vectorDc.fillRect(c.rect, c.brush);
        vectorDc.flush();
        const std::vector<uint8_t> expected = greyOf(raster);
        const std::vector<uint8_t> actual = page.grey();
        int different = 0;
        for (std::size_t i = 0; i < expected.size(); ++i)
            different += std::abs(int(expected[i]) - int(actual[i])) > 1;
        EXPECT_EQ(different, 0);
    }
}

TEST(CairoDeviceContextTest, MeasuresAsTheRasterContext)
{
    auto font = makeFont("@ＭＳ 明朝", -14, 700);
    FCVSurface raster(Width, Height, 255);
    SurfaceDeviceContext rasterDc(raster);
    CairoPage page;
    CairoDeviceContext vectorDc(page.cr(), Width, Height);
    EXPECT_EQ(vectorDc.logPixelsX(), 96);
    EXPECT_EQ(vectorDc.logPixelsY(), 96);
    for (DeviceContext* dc :
         {static_cast<DeviceContext*>(&rasterDc), static_cast<DeviceContext*>(&vectorDc)})
        dc->selectFont(font.get());
    const std::string text = sj("* コメント ABC");
    int rcx = 0, rcy = 0, vcx = 0, vcy = 0;
    ASSERT_TRUE(rasterDc.textExtent(text, rcx, rcy));
    ASSERT_TRUE(vectorDc.textExtent(text, vcx, vcy));
    EXPECT_EQ(vcx, rcx);
    EXPECT_EQ(vcy, rcy);
    EXPECT_GT(vcx, 0);
}

TEST(CairoDeviceContextTest, SelectingAFontNotCreatedKeepsThePreviousOne)
{
    CairoPage page;
    CairoDeviceContext dc(page.cr(), Width, Height);
    auto font = makeFont("@ＭＳ 明朝", -14, 400);
    FCFont notCreated;
    EXPECT_EQ(dc.selectFont(font.get()), nullptr);
    EXPECT_EQ(dc.selectFont(&notCreated), nullptr);
    EXPECT_EQ(dc.selectFont(nullptr), font.get());
    // The default font of a fresh context still draws.
    EXPECT_TRUE(dc.textOut(10, 10, sj("あ")));
    dc.flush();
    EXPECT_GT(inkOf(page.grey(), Width, Height).amount, 0);
}
