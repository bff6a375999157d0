#include "PageTestSupport.h"
#include "TestText.h"
#include "render/FCVSurface.h"
#include "render/PageImageSink.h"
#include "render/RecordingDeviceContext.h"
#include "render/RunContext.h"
#include "render/SceneRenderer.h"
#include "render/ScriptPrinter.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <utility>
#include <vector>

using pagetest::RecordingSink;
using pagetest::ScratchFolder;
using Kind = RecordingDeviceContext::Kind;
using Operation = RecordingDeviceContext::Operation;
using Font = RecordingDeviceContext::Font;

namespace {

struct Character {
    std::string name; // UTF-8
    int count = 1;
};

// A screenplay text (UTF-8) with the given scene name, character table and
// body lines.
std::string screenplay(const std::string& scene, const std::vector<Character>& characters,
                       const std::vector<std::string>& body)
{
    std::string text = ".scene\t" + scene + "\n.start\t1\n.end\t99\n.chara\t" +
                       std::to_string(characters.size()) + "\n";
    int total = 0;
    for (const Character& c : characters) {
        text += "." + c.name + "\t" + std::to_string(c.count) + "\n";
        total += c.count;
    }
    text += ".total\t" + std::to_string(total) + "\n";
    for (const std::string& line : body)
        text += line + "\n";
    return text;
}

std::string speaker(int number, const std::string& name, const std::string& text)
{
    std::string digits = std::to_string(number);
    return std::string(6 - digits.size(), '0') + digits + " " + name + "「" + text + "」";
}

// The distinct faces the style tests give the three text styles.
const Font generalFont{"@General", -14, 400};
const Font targetFont{"@Target", -14, 700};
const Font commentFont{"@Comment", -14, 600};

void useTestFaces(ScriptPrinter& printer)
{
    printer.setGeneralFont(generalFont.weight, FCString(generalFont.face.c_str()));
    printer.setTargetFont(targetFont.weight, FCString(targetFont.face.c_str()));
    printer.setCommentFont(commentFont.weight, FCString(commentFont.face.c_str()));
}

Font headerFont(int height = -10)
{
    return {sj("@ＭＳ ゴシック"), height, 700};
}

std::vector<Operation> textOutsWith(const RecordingDeviceContext& dc, const Font& font)
{
    std::vector<Operation> out;
    for (const Operation& op : dc.operations(Kind::TextOut)) {
        if (op.hasFont && op.font == font)
            out.push_back(op);
    }
    return out;
}

std::string joined(const std::vector<Operation>& ops)
{
    std::string text;
    for (const Operation& op : ops)
        text += op.text;
    return text;
}

// The body lines' text outputs (those not in the header font), in order.
std::vector<Operation> bodyTextOuts(const RecordingDeviceContext& dc, int headerHeight = -10)
{
    std::vector<Operation> out;
    for (const Operation& op : dc.operations(Kind::TextOut)) {
        if (!(op.hasFont && op.font == headerFont(headerHeight)))
            out.push_back(op);
    }
    return out;
}

// A printer set up for a scene written as page images into the folder.
struct Fixture {
    ScratchFolder folder;
    ScriptPrinter printer;
    PageImageSink bmp{FCString(folder.destination().c_str()), PageImageSink::Format::Bmp};

    void load(const std::string& utf8Text, int options = 17)
    {
        printer.setOptions(options);
        printer.buildBackgroundPattern();
        printer.loadText(sj(utf8Text));
    }
    // Every script of the scene into the sink (BMP pages by default).
    void print(PageSink& sink) { pagetest::printScene(printer, sink); }
    void print() { print(bmp); }
    void printPng()
    {
        PageImageSink png(FCString(folder.destination().c_str()), PageImageSink::Format::Png);
        print(png);
    }
};

const std::vector<Character> twoCharacters = {{"さくら", 3}, {"悠人", 3}};

} // namespace

