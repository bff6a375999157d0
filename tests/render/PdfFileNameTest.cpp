#include "render/PdfFileName.h"

#include "TestText.h"

#include <gtest/gtest.h>
#include <string>

TEST(PdfFileNameTest, ScriptFilesGoIntoTheScenesFolder)
{
    struct Case {
        const char* scene;
        const char* character;
        const char* expected;
    };
    const Case cases[] = {
        {"s01", "さくら", "/d/s01/s01.さくら.pdf"},
        {"s01", "監督用", "/d/s01/s01.監督用.pdf"},
        {"a/b", "c/d", "/d/a_b/a_b.c_d.pdf"},
        {"..", "..", "/d/_/_._.pdf"},
        {"/etc", "x", "/d/_etc/_etc.x.pdf"},
        // The trail byte of "ソ" is 0x5C, never a separator of its own.
        {"ソ", "表", "/d/ソ/ソ.表.pdf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(
            utf8(std::string(PdfFileName::script(FCString("/d/"), FCString(sj(c.scene).c_str()),
                                                 FCString(sj(c.character).c_str()))
                                 .view())),
            c.expected);
    }
}

TEST(PdfFileNameTest, BundlesLieDirectlyInTheDestination)
{
    struct Case {
        const char* character;
        const char* expected;
    };
    const Case cases[] = {
        {"さくら", "/d/さくら.pdf"},
        {"../up", "/d/.._up.pdf"},
        {".", "/d/_.pdf"},
        {"a/b/c", "/d/a_b_c.pdf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(
            utf8(std::string(
                PdfFileName::bundle(FCString("/d/"), FCString(sj(c.character).c_str())).view())),
            c.expected);
    }
}
