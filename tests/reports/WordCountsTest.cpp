#include "reports/WordCounts.h"

#include "ReportsTestFixture.h"

TEST(WordCountsTest, TotalAndTextFollowTheRecordsOrder)
{
    ScriptInfo totals;
    totals.appendCharacter(sj("悠人"), 12);
    totals.appendCharacter(sj("さくら"), 3);
    EXPECT_EQ(WordCounts::total(totals), 15);
    EXPECT_EQ(WordCounts::text(totals), sj("悠人, 12\nさくら, 3\n"));
    FCString clipboard("before\n");
    WordCounts::appendText(totals, clipboard);
    EXPECT_EQ(clipboard.toStdString(), "before\n" + sj("悠人, 12\nさくら, 3\n"));
}

TEST(WordCountsTest, AnEmptyRecordGivesNothing)
{
    ScriptInfo totals;
    EXPECT_EQ(WordCounts::text(totals), "");
    EXPECT_EQ(WordCounts::total(totals), 0);
}

TEST(WordCountsTest, TheTotalDoesNotOverflow)
{
    ScriptInfo totals;
    totals.appendCharacter("a", INT32_MAX);
    totals.appendCharacter("b", INT32_MAX);
    EXPECT_EQ(WordCounts::total(totals), int64_t(INT32_MAX) * 2);
}

class WordCountsFolderTest : public ReportsTest {};

TEST_F(WordCountsFolderTest, ACharacterOfSeveralFilesIsListedOnceWithTheSum)
{
    scene("a.screenplay.txt", "a", {{"悠人", 10}, {"さくら", 1}}, 1);
    scene("b.screenplay.txt", "b", {{"店主", 4}, {"悠人", 20}}, 1);
    scene("c.screenplay.txt", "c", {{"悠人", 30}}, 1);
    load();
    EXPECT_EQ(WordCounts::text(m_app.scenarioTotals()), sj("悠人, 60\nさくら, 1\n店主, 4\n"));
    EXPECT_EQ(WordCounts::total(m_app.scenarioTotals()), 65);
    EXPECT_EQ(WordCounts::clipboardNoticeTitle(), sj("出力通知"));
    EXPECT_EQ(WordCounts::clipboardNoticeText(), sj("ワード数一覧をクリップボードに出力しました"));
}
