#include "render/FCVSurface.h"

#include "SurfaceTestFolder.h"
#include "platform/FileFaults.h"
#include "platform/ScriptedPrompt.h"
#include "platform/WinError.h"
#include "render/DeviceContext.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

uint32_t le32(const std::vector<uint8_t>& bytes, std::size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<uint32_t>(bytes[at + 3]) << 24;
}

uint16_t le16(const std::vector<uint8_t>& bytes, std::size_t at)
{
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

int countValue(const FCVSurface& surface, uint8_t value)
{
    int count = 0;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            count += *surface.pixel(x, y) == value;
    return count;
}

uint8_t sample(int x, int y)
{
    return static_cast<uint8_t>(x * 7 + y * 13);
}

void paintSample(FCVSurface& surface)
{
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x)
            *surface.pixel(x, y) = sample(x, y);
}

} // namespace

TEST(FCVSurfaceTest, PageSurfaceIsWhiteWithRowsOfItsWidth)
{
    FCVSurface page(864, 1152, 255);
    EXPECT_EQ(page.width(), 864);
    EXPECT_EQ(page.height(), 1152);
    EXPECT_EQ(page.stride(), 864);
    ASSERT_EQ(page.byteSize(), 864u * 1152u);
    EXPECT_TRUE(std::all_of(page.bits(), page.bits() + page.byteSize(),
                            [](uint8_t b) { return b == 255; }));
}

TEST(FCVSurfaceTest, NarrowSurfacePadsRowsAndStartsAtZero)
{
    FCVSurface narrow(2, 2, -1);
    EXPECT_EQ(narrow.stride(), 4);
    ASSERT_EQ(narrow.byteSize(), 8u);
    EXPECT_TRUE(std::all_of(narrow.bits(), narrow.bits() + 8, [](uint8_t b) { return b == 0; }));

    // A fill sets the pixels only: the row tails stay 0.
    narrow.create(3, 2, 9);
    ASSERT_EQ(narrow.stride(), 4);
    const uint8_t expected[] = {9, 9, 9, 0, 9, 9, 9, 0};
    EXPECT_TRUE(std::equal(expected, expected + 8, narrow.bits()));

    FCVSurface standard;
    EXPECT_EQ(standard.width(), 16);
    EXPECT_EQ(standard.height(), 16);
    EXPECT_EQ(countValue(standard, 0), 256);
}

TEST(FCVSurfaceTest, RowsAreStoredBottomUp)
{
    FCVSurface page(864, 1152, 255);
    EXPECT_EQ(page.pixel(0, 0), page.bits() + 864 * 1151);
    EXPECT_EQ(page.pixel(0, 1151), page.bits());
    EXPECT_EQ(page.pixel(5, 1150), page.bits() + 864 + 5);

    FCVSurface padded(5, 3, 0);
    EXPECT_EQ(padded.pixel(4, 0), padded.bits() + 8 * 2 + 4);
}

TEST(FCVSurfaceTest, FillLeavesRightAndBottomEdgesOut)
{
    FCVSurface surface(8, 8, 255);
    surface.fill(0, FCRect{2, 3, 5, 7});
    EXPECT_EQ(countValue(surface, 0), 3 * 4);
    EXPECT_EQ(*surface.pixel(2, 3), 0);
    EXPECT_EQ(*surface.pixel(4, 6), 0);
    EXPECT_EQ(*surface.pixel(5, 6), 255);
    EXPECT_EQ(*surface.pixel(4, 7), 255);
    EXPECT_EQ(*surface.pixel(1, 3), 255);
    EXPECT_EQ(*surface.pixel(2, 2), 255);
}

TEST(FCVSurfaceTest, FillIsClippedToTheSurface)
{
    struct Case {
        FCRect rect;
        int filled;
    };
    const Case cases[] = {
        {{-3, -3, 2, 2}, 4}, {{6, 6, 20, 20}, 4}, {{-10, 0, 100, 1}, 8}, {{5, 5, 5, 9}, 0},
        {{5, 5, 2, 2}, 0},   {{8, 0, 12, 8}, 0},  {{0, 0, 8, 8}, 64},
    };
    for (const Case& c : cases) {
        FCVSurface surface(8, 8, 255);
        surface.fill(7, c.rect);
        EXPECT_EQ(countValue(surface, 7), c.filled)
            << c.rect.left << "," << c.rect.top << "," << c.rect.right << "," << c.rect.bottom;
    }
    FCVSurface whole(5, 2, 255);
    whole.fill(3);
    EXPECT_EQ(countValue(whole, 3), 10);
    EXPECT_EQ(whole.bits()[5], 0) << "row tail touched";
}

