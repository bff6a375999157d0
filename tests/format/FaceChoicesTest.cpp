#include "format/FaceChoices.h"

#include "TestText.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> cp932(std::initializer_list<const char*> utf8Texts)
{
    std::vector<std::string> out;
    for (const char* text : utf8Texts)
        out.push_back(sj(text));
    return out;
}

std::vector<std::string> inUtf8(const std::vector<std::string>& texts)
{
    std::vector<std::string> out;
    for (const std::string& text : texts)
        out.push_back(utf8(text));
    return out;
}

} // namespace

TEST(FaceChoicesTest, NamedFacesThatAreNotInstalledComeFirstWithWhatPrintsThem)
{
    std::vector<std::string> asked;
    const FaceChoices::PrintedBy printedBy = [&](std::string_view face) {
        asked.push_back(utf8(std::string(face)));
        return face == sj("@ＭＳ ゴシック") ? sj("IPAゴシック") : std::string();
    };
    const struct {
        const char* name;
        std::vector<std::string> named;
        std::vector<std::string> labels;
        std::vector<std::string> asked;
    } cases[] = {
        {"all installed",
         cp932({"@IPAMincho", "@IPAGothic", "@IPAMincho"}),
         {"@IPAGothic", "@IPAMincho"},
         {}},
        {"an alias prints it",
         cp932({"@ＭＳ ゴシック", "@IPAMincho", "@ＭＳ ゴシック"}),
         {"@ＭＳ ゴシック（IPAゴシック で印刷）", "@IPAGothic", "@IPAMincho"},
         {"@ＭＳ ゴシック"}},
        {"nothing prints it",
         cp932({"@IPAGothic", "@消えた書体", "@ＭＳ ゴシック"}),
         {"@消えた書体（この環境では印刷できません）", "@ＭＳ ゴシック（IPAゴシック で印刷）",
          "@IPAGothic", "@IPAMincho"},
         {"@消えた書体", "@ＭＳ ゴシック"}},
        {"empty names offer nothing", cp932({"", "", ""}), {"@IPAGothic", "@IPAMincho"}, {}},
    };
    for (const auto& c : cases) {
        asked.clear();
        const FaceChoices choices(cp932({"@IPAMincho", "@IPAGothic", "@IPAMincho"}), c.named,
                                  printedBy);
        EXPECT_EQ(inUtf8(choices.labels()), c.labels) << c.name;
        EXPECT_EQ(asked, c.asked) << c.name << ": asked once per face not installed";
        ASSERT_EQ(choices.faces().size(), choices.labels().size()) << c.name;
        // Each entry stands for its face, whatever its label adds.
        for (int i = 0; i < choices.size(); ++i) {
            EXPECT_EQ(choices.labels()[size_t(i)].rfind(choices.faces()[size_t(i)], 0), 0u);
            EXPECT_EQ(choices.indexOf(choices.faces()[size_t(i)]), i);
        }
    }
    EXPECT_EQ(FaceChoices({}, {}, printedBy).indexOf(sj("@IPAGothic")), -1);
}

TEST(FaceChoicesTest, TheFontEngineNamesTheShippedAliasesTargets)
{
    // The aliases shipped with the program print the Windows faces with the
    // IPA faces, which the test machines have.
    const FaceChoices choices(cp932({"@IPAGothic"}), cp932({"@ＭＳ 明朝", "@無くなった書体"}));
    EXPECT_EQ(
        inUtf8(choices.labels()),
        (std::vector<std::string>{"@ＭＳ 明朝（IPAMincho で印刷）",
                                  "@無くなった書体（この環境では印刷できません）", "@IPAGothic"}));
    EXPECT_EQ(utf8(FaceChoices::printedByFontEngine(sj("@ＭＳ ゴシック"))), "IPAGothic");
}
