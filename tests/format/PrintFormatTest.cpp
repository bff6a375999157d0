#include "format/PrintFormat.h"

#include "TestText.h"
#include "platform/ProgramFolders.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Sizes {
    int fontSize;
    int lineWidth;
    int linesPerPage;
    int charsPerLine;
    bool operator==(const Sizes&) const = default;
};

Sizes effectiveSizes(const PrintFormat& format)
{
    return {format.fontSize(), format.lineWidth(), format.linesPerPage(), format.charsPerLine()};
}

void PrintTo(const Sizes& s, std::ostream* out)
{
    *out << s.fontSize << "/" << s.lineWidth << "/" << s.linesPerPage << "/" << s.charsPerLine;
}

std::vector<FCString> names(std::initializer_list<std::string> list)
{
    std::vector<FCString> out;
    for (const std::string& name : list)
        out.emplace_back(std::string_view(name));
    return out;
}

} // namespace

TEST(PrintFormatTest, StartsWithTheInitialValues)
{
    PrintFormat format;
    EXPECT_EQ(format.mode(), PrintFormat::ModePreset14);
    EXPECT_EQ(format.defaultFont(0).toStdString(), sj("@ＭＳ ゴシック"));
    EXPECT_EQ(format.defaultFont(1).toStdString(), sj("@ＭＳ 明朝"));
    EXPECT_EQ(format.defaultFont(2).toStdString(), sj("@ＭＳ 明朝"));
    for (int face = 0; face < PrintFormat::FaceCount; ++face)
        EXPECT_EQ(format.customFontName(face), format.defaultFont(face));
    EXPECT_EQ(format.customWeight(0), 700);
    EXPECT_EQ(format.customWeight(1), 400);
    EXPECT_EQ(format.customWeight(2), 700);
    EXPECT_EQ(format.flags(), PrintFormat::FlagLog);
    EXPECT_EQ(format.device(), OutputDevice::Png);
    EXPECT_TRUE(format.logName().isEmpty());
    EXPECT_TRUE(format.destFolder().isEmpty());
    EXPECT_TRUE(format.suppressedText().isEmpty());
    EXPECT_EQ(format.customModeEmphasis(), PrintFormat::EmphasisNone);
    EXPECT_EQ(format.customColEmphasis(), 128);
}

TEST(PrintFormatTest, InitialCustomFormatHasFewerLinesThanPreset14)
{
    PrintFormat format;
    EXPECT_EQ(effectiveSizes(format), (Sizes{14, 20, 47, 40}));
    format.setMode(PrintFormat::ModeCustom);
    EXPECT_EQ(effectiveSizes(format), (Sizes{14, 20, 43, 40}));
}

TEST(PrintFormatTest, EffectiveSizesFollowTheMode)
{
    PrintFormat format;
    format.setCustomFontSize(11);
    format.setCustomLineWidth(22);
    format.setCustomLinesPerPage(33);
    format.setCustomCharsPerLine(44);
    struct Case {
        int mode;
        Sizes sizes;
    } cases[] = {
        {0, {11, 22, 33, 44}}, {1, {14, 20, 47, 40}},  {2, {16, 28, 34, 35}}, {3, {18, 32, 30, 30}},
        {7, {14, 20, 47, 40}}, {-1, {14, 20, 47, 40}}, {4, {14, 20, 47, 40}},
    };
    for (const Case& c : cases) {
        format.setMode(c.mode);
        EXPECT_EQ(effectiveSizes(format), c.sizes) << "mode " << c.mode;
    }
}

TEST(PrintFormatTest, PresetModesUseDefaultFacesAndFixedWeights)
{
    PrintFormat format;
    format.setDefaultFont(1, FCString("@general"));
    format.setCustomFont(0, FCString("@target"), 100);
    format.setCustomFont(1, FCString("@other"), 900);
    format.setCustomFont(2, FCString("@note"), 0);
    for (int mode : {1, 2, 3, 7}) {
        format.setMode(mode);
        EXPECT_EQ(format.targetFace(), format.defaultFont(0)) << mode;
        EXPECT_EQ(format.generalFace().toStdString(), "@general") << mode;
        EXPECT_EQ(format.commentFace(), format.defaultFont(2)) << mode;
        EXPECT_EQ(format.targetWeight(), 700) << mode;
        EXPECT_EQ(format.generalWeight(), 400) << mode;
        EXPECT_EQ(format.commentWeight(), 700) << mode;
    }
    format.setMode(PrintFormat::ModeCustom);
    EXPECT_EQ(format.targetFace().toStdString(), "@target");
    EXPECT_EQ(format.generalFace().toStdString(), "@other");
    EXPECT_EQ(format.commentFace().toStdString(), "@note");
    EXPECT_EQ(format.targetWeight(), 100);
    EXPECT_EQ(format.generalWeight(), 900);
    EXPECT_EQ(format.commentWeight(), 0);
}