TEST(ScriptPrinterRenderTest, BackgroundPatternHasOneDotOfTheLevelPerTile)
{
    struct Case {
        int mode;
        int level;
        int tile;
    };
    const Case cases[] = {{2, 0, 2}, {3, 0, 3}, {4, 0, 4}, {5, 0, 4}, {2, 128, 2}, {4, 77, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode) + " level " + std::to_string(c.level));
        ScriptPrinter printer;
        printer.setBackground(c.mode, c.level);
        printer.buildBackgroundPattern();
        const FCVSurface& tile = printer.backgroundPattern();
        ASSERT_EQ(tile.width(), c.tile);
        ASSERT_EQ(tile.height(), c.tile);
        int dots = 0;
        int white = 0;
        for (int y = 0; y < c.tile; ++y) {
            for (int x = 0; x < c.tile; ++x) {
                const int v = *tile.pixel(x, y);
                dots += v == c.level;
                white += v == 255;
            }
        }
        EXPECT_EQ(dots, 1);
        EXPECT_EQ(white, c.tile * c.tile - 1);
    }
}

TEST(ScriptPrinterRenderTest, SolidAndNoBackgroundLeaveThePatternAlone)
{
    for (int mode : {0, 1, -3}) {
        ScriptPrinter printer;
        printer.setBackground(mode, 0);
        printer.buildBackgroundPattern();
        EXPECT_EQ(printer.backgroundPattern().width(), 16) << "mode " << mode;
        EXPECT_EQ(printer.backgroundPattern().height(), 16) << "mode " << mode;
    }
}

TEST(ScriptPrinterRenderTest, HeaderRunsUpTheLeftEdgeOneCellPerCharacter)
{
    Fixture f;
    // "s1" + "　" + "さくら" + "　Ｐ－" + "1" + "／" + "1": 12 characters.
    f.load(screenplay("s1", {{"さくら", 1}}, {speaker(1, "さくら", "はい")}), 0);
    RecordingSink observer(&f.bmp);
    f.print(observer);

    ASSERT_EQ(observer.pages().size(), 1u);
    std::vector<Operation> header = textOutsWith(*observer.pages()[0].dc, headerFont());
    ASSERT_EQ(header.size(), 12u);
    for (std::size_t i = 0; i < header.size(); ++i) {
        EXPECT_EQ(header[i].x, 10) << "cell " << i;
        EXPECT_EQ(header[i].y, 220 - 10 * static_cast<int>(i)) << "cell " << i;
        EXPECT_EQ(header[i].text.size(), 2u) << "cell " << i;
    }
    EXPECT_EQ(utf8(joined(header)), "ｓ１　さくら　Ｐ－１／１");
}

TEST(ScriptPrinterRenderTest, HeaderOfPageTwoOfTenEndsInFullWidthNumbers)
{
    Fixture f;
    std::vector<std::string> body;
    for (int i = 0; i < 10; ++i)
        body.push_back(speaker(i + 1, "悠人", "うん"));
    ASSERT_TRUE(f.printer.setLinesPerPage(1));
    f.load(screenplay("s", {{"悠人", 10}}, body), 0);
    RecordingSink observer(&f.bmp);
    f.print(observer);

    ASSERT_EQ(observer.pages().size(), 10u);
    EXPECT_EQ(utf8(joined(textOutsWith(*observer.pages()[1].dc, headerFont()))),
              "ｓ　悠人　Ｐ－２／１０");
}

TEST(ScriptPrinterRenderTest, DirectorsCopyHeaderNamesTheDirector)
{
    Fixture f;
    f.load(screenplay("s", {{"さくら", 1}}, {speaker(1, "さくら", "はい")}), 1);
    RecordingSink observer(&f.bmp);
    f.print(observer);

    ASSERT_EQ(observer.pages().size(), 2u);
    EXPECT_EQ(observer.pages()[1].page.target, -1);
    EXPECT_EQ(utf8(joined(textOutsWith(*observer.pages()[1].dc, headerFont()))),
              "ｓ　監督用　Ｐ－１／１");
}

