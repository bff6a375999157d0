#include "platform/FontEngine.h"

#include "TestText.h"
#include "platform/FontHandle.h"

#include <algorithm>
#include <climits>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

std::shared_ptr<FontHandle> openFont(const std::string& faceUtf8, int height, int weight = 400)
{
    return FontEngine::instance().open(sj(faceUtf8), height, weight, 128);
}

// The upright extent of a glyph's ink: width and height of all its pieces.
std::pair<int, int> inkSize(const FontHandle::Glyph& glyph)
{
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (const FontHandle::Coverage& piece : glyph.pieces) {
        left = std::min(left, piece.left);
        top = std::min(top, piece.top);
        right = std::max(right, piece.left + piece.width);
        bottom = std::max(bottom, piece.top + piece.height);
    }
    return glyph.pieces.empty() ? std::pair{0, 0} : std::pair{right - left, bottom - top};
}

int code(const std::string& utf8)
{
    std::string bytes = sj(utf8);
    return bytes.size() == 1
               ? static_cast<unsigned char>(bytes[0])
               : static_cast<unsigned char>(bytes[0]) * 256 + static_cast<unsigned char>(bytes[1]);
}

} // namespace

TEST(FontEngineTest, ShippedAliasesAreInForceForTheProgramOnly)
{
    FontEngine& engine = FontEngine::instance();
    EXPECT_EQ(engine.matchFamily("ＭＳ ゴシック"), "IPAGothic");
    EXPECT_EQ(engine.matchFamily("ＭＳ 明朝"), "IPAMincho");
    EXPECT_EQ(engine.matchFamily("MS Gothic"), "IPAGothic");

    // The system's own configuration, loaded afresh, knows nothing of them.
    FcConfig* system = FcInitLoadConfigAndFonts();
    ASSERT_NE(system, nullptr);
    const std::string systemChoice = FontEngine::matchFamily(system, "ＭＳ ゴシック");
    EXPECT_FALSE(systemChoice.empty());
    EXPECT_NE(systemChoice, "IPAGothic");
    FcConfigDestroy(system);
    // Nor does the process's current configuration.
    EXPECT_NE(FontEngine::matchFamily(FcConfigGetCurrent(), "ＭＳ ゴシック"), "IPAGothic");
    EXPECT_NE(engine.config(), FcConfigGetCurrent());
}

TEST(FontEngineTest, NegativeHeightIsTheEmAndPositiveTheCell)
{
    std::shared_ptr<FontHandle> byEm = openFont("@ＭＳ ゴシック", -87);
    ASSERT_NE(byEm, nullptr);
    EXPECT_EQ(byEm->metrics().em, 87);
    EXPECT_GT(byEm->metrics().cellHeight, 87) << "the IPA faces have internal leading";
    EXPECT_GT(byEm->metrics().ascent, byEm->metrics().descent);
    EXPECT_GT(byEm->metrics().descent, 0);

    std::shared_ptr<FontHandle> byCell = openFont("@ＭＳ ゴシック", 87);
    ASSERT_NE(byCell, nullptr);
    EXPECT_NEAR(byCell->metrics().cellHeight, 87, 1);
    EXPECT_LT(byCell->metrics().em, 87);

    std::shared_ptr<FontHandle> byDefault = openFont("@ＭＳ ゴシック", 0);
    ASSERT_NE(byDefault, nullptr);
    EXPECT_EQ(byDefault->metrics().em, FontEngine::DefaultEm);

    // Absurd sizes from a broken settings file are held to the limit.
    std::shared_ptr<FontHandle> huge = openFont("@ＭＳ ゴシック", INT_MIN);
    ASSERT_NE(huge, nullptr);
    EXPECT_EQ(huge->metrics().em, FontEngine::MaxEm);
}

TEST(FontEngineTest, AtMarkAsksForTheVerticalVariant)
{
    std::shared_ptr<FontHandle> vertical = openFont("@ＭＳ ゴシック", -40);
    std::shared_ptr<FontHandle> horizontal = openFont("ＭＳ ゴシック", -40);
    ASSERT_TRUE(vertical && horizontal);
    EXPECT_TRUE(vertical->isVertical());
    EXPECT_FALSE(horizontal->isVertical());
    EXPECT_EQ(vertical->family(), horizontal->family());

    // A double-byte character advances by an em and is turned; a single-byte
    // one keeps its horizontal advance and stands upright.
    EXPECT_EQ(vertical->advance(code("一")), 40);
    EXPECT_EQ(vertical->advance(code("a")), 20);
    EXPECT_EQ(horizontal->advance(code("一")), 40);
    auto [turnedWidth, turnedHeight] = inkSize(vertical->glyph(code("一")));
    EXPECT_GT(turnedHeight, 3 * turnedWidth);
    auto [width, height] = inkSize(horizontal->glyph(code("一")));
    EXPECT_GT(width, 3 * height);
    // The same width either way: the turn loses nothing.
    EXPECT_EQ(turnedHeight, width);
}

