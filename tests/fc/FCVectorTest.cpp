#include "fc/FCVector.h"

#include "fc/NotEnoughMemoryException.h"
#include "platform/Sjis.h"

#include <gtest/gtest.h>
#include <set>

namespace {

TEST(FCVectorTest, InitAllocatesOneStep)
{
    FCVector<uint32_t> vector;
    EXPECT_EQ(vector.capacity(), 0);
    EXPECT_EQ(vector.data(), nullptr);
    vector.init(512);
    EXPECT_EQ(vector.capacity(), 512);
    EXPECT_EQ(vector.step(), 512);

    FCVector<uint32_t> stored(100);
    stored.init(0);
    EXPECT_EQ(stored.capacity(), 100) << "init(0) keeps the stored step";
}

TEST(FCVectorTest, GrowthGoesToTheNextMultipleOfTheStepAboveTheIndex)
{
    FCVector<uint32_t> vector;
    vector.init(512);
    const struct {
        int32_t index;
        int32_t capacity;
    } steps[] = {{0, 512},     {511, 512},   {512, 1024},  {1023, 1024},
                 {5000, 5120}, {5119, 5120}, {5120, 5632}, {100, 5632}};
    for (const auto& s : steps) {
        vector.at(s.index);
        EXPECT_EQ(vector.capacity(), s.capacity) << "at(" << s.index << ")";
    }
}

TEST(FCVectorTest, ElementsSurviveGrowthAndNewOnesAreZero)
{
    FCVector<uint32_t> vector(16);
    vector.init(0);
    for (int32_t i = 0; i < 16; ++i)
        *vector.at(i) = 0xA5000000u + static_cast<uint32_t>(i);
    *vector.at(40) = 7;
    EXPECT_EQ(vector.capacity(), 48);
    for (int32_t i = 0; i < 16; ++i)
        EXPECT_EQ(*vector.at(i), 0xA5000000u + static_cast<uint32_t>(i)) << i;
    for (int32_t i = 16; i < 48; ++i) {
        if (i != 40) {
            EXPECT_EQ(*vector.at(i), 0u) << i;
        }
    }
    EXPECT_EQ(*vector.at(40), 7u);
}

TEST(FCVectorTest, AtBeforeInitGrowsFromNothing)
{
    FCVector<uint32_t> vector(512);
    *vector.at(700) = 9;
    EXPECT_EQ(vector.capacity(), 1024);
    EXPECT_EQ(*vector.at(700), 9u);
}

TEST(FCVectorTest, LargeGrowthKeepsEarlierValues)
{
    FCVector<uint32_t> vector;
    vector.init(512);
    *vector.at(0) = 1;
    *vector.at(511) = 2;
    *vector.at(3000000) = 3;
    EXPECT_EQ(vector.capacity(), 3000320);
    EXPECT_EQ(*vector.at(0), 1u);
    EXPECT_EQ(*vector.at(511), 2u);
    EXPECT_EQ(*vector.at(3000000), 3u);
    EXPECT_EQ(*vector.at(2999999), 0u);
}

TEST(FCVectorTest, AppendingMillionsOfEntriesReallocatesRarely)
{
    FCVector<uint32_t> vector;
    vector.init(512);
    std::set<int32_t> storageSizes;
    const int32_t entries = 2000000;
    for (int32_t i = 0; i < entries; ++i) {
        *vector.at(i) = static_cast<uint32_t>(i) * 3u;
        storageSizes.insert(vector.allocated());
        ASSERT_EQ(vector.capacity(), 512 * (i / 512 + 1)) << i;
        // Fixed steps up to 64 Ki (128 of them), then doubling: about 5 more.
        ASSERT_LT(storageSizes.size(), 140u) << "reallocated too often by entry " << i;
    }
    EXPECT_GE(vector.allocated(), vector.capacity());
    EXPECT_EQ(vector.allocated() % 512, 0);
    for (int32_t i = 0; i < entries; i += 9973)
        ASSERT_EQ(*vector.at(i), static_cast<uint32_t>(i) * 3u) << i;
}

TEST(FCVectorTest, StepsInsideSpareStorageAreZero)
{
    FCVector<uint32_t> vector;
    vector.init(512);
    for (int32_t i = 0; i <= 70000; ++i)
        *vector.at(i) = 0xFFFFFFFFu;
    ASSERT_GT(vector.allocated(), vector.capacity());
    const int32_t oldCapacity = vector.capacity();
    vector.at(oldCapacity + 600);
    for (int32_t i = oldCapacity; i < vector.capacity(); ++i)
        ASSERT_EQ(*vector.at(i), 0u) << i;
}

TEST(FCVectorTest, InitOnAllocatedDataResetsAndIgnoresTheStep)
{
    FCVector<uint32_t> vector;
    vector.init(512);
    *vector.at(3) = 4;
    *vector.at(2000) = 5;
    vector.init(64);
    EXPECT_EQ(vector.step(), 512);
    EXPECT_EQ(vector.capacity(), 512);
    EXPECT_EQ(*vector.at(3), 0u);

    *vector.at(1500) = 6;
    vector.reset();
    EXPECT_EQ(vector.capacity(), 512);
    EXPECT_EQ(*vector.at(3), 0u);
}

TEST(FCVectorTest, OversizedInitRaisesAndLeavesTheVectorAlone)
{
    FCVector<uint32_t> vector(512);
    try {
        vector.init(1 << 30);
        FAIL() << "init did not raise";
    } catch (const NotEnoughMemoryException& e) {
        EXPECT_EQ(e.caption(), "FCVector - init");
        EXPECT_EQ(e.message(), Sjis::of("メモリが足りません！"));
    }
    EXPECT_EQ(vector.capacity(), 0);
    EXPECT_EQ(vector.step(), 512);
    vector.init(0);
    EXPECT_EQ(vector.capacity(), 512);
}

TEST(FCVectorTest, OversizedGrowthRaisesAndKeepsTheElements)
{
    FCVector<uint32_t> vector;
    vector.init(512);
    *vector.at(1000) = 77;
    const uint32_t* before = vector.data();
    for (int32_t index : {1 << 30, (1 << 30) - 1, INT32_MAX}) {
        try {
            vector.at(index);
            ADD_FAILURE() << "at(" << index << ") did not raise";
        } catch (const NotEnoughMemoryException& e) {
            EXPECT_EQ(e.caption(), "FCVector - increase");
            EXPECT_EQ(e.message(), Sjis::of("メモリが足りません！"));
        }
    }
    EXPECT_EQ(vector.data(), before);
    EXPECT_EQ(vector.capacity(), 1024);
    EXPECT_EQ(*vector.at(1000), 77u);
}

} // namespace
