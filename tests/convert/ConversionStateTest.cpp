#include "convert/ConversionState.h"

#include "ConvertTestSupport.h"
#include "convert/SourceLine.h"
#include "convert/SourceSurvey.h"

#include <vector>

namespace {

// Surveys one file (UTF-8 text) under a name.
void survey(ConversionState& state, const std::string& name, const std::string& text)
{
    SourceSurvey::surveyText(state, FCString(sj(text)), FCString(sj(name)));
}

std::string says(std::initializer_list<int> ids, const std::string& object = "hero")
{
    std::string text;
    for (int id : ids)
        text += object + ".say(" + std::to_string(id) + ", \"x\");\n";
    return text;
}

std::vector<std::string> utf8All(const std::vector<FCString>& texts)
{
    std::vector<std::string> out;
    for (const FCString& text : texts)
        out.push_back(utf8(text.toStdString()));
    return out;
}

} // namespace

TEST(ConversionStateTest, StartsEmptyAfterReset)
{
    ConversionState state;
    survey(state, "a.cpp", says({4, 4}) + "x.say(MESSAGEID, \"y\");\n");
    state.resetConversionState();
    EXPECT_EQ(state.smallestId(), 2147483647);
    EXPECT_EQ(state.largestId(), -1);
    EXPECT_EQ(state.unusedIds(), 0);
    EXPECT_TRUE(state.duplicateIds().empty());
    EXPECT_TRUE(state.filesWithUndefinedIds().empty());
    EXPECT_TRUE(state.unregisteredNames().empty());
    EXPECT_TRUE(state.nameDefinitions().empty());
    EXPECT_FALSE(state.usedIds().contains(4));
}

TEST(ConversionStateTest, DuplicatesAndRange)
{
    struct {
        std::initializer_list<int> ids;
        std::vector<int32_t> duplicates;
        int32_t smallest, largest;
        int64_t unused;
    } cases[] = {
        {{3, 7, 3, 3}, {3, 3}, 3, 7, 3},
        {{9}, {}, 9, 9, 0},
        {{1, 2, 4, 4, 7}, {4}, 1, 7, 3},
        {{7, 2, 7, 2, 5}, {2, 7}, 2, 7, 3},
    };
    for (const auto& c : cases) {
        ConversionState state;
        survey(state, "a.cpp", says(c.ids));
        EXPECT_EQ(state.duplicateIds(), c.duplicates);
        EXPECT_EQ(state.smallestId(), c.smallest);
        EXPECT_EQ(state.largestId(), c.largest);
        EXPECT_EQ(state.unusedIds(), c.unused);
    }
}

TEST(ConversionStateTest, IdsNearTwoToTheThirtyOneAreTrackedWithoutLoss)
{
    ConversionState state;
    SourceSurvey::surveyText(state, FCString(fixtureBytes("ids-above-80000.cpp")),
                             FCString("ids-above-80000.cpp"));
    // 79999, 80000, 2147483647, 2147483646, 2147483647 again, 0x7ffffffe.
    EXPECT_EQ(state.duplicateIds(), (std::vector<int32_t>{2147483646, 2147483647}));
    EXPECT_EQ(state.smallestId(), 79999);
    EXPECT_EQ(state.largestId(), 2147483647);
    EXPECT_EQ(state.unusedIds(), int64_t(2147483647) - 79999 + 1 - 4);
    EXPECT_TRUE(state.usedIds().contains(2147483646));
}

TEST(ConversionStateTest, CommentLinesCountNothing)
{
    ConversionState state;
    survey(state, "a.cpp", "　hero.say(12, \"やあ\");\n// hero.say(13, \"やあ\");\n");
    EXPECT_EQ(state.smallestId(), 12);
    EXPECT_EQ(state.largestId(), 12);
}