TEST(ScriptPrinterRenderTest, HeaderCharacterLeftSingleByteStillTakesOneCell)
{
    Fixture f;
    // A control character has no full-width form and stays one byte.
    f.load(screenplay("s1",
                      {{"A\x01"
                        "B",
                        1}},
                      {speaker(1,
                               "A\x01"
                               "B",
                               "x")}),
           0);
    RecordingSink observer(&f.bmp);
    f.print(observer);

    ASSERT_EQ(observer.pages().size(), 1u);
    std::vector<Operation> header = textOutsWith(*observer.pages()[0].dc, headerFont());
    // ｓ１　Ａ\x01Ｂ　Ｐ－１／１ : 12 characters, one of them single-byte.
    ASSERT_EQ(header.size(), 12u);
    EXPECT_EQ(header[4].text, "\x01");
    for (std::size_t i = 0; i < header.size(); ++i)
        EXPECT_EQ(header[i].y, 220 - 10 * static_cast<int>(i)) << "cell " << i;
    EXPECT_EQ(utf8(header[5].text), "Ｂ");
}

TEST(ScriptPrinterRenderTest, LinesStartAtTheMarginsAndFollowThePitch)
{
    Fixture f;
    f.printer.setLinePitch(24);
    f.load(screenplay("s", {{"さくら", 3}},
                      {speaker(1, "さくら", "一"), speaker(2, "さくら", "二"),
                       speaker(3, "さくら", "三")}),
           0);
    RecordingSink observer(&f.bmp);
    f.print(observer);

    ASSERT_EQ(observer.pages().size(), 1u);
    std::vector<Operation> lines = bodyTextOuts(*observer.pages()[0].dc);
    ASSERT_EQ(lines.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(lines[i].x, 48);
        EXPECT_EQ(lines[i].y, 56 + 24 * i);
    }
    EXPECT_EQ(utf8(lines[2].text), "000003 さくら「三」");
}

TEST(ScriptPrinterRenderTest, PrinterResolutionScalesMarginsPitchAndFonts)
{
    Fixture f;
    f.load(
        screenplay("s1", {{"さくら", 2}}, {speaker(1, "さくら", "一"), speaker(2, "さくら", "二")}),
        0);
    RecordingSink observer(&f.bmp, false, 600);
    f.print(observer);

    ASSERT_EQ(observer.pages().size(), 1u);
    const RecordingDeviceContext& dc = *observer.pages()[0].dc;
    std::vector<Operation> lines = bodyTextOuts(dc, -62);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].x, 300);
    EXPECT_EQ(lines[0].y, 350);
    EXPECT_EQ(lines[1].y, 350 + 125);
    // 14 x 6.25 = 87.5 and 10 x 6.25 = 62.5, both truncated.
    EXPECT_EQ(lines[0].font.height, -87);
    std::vector<Operation> header = textOutsWith(dc, headerFont(-62));
    ASSERT_EQ(header.size(), 12u);
    EXPECT_EQ(header[0].x, 62);
    EXPECT_EQ(header[0].y, 22 * 62);
    EXPECT_EQ(header[11].y, 11 * 62);
}

TEST(ScriptPrinterRenderTest, FontsAreBuiltAsTheDescriptionsSay)
{
    Fixture f;
    const std::string face31 = "@" + std::string(30, 'f');
    const std::string face32 = "@" + std::string(31, 'f');
    f.printer.setGeneralFont(400, FCString(face31.c_str()));
    f.printer.setTargetFont(700, FCString(face32.c_str()));
    f.printer.setFontSize(18);
    f.load(screenplay("s", {{"さくら", 1}, {"悠人", 1}},
                      {speaker(1, "さくら", "一"), speaker(2, "悠人", "二")}),
           0);
    RecordingSink observer(&f.bmp);
    f.print(observer);

    ASSERT_EQ(observer.pages().size(), 2u);
    // In the script of さくら: her line in the target font, 悠人's in the
    // general one.
    std::vector<Operation> lines = bodyTextOuts(*observer.pages()[0].dc);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].font, (Font{"", -18, 700})) << "a 32-byte face is not taken";
    EXPECT_EQ(lines[1].font, (Font{face31, -18, 400})) << "a 31-byte face is taken";
}

