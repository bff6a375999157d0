#include "render/ScriptPrinter.h"

#include "PageTestSupport.h"
#include "TestText.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

struct PrintedLine {
    uint32_t flags;
    std::string text; // UTF-8
};

std::vector<PrintedLine> printedLines(const ScriptPrinter& printer)
{
    std::vector<PrintedLine> lines;
    std::string_view text = printer.laidOutText().view();
    std::size_t start = 0;
    for (int i = 0; i < printer.lineCount(); ++i) {
        std::size_t lf = text.find('\n', start);
        EXPECT_NE(lf, std::string_view::npos) << "line " << i << " has no LF";
        lines.push_back({printer.lineFlags(i), utf8(std::string(text.substr(start, lf - start)))});
        start = lf + 1;
    }
    EXPECT_EQ(start, text.size()) << "text beyond the counted lines";
    return lines;
}

std::string header(const std::string& characters = ".さくら\t2\n.悠人\t1\n.店主\t1\n.客\t1\n",
                   int count = 4)
{
    return ".scene\ttest\n.start\t1\n.end\t9\n.chara\t" + std::to_string(count) + "\n" +
           characters + ".total\t5\n";
}

std::vector<PrintedLine> layOut(const std::string& bodyUtf8, int width = 40, int options = 17)
{
    static ScriptPrinter* printer = nullptr;
    delete printer;
    printer = new ScriptPrinter;
    EXPECT_TRUE(printer->setCharactersPerLine(width));
    printer->setOptions(options);
    printer->loadText(sj(header() + bodyUtf8));
    return printedLines(*printer);
}

std::string repeat(const std::string& unit, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += unit;
    return out;
}

const std::string lead12 = "            ";
const std::string lead10 = "          ";

} // namespace

TEST(ScriptPrinterTest, LongUtteranceBreaksAfterExactlyWCharacters)
{
    // An 11-byte label and an utterance of 85 characters.
    auto lines = layOut("000001 悠人「" + repeat("あ", 83) + "」\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].text, "000001 悠人「" + repeat("あ", 39));
    EXPECT_EQ(lines[1].text, lead12 + repeat("あ", 40));
    EXPECT_EQ(lines[2].text, lead12 + repeat("あ", 4) + "」");
    EXPECT_EQ(lines[0].flags, 1u);
    EXPECT_EQ(lines[1].flags, 1u);
    EXPECT_EQ(lines[2].flags, 1u);
}

TEST(ScriptPrinterTest, WideLabelShortensTheFirstLineByWholeCells)
{
    // 6 + 1 + 9 = 16 bytes: indent 2, so 38 characters on the first line.
    auto lines = layOut("000001 さくらabc「" + repeat("い", 60) + "」\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "000001 さくらabc「" + repeat("い", 37));
    EXPECT_EQ(lines[1].text, lead12 + repeat("い", 23) + "」");

    // 13 bytes: the half cell does not count, 40 characters fit.
    lines = layOut("000001 悠人ab「" + repeat("い", 38) + "」\n");
    ASSERT_EQ(lines.size(), 1u);
}

TEST(ScriptPrinterTest, TextOfExactlyWCharactersMakesNoEmptyContinuation)
{
    auto lines = layOut("000001 悠人「" + repeat("う", 38) + "」\n");
    ASSERT_EQ(lines.size(), 1u);
    lines = layOut("000001 悠人「" + repeat("う", 39) + "」\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].text, lead12 + "」");
}

TEST(ScriptPrinterTest, ForcedBreaksStartNewLinesWithTheFullWidth)
{
    auto lines = layOut("000001 悠人「一\\n二\\n三」\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].text, "000001 悠人「一");
    EXPECT_EQ(lines[1].text, lead12 + "二");
    EXPECT_EQ(lines[2].text, lead12 + "三」");

    // A break at the very end leaves a line holding only the lead.
    lines = layOut("000001 悠人「終わり」\\n\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].text, lead12);

    // The first segment is measured against W - I, later ones against W.
    lines = layOut("000001 さくらabc「" + repeat("え", 37) + "\\n" + repeat("お", 40) + "」\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].text, lead12 + repeat("お", 40));
    EXPECT_EQ(lines[2].text, lead12 + "」");
}

TEST(ScriptPrinterTest, TrailByte5CBeforeLetterNIsNoBreak)
{
    // 表 is 0x95 0x5C in CP932: followed by "n" it must not read as a break.
    auto lines = layOut("000001 悠人「表nです」\n");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "000001 悠人「表nです」");
}

TEST(ScriptPrinterTest, NoteLinesTakeTheirLeadsAndFlags)
{
    auto lines = layOut(" 【 暗転 】\n   $二人、歩く。\n *メモ\n", 40, 17);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].text, lead12 + "【 暗転 】");
    EXPECT_EQ(lines[0].flags, 0x1FFu);
    EXPECT_EQ(lines[1].text, lead10 + "二人、歩く。");
    EXPECT_EQ(lines[1].flags, 0x1FFu);
    EXPECT_EQ(lines[2].text, lead10 + "*メモ");
    EXPECT_EQ(lines[2].flags, 0x4FFu);

    lines = layOut(" 【 暗転 】\n *メモ\n", 40, 1);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].flags, 0xFFu);
    EXPECT_EQ(lines[1].flags, 0x4FFu);
}

TEST(ScriptPrinterTest, NoteContinuationsAndSpeakerFlags)
{
    auto lines = layOut(" " + repeat("か", 45) + "\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].text, lead12 + repeat("か", 5));
    EXPECT_EQ(lines[1].flags, 0x1FFu);

    lines = layOut("000001 客「a」\n000002 悠人「b」\n000003 さくら「c」\n000004 誰か「d」\n");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].flags, 3u);
    EXPECT_EQ(lines[1].flags, 1u);
    EXPECT_EQ(lines[2].flags, 0u);
    EXPECT_EQ(lines[3].flags, 0u) << "an undeclared speaker counts as index 0";
}

