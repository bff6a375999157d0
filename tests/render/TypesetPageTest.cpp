#include "PageTestSupport.h"
#include "PdfReading.h"
#include "TestText.h"
#include "render/CairoDeviceContext.h"
#include "render/FCVSurface.h"
#include "render/PageRenderer.h"
#include "render/PdfScriptWriter.h"
#include "render/RecordingDeviceContext.h"
#include "render/ScriptPrinter.h"
#include "render/SurfaceDeviceContext.h"

#include <cairo.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// Pages of lines with upright digits and readings, drawn on the raster
// context (the PNG, BMP and printer pages) and on the vector one (the PDF
// pages).

using Kind = RecordingDeviceContext::Kind;
using Operation = RecordingDeviceContext::Operation;

namespace {

constexpr int Width = 864;
constexpr int Height = 1152;

// A grey page, row after row.
using Grey = std::vector<uint8_t>;

struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The dark ink in a box: its amount and horizontal and vertical centroids.
struct Ink {
    double amount = 0;
    double cx = 0;
    double cy = 0;
    Box box{Width, Height, 0, 0};
};

Ink inkIn(const Grey& grey, Box within)
{
    Ink ink;
    for (int y = std::max(0, within.top); y < std::min(Height, within.bottom); ++y) {
        for (int x = std::max(0, within.left); x < std::min(Width, within.right); ++x) {
            const int v = 255 - grey[static_cast<std::size_t>(y) * Width + x];
            if (v < 64)
                continue;
            ink.amount += v;
            ink.cx += static_cast<double>(v) * x;
            ink.cy += static_cast<double>(v) * y;
            ink.box = {std::min(ink.box.left, x), std::min(ink.box.top, y),
                       std::max(ink.box.right, x + 1), std::max(ink.box.bottom, y + 1)};
        }
    }
    if (ink.amount > 0) {
        ink.cx /= ink.amount;
        ink.cy /= ink.amount;
    }
    return ink;
}

ScriptPrinter* printerOf(const std::string& body, const TypesettingOptions& options)
{
    auto* printer = new ScriptPrinter;
    printer->setTypesetting(options);
    printer->loadText(sj(".scene\ts\n.start\t1\n.end\t9\n.chara\t1\n.悠人\t1\n.total\t1\n" + body));
    return printer;
}

// Page 1 of the director's copy drawn on the raster context, its calls
// recorded.
struct RasterPage {
    FCVSurface surface{Width, Height, 255};
    SurfaceDeviceContext target{surface};
    RecordingDeviceContext dc{&target};
    Grey grey;

    explicit RasterPage(const ScriptPrinter& printer)
    {
        PageRenderer renderer(printer);
        EXPECT_TRUE(renderer.draw(dc, -1, 0));
        grey.resize(static_cast<std::size_t>(Width) * Height);
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                grey[static_cast<std::size_t>(y) * Width + x] = *surface.pixel(x, y);
    }
};

// The same page on the vector context, over a cairo image.
Grey vectorPage(const ScriptPrinter& printer)
{
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, Width, Height);
    cairo_t* cr = cairo_create(image);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    {
        CairoDeviceContext dc(cr, Width, Height);
        PageRenderer renderer(printer);
        EXPECT_TRUE(renderer.draw(dc, -1, 0));
        dc.flush();
    }
    cairo_surface_flush(image);
    const unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    Grey grey(static_cast<std::size_t>(Width) * Height);
    for (int y = 0; y < Height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
        for (int x = 0; x < Width; ++x)
            grey[static_cast<std::size_t>(y) * Width + x] = (row[x] >> 8) & 0xFF;
    }
    cairo_destroy(cr);
    cairo_surface_destroy(image);
    return grey;
}

const Operation* find(const RecordingDeviceContext& dc, Kind kind, const std::string& text)
{
    for (const Operation& op : dc.operations())
        if (op.kind == kind && op.text == text)
            return &op;
    return nullptr;
}

// A note whose base, 灯台守, starts the line after its 12-space lead.
const std::string rubyNote = " ｜灯台守《とうだいもり》の話\n";

} // namespace

TEST(TypesetPageTest, TheReadingLiesBesideItsBaseCentredOnIt)
{
    for (const bool ruby : {false, true}) {
        std::unique_ptr<ScriptPrinter> printer(printerOf(rubyNote, {{}, false, ruby}));
        RasterPage page(*printer);
        const Grey& raster = page.grey;
        RecordingDeviceContext* dc = &page.dc;
        const Operation* line =
            find(*dc, Kind::TextOut,
                 sj(ruby ? "            灯台守の話" : "            ｜灯台守《とうだいもり》の話"));
        ASSERT_NE(line, nullptr) << "ruby " << ruby;
        const Operation* reading = find(*dc, Kind::InkOut, sj("とうだいもり"));
        if (!ruby) {
            EXPECT_EQ(reading, nullptr) << "the notation prints as written";
            EXPECT_EQ(inkIn(raster, {line->x, line->y - 12, Width, line->y - 2}).amount, 0);
            continue;
        }
        ASSERT_NE(reading, nullptr);
        // The reading's cell ends where the line's begins: to the right of
        // the column as the page is read.
        EXPECT_LT(reading->y, line->y);
        const Box band{line->x, reading->y, Width, line->y};
        const Box row{line->x, line->y, Width, line->y + 20};
        // The width of a cell in the line's face, as the renderer measured it.
        const Operation* measured = find(*dc, Kind::TextExtent, sj("　"));
        ASSERT_NE(measured, nullptr);
        const int cell = measured->cx;
        for (const Grey& page : {raster, vectorPage(*printer)}) {
            const Ink readingInk = inkIn(page, band);
            const Ink lineInk = inkIn(page, row);
            ASSERT_GT(readingInk.amount, 0);
            ASSERT_GT(lineInk.amount, 0);
            // The base takes the first three cells of the line's ink.
            const double baseCentre = lineInk.box.left + 1.5 * cell;
            EXPECT_NEAR(readingInk.cx, baseCentre, cell / 2.0);
            EXPECT_GE(readingInk.box.left, lineInk.box.left - cell);
            EXPECT_LE(readingInk.box.right, lineInk.box.left + 4 * cell);
            // Half height: the reading's ink is at most about half a cell
            // across.
            EXPECT_LE(readingInk.box.bottom - readingInk.box.top, cell / 2 + 2);
        }
    }
}

