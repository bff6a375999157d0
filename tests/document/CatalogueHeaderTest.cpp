#include "document/CatalogueHeader.h"

#include "ScenarioTestFolder.h"
#include "TestText.h"
#include "fc/FCString.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

using Entries = std::vector<std::pair<std::string, int32_t>>;

Entries entriesOf(const CatalogueHeader& header)
{
    Entries entries;
    for (const CatalogueHeader::Entry& entry : header.entries())
        entries.emplace_back(std::string(entry.name), entry.count);
    return entries;
}

} // namespace

TEST(CatalogueHeaderTest, NumbersReadAsTheStringClassReadsThem)
{
    for (const char* text :
         {"", "12", "  7", "\t-5", "+3", "0x1F", "0xg", "0x", "0b101", "0b2", "0b", "12abc", "abc",
          "99999999999", "-2147483648", "0xFFFFFFFF", "0X10", " 0x10"}) {
        FCString reference(text);
        EXPECT_EQ(CatalogueHeader::toInteger(text), reference.toInteger()) << '"' << text << '"';
    }
}

TEST(CatalogueHeaderTest, ReadsSceneAndCharactersUpToTheTotal)
{
    // The entries are views into the text, which must stay.
    const std::string text = sj(".scene\t第一話\n.start\t1\n.end\t9\n.chara\t2\n.ゆか\t0x10\n"
                                ".A\t3\n.total\t19\n.B\t1\n");
    CatalogueHeader header;
    header.scan(text);
    EXPECT_TRUE(header.hasScene());
    EXPECT_EQ(std::string(header.scene()), sj("第一話"));
    EXPECT_EQ(entriesOf(header), (Entries{{sj("ゆか"), 16}, {"A", 3}}));
    EXPECT_TRUE(header.hasTotal());
}

TEST(CatalogueHeaderTest, LineRulesOfTheHeader)
{
    struct Case {
        const char* name;
        std::string text;
        Entries entries;
        bool total;
    };
    const std::vector<Case> cases = {
        {"comments are skipped", ";.X\t1\n.A\t1\n;\n.B\t2\n", {{"A", 1}, {"B", 2}}, false},
        {"indents of blanks, TABs and full-width spaces",
         sj("  .A\t1\n\t.B\t2\n　 .C\t3\n"),
         {{"A", 1}, {"B", 2}, {"C", 3}},
         false},
        {"the first other line ends the header",
         ".A\t1\n000001 A「x」\n.B\t2\n.total\t3\n",
         {{"A", 1}},
         false},
        {"empty lines and CR LF vanish",
         "\r\n\r\n.A\t1\r\n\r\n.B\t2\r\n",
         {{"A", 1}, {"B", 2}},
         false},
        {"a comment after the value", ".A\t5;note\n.B\t6\t;x\n", {{"A", 5}, {"B", 6}}, false},
        {"an empty value counts 0", ".A\n.B\t\n", {{"A", 0}, {"B", 0}}, false},
        {"a name may hold blanks", ".A B\t4\n", {{"A B", 4}}, false},
        {"repeated names all come back", ".A\t1\n.A\t2\n", {{"A", 1}, {"A", 2}}, false},
        {"a line of dots names no one", "...\n.A\t1\n", {{"A", 1}}, false},
        {"a lead byte takes the line feed as its trail", ".A\t1\x81\n.B\t2\n", {{"A", 1}}, false},
        {"total ends it", ".total\n.A\t1\n", {}, true},
    };
    for (const Case& c : cases) {
        CatalogueHeader header;
        header.scan(c.text);
        EXPECT_EQ(entriesOf(header), c.entries) << c.name;
        EXPECT_EQ(header.hasTotal(), c.total) << c.name;
    }
}

TEST(CatalogueHeaderTest, AllLeadingDotsAreSkippedAndTheLastSceneWins)
{
    CatalogueHeader header;
    header.scan("..scene\tfirst\n.scene\tsecond;c\n");
    EXPECT_EQ(std::string(header.scene()), "second");
    EXPECT_TRUE(header.entries().empty());

    header.scan(".A\t1\n");
    EXPECT_FALSE(header.hasScene()) << "a new scan starts afresh";
}

TEST(CatalogueHeaderTest, LoadReadsFilesAndTellsMissingOnes)
{
    ScenarioTestFolder folder;
    folder.write("a.screenplay.txt", ".scene\tS\n.A\t2\n.total\t2\n000001 A「あ」\n");
    folder.write("empty.screenplay.txt", "");
    std::filesystem::create_directory(folder.path() + "dir.screenplay.txt");

    CatalogueHeader header;
    EXPECT_TRUE(header.load((folder.path() + "a.screenplay.txt").c_str()));
    EXPECT_EQ(entriesOf(header), (Entries{{"A", 2}}));
    EXPECT_TRUE(header.load((folder.path() + "empty.screenplay.txt").c_str()));
    EXPECT_TRUE(header.entries().empty());
    EXPECT_FALSE(header.load((folder.path() + "missing.screenplay.txt").c_str()));
    EXPECT_FALSE(header.load((folder.path() + "dir.screenplay.txt").c_str()));
    EXPECT_FALSE(header.hasScene());
}

TEST(CatalogueHeaderTest, HeadersLongerThanTheFirstPieceAreReadWhole)
{
    ScenarioTestFolder folder;
    // Comment lines fill the first piece; one character line straddles its
    // end, another lies far behind it.
    const std::string comment = ";" + std::string(98, 'c') + "\n";
    std::string text;
    while (text.size() + comment.size() < CatalogueHeader::FirstPiece - 3)
        text += comment;
    text += ".straddling\t7\n";
    for (int i = 0; i < 2000; ++i)
        text += comment;
    text += ".far\t8\n.total\t15\nbody\n";
    folder.writeBytes("long.screenplay.txt", text);

    CatalogueHeader header;
    ASSERT_TRUE(header.load((folder.path() + "long.screenplay.txt").c_str()));
    EXPECT_EQ(entriesOf(header), (Entries{{"straddling", 7}, {"far", 8}}));
    EXPECT_TRUE(header.hasTotal());
}

TEST(CatalogueHeaderTest, ABodyBeyondTheHeaderDoesNotMatter)
{
    ScenarioTestFolder folder;
    std::string text = ".A\t1\n.total\t1\n";
    // Bytes that are no Shift-JIS text at all, and no line break for a
    // long way.
    text += std::string(300 * 1024, '\xFF');
    folder.writeBytes("big.screenplay.txt", text);
    CatalogueHeader header;
    ASSERT_TRUE(header.load((folder.path() + "big.screenplay.txt").c_str()));
    EXPECT_EQ(entriesOf(header), (Entries{{"A", 1}}));
}