TEST(ScriptPrinterRenderTest, EachLineTakesTheStyleItsFlagsChoose)
{
    const std::vector<Character> characters = {{"甲", 1}, {"乙", 1}, {"さくら", 1}, {"悠人", 1}};
    const std::vector<std::string> body = {
        speaker(1, "さくら", "私"), // target in さくら's script
        speaker(2, "悠人", "僕"),   // another character
        "            【 暗転 】",   // note
        " *強調",                   // emphasised comment
        "000005",                   // no speaker name: never the target
        speaker(6, "甲", "甲です"), // slot 0
    };
    struct Case {
        int options;
        int script;              // index of the emitted script: 2 = さくら, 4 = director
        std::vector<Font> fonts; // of the body lines in drawing order
    };
    const Case cases[] = {
        {0x11, 2, {targetFont, generalFont, commentFont, generalFont, generalFont, commentFont}},
        {0x01, 2, {targetFont, generalFont, generalFont, generalFont, generalFont, commentFont}},
        {0x11, 0, {generalFont, generalFont, commentFont, generalFont, targetFont, commentFont}},
        {0x01, 4, {generalFont, generalFont, generalFont, generalFont, generalFont, commentFont}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("options " + std::to_string(c.options) + " script " +
                     std::to_string(c.script));
        Fixture f;
        useTestFaces(f.printer);
        f.load(screenplay("s", characters, body), c.options);
        RecordingSink observer(&f.bmp);
        f.print(observer);
        ASSERT_EQ(observer.pages().size(), 5u);
        const RecordingDeviceContext& dc = *observer.pages()[c.script].dc;
        std::vector<Operation> lines = bodyTextOuts(dc);
        ASSERT_EQ(lines.size(), c.fonts.size());
        for (std::size_t i = 0; i < lines.size(); ++i)
            EXPECT_EQ(lines[i].font, c.fonts[i])
                << "drawn line " << i << ": " << utf8(lines[i].text);
        // The "*" line is the one drawn last, over its block.
        EXPECT_EQ(utf8(lines.back().text), "          *強調");
        EXPECT_EQ(lines.back().y, 56 + 3 * 20);
        EXPECT_EQ(dc.operations(Kind::FillRect).size(), 1u);
    }
}

TEST(ScriptPrinterRenderTest, DirectorsCopyNeverUsesTheTargetFont)
{
    Fixture f;
    useTestFaces(f.printer);
    f.load(screenplay("s", twoCharacters,
                      {speaker(1, "さくら", "一"), speaker(2, "悠人", "二"), "000003"}),
           1);
    RecordingSink observer(&f.bmp);
    f.print(observer);

    ASSERT_EQ(observer.pages().size(), 3u);
    ASSERT_EQ(observer.pages()[2].page.target, -1);
    std::vector<Operation> lines = bodyTextOuts(*observer.pages()[2].dc);
    ASSERT_EQ(lines.size(), 3u);
    for (const Operation& op : lines)
        EXPECT_EQ(op.font, generalFont);
}

namespace {

// A 47-line page whose lines 10-12 and 30 are "*" comment lines; the others
// are lines of さくら.
std::vector<std::string> pageWithTwoBlocks()
{
    std::vector<std::string> body;
    for (int i = 0; i < 47; ++i) {
        if (i == 10)
            body.push_back(" *あ");
        else if (i == 11)
            body.push_back(" *ああああ");
        else if (i == 12)
            body.push_back(" *ああ");
        else if (i == 30)
            body.push_back(" *いい");
        else
            body.push_back(speaker(i + 1, "さくら", "はい"));
    }
    return body;
}

} // namespace

TEST(ScriptPrinterRenderTest, ConsecutiveCommentLinesShareOneRectangle)
{
    Fixture f;
    f.printer.setBackground(1, 0);
    f.load(screenplay("s", {{"さくら", 43}}, pageWithTwoBlocks()), 0);
    RecordingSink observer(&f.bmp);
    f.print(observer);

    ASSERT_EQ(observer.pages().size(), 1u);
    const RecordingDeviceContext& dc = *observer.pages()[0].dc;
    std::vector<Operation> extents = dc.operations(Kind::TextExtent);
    ASSERT_EQ(extents.size(), 4u);
    std::vector<Operation> fills = dc.operations(Kind::FillRect);
    ASSERT_EQ(fills.size(), 2u);

    // The first block: lines 10-12, as wide as its longest line.
    const int widest = std::max({extents[0].cx, extents[1].cx, extents[2].cx});
    EXPECT_EQ(widest, extents[1].cx);
    EXPECT_GT(widest, extents[2].cx);
    const FCRect first = fills[0].rect;
    EXPECT_EQ(first.left, 48);
    EXPECT_EQ(first.top, 56 + 10 * 20);
    EXPECT_EQ(first.right, 48 + widest);
    EXPECT_EQ(first.bottom, 56 + 12 * 20 + extents[2].cy);

    // The second block: line 30 alone.
    const FCRect second = fills[1].rect;
    EXPECT_EQ(second.left, 48);
    EXPECT_EQ(second.top, 56 + 30 * 20);
    EXPECT_EQ(second.right, 48 + extents[3].cx);
    EXPECT_EQ(second.bottom, 56 + 30 * 20 + extents[3].cy);

    // Each block is filled before its own lines are drawn at their places.
    const std::vector<Operation>& all = dc.operations();
    std::vector<std::pair<Kind, int>> tail;
    for (std::size_t i = all.size() - 6; i < all.size(); ++i)
        tail.push_back({all[i].kind, all[i].y});
    const std::vector<std::pair<Kind, int>> expected = {
        {Kind::FillRect, 0},       {Kind::TextOut, 56 + 200}, {Kind::TextOut, 56 + 220},
        {Kind::TextOut, 56 + 240}, {Kind::FillRect, 0},       {Kind::TextOut, 56 + 600}};
    EXPECT_EQ(tail, expected);
}

TEST(ScriptPrinterRenderTest, BackgroundModeChoosesTheBlockBrush)
{
    struct Case {
        int mode;
        int level;
        bool drawn;
        DeviceContext::BrushKind kind;
        int tile;
    };
    const Case cases[] = {
        {0, 0, true, DeviceContext::BrushKind::None, 0},
        {1, 0, true, DeviceContext::BrushKind::Solid, 0},
        {1, 200, true, DeviceContext::BrushKind::Solid, 0},
        {2, 100, true, DeviceContext::BrushKind::Pattern, 2},
        {3, 100, true, DeviceContext::BrushKind::Pattern, 3},
        {4, 100, true, DeviceContext::BrushKind::Pattern, 4},
        {5, 100, false, DeviceContext::BrushKind::None, 0},
        {-1, 100, false, DeviceContext::BrushKind::None, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode));
        Fixture f;
        f.printer.setBackground(c.mode, c.level);
        f.load(screenplay("s", {{"さくら", 43}}, pageWithTwoBlocks()), 0);
        RecordingSink observer(&f.bmp);
        f.print(observer);
        ASSERT_EQ(observer.pages().size(), 1u);
        const RecordingDeviceContext& dc = *observer.pages()[0].dc;
        std::vector<Operation> fills = dc.operations(Kind::FillRect);
        std::vector<Operation> lines = bodyTextOuts(dc);
        if (!c.drawn) {
            // Neither shading nor text: only the 43 other lines are drawn.
            EXPECT_TRUE(fills.empty());
            EXPECT_EQ(lines.size(), 43u);
            continue;
        }
        EXPECT_EQ(lines.size(), 47u);
        ASSERT_EQ(fills.size(), 2u);
        for (const Operation& fill : fills) {
            EXPECT_EQ(fill.brush.kind, c.kind);
            if (c.kind == DeviceContext::BrushKind::Solid) {
                EXPECT_EQ(fill.brush.grey, c.level);
            }
            if (c.kind == DeviceContext::BrushKind::Pattern) {
                ASSERT_EQ(fill.brush.pattern, &f.printer.backgroundPattern());
                EXPECT_EQ(fill.brush.pattern->width(), c.tile);
            }
        }
    }
}