TEST(FontEngineTest, BoldIsSyntheticOnlyForFacesWithoutABoldStyle)
{
    struct Case {
        const char* face;
        int weight;
        bool synthetic;
    };
    const Case cases[] = {
        {"@ＭＳ ゴシック", 700, true},  {"@ＭＳ ゴシック", 600, true},
        {"@ＭＳ ゴシック", 599, false}, {"@ＭＳ 明朝", 400, false},
        {"@ＭＳ 明朝", 0, false},       {"DejaVu Sans", 700, false}, // it has a real bold
    };
    for (const Case& c : cases) {
        std::shared_ptr<FontHandle> font = openFont(c.face, -20, c.weight);
        ASSERT_NE(font, nullptr) << c.face;
        EXPECT_EQ(font->isSyntheticBold(), c.synthetic) << c.face << " " << c.weight;
    }
}

TEST(FontEngineTest, SameDescriptionGivesTheSameFontWithItsCache)
{
    std::shared_ptr<FontHandle> first = openFont("@ＭＳ 明朝", -25);
    std::shared_ptr<FontHandle> second = openFont("@ＭＳ 明朝", -25);
    EXPECT_EQ(first, second);
    EXPECT_NE(first, openFont("@ＭＳ 明朝", -25, 700));
    EXPECT_NE(first, openFont("ＭＳ 明朝", -25));

    const FontHandle::Glyph* glyph = &first->glyph(code("漢"));
    const std::size_t cached = first->cachedBytes();
    EXPECT_GT(cached, 0u);
    EXPECT_EQ(&second->glyph(code("漢")), glyph);
    EXPECT_EQ(first->cachedBytes(), cached) << "a known character is not rasterised again";
}

// Threads that draw side by side never share a face: each gets fonts of its
// own, which draw the same glyphs, and a font let go on another thread than
// its own is closed safely (the sanitiser builds watch that).
TEST(FontEngineTest, EachThreadHasFontsOfItsOwnWithTheSameGlyphs)
{
    std::shared_ptr<FontHandle> mine = openFont("@ＭＳ 明朝", -25);
    ASSERT_NE(mine, nullptr);
    const FontHandle::Glyph own = mine->glyph(code("漢"));
    std::vector<std::shared_ptr<FontHandle>> theirs(3);
    std::vector<std::shared_ptr<FontHandle>> again(3);
    std::vector<FontHandle::Glyph> glyphs(3);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < theirs.size(); ++i) {
        threads.emplace_back([&, i] {
            theirs[i] = openFont("@ＭＳ 明朝", -25);
            again[i] = openFont("@ＭＳ 明朝", -25);
            if (theirs[i])
                glyphs[i] = theirs[i]->glyph(code("漢"));
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (std::size_t i = 0; i < theirs.size(); ++i) {
        ASSERT_NE(theirs[i], nullptr);
        EXPECT_EQ(theirs[i], again[i]) << "shared within its thread";
        EXPECT_NE(theirs[i], mine);
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_NE(theirs[i], theirs[j]);
        EXPECT_EQ(glyphs[i].advance, own.advance);
        ASSERT_EQ(glyphs[i].pieces.size(), own.pieces.size());
        for (std::size_t p = 0; p < own.pieces.size(); ++p)
            EXPECT_EQ(glyphs[i].pieces[p].pixels, own.pieces[p].pixels);
    }
    // Their threads are gone; their fonts are let go here.
    theirs.clear();
    again.clear();
    EXPECT_EQ(openFont("@ＭＳ 明朝", -25), mine);
}

TEST(FontEngineTest, VerticalFacesAreFixedPitchJapaneseFacesWithAnAtMark)
{
    std::vector<std::string> faces = FontEngine::instance().verticalFaces();
    auto has = [&](const std::string& utf8) {
        return std::find(faces.begin(), faces.end(), sj(utf8)) != faces.end();
    };
    EXPECT_TRUE(has("@IPAGothic"));
    EXPECT_TRUE(has("@IPAMincho"));
    EXPECT_FALSE(has("@IPAPGothic")) << "proportional";
    EXPECT_FALSE(has("@DejaVu Sans Mono")) << "no Japanese";
    EXPECT_TRUE(std::is_sorted(faces.begin(), faces.end()));
    EXPECT_EQ(std::adjacent_find(faces.begin(), faces.end()), faces.end());
    for (const std::string& face : faces) {
        EXPECT_EQ(face[0], '@');
        EXPECT_LT(face.size(), 32u);
    }
}

TEST(FontEngineTest, PrintingFamilyNamesTheInstalledFaceThatStandsForAName)
{
    // face (UTF-8, as a print format names it) -> the installed family that
    // prints it, empty when none does.
    const struct {
        const char* face;
        const char* family;
    } cases[] = {
        {"@ＭＳ ゴシック", "IPAGothic"}, // the shipped aliases
        {"@ＭＳ 明朝", "IPAMincho"},
        {"ＭＳ ゴシック", "IPAGothic"},
        {"@IPAGothic", "IPAGothic"},   // installed itself
        {"@ipa gothic", "IPAGothic"},  // case and blanks do not count
        {"@IPAゴシック", "IPAGothic"}, // the font's Japanese name
        {"@無くなった書体", ""},       // only a fallback would draw it
        {"@", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FontEngine::instance().printingFamily(sj(c.face)), c.family) << c.face;
}
