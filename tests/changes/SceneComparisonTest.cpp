#include "changes/SceneComparison.h"

#include "ChangeTestScene.h"
#include "changes/ChangeReport.h"
#include "changes/SceneVersion.h"

#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct LineCase {
    std::string name;
    std::vector<std::string> oldBody;
    std::vector<std::string> newBody;
    std::string expected; // the listing, UTF-8
    bool notes = false;
};

std::vector<LineCase> readCases()
{
    std::vector<LineCase> cases;
    std::ifstream in(QUILLON_TEST_DATA "/line-changes.tests");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("== ", 0) == 0) {
            cases.push_back({line.substr(3), {}, {}, {}, false});
        } else if (cases.empty() || line.empty() || line[0] == '#') {
            continue;
        } else if (line == "notes") {
            cases.back().notes = true;
        } else if (line.rfind("< ", 0) == 0) {
            cases.back().oldBody.push_back(line.substr(2));
        } else if (line.rfind("> ", 0) == 0) {
            cases.back().newBody.push_back(line.substr(2));
        } else if (line.rfind("= ", 0) == 0) {
            std::string expected = line.substr(2);
            for (char& c : expected) {
                if (c == '|')
                    c = '\t';
            }
            cases.back().expected += expected + "\n";
        } else {
            ADD_FAILURE() << "a line the case file does not know: " << line;
        }
    }
    return cases;
}

class SceneComparisonCaseTest : public testing::TestWithParam<LineCase> {};

TEST_P(SceneComparisonCaseTest, ListsExactlyTheExpectedChanges)
{
    const LineCase& c = GetParam();
    const SceneVersion before = SceneVersion::fromText(sj(testScreenplay(c.oldBody)));
    const SceneVersion after = SceneVersion::fromText(sj(testScreenplay(c.newBody)));
    std::vector<LineChange> changes;
    SceneComparison::compare({&before, &after, "s01.screenplay.txt", after.sceneName}, c.notes,
                             changes);
    EXPECT_EQ(ChangeReport::listing(changes), c.expected) << c.name;
}

std::string caseName(const testing::TestParamInfo<LineCase>& info)
{
    return "case" + std::to_string(info.index);
}

INSTANTIATE_TEST_SUITE_P(CaseFile, SceneComparisonCaseTest, testing::ValuesIn(readCases()),
                         caseName);

TEST(SceneComparisonTest, TheCaseFileHoldsEveryKind)
{
    // A case file that failed to load would pass every case it lost.
    std::string all;
    for (const LineCase& c : readCases())
        all += c.expected;
    for (const char* kind : {"追加", "削除", "変更\t", "話者変更", "番号変更", "注記変更"})
        EXPECT_NE(all.find(kind), std::string::npos) << kind;
}

TEST(SceneComparisonTest, ANewSceneIsWhollyAddedAndARemovedOneWhollyDeleted)
{
    const SceneVersion scene = SceneVersion::fromText(
        sj(testScreenplay({"000001 さくら「一」", "            【 暗転 】", "000002 ゆう「二」"})));
    std::vector<LineChange> added, removed;
    SceneComparison::compare({nullptr, &scene, "s01.screenplay.txt", "s01"}, false, added);
    SceneComparison::compare({&scene, nullptr, "s01.screenplay.txt", "s01"}, false, removed);
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(added[0].kind, LineChange::Kind::Added);
    EXPECT_EQ(added[1].newBodyLine, 2);
    ASSERT_EQ(removed.size(), 2u);
    EXPECT_EQ(removed[1].kind, LineChange::Kind::Deleted);
    EXPECT_EQ(removed[1].newBodyLine, -1);
}

TEST(SceneComparisonTest, BodyLinesArePositionsInTheFileIgnoredLinesIncluded)
{
    const SceneVersion scene = SceneVersion::fromText(sj(testScreenplay(
        {"@ メモ", "000001 さくら「一」", "   注記", "@000009 没", "000002 ゆう「二」"})));
    ASSERT_EQ(scene.lines.size(), 3u);
    EXPECT_EQ(scene.lines[0].bodyLine, 1);
    EXPECT_EQ(scene.lines[1].bodyLine, 2);
    EXPECT_EQ(scene.lines[2].bodyLine, 4);
    EXPECT_EQ(scene.lines[2].number, 2u);
    EXPECT_EQ(scene.lines[1].kind, SceneVersion::Kind::Note);
}

TEST(SceneComparisonTest, AChangeNamesTheSpeakerAsWrittenForItsScript)
{
    const SceneVersion before =
        SceneVersion::fromText(sj(testScreenplay({"000001 さくら　「一」"})));
    const SceneVersion after =
        SceneVersion::fromText(sj(testScreenplay({"000001 さくら　「二」"})));
    std::vector<LineChange> changes;
    SceneComparison::compare({&before, &after, "s01.screenplay.txt", "s01"}, false, changes);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(utf8(changes[0].character), "さくら");
    EXPECT_EQ(utf8(changes[0].speaker), "さくら　");
    EXPECT_TRUE(changes[0].needsRecording());
}

struct BlankCase {
    const char* text;
    const char* kept;
};

class TrailingBlankTest : public testing::TestWithParam<BlankCase> {};

TEST_P(TrailingBlankTest, DropsOnlyBlanksAtTheEnd)
{
    EXPECT_EQ(utf8(std::string(SceneVersion::withoutTrailingBlanks(sj(GetParam().text)))),
              GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(Texts, TrailingBlankTest,
                         testing::Values(BlankCase{"「はい」 \t　", "「はい」"},
                                         BlankCase{"　「はい」", "　「はい」"}, BlankCase{"", ""},
                                         BlankCase{" \t", ""},
                                         // A trail byte 0x40 ("@") after a lead
                                         // byte is no blank of its own.
                                         BlankCase{"「ア」ソ", "「ア」ソ"},
                                         BlankCase{"a　b  ", "a　b"}));

} // namespace
