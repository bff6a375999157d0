#include "TestText.h"
#include "fc/FCString.h"
#include "platform/ScriptedPrompt.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const std::string kHyou = sj("表"); // trail byte 0x5C
const std::string kSo = sj("ソ");   // trail byte 0x5C

std::vector<std::string> tokens(FCString& s, const char* delimiters, bool includeDelimiter)
{
    std::vector<std::string> found;
    FCString token;
    while (s.nextToken(token, delimiters, includeDelimiter) != FCString::none)
        found.push_back(token.toStdString());
    return found;
}

} // namespace

TEST(FCStringTokenTest, NextTokenSkipsDelimiterRuns)
{
    FCString s("  one,,two three ");
    FCString token;
    EXPECT_EQ(s.nextToken(token, " ,"), 2);
    EXPECT_EQ(token.view(), "one");
    EXPECT_EQ(token.unit(), 32);
    EXPECT_EQ(s.cursor(), 5);
    EXPECT_EQ(s.nextToken(token, " ,"), 7);
    EXPECT_EQ(token.view(), "two");
    EXPECT_EQ(s.nextToken(token, " ,"), 11);
    EXPECT_EQ(s.nextToken(token, " ,"), FCString::none);
    EXPECT_EQ(token.view(), "three"); // untouched when nothing is left

    FCString with("a=1;b=2");
    EXPECT_EQ(tokens(with, ";", true), (std::vector<std::string>{"a=1;", "b=2"}));
}

TEST(FCStringTokenTest, TokensAreNotCutAtTrailBytes)
{
    FCString s(kHyou + kSo + "\\x\\" + kSo);
    EXPECT_EQ(tokens(s, "\\", false), (std::vector<std::string>{kHyou + kSo, "x", kSo}));

    FCString wide(sj("あ、い、、う"));
    EXPECT_EQ(tokens(wide, sj("、").c_str(), false),
              (std::vector<std::string>{sj("あ"), sj("い"), sj("う")}));
}

TEST(FCStringTokenTest, NextFieldKeepsEmptyFieldsOnRequest)
{
    FCString s("a,,b");
    FCString field;
    int delimiter = -1;
    EXPECT_EQ(s.nextField(field, ",", true, &delimiter), 1);
    EXPECT_EQ(field.view(), "a");
    EXPECT_EQ(delimiter, ',');
    EXPECT_EQ(s.nextField(field, ",", true, &delimiter), 1);
    EXPECT_TRUE(field.isEmpty());
    EXPECT_EQ(s.nextField(field, ",", true, &delimiter), 1);
    EXPECT_EQ(field.view(), "b");
    EXPECT_EQ(delimiter, 0);
    EXPECT_EQ(s.nextField(field, ",", true), 0);

    FCString skipping("a,,b");
    EXPECT_EQ(skipping.nextField(field, ","), 1);
    EXPECT_EQ(skipping.nextField(field, ","), 1);
    EXPECT_EQ(field.view(), "b");
    EXPECT_EQ(skipping.nextField(field, ","), 0);
}

TEST(FCStringTokenTest, NextFieldReportsADelimiterAtTheEnd)
{
    FCString s("a,");
    FCString field;
    EXPECT_EQ(s.nextField(field, ",", true), 2);
    EXPECT_EQ(field.view(), "a");
    EXPECT_EQ(s.nextField(field, ",", true), 0);

    // Without keepEmpty the trailing delimiter means nothing.
    FCString t("a,");
    EXPECT_EQ(t.nextField(field, ",", false), 1);

    // A long field is cut whole.
    const std::string longField(5000, 'q');
    FCString big(longField + ";" + kHyou);
    EXPECT_EQ(big.nextField(field, ";"), 1);
    EXPECT_EQ(field.view(), longField);
    EXPECT_EQ(big.nextField(field, "\\"), 1);
    EXPECT_EQ(field.view(), kHyou);
}

TEST(FCStringTokenTest, SplitFillsFields)
{
    struct Case {
        const char* text;
        int count;
        bool lastTakesRest;
        bool keepEmpty;
        const char* skipFirst;
        int filled;
        std::vector<std::string> fields;
    } cases[] = {
        {"a b c", 3, false, false, nullptr, 3, {"a", "b", "c"}},
        {"a b c d", 3, false, false, nullptr, 3, {"a", "b", "c"}},
        {"a b", 3, false, false, nullptr, 2, {"a", "b", "-"}},
        {"a b c d", 3, true, false, nullptr, 3, {"a", "b", "c d"}},
        {"a b", 3, true, false, nullptr, 3, {"a", "b", ""}},
        {"a,,b", 3, false, true, nullptr, 3, {"a", "", "b"}},
        {"a,", 3, false, true, nullptr, 2, {"a", "", "-"}},
        {"a,b,", 2, false, true, nullptr, 2, {"a", "b"}},
        {"a,", 1, false, true, nullptr, 1, {"a"}},
        {"  x,  y", 2, false, true, " ", 2, {"x", "y"}},
        {"", 2, false, false, nullptr, 0, {"-", "-"}},
    };
    for (const Case& c : cases) {
        FCString s(c.text);
        FCString fields[3] = {FCString("-"), FCString("-"), FCString("-")};
        EXPECT_EQ(s.split(fields, c.count, c.keepEmpty ? "," : " ", c.lastTakesRest, c.keepEmpty,
                          c.skipFirst),
                  c.filled)
            << c.text;
        for (size_t i = 0; i < c.fields.size(); ++i)
            EXPECT_EQ(fields[i].view(), c.fields[i]) << c.text << " field " << i;
    }
}

