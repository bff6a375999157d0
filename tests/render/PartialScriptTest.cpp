#include "PageTestSupport.h"
#include "TestText.h"
#include "render/LineSelection.h"
#include "render/PageImageSink.h"
#include "render/PageRenderer.h"
#include "render/RecordingDeviceContext.h"
#include "render/ScriptLayout.h"
#include "render/ScriptPrinter.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using pagetest::RecordingSink;
using pagetest::ScratchFolder;
using Kind = RecordingDeviceContext::Kind;
using Operation = RecordingDeviceContext::Operation;
using Font = RecordingDeviceContext::Font;

namespace {

const std::string lead12 = "            ";

// Body lines 0-9 of the scene "sc"; line 3 is never printed.
const std::vector<std::string> body = {
    "000001 さくら「一」", "000002 悠人「二」",   "            【 暗転 】", "@無視",
    "000003 さくら「三」", "000004 さくら「四」", "000005 さくら「五」",    "          *強調",
    "000007 さくら「七」", "000008 悠人「八」",
};

std::string scene()
{
    std::string text =
        ".scene\tsc\n.start\t1\n.end\t9\n.chara\t2\n.さくら\t5\n.悠人\t4\n.total\t9\n";
    for (const std::string& line : body)
        text += line + "\n";
    return sj(text);
}

struct Printed {
    std::string text; // UTF-8
    bool context;
    bool operator==(const Printed&) const = default;
};

std::vector<Printed> printedLines(const ScriptLayout& layout)
{
    std::vector<Printed> lines;
    std::string_view text = layout.text().view();
    std::size_t start = 0;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const std::size_t lf = text.find('\n', start);
        EXPECT_NE(lf, std::string_view::npos);
        lines.push_back({utf8(std::string(text.substr(start, lf - start))),
                         (layout.lineFlags(i) & ScriptLayout::FlagContext) != 0});
        start = lf + 1;
    }
    return lines;
}

Printed chosen(int line)
{
    return {body[std::size_t(line)], false};
}
Printed context(int line)
{
    return {body[std::size_t(line)], true};
}
const Printed gap{lead12, true};

struct LayoutCase {
    const char* name;
    const char* character; // UTF-8
    std::vector<int> lines;
    std::vector<Printed> expected;
};

void PrintTo(const LayoutCase& c, std::ostream* os)
{
    *os << c.name;
}

class PartialLayoutTest : public testing::TestWithParam<LayoutCase> {};

} // namespace

