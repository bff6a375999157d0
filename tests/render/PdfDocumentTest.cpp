#include "render/PdfDocument.h"

#include "PageTestSupport.h"
#include "PdfReading.h"
#include "TestText.h"
#include "platform/FileFaults.h"
#include "platform/WinError.h"
#include "render/FCFont.h"
#include "render/FCVSurface.h"
#include "render/PageImageSink.h"
#include "render/PageRenderer.h"
#include "render/ScriptPrinter.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using pagetest::ScratchFolder;

namespace {

std::string shellQuoted(const std::string& path)
{
    return "'" + path + "'";
}

// poppler-utils is one of the build's dependencies (scripts/install-deps.sh):
// its absence fails the tests rather than skipping them.
bool popplerInstalled()
{
    for (const char* tool : {"pdfinfo", "pdftotext", "pdftoppm", "pdffonts"}) {
        if (pdfread::shell(std::string("command -v ") + tool).empty())
            return false;
    }
    return true;
}

// pdfinfo's value for a key ("Pages", "Page size", "Title").
std::string pdfInfo(const std::string& file, const std::string& key)
{
    std::istringstream lines(pdfread::shell("pdfinfo " + shellQuoted(file) + " 2>/dev/null"));
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind(key + ":", 0) == 0) {
            std::size_t at = key.size() + 1;
            while (at < line.size() && line[at] == ' ')
                ++at;
            return line.substr(at);
        }
    }
    return {};
}

using pdfread::nonEmptyLines;
using pdfread::withoutSpaces;

struct GreyImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
    int at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// A binary PGM as pdftoppm -gray writes it.
GreyImage readPgm(const std::string& file)
{
    GreyImage image;
    std::ifstream in(file, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> image.width >> image.height >> maxValue;
    in.get();
    if (magic != "P5" || maxValue != 255 || image.width <= 0 || image.height <= 0)
        return {};
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
    in.read(reinterpret_cast<char*>(image.pixels.data()),
            static_cast<std::streamsize>(image.pixels.size()));
    return in ? image : GreyImage{};
}

GreyImage greyOf(const FCVSurface& surface)
{
    GreyImage image{surface.width(), surface.height(), {}};
    image.pixels.reserve(static_cast<std::size_t>(image.width) * image.height);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            image.pixels.push_back(*surface.pixel(x, y));
    return image;
}

// Ink (255 - grey) totals and centroid of a region.
struct Ink {
    double amount = 0;
    double cx = 0;
    double cy = 0;
};

Ink inkOf(const GreyImage& image, int left, int top, int right, int bottom)
{
    Ink ink;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const double v = 255 - image.at(x, y);
            ink.amount += v;
            ink.cx += v * x;
            ink.cy += v * y;
        }
    }
    if (ink.amount > 0) {
        ink.cx /= ink.amount;
        ink.cy /= ink.amount;
    }
    return ink;
}

// Draws through two contexts at once: the page's own (the raster page that
// becomes the PNG) and the PDF page.
class TeeDeviceContext : public DeviceContext {
public:
    TeeDeviceContext(DeviceContext& first, DeviceContext& second) : m_first(first), m_second(second)
    {
    }
    int logPixelsX() const override { return m_first.logPixelsX(); }
    int logPixelsY() const override { return m_first.logPixelsY(); }
    FCFont* selectFont(FCFont* font) override
    {
        m_second.selectFont(font);
        return m_first.selectFont(font);
    }
    bool textOut(int x, int y, std::string_view text) override
    {
        const bool second = m_second.textOut(x, y, text);
        return m_first.textOut(x, y, text) && second;
    }
    bool textExtent(std::string_view text, int& cx, int& cy) override
    {
        int ignoredX = 0;
        int ignoredY = 0;
        m_second.textExtent(text, ignoredX, ignoredY);
        return m_first.textExtent(text, cx, cy);
    }
    void fillRect(const FCRect& rect, const Brush& brush) override
    {
        m_first.fillRect(rect, brush);
        m_second.fillRect(rect, brush);
    }

private:
    DeviceContext& m_first;
    DeviceContext& m_second;
};

// Every page the renderer emits also goes into a PDF; the raster pages are
// kept as saved (turned). Pages go on to the image sink it stands before.
class PdfTeeSink : public PageSink {
public:
    PdfTeeSink(PageImageSink& images, PdfDocument& document)
        : m_images(images), m_document(document)
    {
    }