TEST(TypesetPageTest, TheReadingIsInkOnlyInThePdfText)
{
    ASSERT_TRUE(pdfread::pdfinfoInstalled()) << "poppler-utils is needed";
    pagetest::ScratchFolder folder;
    std::unique_ptr<ScriptPrinter> printer(printerOf(rubyNote, {{}, false, true}));
    printer->setOptions(ScriptPrinter::OptionGenericScript);
    PdfScriptWriter writer(PdfScriptWriter::Grouping::PerScript,
                           FCString(folder.destination().c_str()));
    pagetest::printScene(*printer, writer);
    ASSERT_FALSE(folder.files().empty());
    const std::string text = pdfread::shell("pdftotext -enc UTF-8 '" +
                                            folder / folder.files().back() + "' - 2>/dev/null");
    EXPECT_NE(text.find("灯台守の話"), std::string::npos) << text;
    EXPECT_EQ(text.find("とうだいもり"), std::string::npos) << text;
    EXPECT_EQ(text.find("《"), std::string::npos) << text;
}

TEST(TypesetPageTest, UprightDigitsStandInOneCellOnBothContexts)
{
    // "12" after the lead, then a blank cell and "あ": upright, the two digits take one cell
    // and lie side by side across the line, the first one lower.
    for (const bool upright : {false, true}) {
        std::unique_ptr<ScriptPrinter> printer(printerOf(" 12　あ\n", {{}, upright, false}));
        RasterPage page(*printer);
        const Grey& raster = page.grey;
        RecordingDeviceContext* dc = &page.dc;
        const Operation* cell = find(*dc, Kind::UprightOut, "12");
        if (!upright) {
            EXPECT_EQ(cell, nullptr);
            continue;
        }
        ASSERT_NE(cell, nullptr);
        const Operation* measured = find(*dc, Kind::TextExtent, sj("　"));
        ASSERT_NE(measured, nullptr);
        const int em = measured->cx;
        EXPECT_EQ(cell->cell, em);
        EXPECT_GT(em, 10);
        // The text after the cell starts one cell on.
        const Operation* after = find(*dc, Kind::TextOut, sj("　あ"));
        ASSERT_NE(after, nullptr);
        EXPECT_EQ(after->x, cell->x + em);

        const Grey vector = vectorPage(*printer);
        const Box box{cell->x - 2, cell->y - 2, cell->x + em + 2, cell->y + em + 2};
        const Box first{cell->x - 2, cell->y + em / 2, cell->x + em + 2, cell->y + em + 2};
        const Box second{cell->x - 2, cell->y - 2, cell->x + em + 2, cell->y + em / 2};
        for (const Grey* page : {&raster, &vector}) {
            const Ink ink = inkIn(*page, box);
            ASSERT_GT(ink.amount, 0);
            // Two digits turned: taller across the line than along it.
            EXPECT_GT(ink.box.bottom - ink.box.top, ink.box.right - ink.box.left);
            EXPECT_GT(inkIn(*page, first).amount, 0) << "the 1, lower";
            EXPECT_GT(inkIn(*page, second).amount, 0) << "the 2, higher";
            // The digits stay inside their cell.
            EXPECT_EQ(
                inkIn(*page, {cell->x + em + 2, cell->y, cell->x + em + 4, cell->y + em}).amount,
                0);
        }
        // Both contexts put the ink in the same place.
        EXPECT_NEAR(inkIn(raster, box).cx, inkIn(vector, box).cx, 1.0);
        EXPECT_NEAR(inkIn(raster, box).cy, inkIn(vector, box).cy, 1.0);
    }
}

TEST(TypesetPageTest, UprightDigitsKeepTheirReadingOrderInThePdfText)
{
    ASSERT_TRUE(pdfread::pdfinfoInstalled()) << "poppler-utils is needed";
    pagetest::ScratchFolder folder;
    std::unique_ptr<ScriptPrinter> printer(printerOf(" 第12話の3人\n", {{}, true, false}));
    printer->setOptions(ScriptPrinter::OptionGenericScript);
    PdfScriptWriter writer(PdfScriptWriter::Grouping::PerScript,
                           FCString(folder.destination().c_str()));
    pagetest::printScene(*printer, writer);
    ASSERT_FALSE(folder.files().empty());
    const std::string text = pdfread::shell("pdftotext -enc UTF-8 '" +
                                            folder / folder.files().back() + "' - 2>/dev/null");
    EXPECT_NE(text.find("第12話の3人"), std::string::npos) << text;
}
