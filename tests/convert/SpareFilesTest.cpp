#include "convert/SpareFiles.h"

#include <gtest/gtest.h>
#include <string>

TEST(SpareFilesTest, TheSpareTakenNeedsNoCuttingWhereOneCan)
{
    // Sizes in blocks of 4096 bytes; each row takes one spare.
    SpareFiles spares;
    spares.give("three", 3 * 4096);
    spares.give("one", 4096);
    spares.give("five", 5 * 4096 - 100);
    std::string path;
    EXPECT_FALSE(spares.take(path, 4096));
    spares.settle();
    const struct {
        std::size_t size;
        const char* taken;
    } rows[] = {
        {4 * 4096, "three"}, // the largest of those that fit
        {2 * 4096 + 1, "one"},
        {4096, "five"}, // none fits: the smallest
    };
    for (const auto& row : rows) {
        ASSERT_TRUE(spares.take(path, row.size));
        EXPECT_EQ(path, row.taken);
    }
    EXPECT_FALSE(spares.take(path, 4096));
}