TEST(ScriptPrinterRenderTest, SolidBlackBlocksLieUnderTheirTextOnThePage)
{
    Fixture f;
    f.printer.setBackground(1, 0);
    f.load(screenplay("s", {{"さくら", 43}}, pageWithTwoBlocks()), 0);
    RecordingSink observer(&f.bmp, true);
    std::vector<std::pair<FCRect, std::vector<int>>> seen;
    observer.onClosed([&](const RecordingSink::Recorded& recorded) {
        const FCVSurface* page = f.bmp.pageSurface();
        ASSERT_NE(page, nullptr);
        for (const Operation& fill : recorded.dc->operations(Kind::FillRect)) {
            const FCRect r = fill.rect;
            seen.push_back({r,
                            {*page->pixel(r.left, r.top), *page->pixel(r.right - 1, r.bottom - 1),
                             *page->pixel(r.left - 1, r.top), *page->pixel(r.right, r.bottom - 1),
                             *page->pixel(r.left, r.bottom)}});
        }
    });
    f.print(observer);

    ASSERT_EQ(seen.size(), 2u);
    for (const auto& [rect, pixels] : seen) {
        EXPECT_FALSE(rect.isEmpty());
        EXPECT_EQ(pixels[0], 0) << "inside, top left";
        EXPECT_EQ(pixels[1], 0) << "inside, bottom right";
        EXPECT_EQ(pixels[2], 255) << "left of the block";
        EXPECT_EQ(pixels[3], 255) << "right of the block";
    }
    EXPECT_EQ(seen[1].second[4], 255) << "below the single-line block";
}

