#include "document/ScriptInfo.h"

#include "ScenarioTestFolder.h"
#include "TestText.h"
#include "fc/FCXListIterator.h"

#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

using Entries = std::vector<std::pair<std::string, int32_t>>;

Entries entriesOf(const FCXList<FCIdString>& list)
{
    Entries entries;
    FCXListIterator<FCIdString> walk(list);
    while (const FCIdString* entry = walk.next())
        entries.emplace_back(entry->toStdString(), entry->id());
    return entries;
}

std::vector<std::string> namesOf(const FCXList<FCIdString>& list)
{
    std::vector<std::string> names;
    for (const auto& [name, count] : entriesOf(list))
        names.push_back(name);
    return names;
}

// A record with the given characters, all of them targets.
void fill(ScriptInfo& info, const Entries& characters)
{
    info.clear();
    for (const auto& [name, count] : characters)
        info.appendCharacter(name, count);
}

class ScriptInfoTest : public testing::Test {
protected:
    std::string file(const std::string& name, const std::string& utf8Text)
    {
        m_folder.write(name, utf8Text);
        return m_folder.path() + name;
    }

    ScenarioTestFolder m_folder;
};

} // namespace

TEST_F(ScriptInfoTest, ARepeatedNameCountsOnceInTheRecordAndTwiceInTheTotals)
{
    const std::string path =
        file("dup.screenplay.txt", ".scene\tS\n.A\t120\n.A\t120\n.total\t240\n");
    ScriptInfo record;
    ScriptInfo totals;
    FCString names;
    EXPECT_TRUE(record.readHeader(path.c_str(), names, false));
    EXPECT_EQ(entriesOf(record.characters()), (Entries{{"A", 120}}));
    EXPECT_EQ(names.toStdString(), "A");

    FCString totalNames;
    totals.readHeader(path.c_str(), totalNames, true);
    EXPECT_EQ(entriesOf(totals.characters()), (Entries{{"A", 240}}));
    EXPECT_EQ(totalNames.toStdString(), "A");
}

