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

TEST(QtTextTest, EveryTextReadsAsTheCodecReadsIt)
{
    // Plain ASCII takes a shorter way than the rest: both give what the
    // codec gives, one byte after another and mixed.
    std::string every;
    for (int c = 0; c < 0x100; ++c)
        every += static_cast<char>(c);
    const std::string texts[] = {every.substr(0, 0x80),
                                 "scene01.screenplay.txt",
                                 "C:\\scenario\\~01",
                                 sj("ｷｬﾗ,ゆかり") + "Mob",
                                 every,
                                 std::string(1, '\0'),
                                 "\\",
                                 "~"};
    for (const std::string& text : texts)
        EXPECT_EQ(fromCp932(text), QString::fromStdString(TextCodec::toUtf8(text))) << text;
}