TEST(ScriptPrinterTest, AliasBecomesTheStartOfTheUtterance)
{
    auto lines = layOut("000003 さくら（小声）「……え？」\n");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "000003 さくら（小声）「……え？」");
    EXPECT_EQ(lines[0].flags, 0u);

    // The alias counts as text: the first line holds W - I characters of it.
    lines = layOut("000003 さくら（小声）「" + repeat("き", 40) + "」\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "000003 さくら（小声）「" + repeat("き", 35));
}

TEST(ScriptPrinterTest, MalformedSpeakerLinesPrintTheirLabels)
{
    // No space: the whole line up to the first bracket is the label.
    auto lines = layOut("ABC「x」\n");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "ABC");
    EXPECT_EQ(lines[0].flags, 0x8000u) << "no speaker name";

    // No bracket: the whole line is the label, the text is empty.
    lines = layOut("000009 悠人のみ\n");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "000009 悠人のみ");
    EXPECT_EQ(lines[0].flags, 0u);

    // A full-width space first is a speaker line, not a note.
    lines = layOut("　000001 悠人「a」\n");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "　000001 悠人「a」");
}

TEST(ScriptPrinterTest, LabelWiderThanTheLineLeavesTheFirstLineToTheLabel)
{
    std::string label = "000001 " + repeat("長", 30); // 67 bytes: indent 27 > W 20
    auto lines = layOut(label + "「" + repeat("く", 25) + "」\n", 20);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].text, label);
    EXPECT_EQ(lines[1].text, lead12 + "「" + repeat("く", 19));
    EXPECT_EQ(lines[2].text, lead12 + repeat("く", 6) + "」");
}

TEST(ScriptPrinterTest, CrLfAndBlankLinesReadAsPlainLineFeeds)
{
    std::string body =
        "000001 悠人「a」\n@skip\n 【 暗転 】\n000002 さくら「" + repeat("b", 50) + "」\n";
    auto lf = layOut(body);
    std::string crlf = sj(header() + body);
    for (std::size_t at = crlf.find('\n'); at != std::string::npos; at = crlf.find('\n', at + 4))
        crlf.replace(at, 1, "\r\n\r\n");
    ScriptPrinter printer;
    printer.loadText(crlf);
    auto lines = printedLines(printer);
    ASSERT_EQ(lf.size(), 4u) << "the @ line is neither printed nor counted";
    ASSERT_EQ(lines.size(), lf.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].text, lf[i].text);
        EXPECT_EQ(lines[i].flags, lf[i].flags);
    }
}

TEST(ScriptPrinterTest, PagesHoldExactlyLinesPerPage)
{
    for (auto [count, pages] : {std::pair{94, 2}, {95, 3}, {1, 1}, {47, 1}}) {
        std::string body;
        for (int i = 0; i < count; ++i)
            body += " note\n";
        ScriptPrinter printer;
        printer.loadText(sj(header() + body));
        EXPECT_EQ(printer.lineCount(), count);
        EXPECT_EQ(printer.pageCount(), pages) << count << " lines";
        // Printing the scene starts at its first page.
        pagetest::RecordingSink sink;
        RunContext quiet;
        EXPECT_EQ(SceneRenderer(printer, sink, quiet).currentPage(), 0);
    }
    ScriptPrinter empty;
    empty.loadText(sj(header()));
    EXPECT_EQ(empty.pageCount(), 0);
}

