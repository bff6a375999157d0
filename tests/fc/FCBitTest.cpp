#include "fc/FCBit.h"

#include "fc/OutOfBoundException.h"
#include "platform/Sjis.h"

#include <gtest/gtest.h>
#include <set>

namespace {

struct SizeCase {
    int32_t bits;
    int32_t size;
    int32_t bytes;
};

TEST(FCBitTest, StorageIsWholeWordsLargeEnoughForTheBits)
{
    const SizeCase cases[] = {
        {1, 1, 4},   {8, 8, 4},    {24, 24, 4},    {31, 31, 4},  {32, 32, 4},           {33, 33, 8},
        {64, 64, 8}, {65, 65, 12}, {100, 100, 16}, {96, 96, 12}, {80000, 80000, 10000}, {0, 1, 4},
        {-7, 1, 4},
    };
    FCBit bits;
    for (const SizeCase& c : cases) {
        bits.resize(c.bits);
        EXPECT_EQ(bits.size(), c.size) << c.bits;
        EXPECT_EQ(bits.byteSize(), c.bytes) << c.bits;
        EXPECT_GE(bits.byteSize() * 8, bits.size()) << c.bits;
    }
}

TEST(FCBitTest, ConstructionMakesOneClearBit)
{
    FCBit bits;
    EXPECT_EQ(bits.size(), 1);
    EXPECT_EQ(bits.byteSize(), 4);
    EXPECT_FALSE(bits.test(0));
}

TEST(FCBitTest, FirstBitOfAByteIsItsHighest)
{
    FCBit bits;
    bits.resize(100);
    bits.set(0);
    EXPECT_EQ(bits.data()[0], 0x80);
    bits.set(7);
    EXPECT_EQ(bits.data()[0], 0x81);
    bits.set(8);
    EXPECT_EQ(bits.data()[1], 0x80);
    bits.set(99);
    EXPECT_EQ(bits.data()[12], 0x10);
    for (int32_t i = 2; i < bits.byteSize(); ++i) {
        if (i != 12) {
            EXPECT_EQ(bits.data()[i], 0) << i;
        }
    }
}

TEST(FCBitTest, SetBitsAreTheOnlyOnesThatTestTrue)
{
    FCBit bits;
    bits.resize(80000);
    const std::set<int32_t> chosen = {0, 1, 9, 31, 32, 4095, 65536, 79998, 79999};
    for (int32_t index : chosen)
        bits.set(index);
    bits.set(9); // setting twice keeps it set
    for (int32_t i = 0; i < bits.size(); ++i)
        ASSERT_EQ(bits.test(i), chosen.count(i) == 1) << i;
}

TEST(FCBitTest, ResizeAndClearAllLeaveEveryBitClear)
{
    FCBit bits;
    bits.resize(40);
    bits.set(3);
    bits.set(39);
    bits.clearAll();
    EXPECT_FALSE(bits.test(3));
    EXPECT_FALSE(bits.test(39));

    bits.set(5);
    bits.resize(40);
    EXPECT_FALSE(bits.test(5));
    for (int32_t i = 0; i < bits.byteSize(); ++i)
        EXPECT_EQ(bits.data()[i], 0) << i;
}

TEST(FCBitTest, IndexOutsideTheSizeRaisesOutOfBound)
{
    FCBit bits;
    bits.resize(100);
    EXPECT_NO_THROW(bits.test(99));
    // Bits 100..127 exist in storage but not in the set.
    for (int32_t index : {100, 127, 128, -1, INT32_MIN}) {
        try {
            bits.test(index);
            ADD_FAILURE() << "test(" << index << ") did not raise";
        } catch (const OutOfBoundException& e) {
            EXPECT_EQ(e.caption(), "FCBit");
            EXPECT_EQ(e.message(), Sjis::of("添え字が適正な範囲を超えています"));
        }
        EXPECT_THROW(bits.set(index), OutOfBoundException) << index;
    }
    for (int32_t i = 0; i < bits.byteSize(); ++i)
        EXPECT_EQ(bits.data()[i], 0) << "a refused set must not touch byte " << i;
}

} // namespace
