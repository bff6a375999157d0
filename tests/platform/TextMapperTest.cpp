#include "platform/TextMapper.h"

#include "OracleTable.h"

#include <gtest/gtest.h>
#include <map>

namespace {

std::string fullWidth(const std::string& hexInput)
{
    return OracleTable::hex(TextMapper::toFullWidth(OracleTable::bytes(hexInput)));
}

std::string upper(std::string text)
{
    TextMapper::toUpperAscii(text);
    return text;
}

std::string lower(std::string text)
{
    TextMapper::toLowerAscii(text);
    return text;
}

} // namespace

TEST(TextMapperTest, FullWidthMapsLikeTheOracleWhereTheOracleIsRight)
{
    // Rows where the oracle is wrong or follows another rule, with what this
    // program gives instead.
    const std::map<std::string, std::string> corrected = {
        // The backslash is ASCII like every other: it becomes U+FF3C, while
        // the oracle keeps it.
        {"5C", "815F"},
        {"955CBF5C", "955C835C815F"},
        // A lone half-width sound mark becomes the full-width mark, not "?".
        {"DF", "814B"},
        {"B1DF", "8341814B"},
        // CP932 has no ワ with a voiced mark: ワ and ゛ follow each other,
        // nothing is lost.
        {"DCDE", "838F814A"},
    };
    auto sections = OracleTable::load("fullwidth.tsv");
    ASSERT_EQ(sections.size(), 2u);
    int correctedRows = 0;
    for (const auto& row : sections[0]) {
        ASSERT_EQ(row.size(), 2u);
        auto fix = corrected.find(row[0]);
        std::string expected = fix == corrected.end() ? row[1] : fix->second;
        correctedRows += fix != corrected.end();
        EXPECT_EQ(fullWidth(row[0]), expected) << "input " << row[0];
    }
    EXPECT_EQ(correctedRows, 5);
}

TEST(TextMapperTest, FullWidthCoversAllOfPrintableAsciiAndTheKanaPunctuation)
{
    for (int c = 0x21; c <= 0x7E; ++c) {
        std::string mapped = TextMapper::toFullWidth(std::string(1, static_cast<char>(c)));
        EXPECT_EQ(mapped.size(), 2u) << "ASCII " << c;
    }
    EXPECT_EQ(fullWidth("20"), "8140");
    EXPECT_EQ(fullWidth("A1A2A3A4A5"), "81428175817681418145"); // ｡｢｣､･
    EXPECT_EQ(fullWidth("B3DE"), "8394");                       // ｳﾞ to ヴ
    EXPECT_EQ(fullWidth("CADFDE"), "8370814A");                 // ﾊﾟ then a lone ﾞ
}

TEST(TextMapperTest, FullWidthLeavesEverythingElseAlone)
{
    const std::string kept[] = {
        "", "09", "0A", "7F", "80", "A0", "FD", "FF", "81", "8140", "88EA", "FC4B", "FCFC",
    };
    for (const std::string& hex : kept)
        EXPECT_EQ(fullWidth(hex), hex);
    // A lead byte takes its next byte along: the 0x61 in 81 61 is a trail
    // byte, not "a"; in 81 20 61 the pair ends before the "a".
    EXPECT_EQ(fullWidth("8161"), "8161");
    EXPECT_EQ(fullWidth("812061"), "81208281");
}

TEST(TextMapperTest, CaseMappingChangesAsciiLettersOnly)
{
    // Of the oracle's case rows only those about ASCII and about trail bytes
    // apply: the oracle also changes full-width and Greek letters, which
    // this program leaves alone on purpose.
    const std::map<std::string, std::string> notApplicable = {
        {"82818260829A8279", "full-width letters"},
        {"83BF839F83D683B6", "Greek letters"},
        {"EEEFEEF0EEF1", "NEC roman numerals"},
    };
    struct Expected {
        std::string upper;
        std::string lower;
    };
    const std::map<std::string, Expected> corrected = {
        // The same mixed text with its full-width letters left as they are.
        {"6D69786564208281826182832082A0834120B120955C2058795A",
         {"4D49584544208281826182832082A0834120B120955C2058595A",
          "6D69786564208281826182832082A0834120B120955C2078797A"}},
        // 81 20 is one character here, so the "a" behind it is the letter.
        {"812061", {"812041", "812061"}},
    };
    auto sections = OracleTable::load("fullwidth.tsv");
    ASSERT_EQ(sections.size(), 2u);
    int used = 0;
    for (const auto& row : sections[1]) {
        ASSERT_EQ(row.size(), 3u);
        if (notApplicable.count(row[0]))
            continue;
        auto fix = corrected.find(row[0]);
        Expected expected = fix == corrected.end() ? Expected{row[1], row[2]} : fix->second;
        std::string input = OracleTable::bytes(row[0]);
        EXPECT_EQ(OracleTable::hex(upper(input)), expected.upper) << "upper " << row[0];
        EXPECT_EQ(OracleTable::hex(lower(input)), expected.lower) << "lower " << row[0];
        ++used;
    }
    EXPECT_EQ(used, 9);
}

TEST(TextMapperTest, CaseMappingNeverTouchesTrailBytes)
{
    // Trail bytes 0x41-0x5A and 0x61-0x7A look like letters.
    const std::string text = "\x83\x41\x83\x61\x82\x7A"
                             "aZ";
    EXPECT_EQ(upper(text), "\x83\x41\x83\x61\x82\x7A"
                           "AZ");
    EXPECT_EQ(lower(text), "\x83\x41\x83\x61\x82\x7A"
                           "az");
    std::string buffer = "abc";
    TextMapper::toUpperAscii(buffer.data(), buffer.data() + 2);
    EXPECT_EQ(buffer, "ABc");
}