TEST(ScriptPrinterTest, HeaderFillsTheCharacterTable)
{
    ScriptPrinter printer;
    printer.loadText(sj(".scene\tscene01 and more\n.start\t0x10\n.end\t0b101\n.chara\t3\n"
                        ". .さくら\t2\n.　悠人\t1\n.店主\t0x3\n.total\t6\n"));
    EXPECT_EQ(utf8(printer.sceneName().toStdString()), "scene01");
    EXPECT_EQ(printer.header().start(), 16);
    EXPECT_EQ(printer.header().end(), 5);
    EXPECT_EQ(printer.header().characterCount(), 3);
    EXPECT_EQ(printer.header().total(), 6);
    EXPECT_EQ(utf8(printer.header().character(0).name.toStdString()), "さくら");
    EXPECT_EQ(utf8(printer.header().character(1).name.toStdString()), "　悠人")
        << "a full-width space stays part of the name";
    EXPECT_EQ(printer.header().character(2).count, 3);
}

TEST(ScriptPrinterTest, CountZeroEntryEndsTheSpeakerLookup)
{
    ScriptPrinter printer;
    printer.loadText(sj(".chara\t3\n.さくら\t1\n.名無し\n.悠人\t1\n.total\t2\n"
                        "000001 悠人「a」\n000002 さくら「b」\n"));
    auto lines = printedLines(printer);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].flags, 0u) << "悠人 lies behind an entry of count 0";
    EXPECT_EQ(lines[1].flags, 0u);
    EXPECT_EQ(utf8(printer.header().character(1).name.toStdString()), "名無し");
}

TEST(ScriptPrinterTest, PendingEntriesSwallowTheTotalLine)
{
    ScriptPrinter printer;
    printer.loadText(sj(".chara\t2\n.さくら\t1\n.total\t1\n000001 さくら「a」\n.total\t1\n"
                        "000002 さくら「b」\n"));
    auto lines = printedLines(printer);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "000002 さくら「b」");

    ScriptPrinter noTotal;
    noTotal.loadText(sj(".scene\tx\n000001 さくら「a」\n"));
    EXPECT_EQ(noTotal.lineCount(), 0);
    EXPECT_EQ(noTotal.pageCount(), 0);
    EXPECT_EQ(utf8(noTotal.sceneName().toStdString()), "x");
}

TEST(ScriptPrinterTest, EntriesPastTheTableAreReadAndDropped)
{
    std::string entries;
    for (int i = 0; i < 300; ++i)
        entries += ".c" + std::to_string(i) + "\t1\n";
    ScriptPrinter printer;
    printer.loadText(".chara\t300\n" + entries + ".total\t300\n000001 c255[a]\n000002 c299\n");
    EXPECT_EQ(printer.header().entriesRead(), 300);
    EXPECT_EQ(printer.header().character(255).name.toStdString(), "c255");
    EXPECT_EQ(printer.header().find("c299"), -1);
    ASSERT_EQ(printer.lineCount(), 2);
    EXPECT_EQ(printer.lineFlags(0), 0u) << "c255[a] has no full-width bracket: name is c255[a]";
}

TEST(ScriptPrinterTest, SlotIndexReachesTheLastTableSlot)
{
    std::string entries;
    for (int i = 0; i < 256; ++i)
        entries += ".c" + std::to_string(i) + "\t1\n";
    ScriptPrinter printer;
    printer.loadText(".chara\t256\n" + entries + ".total\t256\n" + "000001 c255" + sj("「a」") +
                     "\n");
    EXPECT_EQ(printer.lineFlags(0), 255u);
}

TEST(ScriptPrinterTest, ExcludeReusesTheSlotOfTheSameName)
{
    ScriptPrinter printer;
    EXPECT_TRUE(printer.exclude(FCString("a")));
    EXPECT_TRUE(printer.exclude(FCString("a")));
    EXPECT_EQ(printer.exclusion(0).id(), 0);
    EXPECT_EQ(printer.exclusion(1).id(), -1);
    for (int i = 1; i < ScriptPrinter::ExclusionSlots; ++i)
        ASSERT_TRUE(printer.exclude(FCString(("n" + std::to_string(i)).c_str())));
    EXPECT_FALSE(printer.exclude(FCString("one too many")));
    EXPECT_TRUE(printer.exclude(FCString("n7")));
    EXPECT_TRUE(printer.isExcluded("n255"));
    EXPECT_FALSE(printer.isExcluded("one too many"));
}

