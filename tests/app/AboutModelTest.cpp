#include "app/AboutModel.h"

#include "TestText.h"
#include "app/LicenceTexts.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

namespace {

using Numbers = std::array<int32_t, 4>;

struct VersionCase {
    const char* label;
    std::string fileVersion;
    Numbers numbers;
};

void PrintTo(const VersionCase& c, std::ostream* os)
{
    *os << c.label;
}

class AboutModelVersionTest : public testing::TestWithParam<VersionCase> {};

AboutModel::VersionInfo version(Numbers numbers, const char* copyright, const char* internalName)
{
    AboutModel::VersionInfo info;
    info.numbers = numbers;
    info.companyName = FCString("Company");
    info.legalCopyright = FCString(copyright);
    info.internalName = FCString(internalName);
    return info;
}

} // namespace

TEST_P(AboutModelVersionTest, FileVersionGivesFourNumbers)
{
    EXPECT_EQ(AboutModel::parseFileVersion(GetParam().fileVersion), GetParam().numbers);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AboutModelVersionTest,
    testing::Values(VersionCase{"Blanks", "1, 2, 3, 4", {1, 2, 3, 4}},
                    VersionCase{"NoBlanks", "1,2,3,4", {1, 2, 3, 4}},
                    VersionCase{"TabsAndLeadingBlanks", "  7 ,\t8,  9,10", {7, 8, 9, 10}},
                    VersionCase{"HexAndBinaryAfterBlanks", "0x10, 0b11, 3, 0", {16, 3, 3, 0}},
                    VersionCase{"Negative", "1, -2, 3, 4", {1, -2, 3, 4}},
                    VersionCase{"MissingNumbersAreZero", "5, 6", {5, 6, 0, 0}},
                    VersionCase{"Empty", "", {0, 0, 0, 0}},
                    VersionCase{"NoDigits", "a, b", {0, 0, 0, 0}},
                    VersionCase{"ExtraNumbersIgnored", "1, 2, 3, 4, 5", {1, 2, 3, 4}}),
    [](const testing::TestParamInfo<VersionCase>& info) { return std::string(info.param.label); });

TEST(AboutModelTest, VersionTextHasTwoBlanksBeforeRev)
{
    EXPECT_EQ(AboutModel::versionText(AboutModel::parseFileVersion("1, 2, 3, 4")).toStdString(),
              " ver. 1.2.3  rev. 4");
    EXPECT_EQ(AboutModel::versionText({10, 0, 255, -1}).toStdString(), " ver. 10.0.255  rev. -1");
}

TEST(AboutModelTest, TheProgramsVersionIsTheProjectVersion)
{
    std::ifstream in(std::string(QUILLON_SOURCE_DIR) + "/CMakeLists.txt");
    const std::string cmake{std::istreambuf_iterator<char>(in), {}};
    std::smatch match;
    ASSERT_TRUE(
        std::regex_search(cmake, match, std::regex(R"(project\(Quillon VERSION ([0-9.]+))")));
    // A version without a fourth number has a tweak of 0.
    const Numbers expected = AboutModel::parseFileVersion(
        std::regex_replace(match[1].str(), std::regex("\\."), ", ") + ", 0");
    const AboutModel::VersionInfo info = AboutModel::programVersion();
    EXPECT_EQ(info.numbers, expected);
    EXPECT_EQ(info.internalName.toStdString(), "quillon");
    EXPECT_FALSE(info.legalCopyright.isEmpty());
    EXPECT_FALSE(info.companyName.isEmpty());
    EXPECT_EQ(AboutModel().versionInfo().numbers, info.numbers);
}

