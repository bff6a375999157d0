#include "convert/MessageIdSet.h"

#include <gtest/gtest.h>

TEST(MessageIdSetTest, TellsNewIdsFromRepeatsOnBothSidesOfTheBitRange)
{
    MessageIdSet ids;
    const int32_t samples[] = {0, 1, 79999, 80000, 80001, 1 << 30, 2147483646, 2147483647};
    for (int32_t id : samples) {
        EXPECT_FALSE(ids.contains(id)) << id;
        EXPECT_TRUE(ids.insert(id)) << id;
        EXPECT_TRUE(ids.contains(id)) << id;
        EXPECT_FALSE(ids.insert(id)) << id;
    }
    EXPECT_EQ(ids.size(), 8);
}

TEST(MessageIdSetTest, RefusesNegativeIds)
{
    MessageIdSet ids;
    EXPECT_FALSE(ids.insert(-1));
    EXPECT_FALSE(ids.insert(-2147483647 - 1));
    EXPECT_FALSE(ids.contains(-1));
    EXPECT_EQ(ids.size(), 0);
}

TEST(MessageIdSetTest, CountsDistinctIdsInARange)
{
    MessageIdSet ids;
    for (int32_t id : {5, 6, 79998, 79999, 80000, 90000, 2147483640, 2147483647})
        ASSERT_TRUE(ids.insert(id));
    EXPECT_EQ(ids.countBetween(0, 2147483647), 8);
    EXPECT_EQ(ids.countBetween(6, 79999), 3);
    EXPECT_EQ(ids.countBetween(79999, 80000), 2);
    EXPECT_EQ(ids.countBetween(80001, 2147483646), 2);
    EXPECT_EQ(ids.countBetween(2147483641, 2147483647), 1);
    EXPECT_EQ(ids.countBetween(7, 79997), 0);
    EXPECT_EQ(ids.countBetween(10, 5), 0);
    EXPECT_EQ(ids.countBetween(-10, 5), 1);
}

TEST(MessageIdSetTest, ClearForgetsEverything)
{
    MessageIdSet ids;
    ASSERT_TRUE(ids.insert(3));
    ASSERT_TRUE(ids.insert(100000));
    ids.clear();
    EXPECT_EQ(ids.size(), 0);
    EXPECT_FALSE(ids.contains(3));
    EXPECT_FALSE(ids.contains(100000));
    EXPECT_TRUE(ids.insert(100000));
}
