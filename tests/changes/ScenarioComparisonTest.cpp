#include "changes/ScenarioComparison.h"

#include "ChangeTestScene.h"
#include "ScenarioTestFolder.h"
#include "changes/ChangeReport.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> baseBody = {
    "            【 暗転 】", "000001 さくら「おはよう」", "000002 ゆう「おはよう」",
    "  * 演出メモ",           "000003 さくら「行こう」",
};

std::string listingOf(const ScenarioTestFolder& oldFolder, const ScenarioTestFolder& newFolder,
                      bool notes = false)
{
    ScenarioComparison::Input input;
    input.oldFolder = oldFolder.path();
    input.newFolder = newFolder.path();
    input.notes = notes;
    const ScenarioComparison::Result result = ScenarioComparison::compare(input);
    EXPECT_TRUE(result.unreadable.empty());
    EXPECT_TRUE(result.unlisted.empty());
    return ChangeReport::listing(result.changes);
}

// A difference between two files that leaves the printed scripts as they
// are: the new version's bytes made from the old version's text (UTF-8).
struct SameScriptsCase {
    const char* name;
    std::function<std::string(const std::string& utf8)> newBytes;
};

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

const SameScriptsCase sameScripts[] = {
    {"CrLf", [](const std::string& t) { return sj(replaced(t, "\n", "\r\n")); }},
    {"Utf8Twin", [](const std::string& t) { return t; }},
    {"Utf8TwinWithBom", [](const std::string& t) { return "\xEF\xBB\xBF" + t; }},
    {"BlankLines", [](const std::string& t) { return sj(replaced(t, "\n0", "\n\n\n0")); }},
    {"TrailingBlanks", [](const std::string& t) { return sj(replaced(t, "」\n", "」  \t　\n")); }},
    {"ReorderedHeader",
     [](const std::string& t) {
         return sj(replaced(replaced(t, ".start\t1\n.end\t9\n", ""), ".total",
                            ".end\t9\n.start\t1\n.total"));
     }},
    {"CharactersInAnotherOrder",
     [](const std::string& t) {
         return sj(replaced(t, ".さくら\t3\n.ゆう\t2\n", ".ゆう\t2\n.さくら\t3\n"));
     }},
    {"IgnoredLines", [](const std::string& t) { return sj(replaced(t, "\n0", "\n@メモ\n0")); }},
    {"ChangedNotes",
     [](const std::string& t) {
         return sj(replaced(replaced(t, "暗転", "ＣＧ表示"), "演出メモ", "書き直し"));
     }},
};

class SameScriptsTest : public testing::TestWithParam<SameScriptsCase> {};

TEST_P(SameScriptsTest, IsNoChange)
{
    ScenarioTestFolder oldFolder, newFolder;
    const std::string text = testScreenplay(baseBody);
    oldFolder.write("s01.screenplay.txt", text);
    newFolder.writeBytes("s01.screenplay.txt", GetParam().newBytes(text));
    EXPECT_EQ(listingOf(oldFolder, newFolder), "");
}

