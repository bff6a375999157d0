#include "render/FCVSurface24.h"

#include "PngTestReader.h"
#include "SurfaceTestFolder.h"
#include "platform/PngWriter.h"
#include "render/FCVSurface.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <png.h>

namespace {

uint8_t sample(int x, int y)
{
    return static_cast<uint8_t>(x * 5 + y * 11);
}

} // namespace

TEST(FCVSurface24Test, CopyTakesEveryGreyLevelThroughTheGreyPalette)
{
    FCVSurface grey(7, 3, -1);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            *grey.pixel(x, y) = sample(x, y);
    FCVSurface24 colour(grey);
    ASSERT_EQ(colour.width(), 7);
    ASSERT_EQ(colour.height(), 3);
    EXPECT_EQ(colour.stride(), 28);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 7; ++x) {
            const uint8_t* p = colour.pixel(x, y);
            EXPECT_EQ(p[0], sample(x, y));
            EXPECT_EQ(p[1], sample(x, y));
            EXPECT_EQ(p[2], sample(x, y));
            EXPECT_EQ(p[3], 0);
        }
    }
    // Bottom-up rows, 4 bytes a pixel.
    EXPECT_EQ(colour.pixel(1, 2), colour.pixel(0, 0) - 2 * 28 + 4);
}

TEST(FCVSurface24Test, TurningClockwiseMovesWholePixels)
{
    // Sizes that fill whole blocks of the turn and sizes that leave edges.
    for (auto [w, h] : {std::pair{8, 4}, std::pair{6, 4}, std::pair{9, 7}, std::pair{3, 2}}) {
        FCVSurface24 source(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                for (int b = 0; b < 4; ++b)
                    source.pixel(x, y)[b] = static_cast<uint8_t>(sample(x, y) + 64 * b);
        std::unique_ptr<FCVSurface24> turned = source.turnedClockwise();
        ASSERT_EQ(turned->width(), h);
        ASSERT_EQ(turned->height(), w);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                for (int b = 0; b < 4; ++b)
                    ASSERT_EQ(turned->pixel(h - 1 - y, x)[b],
                              static_cast<uint8_t>(sample(x, y) + 64 * b))
                        << w << "x" << h << " at " << x << "," << y;
    }
}

TEST(FCVSurface24Test, PngOfATurnedPageIsEightBitRgbWithEqualChannelsTopDown)
{
    SurfaceTestFolder folder;
    ASSERT_TRUE(folder.isValid());
    FCVSurface page(864, 1152, 255);
    for (int y = 0; y < 1152; y += 3)
        for (int x = 0; x < 864; x += 2)
            *page.pixel(x, y) = sample(x, y);
    std::unique_ptr<FCVSurface> turnedGrey = page.turnedClockwise();
    std::unique_ptr<FCVSurface24> turned = FCVSurface24(page).turnedClockwise();

    const std::string path = folder / "page.png";
    ASSERT_EQ(turned->savePng(path.c_str(), true), 0);
    DecodedPng png = readPng(path);
    ASSERT_TRUE(png.ok);
    EXPECT_EQ(png.width, 1152u);
    EXPECT_EQ(png.height, 864u);
    EXPECT_EQ(png.bitDepth, 8);
    EXPECT_EQ(png.colourType, PNG_COLOR_TYPE_RGB);
    EXPECT_EQ(png.interlace, PNG_INTERLACE_NONE);
    EXPECT_EQ(png.compression, PNG_COMPRESSION_TYPE_DEFAULT);
    EXPECT_EQ(png.filter, PNG_FILTER_TYPE_DEFAULT);
    ASSERT_TRUE(png.hasSbit);
    EXPECT_EQ(png.sbit.red, 8);
    EXPECT_EQ(png.sbit.green, 8);
    EXPECT_EQ(png.sbit.blue, 8);
    ASSERT_EQ(png.rows.size(), 864u);
    for (int y = 0; y < 864; ++y) {
        ASSERT_EQ(png.rows[y].size(), 1152u * 3u);
        for (int x = 0; x < 1152; ++x) {
            const uint8_t expected = *turnedGrey->pixel(x, y);
            const uint8_t* rgb = png.rows[y].data() + 3 * x;
            ASSERT_EQ(rgb[0], expected) << "x " << x << " y " << y;
            ASSERT_EQ(rgb[1], expected) << "x " << x << " y " << y;
            ASSERT_EQ(rgb[2], expected) << "x " << x << " y " << y;
        }
    }
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"page.png"}) << "temporary file left";
}

TEST(FCVSurface24Test, PngWithoutOverwriteLeavesAnExistingFileAlone)
{
    SurfaceTestFolder folder;
    ASSERT_TRUE(folder.isValid());
    const std::string path = folder / "page.png";
    {
        std::ofstream old(path, std::ios::binary);
        old << "old";
    }
    FCVSurface24 image(4, 4);
    EXPECT_EQ(image.savePng(path.c_str(), false), PngWriter::Exists);
    EXPECT_EQ(SurfaceTestFolder::read(path), (std::vector<uint8_t>{'o', 'l', 'd'}));

    EXPECT_EQ(image.savePng(path.c_str(), true), 0);
    EXPECT_TRUE(readPng(path).ok);

    const std::string fresh = folder / "fresh.png";
    EXPECT_EQ(image.savePng(fresh.c_str(), false), 0);
    EXPECT_EQ(readPng(fresh).width, 4u);
    EXPECT_EQ(folder.entries().size(), 2u);
}

TEST(FCVSurface24Test, PngThatCannotBeWrittenFailsWithoutLeavingAFile)
{
    SurfaceTestFolder folder;
    ASSERT_TRUE(folder.isValid());
    FCVSurface24 image(4, 4);
    EXPECT_LT(image.savePng((folder / "missing/page.png").c_str(), true), 0);
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));

    // A folder in the way of the file: nothing replaces it, nothing is left.
    std::filesystem::create_directory(folder / "page.png");
    EXPECT_LT(image.savePng((folder / "page.png").c_str(), true), 0);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "page.png"));
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"page.png"});

    // A name without a native form is no file either.
    EXPECT_EQ(image.savePng((folder / "\x82\xff.png").c_str(), true), PngWriter::CannotOpen);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"page.png"});
}