TEST(ScriptPrinterRenderTest, MeshPatternIsAlignedToThePageOrigin)
{
    Fixture f;
    f.printer.setBackground(2, 0);
    // Full-width spaces carry no ink: the block right of the "*" shows the
    // bare mesh.
    f.load(screenplay("s", {{"さくら", 1}}, {" *　　　　　　　　"}), 0);
    RecordingSink observer(&f.bmp, true);
    int mismatches = -1;
    int dots = 0;
    observer.onClosed([&](const RecordingSink::Recorded& recorded) {
        const FCVSurface* page = f.bmp.pageSurface();
        ASSERT_NE(page, nullptr);
        std::vector<Operation> fills = recorded.dc->operations(Kind::FillRect);
        ASSERT_EQ(fills.size(), 1u);
        const FCRect r = fills[0].rect;
        mismatches = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            // Past the lead and the "*": 12 half-width cells of the bold
            // comment face, 7 pixels each and one more for the emboldening.
            for (int x = r.left + 12 * 8; x < r.right; ++x) {
                const int expected = (x % 2 == 0 && y % 2 == 0) ? 0 : 255;
                mismatches += *page->pixel(x, y) != expected;
                dots += expected == 0;
            }
        }
    });
    f.print(observer);
    EXPECT_GT(dots, 0);
    EXPECT_EQ(mismatches, 0);
}

TEST(ScriptPrinterRenderTest, ScriptsComeInTableOrderThenTheDirectorsCopy)
{
    Fixture f;
    ASSERT_TRUE(f.printer.setLinesPerPage(2));
    std::vector<std::string> body;
    for (int i = 0; i < 6; ++i)
        body.push_back(speaker(i + 1, i % 2 ? "悠人" : "さくら", "はい"));
    f.load(screenplay("sc", twoCharacters, body), 1);
    ASSERT_EQ(f.printer.pageCount(), 3);
    RecordingSink observer(&f.bmp);
    f.print(observer);

    std::vector<std::pair<int, int>> order;
    for (const auto& recorded : observer.pages())
        order.push_back({recorded.page.target, recorded.page.page});
    const std::vector<std::pair<int, int>> expected = {{0, 0}, {0, 1},  {0, 2},  {1, 0}, {1, 1},
                                                       {1, 2}, {-1, 0}, {-1, 1}, {-1, 2}};
    EXPECT_EQ(order, expected);
    // Each page has a device of its own and draws its own two lines.
    for (const auto& recorded : observer.pages()) {
        EXPECT_TRUE(recorded.hadDevice);
        EXPECT_EQ(bodyTextOuts(*recorded.dc).size(), 2u);
    }
    const std::vector<std::string> files = {
        "sc/sc.さくら.1@3.bmp", "sc/sc.さくら.2@3.bmp", "sc/sc.さくら.3@3.bmp",
        "sc/sc.悠人.1@3.bmp",   "sc/sc.悠人.2@3.bmp",   "sc/sc.悠人.3@3.bmp",
        "sc/sc.監督用.1@3.bmp", "sc/sc.監督用.2@3.bmp", "sc/sc.監督用.3@3.bmp"};
    std::vector<std::string> sorted = files;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(f.folder.files(), sorted);
    EXPECT_EQ(utf8(observer.pages()[4].path), f.folder.destination() + files[4]);
}