INSTANTIATE_TEST_SUITE_P(Differences, SameScriptsTest, testing::ValuesIn(sameScripts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScenarioComparisonTest, ChangedNotesAreListedWhenAskedFor)
{
    ScenarioTestFolder oldFolder, newFolder;
    oldFolder.write("s01.screenplay.txt", testScreenplay(baseBody));
    std::vector<std::string> body = baseBody;
    body[3] = "  * 書き直し";
    newFolder.write("s01.screenplay.txt", testScreenplay(body));
    EXPECT_EQ(listingOf(oldFolder, newFolder, true), "注記変更\t\ts01\t\t* 演出メモ\t* 書き直し\n");
}

TEST(ScenarioComparisonTest, ScenesAreMatchedByFileNameInTheNewFoldersOrder)
{
    ScenarioTestFolder oldFolder, newFolder;
    // b exists in both, its scene renamed; a is new; z is gone.
    oldFolder.write("b.screenplay.txt", testScreenplay({"000001 さくら「一」"}, "ビー"));
    oldFolder.write("z.screenplay.txt", testScreenplay({"000009 ゆう「九」"}, "ゼット"));
    newFolder.write("a.screenplay.txt", testScreenplay({"000005 ゆう「五」"}, "エー"));
    newFolder.write("b.screenplay.txt", testScreenplay({"000001 さくら「いち」"}, "ビー２"));
    newFolder.write("notes.txt", "000001 さくら「無関係」\n");
    EXPECT_EQ(listingOf(oldFolder, newFolder), "追加\t000005\tエー\tゆう\t\t「五」\n"
                                               "変更\t000001\tビー２\tさくら\t「一」\t「いち」\n"
                                               "削除\t000009\tゼット\tゆう\t「九」\t\n"
                                               "変更数\tゆう\t2\n"
                                               "変更数\tさくら\t1\n");
}

TEST(ScenarioComparisonTest, AChoiceOfScenesLeavesTheOthersOut)
{
    ScenarioTestFolder oldFolder, newFolder;
    for (const char* name : {"a.screenplay.txt", "b.screenplay.txt", "c.screenplay.txt"}) {
        oldFolder.write(name, testScreenplay({"000001 さくら「一」"}));
        newFolder.write(name, testScreenplay({"000001 さくら「二」"}));
    }
    oldFolder.write("gone.screenplay.txt", testScreenplay({"000001 さくら「一」"}));
    ScenarioComparison::Input input;
    input.oldFolder = oldFolder.path();
    input.newFolder = newFolder.path();
    input.newFiles = {"c.screenplay.txt", "a.screenplay.txt"};
    ScenarioComparison::Result result = ScenarioComparison::compare(input);
    ASSERT_EQ(result.changes.size(), 3u);
    EXPECT_EQ(result.changes[0].fileName, "c.screenplay.txt");
    EXPECT_EQ(result.changes[1].fileName, "a.screenplay.txt");
    // b was not chosen, so it is not a removed scene; gone is.
    EXPECT_EQ(result.changes[2].fileName, "gone.screenplay.txt");
    EXPECT_EQ(result.changes[2].kind, LineChange::Kind::Deleted);

    input.removedScenes = false;
    EXPECT_EQ(ScenarioComparison::compare(input).changes.size(), 2u);
}

TEST(ScenarioComparisonTest, AMissingOldFolderIsRefusedUnlessAllowed)
{
    ScenarioTestFolder newFolder;
    newFolder.write("a.screenplay.txt",
                    testScreenplay({"000001 さくら「一」", "000002 ゆう「二」"}));
    ScenarioComparison::Input input;
    input.oldFolder = newFolder.path() + ".quillon/printed/";
    input.newFolder = newFolder.path();
    EXPECT_EQ(ScenarioComparison::compare(input).unlisted, input.oldFolder);

    input.oldMayBeMissing = true;
    const ScenarioComparison::Result result = ScenarioComparison::compare(input);
    EXPECT_TRUE(result.unlisted.empty());
    ASSERT_EQ(result.changes.size(), 2u);
    EXPECT_EQ(result.changes[1].kind, LineChange::Kind::Added);
    EXPECT_EQ(result.changes[1].newBodyLine, 1);
}

TEST(ScenarioComparisonTest, AnUnreadableFileIsNamedAndItsSceneLeftOut)
{
    ScenarioTestFolder oldFolder, newFolder;
    oldFolder.write("a.screenplay.txt", testScreenplay({"000001 さくら「一」"}));
    std::filesystem::create_directory(newFolder.path() + "a.screenplay.txt");
    newFolder.write("b.screenplay.txt", testScreenplay({"000001 さくら「一」"}));
    ScenarioComparison::Input input;
    input.oldFolder = oldFolder.path();
    input.newFolder = newFolder.path();
    input.newFiles = {"a.screenplay.txt", "b.screenplay.txt"};
    const ScenarioComparison::Result result = ScenarioComparison::compare(input);
    EXPECT_EQ(result.unreadable, std::vector<std::string>{newFolder.path() + "a.screenplay.txt"});
    EXPECT_EQ(result.scenes, 1);
    ASSERT_EQ(result.changes.size(), 1u);
    EXPECT_EQ(result.changes[0].fileName, "b.screenplay.txt");
}

TEST(ScenarioComparisonTest, ASceneWithoutANameGoesByItsFileName)
{
    EXPECT_EQ(ScenarioComparison::fallbackSceneName("s01.screenplay.txt"), "s01");
    EXPECT_EQ(ScenarioComparison::fallbackSceneName(".screenplay.txt"), ".screenplay.txt");
    EXPECT_EQ(ScenarioComparison::fallbackSceneName("other.txt"), "other.txt");
}

} // namespace