    const std::vector<Page>& recorded() const { return m_pages; }
    const std::vector<GreyImage>& raster() const { return m_raster; }

protected:
    void openScene() override { m_images.beginScene(); }
    DeviceContext* openPage(const Page& page) override
    {
        m_pages.push_back(page);
        DeviceContext* dc = m_images.beginPage(page);
        DeviceContext* pdfPage = m_document.beginPage();
        if (!dc || !pdfPage)
            return dc;
        m_tee = std::make_unique<TeeDeviceContext>(*dc, *pdfPage);
        return m_tee.get();
    }
    void closePage() override
    {
        if (m_images.pageSurface())
            m_raster.push_back(greyOf(*m_images.pageSurface()->turnedClockwise()));
        EXPECT_TRUE(m_document.endPage());
        m_tee.reset();
        m_images.endPage();
    }
    void closeScene(bool complete) override { m_images.endScene(complete); }
    void closeAll() override { m_images.finish(); }

private:
    PageImageSink& m_images;
    PdfDocument& m_document;
    std::unique_ptr<TeeDeviceContext> m_tee;
    std::vector<Page> m_pages;
    std::vector<GreyImage> m_raster;
};

std::string speaker(int number, const std::string& name, const std::string& text)
{
    std::string digits = std::to_string(number);
    return std::string(6 - digits.size(), '0') + digits + " " + name + "「" + text + "」";
}

// A scene of two characters over two pages per script, with a comment
// block in the middle of the first page, single-byte text and a line long
// enough to wrap.
std::string scene()
{
    std::vector<std::string> body = {
        speaker(1, "さくら", "おはよう、悠人くん。"),
        speaker(2, "悠人", "ああ、おはよう。OK、今日もよろしく。"),
        "*ここで間をとる（３秒）",
        "*ＳＥ：波の音",
        speaker(3, "さくら",
                "今日は灯台まで歩いて行こうと思うの。海がとてもきれいに見えるって聞いたから、"
                "一度ちゃんと見ておきたくて。"),
        speaker(4, "悠人", "いいね。行こう。"),
    };
    for (int i = 5; i <= 14; ++i)
        body.push_back(
            speaker(i, i % 2 ? "さくら" : "悠人", "台詞その" + std::to_string(i) + "。"));
    std::string text = ".scene\t浜辺\n.start\t1\n.end\t99\n.chara\t2\n.さくら\t8\n.悠人\t6\n"
                       ".total\t14\n";
    for (const std::string& line : body)
        text += line + "\n";
    return text;
}

// The scene printed as PNG pages and, through the same renderer, as one PDF.
struct PrintedScene {
    ScratchFolder folder;
    ScriptPrinter printer;
    PdfDocument document;
    std::string pdf;
    std::vector<PageSink::Page> pages;
    std::vector<GreyImage> raster;

    PrintedScene()
    {
        pdf = folder / "scene.pdf";
        printer.setOptions(ScriptPrinter::OptionGenericScript |
                           ScriptPrinter::OptionNotesInCommentFont);
        EXPECT_TRUE(printer.setLinesPerPage(12));
        printer.setBackground(4, 0);
        printer.buildBackgroundPattern();
        printer.loadText(sj(scene()));
        EXPECT_TRUE(document.open(FCString(pdf.c_str()), sj("浜辺")));
        {
            PageImageSink images(FCString(folder.destination().c_str()),
                                 PageImageSink::Format::Png);
            PdfTeeSink tee(images, document);
            pagetest::printScene(printer, tee);
            pages = tee.recorded();
            raster = tee.raster();
        }
        EXPECT_TRUE(document.close());
    }

    // The printed lines of page `page` of the laid-out text (UTF-8, spaces
    // dropped, blank lines left out), after the page's header.
    std::vector<std::string> expectedText(const PageSink::Page& page) const
    {
        std::vector<std::string> out;
        out.push_back(withoutSpaces(utf8(std::string(
            PageRenderer::headerText(printer.layout(), page.target, page.page).view()))));
        std::istringstream lines(utf8(std::string(printer.laidOutText().view())));
        std::string line;
        for (int i = 0; std::getline(lines, line); ++i) {
            if (i / printer.linesPerPage() != page.page)
                continue;
            line = withoutSpaces(line);
            if (!line.empty())
                out.push_back(line);
        }
        return out;
    }
};

} // namespace