TEST(AboutModelTest, TheCommandFillsTitleNameSiteAndFourPages)
{
    AboutModel model;
    EXPECT_EQ(model.title().toStdString(), sj("quillon について"));
    EXPECT_EQ(model.windowTitle().toStdString(), sj("quillon について"));
    EXPECT_EQ(model.programName().toStdString(), "quillon");
    EXPECT_EQ(model.siteAddress().toStdString(), AboutModel::SiteAddress);
    EXPECT_TRUE(model.siteButtonEnabled());
    EXPECT_FALSE(model.richText());

    const std::vector<std::string> names = {sj("本体"), "zlib", "libpng", "libjpeg",
                                            "",         "",     "",       ""};
    for (int i = 0; i < AboutModel::PageCount; ++i)
        EXPECT_EQ(model.page(i).name.toStdString(), names[size_t(i)]) << i;
    EXPECT_EQ(model.offeredPages(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(model.page(1).text.toStdString(), LicenceTexts::zlib().toStdString());
    EXPECT_EQ(model.page(2).text.toStdString(), LicenceTexts::libpng().toStdString());
    EXPECT_EQ(model.page(3).text.toStdString(), LicenceTexts::libjpeg().toStdString());
    EXPECT_EQ(AboutModel::pageRadioIds(),
              (std::array<int, 8>{1014, 1015, 1013, 1033, 1034, 1035, 1036, 1028}));
}

TEST(AboutModelTest, PageZeroShowsVersionAndCopyrightInPlaceOfItsMarks)
{
    AboutModel model;
    model.setVersionInfo(version({1, 2, 3, 4}, "(C) Someone", "quillon"));
    EXPECT_EQ(model.pageText(0).toStdString(),
              "\nquillon ver. 1.2.3  rev. 4\n(C) Someone\nURL: https://quillon.example.org/");
    // Showing a page leaves the record's text as it was.
    EXPECT_NE(model.page(0).text.toStdString().find("%v%"), std::string::npos);

    // Every mark is replaced, and only in page 0.
    ASSERT_TRUE(model.setPage(0, "p", "%v%|%c%|%v%"));
    ASSERT_TRUE(model.setPage(4, "q", "%v%|%c%"));
    EXPECT_EQ(model.pageText(0).toStdString(),
              " ver. 1.2.3  rev. 4|(C) Someone| ver. 1.2.3  rev. 4");
    EXPECT_EQ(model.pageText(4).toStdString(), "%v%|%c%");
    EXPECT_TRUE(model.pageText(8).isEmpty());
    EXPECT_TRUE(model.pageText(-1).isEmpty());
}

TEST(AboutModelTest, TitleAndVersionLineFallBackAsTheRecordSays)
{
    AboutModel model;
    model.setVersionInfo(version({0, 1, 0, 7}, "", "tool"));
    EXPECT_EQ(model.versionLine().toStdString(), "quillon ver. 0.1.0  rev. 7");
    model.setVersionLineOverride("custom line");
    EXPECT_EQ(model.versionLine().toStdString(), "custom line");

    model.setTitle("");
    EXPECT_EQ(model.windowTitle().toStdString(), sj("toolについて"));
    // A missing version resource: no numbers, no names.
    model.setVersionInfo(AboutModel::VersionInfo());
    EXPECT_EQ(model.windowTitle().toStdString(), sj("について"));
    EXPECT_EQ(model.versionText().toStdString(), " ver. 0.0.0  rev. 0");

    model.setSiteAddress("");
    EXPECT_FALSE(model.siteButtonEnabled());
}

TEST(AboutModelTest, PagesAreSetByIndexAndLookedUpByName)
{
    AboutModel model;
    EXPECT_TRUE(model.setPage(5, "ZLIB"));
    EXPECT_EQ(model.page(5).text.toStdString(), LicenceTexts::zlib().toStdString());
    EXPECT_EQ(model.page(5).name.toStdString(), "ZLIB");

    EXPECT_TRUE(model.setPage(7, "ogg vorbis"));
    EXPECT_EQ(model.page(7).text.toStdString(),
              "ogg vorbis" + sj("のライセンスは不明です。調査して記載して下さい。"));

    // Out of range or without a name: ignored.
    EXPECT_FALSE(model.setPage(8, "zlib"));
    EXPECT_FALSE(model.setPage(-1, "zlib"));
    EXPECT_FALSE(model.setPage(6, nullptr, "text"));
    EXPECT_TRUE(model.page(6).name.isEmpty());
    EXPECT_TRUE(model.page(8).name.isEmpty());

    // A page whose name is emptied is no longer offered.
    EXPECT_TRUE(model.setPage(2, "", "kept text"));
    EXPECT_EQ(model.offeredPages(), (std::vector<int>{0, 1, 3, 5, 7}));
}