TEST_P(PartialLayoutTest, ChosenLinesWithOneLineOfContextEachSide)
{
    const LayoutCase& c = GetParam();
    LineSelection selection;
    for (int line : c.lines)
        selection.select(sj("sc.txt"), sj(c.character), line);
    ScriptPrinter printer;
    printer.setLineSelection(&selection, sj("sc.txt"));
    printer.loadText(scene());
    const int target = std::string(c.character) == "さくら" ? 0 : 1;
    const ScriptLayout& layout = printer.scriptLayout(target);
    EXPECT_EQ(printedLines(layout), c.expected);
    EXPECT_EQ(layout.pageCount(), c.expected.empty() ? 0 : 1);
    // The scene's own layout stays whole.
    EXPECT_EQ(printer.layout().lineCount(), 9);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, PartialLayoutTest,
    testing::Values(LayoutCase{"AtTheStartOfTheScene", "さくら", {0}, {chosen(0), context(1)}},
                    LayoutCase{"AtTheEndOfTheScene", "悠人", {9}, {context(8), chosen(9)}},
                    LayoutCase{"ApartWithAGapBetween",
                               "さくら",
                               {0, 8},
                               {chosen(0), context(1), gap, context(7), chosen(8), context(9)}},
                    LayoutCase{"ContextPassesOverUnprintedLines",
                               "さくら",
                               {4, 8},
                               {context(2), chosen(4), context(5), gap, context(7), chosen(8),
                                context(9)}},
                    LayoutCase{"OverlappingContextsMerge",
                               "さくら",
                               {4, 6},
                               {context(2), chosen(4), context(5), chosen(6), context(7)}},
                    LayoutCase{"TouchingContextsMerge",
                               "さくら",
                               {0, 4},
                               {chosen(0), context(1), context(2), chosen(4), context(5)}},
                    LayoutCase{"AdjacentChosenLinesAreOneRun",
                               "さくら",
                               {4, 5, 6},
                               {context(2), chosen(4), chosen(5), chosen(6), context(7)}},
                    LayoutCase{"AnUnprintedLineChosenPrintsNothing", "さくら", {3}, {}},
                    LayoutCase{"NothingChosenNoScript", "悠人", {}, {}}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

TEST(PartialScriptTest, MarkerGoesBeforeTheLabelOfChosenLinesOnly)
{
    LineSelection selection;
    selection.setMarker(sj("＊"));
    selection.select(sj("sc.txt"), sj("さくら"), 0);
    ScriptPrinter printer;
    printer.setLineSelection(&selection, sj("sc.txt"));
    printer.loadText(scene());
    const std::vector<Printed> expected = {{"＊000001 さくら「一」", false}, context(1)};
    EXPECT_EQ(printedLines(printer.scriptLayout(0)), expected);
}

TEST(PartialScriptTest, SuffixFollowsTheNameInHeaderAndFileNames)
{
    LineSelection selection;
    selection.setHeaderSuffix(sj("未収録"));
    selection.select(sj("sc.txt"), sj("さくら"), 0);
    ScriptPrinter printer;
    printer.setLineSelection(&selection, sj("sc.txt"));
    printer.loadText(scene());
    EXPECT_EQ(utf8(printer.scriptLayout(0).targetName(0).toStdString()), "さくら（未収録）");
    EXPECT_EQ(utf8(printer.scriptLayout(-1).targetName(-1).toStdString()), "監督用（未収録）");
    EXPECT_EQ(utf8(PageRenderer::headerText(printer.scriptLayout(0), 0, 0).toStdString()),
              "ｓｃ　さくら（未収録）　Ｐ－１／１");
    // Whole scripts keep their names.
    EXPECT_EQ(utf8(printer.layout().targetName(0).toStdString()), "さくら");
}

TEST(PartialScriptTest, DirectorsCopyHoldsTheLinesOfEveryCharacterNotExcluded)
{
    LineSelection selection;
    selection.select(sj("sc.txt"), sj("さくら"), 0);
    selection.select(sj("sc.txt"), sj("悠人"), 9);
    ScriptPrinter printer;
    printer.setLineSelection(&selection, sj("sc.txt"));
    printer.loadText(scene());
    EXPECT_EQ(printedLines(printer.scriptLayout(-1)),
              (std::vector<Printed>{chosen(0), context(1), gap, context(8), chosen(9)}));
    ASSERT_TRUE(printer.exclude(FCString(sj("悠人").c_str())));
    EXPECT_EQ(printedLines(printer.scriptLayout(-1)),
              (std::vector<Printed>{chosen(0), context(1)}));
}

TEST(PartialScriptTest, OtherScenesOfTheSelectionChooseNothingHere)
{
    LineSelection selection;
    selection.select(sj("other.txt"), sj("さくら"), 0);
    ScriptPrinter printer;
    printer.setLineSelection(&selection, sj("sc.txt"));
    printer.loadText(scene());
    EXPECT_EQ(printer.scriptLayout(0).pageCount(), 0);
    EXPECT_EQ(printer.scriptLayout(-1).pageCount(), 0);
}

TEST(PartialScriptTest, NoGapLineStartsAPage)
{
    // Runs 0-1 and 7-9 with 2 lines a page: the gap would start page 2.
    LineSelection selection;
    selection.select(sj("sc.txt"), sj("さくら"), 0);
    selection.select(sj("sc.txt"), sj("さくら"), 8);
    ScriptPrinter printer;
    ASSERT_TRUE(printer.setLinesPerPage(2));
    printer.setLineSelection(&selection, sj("sc.txt"));
    printer.loadText(scene());
    const ScriptLayout& layout = printer.scriptLayout(0);
    EXPECT_EQ(printedLines(layout),
              (std::vector<Printed>{chosen(0), context(1), context(7), chosen(8), context(9)}));
    EXPECT_EQ(layout.pageCount(), 3);
    const std::string_view page2 = layout.text().view().substr(std::size_t(layout.pageStart(1)));
    EXPECT_EQ(utf8(std::string(page2.substr(0, page2.find('\n')))), body[7]);
}

TEST(PartialScriptTest, PagesDrawChosenLinesEmphasisedAndContextInTheGeneralFace)
{
    const Font general{"@General", -14, 400};
    const Font target{"@Target", -14, 700};
    const Font comment{"@Comment", -14, 600};
    ScratchFolder folder;
    LineSelection selection;
    selection.setHeaderSuffix(sj("未収録"));
    // 悠人 has nothing chosen: no script, no file.
    selection.select(sj("sc.txt"), sj("さくら"), 6);
    selection.select(sj("sc.txt"), sj("さくら"), 8);
    ScriptPrinter printer;
    printer.setGeneralFont(general.weight, FCString(general.face.c_str()));
    printer.setTargetFont(target.weight, FCString(target.face.c_str()));
    printer.setCommentFont(comment.weight, FCString(comment.face.c_str()));
    printer.setOptions(ScriptPrinter::OptionNotesInCommentFont |
                       ScriptPrinter::OptionGenericScript);
    printer.setLineSelection(&selection, sj("sc.txt"));
    printer.loadText(scene());
    PageImageSink bmp(FCString(folder.destination().c_str()), PageImageSink::Format::Bmp);
    RecordingSink observer(&bmp);
    pagetest::printScene(printer, observer);

    ASSERT_EQ(observer.pages().size(), 2u);
    EXPECT_EQ(observer.pages()[0].page.target, 0);
    EXPECT_EQ(observer.pages()[1].page.target, -1);
    EXPECT_EQ(folder.files(), (std::vector<std::string>{"sc/sc.さくら（未収録）.1@1.bmp",
                                                        "sc/sc.監督用（未収録）.1@1.bmp"}));
    // さくら's script: her own line 5 as context, 6 chosen, the comment 7 as context, 8
    // chosen, 9 as context. Context is never emphasised, and the comment
    // gets no block.
    std::vector<Font> fonts;
    std::string header;
    for (const Operation& op : observer.pages()[0].dc->operations(Kind::TextOut)) {
        if (op.font.height == -10)
            header += op.text;
        else
            fonts.push_back(op.font);
    }
    EXPECT_EQ(fonts, (std::vector<Font>{general, target, general, target, general}));
    EXPECT_EQ(utf8(header), "ｓｃ　さくら（未収録）　Ｐ－１／１");
    EXPECT_TRUE(observer.pages()[0].dc->operations(Kind::FillRect).empty());
}
