#include "reports/WordCounts.h"

#include "ReportsTestFixture.h"

TEST(WordCountsTest, ListAndTextFollowTheRecordsOrder)
{
    ScriptInfo totals;
    totals.appendCharacter(sj("悠人"), 12);
    totals.appendCharacter(sj("さくら"), 3);
    UxListViewControl list(false);
    WordCounts::defineColumns(list);
    ASSERT_EQ(list.columnCount(), 2);
    EXPECT_EQ(list.column(0).title, sj("キャラ名"));
    EXPECT_EQ(list.column(0).width, 200);
    EXPECT_EQ(list.column(1).title, sj("ワード数"));
    EXPECT_EQ(list.column(1).width, 100);
    EXPECT_EQ(WordCounts::fillList(totals, list), 15);
    ASSERT_EQ(list.rowCount(), 2);
    EXPECT_EQ(list.cell(1, 0)->text, sj("さくら"));
    EXPECT_EQ(list.cell(1, 1)->text, "3");
    EXPECT_EQ(WordCounts::text(totals), sj("悠人, 12\nさくら, 3\n"));
    FCString clipboard("before\n");
    WordCounts::appendText(totals, clipboard);
    EXPECT_EQ(clipboard.toStdString(), "before\n" + sj("悠人, 12\nさくら, 3\n"));
}

TEST(WordCountsTest, AnEmptyRecordGivesNothing)
{
    ScriptInfo totals;
    UxListViewControl list(false);
    WordCounts::defineColumns(list);
    EXPECT_EQ(WordCounts::fillList(totals, list), 0);
    EXPECT_EQ(list.rowCount(), 0);
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
