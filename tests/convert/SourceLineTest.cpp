#include "convert/SourceLine.h"

#include "TestText.h"

#include <gtest/gtest.h>
#include <string>

namespace {

SourceLine line(const std::string& utf8Text)
{
    return SourceLine(FCString(sj(utf8Text)));
}

struct KindCase {
    const char* name;
    const char* text;
    SourceLine::Kind kind;
    const char* object;
    const char* method;
};

class SourceLineKindTest : public testing::TestWithParam<KindCase> {};

} // namespace

TEST_P(SourceLineKindTest, CutsObjectAndMethod)
{
    const KindCase& c = GetParam();
    const SourceLine cut = line(c.text);
    EXPECT_EQ(cut.kind(), c.kind);
    if (c.kind != SourceLine::Kind::Comment) {
        EXPECT_EQ(utf8(std::string(cut.object())), c.object);
        EXPECT_EQ(utf8(std::string(cut.method())), c.method);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SourceLineKindTest,
    testing::Values(
        KindCase{"Speech", "hero.say(12, \"やあ\");", SourceLine::Kind::Speech, "hero", "say"},
        KindCase{"Comment", "// hero.say(12, \"やあ\");", SourceLine::Kind::Comment, "", ""},
        KindCase{"CommentWithoutSpace", "//;note", SourceLine::Kind::Comment, "", ""},
        KindCase{"Command", "hero.fadeOut();", SourceLine::Kind::Command, "hero", "fadeOut"},
        KindCase{"LeadingDotsSkipped", "..hero..enter();", SourceLine::Kind::Command, "hero",
                 "enter"},
        KindCase{"Macro", "BLOCK_ENTRY(3);", SourceLine::Kind::Macro, "BLOCK_ENTRY(3);", ""},
        KindCase{"DotInsideDoubleByteName", "主人公.say(1, \"x\");", SourceLine::Kind::Speech,
                 "主人公", "say"},
        KindCase{"SayWithSpaceIsACommand", "hero.say (1, \"x\");", SourceLine::Kind::Command,
                 "hero", "say "},
        KindCase{"SingleSlashIsNoComment", "/hero.say(1,\"x\")", SourceLine::Kind::Speech, "/hero",
                 "say"}),
    [](const testing::TestParamInfo<KindCase>& info) { return std::string(info.param.name); });

TEST(SourceLineTest, ReadsTheIdInEveryForm)
{
    struct {
        const char* text;
        int32_t id;
        bool unassigned;
    } cases[] = {
        {"a.say(12, \"x\");", 12, false},      {"a.say(0x1F, \"x\");", 31, false},
        {"a.say(0b101, \"x\");", 5, false},    {"a.say(-3, \"x\");", -3, false},
        {"a.say(42abc, \"x\");", 42, false},   {"a.say(abc, \"x\");", 0, false},
        {"a.say(MESSAGEID, \"x\");", 0, true}, {"a.say( MESSAGEID , \"x\");", 0, true},
        {"a.say(((7, \"x\");", 7, false},      {"a.say(2147483647, \"x\");", 2147483647, false},
    };
    for (const auto& c : cases) {
        const SourceLine cut = line(c.text);
        ASSERT_EQ(cut.kind(), SourceLine::Kind::Speech) << c.text;
        EXPECT_EQ(cut.id(), c.id) << c.text;
        EXPECT_EQ(cut.unassignedId(), c.unassigned) << c.text;
    }
}

TEST(SourceLineTest, ReadsOneOrTwoStrings)
{
    const SourceLine one = line("hero.say(120, \"こんにちは\");");
    EXPECT_EQ(utf8(std::string(one.spoken())), "こんにちは");
    EXPECT_TRUE(one.alias().empty());

    const SourceLine two = line("hero.say(120,\t\"看板\" , \"こんにちは\");");
    EXPECT_EQ(utf8(std::string(two.alias())), "看板");
    EXPECT_EQ(utf8(std::string(two.spoken())), "こんにちは");

    // A string whose closing quote is missing runs to the end of the line.
    const SourceLine open = line("hero.say(1, \"閉じない);");
    EXPECT_EQ(utf8(std::string(open.spoken())), "閉じない);");

    // Nothing after the id: no strings at all.
    const SourceLine bare = line("hero.say(1");
    EXPECT_TRUE(bare.spoken().empty());
    EXPECT_EQ(bare.id(), 1);
}

TEST(SourceLineTest, DoubleByteTextKeepsItsTrailBytes)
{
    // "ソ" (0x83 0x5C) ends in a backslash byte and "ー" (0x81 0x5B) in a
    // bracket byte: the text comes out whole.
    const SourceLine cut = line("hero.say(1, \"ソース[ー]\");");
    EXPECT_EQ(utf8(std::string(cut.spoken())), "ソース[ー]");
}

TEST(SourceLineTest, MacroNameAndArgument)
{
    const SourceLine entry = line("BLOCK_ENTRY(12, 3);");
    EXPECT_EQ(entry.macroName().toStdString(), "BLOCK_ENTRY");
    EXPECT_EQ(entry.macroArgument().toStdString(), "12");
    const SourceLine bare = line("BLOCK_ELSE");
    EXPECT_EQ(bare.macroName().toStdString(), "BLOCK_ELSE");
    EXPECT_TRUE(bare.macroArgument().isEmpty());
}

TEST(SourceLineTest, EffectNumbersAndTrailingComments)
{
    const SourceLine play = line("se.playEffect(3, 15);");
    EXPECT_EQ(play.numberArgument(true), 15);
    EXPECT_EQ(play.numberArgument(false), 3);
    FCString comment;
    EXPECT_FALSE(play.trailingComment(comment));

    const SourceLine commented = line("se.enterEffect(8); //雨音");
    ASSERT_TRUE(commented.trailingComment(comment));
    EXPECT_EQ(utf8(comment.toStdString()), "雨音");

    // Slashes before the semicolon are no trailing comment.
    const SourceLine early = line("se.enterEffect(8 // x);");
    EXPECT_FALSE(early.trailingComment(comment));
}

TEST(SourceLineTest, StringArgumentAndCommentText)
{
    EXPECT_EQ(utf8(line("q.prepareQuestion(\"行く\", 2);").stringArgument().toStdString()), "行く");
    EXPECT_EQ(utf8(line("q.entry(scene02);").stringArgument().toStdString()), "scene02);");
    EXPECT_EQ(utf8(line("// 　\t;メモ").commentText().toStdString()), ";メモ");
}