TEST(PdfDocumentTest, RendererPagesHaveTheImagePagesCountAndSheet)
{
    ASSERT_TRUE(popplerInstalled()) << "poppler-utils is needed";
    PrintedScene s;
    // Two characters and the director's copy, two pages each.
    ASSERT_EQ(s.printer.pageCount(), 2);
    ASSERT_EQ(s.pages.size(), 6u);
    EXPECT_EQ(s.document.pageCount(), 6);
    EXPECT_EQ(pdfInfo(s.pdf, "Pages"), "6");
    // 1152 x 864 units of 1/96 inch.
    EXPECT_EQ(pdfInfo(s.pdf, "Page size").substr(0, 14), "864 x 648 pts");
    EXPECT_EQ(pdfInfo(s.pdf, "Title"), "浜辺");
    EXPECT_EQ(pdfInfo(s.pdf, "Page rot"), "0");
    // Subsets of the faces are embedded, with their Unicode maps.
    const std::string fonts = pdfread::shell("pdffonts " + shellQuoted(s.pdf));
    EXPECT_NE(fonts.find(" yes yes yes "), std::string::npos) << fonts;
    EXPECT_EQ(fonts.find(" no "), std::string::npos) << fonts;
}

TEST(PdfDocumentTest, EveryPrintedLineComesBackWholeInReadingOrder)
{
    ASSERT_TRUE(popplerInstalled()) << "poppler-utils is needed";
    PrintedScene s;
    ASSERT_EQ(s.pages.size(), 6u);
    for (std::size_t i = 0; i < s.pages.size(); ++i) {
        SCOPED_TRACE("page " + std::to_string(i + 1));
        const std::string n = std::to_string(i + 1);
        const std::string text = pdfread::shell("pdftotext -raw -enc UTF-8 -f " + n + " -l " + n +
                                                " " + shellQuoted(s.pdf) + " -");
        EXPECT_EQ(nonEmptyLines(text), s.expectedText(s.pages[i]));
    }
}

TEST(PdfDocumentTest, RasterisedPageHasItsInkWhereThePngPageHasIt)
{
    ASSERT_TRUE(popplerInstalled()) << "poppler-utils is needed";
    PrintedScene s;
    ASSERT_EQ(s.raster.size(), 6u);
    const std::vector<std::string> pngs = s.folder.files();
    for (std::size_t i = 0; i < s.raster.size(); ++i) {
        SCOPED_TRACE("page " + std::to_string(i + 1));
        const std::string n = std::to_string(i + 1);
        const std::string prefix = s.folder / ("page" + n);
        pdfread::shell("pdftoppm -r 96 -gray -singlefile -f " + n + " -l " + n + " " +
                       shellQuoted(s.pdf) + " " + shellQuoted(prefix));
        const GreyImage pdf = readPgm(prefix + ".pgm");
        const GreyImage& png = s.raster[i];
        ASSERT_EQ(pdf.width, 1152);
        ASSERT_EQ(pdf.height, 864);
        ASSERT_EQ(png.width, pdf.width);
        ASSERT_EQ(png.height, pdf.height);

        const Ink whole = inkOf(png, 0, 0, png.width, png.height);
        const Ink drawn = inkOf(pdf, 0, 0, pdf.width, pdf.height);
        ASSERT_GT(whole.amount, 0);
        EXPECT_NEAR(drawn.cx, whole.cx, 0.5);
        EXPECT_NEAR(drawn.cy, whole.cy, 0.5);
        EXPECT_NEAR(drawn.amount / whole.amount, 1.0, 0.15);

        // Tile by tile (64 pixels): where a tile holds ink of its own, its
        // ink lies on average within half a pixel of the PNG's, and no tile
        // holds ink only one of them has.
        double shift = 0;
        int tiles = 0;
        for (int top = 0; top < png.height; top += 64) {
            for (int left = 0; left < png.width; left += 64) {
                const int right = std::min(left + 64, png.width);
                const int bottom = std::min(top + 64, png.height);
                const Ink a = inkOf(png, left, top, right, bottom);
                const Ink b = inkOf(pdf, left, top, right, bottom);
                if (a.amount < 255 * 20 && b.amount < 255 * 20)
                    continue;
                EXPECT_NEAR(b.amount / std::max(a.amount, 1.0), 1.0, 0.35)
                    << "tile " << left << "," << top;
                shift += std::hypot(a.cx - b.cx, a.cy - b.cy);
                ++tiles;
            }
        }
        ASSERT_GT(tiles, 0);
        EXPECT_LT(shift / tiles, 0.5);
    }
}

