#include "render/PageFileName.h"

#include "TestText.h"

#include <gtest/gtest.h>
#include <string>

namespace {

std::string fileName(const std::string& scene, const std::string& character, int page,
                     int pageCount, bool png = false)
{
    return utf8(PageFileName::file(FCString("/out/"), FCString(sj(scene).c_str()),
                                   FCString(sj(character).c_str()), page, pageCount, png)
                    .toStdString());
}

} // namespace

TEST(PageFileNameTest, PageNumberIsPaddedToTheWidthOfThePageCount)
{
    struct Case {
        int page;
        int count;
        std::string number;
    };
    const Case cases[] = {{1, 1, "1@1"},         {1, 9, "1@9"},        {9, 9, "9@9"},
                          {1, 10, "01@10"},      {1, 12, "01@12"},     {12, 12, "12@12"},
                          {1, 100, "001@100"},   {42, 100, "042@100"}, {100, 100, "100@100"},
                          {7, 1000, "0007@1000"}};
    for (const Case& c : cases)
        EXPECT_EQ(fileName("s", "悠人", c.page, c.count), "/out/s/s.悠人." + c.number + ".bmp")
            << c.page << " of " << c.count;
}

TEST(PageFileNameTest, NumberWiderThanTheCountIsNotCut)
{
    EXPECT_EQ(fileName("s", "c", 123, 9), "/out/s/s.c.123@9.bmp");
}

TEST(PageFileNameTest, DirectorsCopyAndPngExtension)
{
    EXPECT_EQ(fileName("第一話", "監督用", 3, 12, true), "/out/第一話/第一話.監督用.03@12.png");
}

TEST(PageFileNameTest, FolderIsTheDestinationAndTheSceneName)
{
    EXPECT_EQ(
        utf8(PageFileName::folder(FCString("/out/"), FCString(sj("第一話").c_str())).toStdString()),
        "/out/第一話/");
}

TEST(PageFileNameTest, UnsafeNamesAreMendedForTheFileSystemOnly)
{
    struct Case {
        std::string name; // CP932 bytes
        std::string safe;
    };
    const Case cases[] = {
        {"plain", "plain"},
        {"a/b", "a_b"},
        {"/", "_"},
        {"//x//", "__x__"},
        {".", "_"},
        {"..", "_"},
        {"...", "..."},
        {"../x", ".._x"},
        {"x/..", "x_.."},
        {std::string("a\0b", 3), "a_b"},
        {std::string("\0", 1), "_"},
        // Double-byte characters whose trail byte is a backslash stay whole.
        {sj("ソ表/"), sj("ソ表") + "_"},
        // A lead byte followed by a NUL is no pair: the NUL is mended.
        {std::string("\x83\0", 2), "\x83_"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PageFileName::safeName(c.name).toStdString(), c.safe) << utf8(c.name);
}

TEST(PageFileNameTest, UnsafeSceneAndCharacterStayInsideTheDestination)
{
    EXPECT_EQ(fileName("../x", "..", 1, 1), "/out/.._x/.._x._.1@1.bmp");
    EXPECT_EQ(fileName("..", "a/b", 2, 10), "/out/_/_.a_b.02@10.bmp");
}