TEST(ScriptPrinterTest, ExclusionSlotZeroAtLoadMarksItsSpeaker)
{
    ScriptPrinter printer;
    ASSERT_TRUE(printer.exclude(FCString(sj("悠人").c_str())));
    printer.loadText(sj(header() + "000001 悠人「a」\n000002 さくら「b」\n"));
    EXPECT_EQ(printer.lineFlags(0), 0x8001u);
    EXPECT_EQ(printer.lineFlags(1), 0u);
}

TEST(ScriptPrinterTest, SeekLineFindsPrintedLines)
{
    ScriptPrinter printer;
    printer.loadText(sj(header() + " 一\n 二\n 三\n"));
    ASSERT_TRUE(printer.seekLine(2));
    EXPECT_EQ(utf8(printer.laidOutText().cursorText()), lead12 + "三\n");
    ASSERT_TRUE(printer.seekLine(0));
    EXPECT_EQ(printer.laidOutText().cursor(), 0);
    EXPECT_FALSE(printer.seekLine(3));
    EXPECT_FALSE(printer.seekLine(-1));
}

TEST(ScriptPrinterTest, RefusesCountsBelowOne)
{
    ScriptPrinter printer;
    EXPECT_FALSE(printer.setCharactersPerLine(0));
    EXPECT_FALSE(printer.setLinesPerPage(-3));
    EXPECT_EQ(printer.charactersPerLine(), 40);
    EXPECT_EQ(printer.linesPerPage(), 47);
}

TEST(ScriptPrinterTest, AStrayLeadByteAtALineEndLosesNoLine)
{
    // Each body (UTF-8, "#" standing for the lead byte 0x82, which no trail
    // byte can be mistaken for): a line ending with a lead byte that has no
    // trail, then speech lines. Every line keeps its own printed line, seekLine finds
    // each of them, and the laid-out text holds exactly the counted lines.
    struct Case {
        std::string body;
        std::vector<std::string> expected; // UTF-8 printed lines
    };
    const std::vector<Case> cases = {
        {"000001 客「x#\n000002 客「y」\n000003 客「z」\n",
         {"000001 客「x", "000002 客「y」", "000003 客「z」"}},
        {"#\n000002 客「y」\n", {"000002 客「y」"}},
        {" 一#\r\n 二#", {lead12 + "一", lead12 + "二"}},
        // A pair of lead-capable bytes is one character, not a stray byte.
        {"000001 客「##\n", {"000001 客「ｂ"}},
    };
    for (const Case& c : cases) {
        ScriptPrinter printer;
        std::string text = sj(header() + c.body);
        std::replace(text.begin(), text.end(), '#', '\x82');
        printer.loadText(text);
        const auto lines = printedLines(printer);
        ASSERT_EQ(lines.size(), c.expected.size()) << c.body;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].text, c.expected[i]) << c.body;
            ASSERT_TRUE(printer.seekLine(static_cast<int>(i)));
            EXPECT_EQ(utf8(std::string(printer.laidOutText().cursorText()))
                          .substr(0, c.expected[i].size()),
                      c.expected[i]);
        }
    }
    // A lead byte before a NUL is no pair; standing last on a cut line it
    // took the line feed as its trail and hid every printed line after it.
    ScriptPrinter narrow;
    ASSERT_TRUE(narrow.setCharactersPerLine(3));
    std::string cut = sj(header() + "000001 客「あい#") + std::string(1, '\0') +
                      sj("うえお」\n000002 客「か」\n");
    std::replace(cut.begin(), cut.end(), '#', '\x82');
    narrow.loadText(cut);
    const std::string_view laidOut = narrow.laidOutText().view();
    EXPECT_EQ(std::count(laidOut.begin(), laidOut.end(), '\n'), narrow.lineCount());
    EXPECT_EQ(laidOut.find('\x82' + std::string(1, '\0')), std::string_view::npos);
    const auto cutLines = printedLines(narrow);
    ASSERT_EQ(cutLines.size(), 4u);
    EXPECT_EQ(cutLines[3].text, "000002 客「か」");

    // The smallest text that showed the disagreement.
    ScriptPrinter smallest;
    smallest.loadText(std::string(".total\n\x82\n", 9));
    EXPECT_EQ(smallest.lineCount(), 0);
    EXPECT_TRUE(smallest.laidOutText().view().empty());
    EXPECT_EQ(smallest.pageCount(), 0);
}
