#include "render/FCFont.h"

#include "TestText.h"
#include "platform/FontHandle.h"

#include <climits>
#include <gtest/gtest.h>

namespace {

void describe(FCFont& font, const std::string& faceUtf8, int height, int weight)
{
    font.reset();
    font.setHeight(height);
    font.weight = weight;
    font.charset = FCFont::ShiftJisCharset;
    font.quality = FCFont::ProofQuality;
    font.pitchAndFamily = FCFont::FixedPitch;
    font.setFace(sj(faceUtf8));
}

} // namespace

TEST(FCFontTest, HeightIsStoredNegativeWhateverTheSign)
{
    struct Case {
        int given;
        int stored;
    };
    const Case cases[] = {
        {87, -87},
        {-87, -87},
        {0, 0},
        {1, -1},
        {INT_MAX, -INT_MAX},
        {INT_MIN, INT_MIN},
        // The renderer's arithmetic at 600 dots per inch, font size 14.
        {static_cast<int>(600 / 96.0 * 14), -87},
    };
    for (const Case& c : cases) {
        FCFont font;
        font.setHeight(c.given);
        EXPECT_EQ(font.height, c.stored) << c.given;
    }
}

TEST(FCFontTest, FaceIsTakenOnlyWhenShorterThanThirtyTwoBytes)
{
    FCFont font;
    const std::string face31(31, 'A');
    font.setFace(face31);
    EXPECT_EQ(font.face, face31);
    font.setFace(std::string(32, 'B'));
    EXPECT_EQ(font.face, "");
    font.setFace(sj("@ＭＳ ゴシック"));
    EXPECT_EQ(font.face, sj("@ＭＳ ゴシック"));
    EXPECT_EQ(font.face.size(), 14u);
    // A LOGFONT face ends at its NUL; what follows does not count.
    font.setFace(std::string("Abc\0", 4) + std::string(40, 'x'));
    EXPECT_EQ(font.face, "Abc");
}

TEST(FCFontTest, ResetClearsTheDescriptionAndReleasesTheFont)
{
    FCFont font;
    describe(font, "@ＭＳ ゴシック", -20, 700);
    font.width = 3;
    font.italic = true;
    ASSERT_TRUE(font.create());
    font.reset();
    EXPECT_FALSE(font.isCreated());
    EXPECT_EQ(font.height, 0);
    EXPECT_EQ(font.width, 0);
    EXPECT_EQ(font.weight, 0);
    EXPECT_EQ(font.charset, 0);
    EXPECT_EQ(font.quality, 0);
    EXPECT_EQ(font.pitchAndFamily, 0);
    EXPECT_FALSE(font.italic);
    EXPECT_TRUE(font.face.empty());
}

TEST(FCFontTest, CreateFindsTheAliasedFaceAtTheAskedSize)
{
    FCFont gothic;
    describe(gothic, "@ＭＳ ゴシック", -87, 700);
    ASSERT_TRUE(gothic.create());
    const FontHandle& handle = *gothic.handle();
    EXPECT_EQ(handle.family(), "IPAGothic");
    EXPECT_TRUE(handle.isVertical());
    EXPECT_TRUE(handle.isSyntheticBold());
    EXPECT_EQ(handle.metrics().em, 87);

    FCFont mincho;
    describe(mincho, "ＭＳ 明朝", -14, 400);
    ASSERT_TRUE(mincho.create());
    EXPECT_EQ(mincho.handle()->family(), "IPAMincho");
    EXPECT_FALSE(mincho.handle()->isVertical());
    EXPECT_FALSE(mincho.handle()->isSyntheticBold());

    gothic.release();
    EXPECT_FALSE(gothic.isCreated());
    EXPECT_EQ(gothic.handle(), nullptr);
}

TEST(FCFontTest, EqualDescriptionsShareOneFontAndItsGlyphs)
{
    FCFont first;
    FCFont second;
    describe(first, "@ＭＳ 明朝", -30, 400);
    describe(second, "@ＭＳ 明朝", -30, 400);
    ASSERT_TRUE(first.create());
    ASSERT_TRUE(second.create());
    EXPECT_EQ(first.handle(), second.handle());

    describe(second, "@ＭＳ 明朝", -31, 400);
    ASSERT_TRUE(second.create());
    EXPECT_NE(first.handle(), second.handle());
}

TEST(FCFontTest, TooLongFaceFallsBackToTheSystemsJapaneseFace)
{
    FCFont font;
    describe(font, "", -20, 400);
    font.setFace(std::string(32, 'Z'));
    EXPECT_TRUE(font.face.empty());
    ASSERT_TRUE(font.create());
    // Shift-JIS asks for Japanese coverage, so the default is a Japanese face
    // that has a glyph for "あ".
    EXPECT_FALSE(font.handle()->glyph(0x82A0).pieces.empty());

    // A face set around setFace is held to the same rule.
    FCFont direct;
    describe(direct, "", -20, 400);
    direct.face = std::string(40, 'Q');
    ASSERT_TRUE(direct.create());
    EXPECT_EQ(direct.handle(), font.handle());
}
