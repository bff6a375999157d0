#include "fc/FCIdString.h"

#include "fc/UxPairString.h"
#include "fc/UxPosString.h"

#include <gtest/gtest.h>

TEST(FCIdStringTest, StartsWithoutIdAndSetReplacesBoth)
{
    FCIdString s;
    EXPECT_EQ(s.id(), -1);
    EXPECT_TRUE(s.isEmpty());

    s.set(12, "twelve");
    EXPECT_EQ(s.id(), 12);
    EXPECT_EQ(s.view(), "twelve");

    FCString text("shared");
    s.set(-40, text);
    EXPECT_EQ(s.id(), -40);
    EXPECT_TRUE(s.sharesStorageWith(text));

    // A copy carries the id; the texts stay independent.
    FCIdString copy = s;
    copy.append("!");
    EXPECT_EQ(copy.id(), -40);
    EXPECT_EQ(s.view(), "shared");
}

TEST(FCIdStringTest, SetWithItsOwnTextKeepsTheText)
{
    FCIdString s(3, "abc");
    s.set(4, s.text());
    EXPECT_EQ(s.view(), "abc");
    EXPECT_EQ(s.id(), 4);
    s.set(5, s);
    EXPECT_EQ(s.view(), "abc");
    EXPECT_EQ(s.id(), 5);
}

TEST(UxPairStringTest, BothTextsAreReplacedTogether)
{
    UxPairString pair;
    EXPECT_TRUE(pair.isEmpty());
    EXPECT_TRUE(pair.second().isEmpty());
    EXPECT_EQ(pair.second().unit(), 256);

    pair.set("name", "reading");
    EXPECT_EQ(pair.view(), "name");
    EXPECT_EQ(pair.second().view(), "reading");

    // Swapping through the pair's own texts.
    pair.set(pair.second(), pair.first());
    EXPECT_EQ(pair.view(), "reading");
    EXPECT_EQ(pair.second().view(), "name");

    UxPairString copy = pair;
    copy.second().append("?");
    EXPECT_EQ(pair.second().view(), "name");
}

TEST(UxPosStringTest, CarriesAPosition)
{
    UxPosString s;
    EXPECT_EQ(s.x(), 0);
    EXPECT_EQ(s.y(), 0);
    s.setPosition(-3, 70);
    s.create(256, "label");
    EXPECT_EQ(s.x(), -3);
    EXPECT_EQ(s.y(), 70);
    UxPosString t("t", 1, 2);
    EXPECT_EQ(t.view(), "t");
    EXPECT_EQ(t.y(), 2);
}