TEST(FCVSurfaceTest, BmpFileHoldsHeaderGreyPaletteAndBottomUpRows)
{
    SurfaceTestFolder folder;
    ASSERT_TRUE(folder.isValid());
    FCVSurface page(1152, 864, -1);
    paintSample(page);
    // The extension is forced to ".bmp".
    ASSERT_TRUE(page.saveBmp((folder / "page.png").c_str()));
    EXPECT_FALSE(std::filesystem::exists(folder / "page.png"));

    std::vector<uint8_t> file = SurfaceTestFolder::read(folder / "page.bmp");
    ASSERT_EQ(file.size(), 1152u * 864u + 1078u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(le32(file, 2), 1152u * 864u + 1078u);
    EXPECT_EQ(le32(file, 6), 0u);
    EXPECT_EQ(le32(file, 10), 1078u);
    EXPECT_EQ(le32(file, 14), 40u);
    EXPECT_EQ(le32(file, 18), 1152u);
    EXPECT_EQ(le32(file, 22), 864u);
    EXPECT_EQ(le16(file, 26), 1u);
    EXPECT_EQ(le16(file, 28), 8u);
    for (std::size_t at = 30; at < 54; at += 4)
        EXPECT_EQ(le32(file, at), 0u) << "info header field at " << at;
    for (uint32_t i = 0; i < 256; ++i)
        ASSERT_EQ(le32(file, 54 + 4 * i), i | i << 8 | i << 16) << "palette entry " << i;
    for (int row = 0; row < 864; ++row) {
        const uint8_t* stored = file.data() + 1078 + static_cast<std::size_t>(row) * 1152;
        const int y = 863 - row; // bottom row first
        for (int x = 0; x < 1152; ++x)
            ASSERT_EQ(stored[x], sample(x, y)) << "x " << x << " y " << y;
    }
}

TEST(FCVSurfaceTest, BmpOverAnOlderLongerFileIsCutToSize)
{
    SurfaceTestFolder folder;
    ASSERT_TRUE(folder.isValid());
    {
        std::ofstream old(folder / "page.bmp", std::ios::binary);
        old << std::string(200000, 'x');
    }
    FCVSurface small(5, 3, 200);
    ASSERT_TRUE(small.saveBmp((folder / "page.bmp").c_str()));
    std::vector<uint8_t> file = SurfaceTestFolder::read(folder / "page.bmp");
    ASSERT_EQ(file.size(), 8u * 3u + 1078u);
    EXPECT_EQ(le32(file, 2), 8u * 3u + 1078u);
    EXPECT_EQ(le32(file, 18), 5u);
    const uint8_t row[] = {200, 200, 200, 200, 200, 0, 0, 0};
    for (int r = 0; r < 3; ++r)
        EXPECT_TRUE(std::equal(row, row + 8, file.data() + 1078 + 8 * r)) << "row " << r;
}

TEST(FCVSurfaceTest, BmpCancelledByTheUserIsReportedAsNotWritten)
{
    SurfaceTestFolder folder;
    ASSERT_TRUE(folder.isValid());
    FCVSurface page(16, 16, 255);

    ScriptedPrompt cancel{Prompt::Answer::Cancel};
    {
        Prompt::Scope scope(cancel);
        EXPECT_FALSE(page.saveBmp((folder / "missing/page.bmp").c_str()));
    }
    EXPECT_EQ(cancel.questions().size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));

    // A write that fails and is cancelled is no success either.
    FileFaults::Scope faults;
    FileFaults::fail(FileFaults::Kind::Write, WinError::NotReady);
    ScriptedPrompt cancelWrite{Prompt::Answer::Cancel};
    {
        Prompt::Scope scope(cancelWrite);
        EXPECT_FALSE(page.saveBmp((folder / "page.bmp").c_str()));
    }
    EXPECT_EQ(cancelWrite.questions().size(), 1u);

    // Retry after a failed write completes the file.
    FileFaults::fail(FileFaults::Kind::Write, WinError::NotReady);
    ScriptedPrompt retry{Prompt::Answer::Retry};
    {
        Prompt::Scope scope(retry);
        EXPECT_TRUE(page.saveBmp((folder / "page.bmp").c_str()));
    }
    EXPECT_EQ(SurfaceTestFolder::read(folder / "page.bmp").size(), 256u + 1078u);
}

TEST(FCVSurfaceTest, TurningClockwiseMovesEveryPixelWhereTheRuleSays)
{
    FCVSurface page(864, 1152, 255);
    *page.pixel(10, 20) = 0;
    std::unique_ptr<FCVSurface> turned = page.turnedClockwise();
    ASSERT_EQ(turned->width(), 1152);
    ASSERT_EQ(turned->height(), 864);
    EXPECT_EQ(*turned->pixel(1151 - 20, 10), 0);
    EXPECT_EQ(countValue(*turned, 0), 1);

    // Odd sizes (padded rows, tiles cut short) map pixel by pixel.
    for (auto [w, h] : {std::pair{5, 3}, std::pair{37, 70}, std::pair{1, 33}}) {
        FCVSurface source(w, h, -1);
        paintSample(source);
        std::unique_ptr<FCVSurface> result = source.turnedClockwise();
        ASSERT_EQ(result->width(), h);
        ASSERT_EQ(result->height(), w);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(*result->pixel(h - 1 - y, x), sample(x, y)) << w << "x" << h;
    }
}

TEST(FCVSurfaceTest, DrawingContextIsOneAndCarriesTheResolution)
{
    FCVSurface page(864, 1152, 255);
    DeviceContext& dc = page.lockDC();
    EXPECT_EQ(&dc, &page.lockDC());
    EXPECT_EQ(dc.logPixelsX(), 96);
    EXPECT_EQ(dc.logPixelsY(), 96);

    FCVSurface printerPage(100, 100, 255);
    printerPage.setResolution(600);
    EXPECT_EQ(printerPage.lockDC().logPixelsY(), 600);
    EXPECT_EQ(printerPage.turnedClockwise()->resolution(), 600);
}