TEST(FCStringTokenTest, ReadLineSkipsEmptyLinesAndTrims)
{
    FCString s("a\r\n\r\n  b\r\n\t \r\nc");
    FCString line;
    EXPECT_TRUE(s.readLine(line, true));
    EXPECT_EQ(line.view(), "a");
    EXPECT_TRUE(s.readLine(line, true));
    EXPECT_EQ(line.view(), "b");
    EXPECT_TRUE(s.readLine(line, true)); // blanks only
    EXPECT_TRUE(line.isEmpty());
    EXPECT_TRUE(s.readLine(line, true));
    EXPECT_EQ(line.view(), "c");
    EXPECT_FALSE(s.readLine(line, true));

    const std::string blank = sj("　"); // 0x81 0x40
    FCString wide(blank + " x" + blank + "\n" + blank + "y");
    EXPECT_TRUE(wide.readLine(line, true, true));
    EXPECT_EQ(line.view(), "x" + blank);
    EXPECT_TRUE(wide.readLine(line, true, false));
    EXPECT_EQ(line.view(), blank + "y");

    FCString untrimmed("  z\n");
    EXPECT_TRUE(untrimmed.readLine(line));
    EXPECT_EQ(line.view(), "  z");
}

TEST(FCStringTokenTest, SubstringIncludesBothBounds)
{
    FCString s("abcdef");
    FCString out;
    s.substring(out, 1, 3);
    EXPECT_EQ(out.view(), "bcd");
    s.substring(out, 3, 1);
    EXPECT_EQ(out.view(), "bcd");
    s.substring(out, FCString::none, 2);
    EXPECT_EQ(out.view(), "abc");
    s.substring(out, 4);
    EXPECT_EQ(out.view(), "ef");
    s.substring(out);
    EXPECT_EQ(out.view(), "abcdef");
    s.substring(out, 5, 5);
    EXPECT_EQ(out.view(), "f");

    FCString empty;
    out = FCString("keep");
    empty.substring(out);
    EXPECT_TRUE(out.isEmpty());
}

TEST(FCStringTokenTest, SubstringOutsideTheTextShowsTheBox)
{
    ScriptedPrompt prompt;
    Prompt::Scope scope(prompt);
    FCString s("abc");
    FCString out("untouched");
    s.substring(out, 1, 3); // 3 is the end, not a byte of the text
    ASSERT_EQ(prompt.questions().size(), 1u);
    EXPECT_EQ(prompt.questions()[0].title, "FCString class");
    EXPECT_EQ(prompt.questions()[0].text,
              "  start:1\n    end:3\nstrings:" +
                  std::to_string(reinterpret_cast<uintptr_t>(s.text())) + "\n length:3");
    EXPECT_EQ(out.view(), "untouched");

    s.substring(out, -5, 1);
    ASSERT_EQ(prompt.questions().size(), 2u);
    EXPECT_EQ(prompt.questions()[1].text.substr(0, 17), "  start:429496729");

    FCString empty;
    empty.substring(out, 0, FCString::none);
    EXPECT_EQ(prompt.questions().size(), 3u);
    EXPECT_EQ(out.view(), "untouched");
}

TEST(FCStringTokenTest, ReplaceAllReplacesLeftToRightWithoutOverlap)
{
    struct Case {
        const char* text;
        const char* find;
        const char* replacement;
        int count;
        std::string result;
    } cases[] = {
        {"@sceneCheckList.%1.csv", "%1", "0000000a", 1, "@sceneCheckList.0000000a.csv"},
        {"aaaa", "aa", "b", 2, "bb"},
        {"aaa", "aa", "b", 1, "ba"},
        {"s01.screenplay.txt", ".screenplay.txt", "", 1, "s01"},
        {"abc", "x", "y", 0, "abc"},
        {"abc", "", "y", 0, "abc"},
        {"abc", nullptr, "y", 0, "abc"},
        {"a.b.", ".", nullptr, 2, "ab"},
        {"xx", "x", "xx", 2, "xxxx"},
    };
    for (const Case& c : cases) {
        FCString s(c.text);
        EXPECT_EQ(s.replaceAll(c.find, c.replacement), c.count) << c.text;
        EXPECT_EQ(s.view(), c.result) << c.text;
        EXPECT_EQ(s.cursor(), 0);
    }

    // The backslash inside "表" stays; the real one goes.
    FCString path(kHyou + "\\" + kSo);
    EXPECT_EQ(path.replaceAll("\\", "/"), 1);
    EXPECT_EQ(path.view(), kHyou + "/" + kSo);
}