TEST_F(ScriptInfoTest, AccumulatingSumsOverFilesAndNamesOnlyNewcomers)
{
    ScriptInfo totals;
    FCString names("X");
    totals.readHeader(file("1.txt", ".scene\tone\n.A\t10\n.B\t1\n").c_str(), names, true);
    totals.readHeader(file("2.txt", ".B\t2\n.C\t5\n").c_str(), names, true);
    totals.readHeader(file("3.txt", ".A\t30\n").c_str(), names, true);
    EXPECT_EQ(entriesOf(totals.characters()), (Entries{{"A", 40}, {"B", 3}, {"C", 5}}));
    EXPECT_EQ(namesOf(totals.printTargets()), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(names.toStdString(), "X,A,B,C");
    EXPECT_EQ(totals.sceneName().toStdString(), "one") << "a header without scene keeps it";
}

TEST_F(ScriptInfoTest, ReadingWithoutAccumulateStartsAfresh)
{
    ScriptInfo record;
    FCString names;
    record.readHeader(file("1.txt", ".scene\tone\n.A\t1\n").c_str(), names, false);
    record.setCachedPageCount(2, 7);
    names.clear();
    EXPECT_FALSE(record.readHeader(file("2.txt", ".B\t2\n").c_str(), names, false));
    EXPECT_EQ(entriesOf(record.characters()), (Entries{{"B", 2}}));
    EXPECT_EQ(record.sceneName().toStdString(), "");
    EXPECT_EQ(record.cachedPageCount(2), -1);
    EXPECT_EQ(names.toStdString(), "B");
}

TEST_F(ScriptInfoTest, AccumulatingForgetsPageCountsToo)
{
    ScriptInfo totals;
    FCString names;
    totals.setCachedPageCount(1, 3);
    totals.readHeader(file("1.txt", ".A\t1\n").c_str(), names, true);
    EXPECT_EQ(totals.cachedPageCount(1), -1);
}

TEST_F(ScriptInfoTest, AMissingFileChangesNothing)
{
    ScriptInfo record;
    FCString names;
    record.readHeader(file("1.txt", ".scene\tone\n.A\t1\n").c_str(), names, false);
    record.setCachedPageCount(0, 4);
    names = FCString("kept");
    EXPECT_FALSE(record.readHeader((m_folder.path() + "gone.txt").c_str(), names, false));
    EXPECT_EQ(entriesOf(record.characters()), (Entries{{"A", 1}}));
    EXPECT_EQ(record.sceneName().toStdString(), "one");
    EXPECT_EQ(record.cachedPageCount(0), 4);
    EXPECT_EQ(names.toStdString(), "kept");
}

TEST_F(ScriptInfoTest, JapaneseNamesAndScenesArriveAsShiftJis)
{
    ScriptInfo record;
    FCString names;
    record.readHeader(file("j.txt", ".scene\t出会い\n.ゆかり\t3\n.蓮\t4\n.total\t7\n").c_str(),
                      names, false);
    EXPECT_EQ(record.sceneName().toStdString(), sj("出会い"));
    EXPECT_EQ(names.toStdString(), sj("ゆかり,蓮"));
    EXPECT_NE(record.findCharacter(sj("蓮")), nullptr);
}

TEST(ScriptInfoSumTest, CountsStayWithinTheirRange)
{
    ScriptInfo totals;
    fill(totals, {{"A", std::numeric_limits<int32_t>::max()}, {"B", -2000000000}});
    ScriptInfo other;
    fill(other, {{"A", 5}, {"B", -2000000000}});
    totals.merge(other);
    EXPECT_EQ(totals.findCharacter("A")->id(), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(totals.findCharacter("B")->id(), std::numeric_limits<int32_t>::min());
}

TEST(ScriptInfoTargetTest, AddPrintTargetRefusesRepeatsAndStrangers)
{
    ScriptInfo info;
    fill(info, {{"A", 1}, {"B", 2}, {"C", 3}});
    EXPECT_FALSE(info.addPrintTarget("A")) << "already a target";
    info.clearPrintTargets();
    EXPECT_EQ(info.printTargetCount(), 0);
    EXPECT_EQ(info.characterCount(), 3) << "clearing targets leaves the characters";
    EXPECT_FALSE(info.addPrintTarget("Z"));
    EXPECT_TRUE(info.addPrintTarget("C"));
    EXPECT_TRUE(info.addPrintTarget("A"));
    EXPECT_FALSE(info.addPrintTarget("C"));
    EXPECT_EQ(namesOf(info.printTargets()), (std::vector<std::string>{"C", "A"}));
    EXPECT_EQ(info.findPrintTarget("A"), info.findCharacter("A")) << "targets refer to characters";
    EXPECT_TRUE(info.isPrintTarget("C"));
    EXPECT_FALSE(info.isPrintTarget("B"));
    EXPECT_EQ(info.findCharacter("a"), nullptr) << "names compare case-sensitively";
}

TEST(ScriptInfoTargetTest, LookUpsFollowClearingAndRefilling)
{
    ScriptInfo info;
    fill(info, {{"A", 1}, {"B", 2}});
    info.clear();
    EXPECT_EQ(info.findCharacter("A"), nullptr);
    EXPECT_FALSE(info.isPrintTarget("B"));
    fill(info, {{"B", 5}});
    ASSERT_NE(info.findCharacter("B"), nullptr);
    EXPECT_EQ(info.findCharacter("B")->id(), 5);
    EXPECT_TRUE(info.isPrintTarget("B"));

    // Thousands of names: every one is found, its own entry, in order.
    ScriptInfo many;
    Entries entries;
    for (int i = 0; i < 5000; ++i)
        entries.emplace_back("N" + std::to_string(i), i);
    fill(many, entries);
    EXPECT_EQ(many.characterCount(), 5000);
    EXPECT_EQ(many.findCharacter("N4999")->id(), 4999);
    EXPECT_EQ(many.findPrintTarget("N0"), many.findCharacter("N0"));
    EXPECT_EQ(namesOf(many.characters()).back(), "N4999");
}

TEST(ScriptInfoTargetTest, SummaryCountsTargetsAndListsTheOthers)
{
    ScriptInfo info;
    fill(info, {{"A", 1}, {"B", 2}, {"C", 3}, {"D", 4}, {"E", 5}});
    FCString count;
    FCString others("stale");
    EXPECT_FALSE(info.summary(count, others));
    EXPECT_EQ(count.toStdString(), "5 / 5");
    EXPECT_EQ(others.toStdString(), "");

    info.clearPrintTargets();
    info.addPrintTarget("D");
    info.addPrintTarget("B");
    EXPECT_TRUE(info.summary(count, others));
    EXPECT_EQ(count.toStdString(), "2 / 5");
    EXPECT_EQ(others.toStdString(), "A,C,E");

    ScriptInfo empty;
    EXPECT_FALSE(empty.summary(count, others));
    EXPECT_EQ(count.toStdString(), "0 / 0");
}

TEST(ScriptInfoCopyTest, CopyFromMakesAnIndependentRecord)
{
    ScriptInfo original;
    fill(original, {{"A", 1}, {"B", 2}, {"C", 3}});
    original.setSceneName("scene");
    original.setCachedPageCount(3, 12);
    original.clearPrintTargets();
    original.addPrintTarget("C");
    original.addPrintTarget("A");

    ScriptInfo copy;
    fill(copy, {{"old", 9}});
    copy.copyFrom(original);
    EXPECT_EQ(entriesOf(copy.characters()), entriesOf(original.characters()));
    EXPECT_EQ(namesOf(copy.printTargets()), (std::vector<std::string>{"C", "A"}));
    EXPECT_EQ(copy.sceneName().toStdString(), "scene");
    EXPECT_EQ(copy.cachedPageCount(3), 12);
    EXPECT_EQ(copy.findPrintTarget("C"), copy.findCharacter("C"));

    copy.findCharacter("A")->setId(100);
    copy.addPrintTarget("B");
    EXPECT_EQ(original.findCharacter("A")->id(), 1);
    EXPECT_FALSE(original.isPrintTarget("B"));

    copy.copyFrom(copy);
    EXPECT_EQ(copy.characterCount(), 3);
}

TEST(ScriptInfoCopyTest, MergeAddsCountsAndTakesTargetsOfNewNames)
{
    ScriptInfo merged;
    fill(merged, {{"A", 1}, {"B", 2}});
    merged.clearPrintTargets();
    merged.addPrintTarget("B");

    ScriptInfo other;
    fill(other, {{"C", 30}, {"A", 10}, {"D", 40}, {"E", 50}});
    other.clearPrintTargets();
    other.addPrintTarget("A");
    other.addPrintTarget("D");

    merged.merge(other);
    EXPECT_EQ(entriesOf(merged.characters()),
              (Entries{{"A", 11}, {"B", 2}, {"C", 30}, {"D", 40}, {"E", 50}}));
    // A stays no target: the first record that has it decides.
    EXPECT_EQ(namesOf(merged.printTargets()), (std::vector<std::string>{"B", "D"}));

    merged.merge(merged);
    EXPECT_EQ(merged.findCharacter("C")->id(), 60);
    EXPECT_EQ(merged.characterCount(), 5);
}

TEST(ScriptInfoTargetTest, CharacterNamesJoinEveryCharacterInOrder)
{
    ScriptInfo info;
    EXPECT_EQ(info.characterNames().toStdString(), "");
    fill(info, {{"B", 1}, {sj("悠人"), 2}, {"A", 3}});
    info.clearPrintTargets();
    EXPECT_EQ(info.characterNames().toStdString(), "B," + sj("悠人") + ",A")
        << "targets or not, every character";
}

TEST(ScriptInfoCacheTest, PageCountsExistForModesZeroToThree)
{
    ScriptInfo info;
    for (int mode = 0; mode < 4; ++mode)
        EXPECT_EQ(info.cachedPageCount(mode), -1);
    info.setCachedPageCount(0, 5);
    info.setCachedPageCount(3, 8);
    info.setCachedPageCount(4, 9);
    info.setCachedPageCount(-1, 9);
    EXPECT_EQ(info.cachedPageCount(0), 5);
    EXPECT_EQ(info.cachedPageCount(3), 8);
    EXPECT_EQ(info.cachedPageCount(4), -2);
    EXPECT_EQ(info.cachedPageCount(-1), -2);
    EXPECT_EQ(info.cachedPageCount(1000), -2);
    info.clear();
    EXPECT_EQ(info.cachedPageCount(0), -1);
}

TEST(ScriptInfoListMatchTest, RecordsInAListMatchByScene)
{
    FCXList<ScriptInfo> list;
    auto* first = new ScriptInfo;
    first->setSceneName("one");
    auto* second = new ScriptInfo;
    second->setSceneName("two");
    list.append(first, true);
    list.append(second, true);
    ScriptInfo key;
    key.setSceneName("two");
    ASSERT_NE(list.find(&key), nullptr);
    EXPECT_EQ(list.find(&key)->object(), second);
    key.setSceneName("three");
    EXPECT_EQ(list.find(&key), nullptr);
}