TEST(ScriptPrinterRenderTest, ExcludedCharacterYieldsNoPageAtAll)
{
    Fixture f;
    f.load(screenplay("sc", twoCharacters, {speaker(1, "さくら", "一"), speaker(2, "悠人", "二")}),
           1);
    ASSERT_TRUE(f.printer.exclude(FCString(sj("さくら").c_str())));
    RecordingSink observer(&f.bmp);
    f.print(observer);

    ASSERT_EQ(observer.pages().size(), 2u);
    EXPECT_EQ(observer.pages()[0].page.target, 1);
    EXPECT_EQ(observer.pages()[1].page.target, -1);
    EXPECT_EQ(f.folder.files(),
              (std::vector<std::string>{"sc/sc.悠人.1@1.bmp", "sc/sc.監督用.1@1.bmp"}));
}

TEST(ScriptPrinterRenderTest, DirectorsCopyOnlyWhenTheOptionAsks)
{
    Fixture f;
    f.load(screenplay("sc", twoCharacters, {speaker(1, "さくら", "一")}), 0x10);
    RecordingSink observer(&f.bmp);
    f.print(observer);
    ASSERT_EQ(observer.pages().size(), 2u);
    EXPECT_EQ(observer.pages()[1].page.target, 1);
}

TEST(ScriptPrinterRenderTest, PrintPageStopsAtTheEndAndForExcludedCharacters)
{
    Fixture f;
    f.load(screenplay("sc", twoCharacters, {speaker(1, "さくら", "一")}), 0);
    ASSERT_TRUE(f.printer.exclude(FCString(sj("悠人").c_str())));
    RecordingSink observer(&f.bmp);
    RunContext quiet;
    SceneRenderer renderer(f.printer, observer, quiet);
    observer.beginScene();
    EXPECT_FALSE(renderer.printPage(1, 0)) << "beyond the last page";
    EXPECT_FALSE(renderer.printPage(-2, 0));
    EXPECT_FALSE(renderer.printPage(0, 1)) << "excluded";
    EXPECT_TRUE(observer.pages().empty());
    // Without the option the director's copy draws nothing but still moves on.
    EXPECT_TRUE(renderer.printPage(0, -1));
    EXPECT_EQ(renderer.currentPage(), 1);
    EXPECT_TRUE(observer.pages().empty());
    EXPECT_TRUE(renderer.printPage(0, 0));
    EXPECT_EQ(observer.pages().size(), 1u);
}

TEST(ScriptPrinterRenderTest, PageNumbersArePaddedToThePageCount)
{
    for (int pages : {9, 12, 100}) {
        SCOPED_TRACE(std::to_string(pages) + " pages");
        Fixture f;
        ASSERT_TRUE(f.printer.setLinesPerPage(1));
        std::vector<std::string> body;
        for (int i = 0; i < pages; ++i)
            body.push_back(speaker(i + 1, "悠人", "うん"));
        f.load(screenplay("s", {{"悠人", pages}}, body), 0);
        f.print();

        std::vector<std::string> expected;
        const int width = static_cast<int>(std::to_string(pages).size());
        for (int p = 1; p <= pages; ++p) {
            std::string number = std::to_string(p);
            number.insert(0, static_cast<std::size_t>(width) - number.size(), '0');
            expected.push_back("s/s.悠人." + number + "@" + std::to_string(pages) + ".bmp");
        }
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(f.folder.files(), expected);
    }
}

