#include "gui/QtText.h"

#include "TestText.h"

#include <gtest/gtest.h>

TEST(QtTextTest, JapaneseTextsCrossTheEdgeBothWays)
{
    const std::string cp932 = sj("台本フォルダ　ｷｬﾗ①");
    EXPECT_EQ(fromCp932(cp932), QString::fromUtf8("台本フォルダ　ｷｬﾗ①"));
    EXPECT_EQ(toCp932(fromCp932(cp932)), cp932);
    EXPECT_EQ(fromCp932(""), QString());
    EXPECT_EQ(toCp932(QString()), "");
}

TEST(QtTextTest, TextsWithoutAFormOnTheOtherSideStillConvert)
{
    // A lone lead byte is no character: it becomes U+FFFD, the rest stays.
    EXPECT_EQ(fromCp932(std::string("a\x81")), QString::fromUtf8("a\xEF\xBF\xBD"));
    // A character CP932 lacks becomes "?".
    EXPECT_EQ(toCp932(QString::fromUtf8("x\xF0\x9F\x98\x80y")), "x?y");
    // A NUL inside the text is kept.
    EXPECT_EQ(fromCp932(std::string_view("a\0b", 3)).size(), 3);
}
