#include "platform/Cp932.h"

#include "OracleTable.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

std::string offsetsText(const std::vector<std::size_t>& offsets)
{
    std::ostringstream out;
    for (std::size_t i = 0; i < offsets.size(); ++i)
        out << (i ? "," : "") << offsets[i];
    return out.str();
}

// Offsets visited from the start until next() stops advancing, as the
// oracle recorded them for CharNextA.
std::string forwardOffsets(const std::string& text)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    std::vector<std::size_t> offsets{0};
    for (const char* p = begin; p < end;) {
        p = Cp932::next(p, end);
        offsets.push_back(static_cast<std::size_t>(p - begin));
    }
    return offsetsText(offsets);
}

std::string backwardOffsets(const std::string& text)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    std::vector<std::size_t> offsets{text.size()};
    for (const char* p = end; p > begin;) {
        p = Cp932::prev(begin, p, end);
        offsets.push_back(static_cast<std::size_t>(p - begin));
    }
    return offsetsText(offsets);
}

} // namespace

TEST(Cp932Test, StepsLikeCharNextAndCharPrevOverEveryOracleRow)
{
    auto sections = OracleTable::load("charnext.tsv");
    ASSERT_EQ(sections.size(), 1u);
    int checked = 0;
    for (const auto& row : sections[0]) {
        if (row[0] == "IsDBCSLeadByte")
            continue;
        ASSERT_EQ(row.size(), 3u);
        std::string text = OracleTable::bytes(row[0]);
        EXPECT_EQ(forwardOffsets(text), row[1]) << "next over " << row[0];
        EXPECT_EQ(backwardOffsets(text), row[2]) << "prev over " << row[0];
        ++checked;
    }
    EXPECT_EQ(checked, 19);
}

TEST(Cp932Test, LeadBytesAreThoseOfTheOracle)
{
    auto sections = OracleTable::load("charnext.tsv");
    ASSERT_EQ(sections.size(), 1u);
    const auto& last = sections[0].back();
    ASSERT_EQ(last[0], "IsDBCSLeadByte");
    ASSERT_EQ(last[1].size(), 256u);
    for (int byte = 0; byte < 256; ++byte)
        EXPECT_EQ(Cp932::isLeadByte(static_cast<unsigned char>(byte)), last[1][byte] == '1')
            << "byte " << byte;
}

TEST(Cp932Test, LeadByteBeforeNulOrAtTheEndIsACharacterOfItsOwn)
{
    const std::string text("\x81\0\x82", 3);
    const char* end = text.data() + text.size();
    EXPECT_EQ(Cp932::charLength(text.data(), end), 1);
    EXPECT_EQ(Cp932::charLength(text.data() + 1, end), 1);
    EXPECT_EQ(Cp932::charLength(text.data() + 2, end), 1);
    EXPECT_EQ(Cp932::charLength(end, end), 0);
    EXPECT_EQ(Cp932::count(text.data(), end), 3u);
}

TEST(Cp932Test, CodeAtCombinesLeadAndTrail)
{
    const std::string text = "a\x95\x5C\xB1";
    const char* p = text.data();
    const char* end = p + text.size();
    EXPECT_EQ(Cp932::codeAt(p, end), 'a');
    EXPECT_EQ(Cp932::codeAt(p + 1, end), 0x955C);
    EXPECT_EQ(Cp932::codeAt(p + 3, end), 0xB1);
    EXPECT_EQ(Cp932::codeAt(end, end), 0);
    EXPECT_EQ(Cp932::count(p, end), 3u);
}

TEST(Cp932Test, PrevFromInsideAPairLandsOnItsLeadByte)
{
    // The 0x5C at offset 2 is a trail byte: stepping back from offset 2 must
    // not stop on it, and from offset 3 must stop on the pair's lead byte.
    const std::string text = "a\x95\x5C"
                             "b";
    const char* begin = text.data();
    const char* end = begin + text.size();
    EXPECT_EQ(Cp932::prev(begin, begin + 3, end), begin + 1);
    EXPECT_EQ(Cp932::prev(begin, begin + 2, end), begin + 1);
    EXPECT_EQ(Cp932::prev(begin, begin, end), begin);
}