TEST(ScriptPrinterRenderTest, PngPagesOfTheDirectorsCopy)
{
    Fixture f;
    f.load(screenplay("s", {{"悠人", 1}}, {speaker(1, "悠人", "うん")}), 1);
    f.printPng();
    EXPECT_EQ(f.folder.files(),
              (std::vector<std::string>{"s/s.悠人.1@1.png", "s/s.監督用.1@1.png"}));
}

TEST(ScriptPrinterRenderTest, NamesThatBecomeOneFileNameKeepTheirOwnPages)
{
    // "a/b" is filed as "a_b", which the next character is called, and a
    // character may be called as the director's copy is: every script keeps
    // its pages, the later one under a numbered name.
    Fixture f;
    f.load(
        screenplay("s", {{"a/b", 1}, {"a_b", 1}, {"監督用", 1}},
                   {speaker(1, "a/b", "一"), speaker(2, "a_b", "二"), speaker(3, "監督用", "三")}),
        1);
    f.printPng();
    EXPECT_EQ(f.folder.files(),
              (std::vector<std::string>{"s/s.a_b(2).1@1.png", "s/s.a_b.1@1.png",
                                        "s/s.監督用(2).1@1.png", "s/s.監督用.1@1.png"}));
    EXPECT_EQ(utf8(f.printer.fileTargetName(1).toStdString()), "a_b(2)");
    EXPECT_EQ(utf8(f.printer.targetName(1).toStdString()), "a_b") << "headers keep the name";
}

TEST(ScriptPrinterRenderTest, UnsafeNamesStayInsideTheDestinationFolder)
{
    struct Case {
        std::string scene;
        std::string character;
        std::vector<std::string> files;
        std::string header; // of the character's page
    };
    const Case cases[] = {
        {"../x", "a/b", {".._x/.._x.a_b.1@1.bmp"}, "．．／ｘ　ａ／ｂ　Ｐ－１／１"},
        {"a/b", "c", {"a_b/a_b.c.1@1.bmp"}, "ａ／ｂ　ｃ　Ｐ－１／１"},
        {"..", "c", {"_/_.c.1@1.bmp"}, "．．　ｃ　Ｐ－１／１"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scene);
        ScratchFolder outer;
        // The destination is a folder inside a folder of our own, so that a
        // file written next to it would be seen.
        const std::string destination = outer.path() + "/dest/";
        std::filesystem::create_directory(destination);
        ScriptPrinter printer;
        printer.setOptions(0);
        printer.loadText(
            sj(screenplay(c.scene, {{c.character, 1}}, {speaker(1, c.character, "x")})));
        PageImageSink bmp(FCString(destination.c_str()), PageImageSink::Format::Bmp);
        RecordingSink observer(&bmp);
        pagetest::printScene(printer, observer);

        std::vector<std::string> expected;
        for (const std::string& file : c.files)
            expected.push_back("dest/" + file);
        EXPECT_EQ(outer.files(), expected);
        ASSERT_EQ(observer.pages().size(), 1u);
        EXPECT_EQ(utf8(joined(textOutsWith(*observer.pages()[0].dc, headerFont()))), c.header);
    }
}

TEST(ScriptPrinterRenderTest, PageWithoutLinesIsNotRendered)
{
    Fixture f;
    f.load(screenplay("s", {{"悠人", 1}}, {speaker(1, "悠人", "うん")}), 0);
    RecordingSink observer(&f.bmp);
    RunContext quiet;
    SceneRenderer renderer(f.printer, observer, quiet);
    renderer.setCurrentPage(1);
    EXPECT_FALSE(renderer.renderPage(0));
    EXPECT_TRUE(observer.pages().empty());
    EXPECT_TRUE(f.folder.files().empty());
}
