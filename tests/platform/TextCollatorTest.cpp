#include "platform/TextCollator.h"

#include "OracleTable.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace {

struct OracleRow {
    std::string a;
    std::string b;
    int sign;
};

// The oracle sorts a lone prolonged sound mark "ー" after every kanji; in
// Japanese collation it is a kana mark sorting among the kana, which is the
// order this program keeps. These six rows compare it with kana and kanji.
bool comparesLoneProlongedSoundMark(const OracleRow& row)
{
    const std::string mark = "\x81\x5B";
    return row.a == mark || row.b == mark;
}

std::vector<OracleRow> oracleRows()
{
    std::vector<OracleRow> rows;
    auto sections = OracleTable::load("lstrcmpA.tsv");
    EXPECT_EQ(sections.size(), 1u);
    for (const auto& fields : sections.at(0)) {
        EXPECT_EQ(fields.size(), 3u);
        rows.push_back(
            {OracleTable::bytes(fields[0]), OracleTable::bytes(fields[1]), std::stoi(fields[2])});
    }
    return rows;
}

std::string shown(const std::string& cp932)
{
    return "\"" + TextCodec::toUtf8(cp932) + "\" (" + OracleTable::hex(cp932) + ")";
}

} // namespace

TEST(TextCollatorTest, OrdersEveryOracleRowBothWays)
{
    std::vector<OracleRow> rows = oracleRows();
    ASSERT_EQ(rows.size(), 214u);
    int skipped = 0;
    for (const OracleRow& row : rows) {
        if (comparesLoneProlongedSoundMark(row)) {
            ++skipped;
            continue;
        }
        EXPECT_EQ(TextCollator::compare(row.a, row.b), row.sign)
            << shown(row.a) << " against " << shown(row.b);
        EXPECT_EQ(TextCollator::compare(row.b, row.a), -row.sign)
            << shown(row.b) << " against " << shown(row.a);
    }
    EXPECT_EQ(skipped, 6);
}

TEST(TextCollatorTest, SortsTheOracleTextsIntoOneConsistentOrder)
{
    // Sorting only works when the comparison is transitive: after sorting,
    // every earlier text must compare below every later one.
    std::set<std::string> distinct;
    for (const OracleRow& row : oracleRows()) {
        distinct.insert(row.a);
        distinct.insert(row.b);
    }
    std::vector<std::string> texts(distinct.begin(), distinct.end());
    std::sort(texts.begin(), texts.end(), [](const std::string& x, const std::string& y) {
        return TextCollator::compare(x, y) < 0;
    });
    for (std::size_t i = 0; i < texts.size(); ++i) {
        for (std::size_t k = i + 1; k < texts.size(); ++k)
            ASSERT_EQ(TextCollator::compare(texts[i], texts[k]), -1)
                << shown(texts[i]) << " before " << shown(texts[k]);
    }
}

TEST(TextCollatorTest, HyphenAndApostropheCountOnlyWhenTheRestIsEqual)
{
    // Windows' word sort: "coop" < "co-op" < "cop", and "'" before "-".
    EXPECT_EQ(TextCollator::compare("coop", "co-op"), -1);
    EXPECT_EQ(TextCollator::compare("co-op", "cop"), -1);
    EXPECT_EQ(TextCollator::compare("co'op", "co-op"), -1);
    EXPECT_EQ(TextCollator::compare("ab", "a-b"), -1);
    EXPECT_EQ(TextCollator::compare("-", ""), 1);
}

TEST(TextCollatorTest, OnlyIdenticalTextsCompareEqual)
{
    const std::string pairs[][2] = {
        {"a", "a"},
        {"", ""},
        {"\x83\x41", "\x83\x41"},
    };
    for (const auto& pair : pairs)
        EXPECT_EQ(TextCollator::compare(pair[0], pair[1]), 0);
    // Texts the collator cannot tell apart (two undefined byte pairs both
    // read as U+FFFD) are still ordered by their bytes.
    EXPECT_EQ(TextCollator::compare("\xFC\xFC", "\xFC\xFB"), 1);
    EXPECT_EQ(TextCollator::compare("\x80", "\xA0"), -1);
    EXPECT_EQ(TextCollator::compare(std::string("a\0", 2), "a"), 1);
}

TEST(TextCollatorTest, KanaTypesSortHalfWidthThenKatakanaThenHiragana)
{
    const struct {
        const char* a;
        const char* b;
        int sign;
    } rows[] = {
        {"\xB1", "\x83\x41", -1},                                     // ｱ < ア
        {"\x83\x41", "\x82\xA0", -1},                                 // ア < あ
        {"\xB1", "\x82\xA0", -1},                                     // ｱ < あ
        {"\x82\xA0", "\x82\xA2", -1},                                 // あ < い
        {"\x83\x41", "\x82\xA2", -1},                                 // ア < い
        {"\x83\x54\x83\x4E\x83\x89", "\x82\xB3\x82\xAD\x82\xE7", -1}, // サクラ < さくら
        {"\x82\xB3\x82\xAD\x82\xE7", "\x83\x54\x83\x4E\x83\x89", 1},
        {"\x83\x5E\x83\x8D\x83\x45", "\x82\xBD\x82\xEB\x82\xA4", -1}, // タロウ < たろう
        {"\x83\x52", "\x82\xB1", -1},                                 // コ < こ
        {"\x82\xB1", "\x83\x54", -1},                                 // こ < サ
    };
    for (const auto& row : rows)
        EXPECT_EQ(TextCollator::compare(row.a, row.b), row.sign) << row.a << " " << row.b;
    // ｶﾞ sorts with ガ, just after it.
    EXPECT_EQ(TextCollator::compare("\xB6\xDE", "\x83\x4B"), 1);
    EXPECT_EQ(TextCollator::compare("\xB6\xDE", "\x83\x4C"), -1); // before キ
}

TEST(TextCollatorTest, PlainAsciiTextsComeInTheCollatorsOrderWithoutIt)
{
    // Texts near each other in the order: case, hyphens, punctuation,
    // digits against letters, prefixes, and random texts of every printable
    // character.
    std::vector<std::string> texts = {
        "",
        "-",
        "'",
        "a",
        "A",
        "b",
        "B",
        "ab",
        "aB",
        "Ab",
        "AB",
        "a-b",
        "a'b",
        "ab-",
        "-ab",
        "a b",
        "a_b",
        "a.b",
        "a/b",
        "a~b",
        "a+b",
        "a>b",
        "a0",
        "a9",
        "0a",
        "z",
        "Z",
        "zz",
        "a!",
        "a`",
        "/src/part1/scene10.cpp",
        "/src/part1/scene9.cpp",
        "/src/Part1/scene9.cpp",
        "/src/part-1/scene9.cpp",
        "/src/part1/scene9.CPP",
        "/src/part1/scene 9.cpp",
    };
    unsigned seed = 22;
    for (int n = 0; n < 240; ++n) {
        std::string text;
        seed = seed * 1103515245u + 12345u;
        const unsigned length = (seed >> 16) % 7;
        for (unsigned i = 0; i < length; ++i) {
            seed = seed * 1103515245u + 12345u;
            text += char(0x20 + (seed >> 16) % 0x5F);
        }
        texts.push_back(text);
    }
    for (const std::string& a : texts) {
        for (const std::string& b : texts)
            ASSERT_EQ(TextCollator::compare(a, b), TextCollator::compareCollated(a, b))
                << "\"" << a << "\" against \"" << b << "\"";
    }
}
