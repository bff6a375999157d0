#include "app/LicenceTexts.h"

#include "TestText.h"

#include <gtest/gtest.h>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct LookupCase {
    const char* label;
    std::string name;
    // Empty: the unknown-licence sentence after the name.
    std::string expected;
};

std::string known(FCString (*text)())
{
    return text().toStdString();
}

void PrintTo(const LookupCase& c, std::ostream* os)
{
    *os << c.label;
}

class LicenceTextsLookupTest : public testing::TestWithParam<LookupCase> {};

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST_P(LicenceTextsLookupTest, NamesAreComparedWholeWithoutAsciiCase)
{
    const LookupCase& c = GetParam();
    const std::string expected =
        c.expected.empty() ? c.name + sj("のライセンスは不明です。調査して記載して下さい。")
                           : c.expected;
    EXPECT_EQ(LicenceTexts::lookup(c.name).toStdString(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Names, LicenceTextsLookupTest,
    testing::Values(LookupCase{"Zlib", "zlib", known(LicenceTexts::zlib)},
                    LookupCase{"ZlibUpper", "ZLIB", known(LicenceTexts::zlib)},
                    LookupCase{"Libpng", "libPNG", known(LicenceTexts::libpng)},
                    LookupCase{"Libjpeg", "LibJpeg", known(LicenceTexts::libjpeg)},
                    LookupCase{"Ogg", "OGG", known(LicenceTexts::oggVorbis)},
                    LookupCase{"OggVorbis", "ogg vorbis", ""},
                    LookupCase{"LeadingBlank", " zlib", ""},
                    LookupCase{"Longer", "libjpeg-turbo", ""},
                    LookupCase{"CaseKeptInTheSentence", "ZLIB2", ""},
                    LookupCase{"Japanese", sj("独自ライブラリ"), ""}, LookupCase{"Empty", "", ""}),
    [](const testing::TestParamInfo<LookupCase>& info) { return std::string(info.param.label); });

TEST(LicenceTextsTest, EachKnownTextIntroducesTheLibraryThenItsNotice)
{
    struct Case {
        FCString (*text)();
        const char* library;
        const char* noticeMark;
    };
    const std::vector<Case> cases = {
        {LicenceTexts::zlib, "zlib", "Jean-loup Gailly and Mark Adler"},
        {LicenceTexts::libpng, "libpng", "Contributing Authors"},
        {LicenceTexts::libjpeg, "libjpeg", "Independent JPEG Group"},
        {LicenceTexts::oggVorbis, "Ogg Vorbis", "Xiph.org Foundation"},
    };
    for (const Case& c : cases) {
        const std::string text = c.text().toStdString();
        // The texts are shown through CP932, so they must survive the trip.
        EXPECT_EQ(sj(utf8(text)), text) << c.library;
        ASSERT_EQ(text.front(), '\n') << c.library;
        const std::vector<std::string> lines = linesOf(text);
        ASSERT_GT(lines.size(), 6u) << c.library;
        EXPECT_EQ(lines[0], "");
        EXPECT_NE(lines[1].find(c.library), std::string::npos) << c.library;
        EXPECT_NE(lines[1].find(sj("使用しています。")), std::string::npos) << c.library;
        EXPECT_EQ(lines[2].rfind("http", 0), 0u) << c.library;
        EXPECT_EQ(lines[3], "") << c.library;
        EXPECT_NE(lines[4].find("COPYRIGHT"), std::string::npos) << c.library;
        EXPECT_NE(lines[4].find("-----"), std::string::npos) << c.library;
        EXPECT_FALSE(lines[5].empty()) << c.library;
        EXPECT_NE(text.find(c.noticeMark), std::string::npos) << c.library;
        EXPECT_EQ(text.back(), '\n') << c.library;
    }
}