TEST(PrintFormatTest, AutomaticCalculation)
{
    struct Case {
        int fontSize;
        int lineWidth;
        int lines;
        int chars;
    } cases[] = {
        {14, 20, 48, 40}, {16, 28, 34, 34}, {18, 32, 30, 30}, {200, 20, 48, 1}, {93, 1, 960, 1},
        {92, 961, 0, 1},  {14, 0, -5, -6},  {0, 20, -5, -6},  {-3, -3, -5, -6},
    };
    for (const Case& c : cases) {
        int lines = -5;
        int chars = -6;
        PrintFormat::autoCalculate(c.fontSize, c.lineWidth, lines, chars);
        EXPECT_EQ(lines, c.lines) << c.fontSize << "/" << c.lineWidth;
        EXPECT_EQ(chars, c.chars) << c.fontSize << "/" << c.lineWidth;
    }
}

TEST(PrintFormatTest, FlagSettersTouchOnlyTheirBit)
{
    PrintFormat format;
    format.setFlags(0x80000000u | PrintFormat::FlagLog);
    format.setFlag(PrintFormat::FlagAutoCalc, true);
    format.setFlag(PrintFormat::FlagCommentEmphasis, true);
    format.setFlag(PrintFormat::FlagLog, false);
    EXPECT_EQ(format.flags(),
              0x80000000u | PrintFormat::FlagAutoCalc | PrintFormat::FlagCommentEmphasis);
    EXPECT_TRUE(format.hasFlag(PrintFormat::FlagAutoCalc));
    EXPECT_FALSE(format.hasFlag(PrintFormat::FlagGeneric));
}

TEST(PrintFormatTest, LogSwitchAndNameGoTogether)
{
    PrintFormat format;
    format.setFlags(0);
    format.setLog(true, "/logs/run.txt");
    EXPECT_TRUE(format.hasFlag(PrintFormat::FlagLog));
    EXPECT_EQ(format.logName().toStdString(), "/logs/run.txt");
    format.setLog(false, nullptr);
    EXPECT_FALSE(format.hasFlag(PrintFormat::FlagLog));
    EXPECT_TRUE(format.logName().isEmpty());
}

TEST(PrintFormatTest, DefaultLogNameIsBesideTheProgram)
{
    PrintFormat format;
    {
        ProgramFolders::Scope placement("/opt/quillon-test");
        format.setDefaultLogName();
    }
    EXPECT_EQ(format.logName().toStdString(), "/opt/quillon-test/quillon.log.txt");
}

TEST(PrintFormatTest, BackgroundGreyKeepsTheLowEightBits)
{
    PrintFormat format;
    std::pair<int32_t, int> cases[] = {{300, 44}, {256, 0}, {255, 255}, {-1, 255}, {0, 0}};
    for (const auto& [value, stored] : cases) {
        format.setCustomColEmphasis(value);
        EXPECT_EQ(format.customColEmphasis(), stored) << value;
    }
}

TEST(PrintFormatTest, SuppressedNamesAreRebuiltAsTextAndList)
{
    PrintFormat format;
    EXPECT_FALSE(format.isSuppressed(sj("太郎")));
    EXPECT_FALSE(format.isSuppressed(""));

    format.rebuildSuppressed(names({sj("太郎"), "Abe", sj("表示")}));
    EXPECT_EQ(format.suppressedText().toStdString(), sj("太郎\nAbe\n表示\n"));
    ASSERT_EQ(format.suppressedNames().size(), 3u);
    EXPECT_TRUE(format.isSuppressed(sj("太郎")));
    EXPECT_TRUE(format.isSuppressed(FCString(std::string_view(sj("表示")))));
    EXPECT_TRUE(format.isSuppressed("Abe"));
    EXPECT_FALSE(format.isSuppressed("abe"));
    EXPECT_FALSE(format.isSuppressed("Ab"));
    EXPECT_FALSE(format.isSuppressed(sj("表")));

    // Rebuilding replaces, never adds.
    format.rebuildSuppressed(names({"Abe"}));
    EXPECT_EQ(format.suppressedText().toStdString(), "Abe\n");
    EXPECT_FALSE(format.isSuppressed(sj("太郎")));
    format.rebuildSuppressed({});
    EXPECT_TRUE(format.suppressedText().isEmpty());
    EXPECT_TRUE(format.suppressedNames().empty());
}

TEST(PrintFormatTest, SuppressedTextIsSplitAtEveryLineFeed)
{
    PrintFormat format;
    // A name cut after a lead byte must not take the line feed with it.
    format.setSuppressedText(FCString(std::string_view("a\n\x82\nb")));
    ASSERT_EQ(format.suppressedNames().size(), 3u);
    EXPECT_EQ(format.suppressedNames()[1].toStdString(), "\x82");
    EXPECT_TRUE(format.isSuppressed("b"));
}