TEST(ConversionStateTest, ListsFilesWithUnassignedAndSystemIdsOncePerFile)
{
    ConversionState state;
    survey(state, "a.cpp", "h.say(MESSAGEID, \"x\");\nh.say(MESSAGEID, \"y\");\n");
    survey(state, "b.cpp", "h.say(-1, \"x\");\nh.say(-7, \"y\");\nh.say(MESSAGEID, \"z\");\n");
    survey(state, "c.cpp", says({1}, "h"));
    EXPECT_EQ(utf8All(state.filesWithUndefinedIds()), (std::vector<std::string>{"a.cpp", "b.cpp"}));
    EXPECT_EQ(utf8All(state.filesWithSystemIds()), std::vector<std::string>{"b.cpp"});
    // Neither kind enters the id range.
    EXPECT_EQ(state.smallestId(), 1);
    EXPECT_EQ(state.largestId(), 1);
}

TEST(ConversionStateTest, UnregisteredObjectsAreListedOnceOverTheSurvey)
{
    ConversionState state;
    state.readNameDefinitions(FCString(sj("hero,1,主人公\n")));
    survey(state, "a.cpp", says({1}, "ghost") + says({2}, "hero"));
    survey(state, "b.cpp", says({3}, "ghost") + says({4}, "cat"));
    survey(state, "c.cpp", says({5}, "ghost"));
    EXPECT_EQ(utf8All(state.unregisteredNames()), (std::vector<std::string>{"ghost", "cat"}));
    const FCIdString* placeholder = state.definition("cat");
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(utf8(placeholder->toStdString()), "b.cppで見つかった未登録キャラ");
    EXPECT_EQ(placeholder->id(), 0);
}

TEST(ConversionStateTest, FirstDefinitionOfAnObjectWins)
{
    ConversionState state;
    ASSERT_TRUE(
        state.loadNameDefinitions(FCString(fixturePath("names-with-comma-in-true-name.txt"))));
    const FCIdString* hero = state.definition("hero");
    ASSERT_NE(hero, nullptr);
    // The true name ends at the next comma.
    EXPECT_EQ(utf8(hero->toStdString()), "主人公");
    EXPECT_EQ(hero->id(), 2);
    EXPECT_EQ(state.nameDefinitions().size(), 2u);
    EXPECT_EQ(state.characterCount(), 3);
}

TEST(ConversionStateTest, DefinitionLinesWithMissingFieldsAreStillEntered)
{
    ConversionState state;
    ASSERT_TRUE(state.loadNameDefinitions(FCString(fixturePath("names-with-missing-fields.txt"))));
    const FCIdString* lonely = state.definition("lonely");
    ASSERT_NE(lonely, nullptr);
    EXPECT_TRUE(lonely->isEmpty());
    EXPECT_EQ(lonely->id(), 0);
    const FCIdString* numbered = state.definition("numbered");
    ASSERT_NE(numbered, nullptr);
    EXPECT_EQ(numbered->id(), 4);
    EXPECT_EQ(state.characterCount(), 5);
}

TEST(ConversionStateTest, LeadingFullWidthBlanksOfADefinitionAreDropped)
{
    ConversionState state;
    ASSERT_TRUE(state.loadNameDefinitions(FCString(fixturePath("names.txt"))));
    const FCIdString* shop = state.definition("shop");
    ASSERT_NE(shop, nullptr);
    EXPECT_EQ(utf8(shop->toStdString()), "店主");
}

TEST(ConversionStateTest, AMissingOrFolderDefinitionFileRegistersNothing)
{
    ConversionState state;
    EXPECT_FALSE(state.loadNameDefinitions(FCString(fixturePath("no-such-file.txt"))));
    EXPECT_FALSE(state.loadNameDefinitions(FCString(std::string(QUILLON_TEST_DATA))));
    EXPECT_FALSE(state.loadNameDefinitions(FCString()));
}

TEST(ConversionStateTest, CharacterCountIsAtLeastOneAndSaturates)
{
    ConversionState state;
    EXPECT_EQ(state.characterCount(), 1);
    state.readNameDefinitions(FCString("a,-5,x\n"));
    EXPECT_EQ(state.characterCount(), 1);
    state.readNameDefinitions(FCString("a,2147483647,x\n"));
    EXPECT_EQ(state.characterCount(), 2147483647);
}
