#include "convert/RavconHeader.h"

#include "TestText.h"

#include <gtest/gtest.h>

namespace {

std::string written(const RavconHeader& header)
{
    FCString text;
    header.write(text);
    return utf8(text.toStdString());
}

} // namespace

TEST(RavconHeaderTest, CountsOnlyNumbersInsideTheCount)
{
    RavconHeader header;
    header.reset(FCString("a"), 3);
    header.countLine(-1, 5);
    header.countLine(3, 6);
    EXPECT_EQ(header.startId(), -1);
    EXPECT_EQ(header.endId(), -1);
    header.countLine(2, 40);
    header.countLine(0, 7);
    header.countLine(2, 90);
    header.countLine(2, 50);
    EXPECT_EQ(header.lineCount(2), 3);
    EXPECT_EQ(header.lineCount(0), 1);
    EXPECT_EQ(header.lineCount(1), 0);
    EXPECT_EQ(header.startId(), 7);
    EXPECT_EQ(header.endId(), 90);
}

TEST(RavconHeaderTest, ResetClearsCountsAndRange)
{
    RavconHeader header;
    header.reset(FCString("a"), 2);
    header.countLine(1, 9);
    header.reset(FCString("b"), 2);
    EXPECT_EQ(header.sceneName().toStdString(), "b");
    EXPECT_EQ(header.lineCount(1), 0);
    EXPECT_EQ(header.startId(), -1);
    EXPECT_EQ(header.endId(), -1);
}

TEST(RavconHeaderTest, WritesNamedCharactersInNumberOrder)
{
    RavconHeader header;
    header.loadNames(FCString(sj("x,3,店主\ny,1,さくら\nz,0,誰も話さない\n")));
    header.reset(FCString("s1"), 4);
    header.countLine(3, 120);
    header.countLine(1, 100);
    header.countLine(3, 130);
    header.countLine(1, 110);
    header.countLine(3, 140);
    EXPECT_EQ(written(header), ".scene\ts1\n.start\t100\n.end\t140\n.chara\t2\n"
                               ".さくら\t2\n.店主\t3\n.total\t5\n");
}

TEST(RavconHeaderTest, LeavesOutCharactersWithoutAName)
{
    RavconHeader header;
    header.loadNames(FCString(sj("x,0,悠人\n")));
    header.reset(FCString("s"), 2);
    header.countLine(0, 1);
    header.countLine(0, 2);
    header.countLine(0, 3);
    header.countLine(1, 4);
    // Counts 3 and 1, the second unnamed: one character, total 3.
    EXPECT_EQ(written(header), ".scene\ts\n.start\t1\n.end\t4\n.chara\t1\n.悠人\t3\n.total\t3\n");
}

TEST(RavconHeaderTest, ACountOfZeroWritesNothing)
{
    RavconHeader header;
    header.reset(FCString("s"), 0);
    header.countLine(0, 1);
    EXPECT_EQ(written(header), "");
    header.reset(FCString("s"), -4);
    EXPECT_EQ(header.characterCount(), 0);
    EXPECT_EQ(written(header), "");
}

TEST(RavconHeaderTest, AHugeCountCostsNoMemoryUpFront)
{
    RavconHeader header;
    header.loadNames(FCString("far,2147483646,x\n"));
    header.reset(FCString("s"), 2147483647);
    header.countLine(2147483646, 5);
    EXPECT_EQ(written(header), ".scene\ts\n.start\t5\n.end\t5\n.chara\t1\n.x\t1\n.total\t1\n");
}

TEST(RavconHeaderTest, LoadNamesTakesTheRestOfTheLineAndTheFirstNumberWins)
{
    RavconHeader header;
    header.loadNames(FCString(sj("hero,2,主人公,ゆうと\nother,2,偽者\n　guide,,,3,,案内人\n")));
    ASSERT_EQ(header.characterNames().count(2), 1u);
    EXPECT_EQ(utf8(header.characterNames().at(2).toStdString()), "主人公,ゆうと");
    // Runs of commas are one separator.
    ASSERT_EQ(header.characterNames().count(3), 1u);
    EXPECT_EQ(utf8(header.characterNames().at(3).toStdString()), "案内人");
    EXPECT_EQ(header.characterNames().size(), 2u);
}
