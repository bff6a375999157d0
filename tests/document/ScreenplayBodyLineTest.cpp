#include "document/ScreenplayBodyLine.h"

#include "TestText.h"

#include <gtest/gtest.h>

namespace {

using Kind = ScreenplayBodyLine::Kind;

struct Parts {
    Kind kind;
    std::string text, label, labelNumber, speakerName; // UTF-8
};

Parts parts(const std::string& lineUtf8)
{
    std::string line = sj(lineUtf8);
    ScreenplayBodyLine body = ScreenplayBodyLine::classify(line);
    return {body.kind, utf8(std::string(body.text)), utf8(std::string(body.label)),
            utf8(std::string(body.labelNumber)), utf8(std::string(body.speakerName))};
}

} // namespace

TEST(ScreenplayBodyLineTest, SpeakerLineSplitsIntoLabelNameAndUtterance)
{
    Parts p = parts("000003 さくら（小声）「……見ておきたいもの？」");
    EXPECT_EQ(p.kind, Kind::Speaker);
    EXPECT_EQ(p.labelNumber, "000003");
    EXPECT_EQ(p.speakerName, "さくら");
    EXPECT_EQ(p.label, "000003 さくら");
    EXPECT_EQ(p.text, "（小声）「……見ておきたいもの？」");

    p = parts("000016 悠人［モノローグ］「父さん」");
    EXPECT_EQ(p.speakerName, "悠人");
    EXPECT_EQ(p.text, "［モノローグ］「父さん」");
}

TEST(ScreenplayBodyLineTest, BracketRightAfterTheSpacesIsSkippedForTheName)
{
    Parts p = parts("000001   「名前」「台詞」");
    EXPECT_EQ(p.speakerName, "名前」");
    EXPECT_EQ(p.text, "「台詞」");
    EXPECT_EQ(p.label, "000001   ");
}

TEST(ScreenplayBodyLineTest, NoteLinesAreClassifiedAfterTheirSpaces)
{
    Parts p = parts("            【 暗転 】");
    EXPECT_EQ(p.kind, Kind::Note);
    EXPECT_EQ(p.text, "【 暗転 】");
    p = parts("   $二人、歩く。");
    EXPECT_EQ(p.kind, Kind::ShiftedNote);
    EXPECT_EQ(p.text, "二人、歩く。");
    p = parts(" *メモ");
    EXPECT_EQ(p.kind, Kind::Comment);
    EXPECT_EQ(p.text, "*メモ");
    p = parts("    ");
    EXPECT_EQ(p.kind, Kind::Note);
    EXPECT_EQ(p.text, "");
    EXPECT_EQ(parts("@無視").kind, Kind::Ignored);
    EXPECT_EQ(parts("\t000001 a").kind, Kind::Speaker) << "only a space makes a note";
}

TEST(ScreenplayBodyLineTest, TrailByteNeverEndsTheLabelNumber)
{
    // ソ is 0x83 0x5C and 「 is 0x81 0x75; neither byte pair may be cut.
    Parts p = parts("ソソ ソ「ソ」");
    EXPECT_EQ(p.labelNumber, "ソソ");
    EXPECT_EQ(p.speakerName, "ソ");
    EXPECT_EQ(p.text, "「ソ」");
}
