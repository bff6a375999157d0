#include "ui/RecordRows.h"

#include "TestText.h"
#include "document/ScriptInfo.h"
#include "ui/UxListViewControl.h"

#include <array>
#include <gtest/gtest.h>

TEST(RecordRowsTest, FillCharactersAppendsOneRowPerCharacter)
{
    ScriptInfo info;
    info.appendCharacter("A", 1);
    info.appendCharacter("B", 2);
    UxListViewControl list;
    const std::array<UxListViewControl::ColumnDescriptor, 2> columns{{{"", 24}, {"name", 100}}};
    list.defineColumns(columns);
    list.setCell(0, 0, "existing");

    RecordRows::fillCharacters(info, list, 1);
    RecordRows::fillCharacters(info, list, 0);
    ASSERT_EQ(list.rowCount(), 5);
    FCString text;
    list.textOfCell(text, 1, 1);
    EXPECT_EQ(text.toStdString(), "A");
    list.textOfCell(text, 4, 1);
    EXPECT_EQ(text.toStdString(), "B");
    list.textOfCell(text, 2, 0);
    EXPECT_EQ(text.toStdString(), "");
    EXPECT_TRUE(list.isChecked(1));
    EXPECT_TRUE(list.isChecked(2));
    EXPECT_FALSE(list.isChecked(3));
}

TEST(RecordRowsTest, WordCountsListFollowsTheRecordsOrder)
{
    ScriptInfo totals;
    totals.appendCharacter(sj("悠人"), 12);
    totals.appendCharacter(sj("さくら"), 3);
    UxListViewControl list(false);
    RecordRows::defineWordCountColumns(list);
    ASSERT_EQ(list.columnCount(), 2);
    EXPECT_EQ(list.column(0).title, sj("キャラ名"));
    EXPECT_EQ(list.column(0).width, 200);
    EXPECT_EQ(list.column(1).title, sj("ワード数"));
    EXPECT_EQ(list.column(1).width, 100);
    RecordRows::fillWordCounts(totals, list);
    ASSERT_EQ(list.rowCount(), 2);
    EXPECT_EQ(list.cell(1, 0)->text, sj("さくら"));
    EXPECT_EQ(list.cell(1, 1)->text, "3");
}

TEST(RecordRowsTest, AnEmptyRecordGivesNoWordCountRows)
{
    ScriptInfo totals;
    UxListViewControl list(false);
    RecordRows::defineWordCountColumns(list);
    RecordRows::fillWordCounts(totals, list);
    EXPECT_EQ(list.rowCount(), 0);
}