namespace {

// A page with one line of text, through the document's context.
void drawPage(PdfDocument& document, FCFont& font, const std::string& textUtf8)
{
    DeviceContext* dc = document.beginPage();
    ASSERT_NE(dc, nullptr);
    dc->selectFont(&font);
    dc->textOut(48, 56, sj(textUtf8));
    EXPECT_TRUE(document.endPage());
}

std::unique_ptr<FCFont> pageFont()
{
    auto font = std::make_unique<FCFont>();
    font->setHeight(14);
    font->weight = 400;
    font->charset = FCFont::ShiftJisCharset;
    font->setFace(sj("@ＭＳ 明朝"));
    EXPECT_TRUE(font->create());
    return font;
}

std::string fileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(PdfDocumentTest, OutlineEntriesNameTheirSectionsAndLeadToTheirFirstPages)
{
    ASSERT_TRUE(popplerInstalled()) << "poppler-utils is needed";
    ScratchFolder folder;
    auto font = pageFont();
    const std::string path = folder / "actor.pdf";
    PdfDocument document;
    ASSERT_TRUE(document.open(FCString(path.c_str()), sj("さくら")));
    // Names that would break a link's attributes or a file path stay text.
    const std::vector<std::string> sections = {"s01_harbour", "場面/二 (夜)",
                                               "a\\b 'c' \"d\" page=9"};
    for (const std::string& section : sections) {
        document.addOutlineEntry(sj(section));
        drawPage(document, *font, "一頁目");
        drawPage(document, *font, "二頁目");
    }
    document.addOutlineEntry(sj("no page follows")); // dropped
    ASSERT_TRUE(document.close());

    EXPECT_EQ(pdfInfo(path, "Pages"), "6");
    EXPECT_EQ(pdfread::outlineTitles(path), sections);
    ASSERT_EQ(document.outline().size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(utf8(document.outline()[i].title), sections[i]);
        EXPECT_EQ(document.outline()[i].page, static_cast<int>(2 * i + 1));
    }
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(folder.files(), std::vector<std::string>{"actor.pdf"});
}

TEST(PdfDocumentTest, FailuresLeaveNothingUnderTheName)
{
    auto font = pageFont();
    {
        SCOPED_TRACE("folder missing");
        ScratchFolder folder;
        PdfDocument document;
        EXPECT_FALSE(document.open(FCString((folder / "none/x.pdf").c_str()), "x"));
        EXPECT_EQ(document.error(), PdfDocument::Error::CannotCreate);
        EXPECT_EQ(document.beginPage(), nullptr);
        EXPECT_FALSE(document.close());
        EXPECT_TRUE(folder.files().empty());
    }
    for (int after : {0, 3}) {
        SCOPED_TRACE("disk full after " + std::to_string(after) + " writes");
        ScratchFolder folder;
        const std::string path = folder / "x.pdf";
        {
            std::ofstream old(path);
            old << "older file";
        }
        FileFaults::Scope faults;
        FileFaults::fail(FileFaults::Kind::Write, WinError::DiskFull, after, -1);
        PdfDocument document;
        ASSERT_TRUE(document.open(FCString(path.c_str()), "x"));
        for (int i = 0; i < 3; ++i) {
            if (DeviceContext* dc = document.beginPage()) {
                dc->selectFont(font.get());
                dc->textOut(48, 56, sj("書けない頁"));
                document.endPage();
            }
        }
        EXPECT_FALSE(document.close());
        EXPECT_EQ(document.error(), PdfDocument::Error::CannotWrite);
        EXPECT_EQ(document.systemError(), WinError::DiskFull);
        // The older file stays as it was, and no temporary file is left.
        EXPECT_EQ(folder.files(), std::vector<std::string>{"x.pdf"});
        EXPECT_EQ(fileText(path), "older file");
    }
}

TEST(PdfDocumentTest, AbandonedOrEmptyDocumentsWriteNoFile)
{
    auto font = pageFont();
    ScratchFolder folder;
    {
        PdfDocument document;
        ASSERT_TRUE(document.open(FCString((folder / "abandoned.pdf").c_str()), "x"));
        drawPage(document, *font, "途中");
        document.abandon();
        EXPECT_FALSE(document.isOpen());
    }
    {
        PdfDocument dropped; // goes out of scope unfinished
        ASSERT_TRUE(dropped.open(FCString((folder / "dropped.pdf").c_str()), "x"));
        drawPage(dropped, *font, "途中");
    }
    {
        PdfDocument empty;
        ASSERT_TRUE(empty.open(FCString((folder / "empty.pdf").c_str()), "x"));
        EXPECT_TRUE(empty.close());
        EXPECT_EQ(empty.pageCount(), 0);
    }
    EXPECT_TRUE(folder.files().empty());
}

TEST(PdfDocumentTest, ReopeningStartsAFreshFile)
{
    ASSERT_TRUE(popplerInstalled()) << "poppler-utils is needed";
    auto font = pageFont();
    ScratchFolder folder;
    PdfDocument document;
    ASSERT_TRUE(document.open(FCString((folder / "a.pdf").c_str()), "a"));
    drawPage(document, *font, "一");
    drawPage(document, *font, "二");
    ASSERT_TRUE(document.close());
    ASSERT_TRUE(document.open(FCString((folder / "b.pdf").c_str()), "b"));
    drawPage(document, *font, "三");
    ASSERT_TRUE(document.close());
    EXPECT_EQ(pdfInfo(folder / "a.pdf", "Pages"), "2");
    EXPECT_EQ(pdfInfo(folder / "b.pdf", "Pages"), "1");
    EXPECT_EQ(
        nonEmptyLines(pdfread::shell("pdftotext -raw " + shellQuoted(folder / "b.pdf") + " -")),
        std::vector<std::string>{"三"});
}

// A document completed on one thread waits under its temporary name, in the
// folder given for it, until it is closed (it then takes its name) or let go
// (nothing is left), whether it was synced at once, later or not before its
// close; a document not complete cannot be synced.
TEST(PdfDocumentTest, ACompletedDocumentWaitsForItsNameUnderTheTemporaryOne)
{
    enum class End { Close, Abandon, Destroy };
    enum class Synced { AtOnce, Later, AtClose };
    struct Case {
        End end;
        Synced synced;
    };
    auto font = pageFont();
    std::string closedBytes;
    for (const Case c : {Case{End::Close, Synced::AtOnce}, Case{End::Abandon, Synced::AtOnce},
                         Case{End::Destroy, Synced::AtOnce}, Case{End::Close, Synced::Later},
                         Case{End::Close, Synced::AtClose}, Case{End::Abandon, Synced::Later},
                         Case{End::Destroy, Synced::AtClose}}) {
        const End end = c.end;
        SCOPED_TRACE(std::to_string(static_cast<int>(end)) + " " +
                     std::to_string(static_cast<int>(c.synced)));
        ScratchFolder folder;
        std::filesystem::create_directories(folder / "sub");
        auto document = std::make_unique<PdfDocument>();
        ASSERT_TRUE(
            document->open(FCString((folder / "sub/x.pdf").c_str()), "x", folder.destination()));
        drawPage(*document, *font, "一");
        EXPECT_FALSE(document->sync());
        ASSERT_TRUE(document->complete(c.synced == Synced::AtOnce ? PdfDocument::Sync::Now
                                                                  : PdfDocument::Sync::Later));
        if (c.synced != Synced::AtClose) {
            EXPECT_TRUE(document->sync());
        }
        EXPECT_EQ(document->beginPage(), nullptr);
        const std::vector<std::string> waiting = folder.files();
        ASSERT_EQ(waiting.size(), 1u);
        EXPECT_EQ(waiting[0].find('/'), std::string::npos) << waiting[0];
        if (end == End::Close) {
            EXPECT_TRUE(document->close());
            EXPECT_EQ(document->pageCount(), 1);
            EXPECT_EQ(folder.files(), std::vector<std::string>{"sub/x.pdf"});
            std::ifstream in(folder / "sub/x.pdf", std::ios::binary);
            const std::string bytes =
                pdfread::withoutCreationDate(std::string(std::istreambuf_iterator<char>(in), {}));
            if (closedBytes.empty())
                closedBytes = bytes;
            EXPECT_TRUE(bytes == closedBytes);
        } else {
            if (end == End::Abandon)
                document->abandon();
            document.reset();
            EXPECT_TRUE(folder.files().empty());
        }
    }
}
