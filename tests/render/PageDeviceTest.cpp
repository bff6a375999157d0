#include "render/PageDevice.h"

#include "PageTestSupport.h"
#include "PngTestReader.h"
#include "TestText.h"
#include "platform/FileFaults.h"
#include "platform/PngWriter.h"
#include "platform/TextCodec.h"
#include "platform/Trace.h"
#include "platform/WinError.h"
#include "render/DeviceContext.h"
#include "render/FCVSurface.h"
#include "render/PageImageSink.h"
#include "render/PrinterPageSink.h"
#include "render/RecordingDeviceContext.h"
#include "render/RunContext.h"
#include "render/SceneRenderer.h"
#include "render/ScriptPrinter.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <png.h>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using pagetest::ScratchFolder;

namespace {

std::vector<uint8_t> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

uint32_t le32(const std::vector<uint8_t>& b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t(b[at + 3]) << 24);
}

uint16_t le16(const std::vector<uint8_t>& b, std::size_t at)
{
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

// A mark of 3 x 4 black pixels at a known place of the drawn page.
const FCRect mark{100, 20, 103, 24};

void drawMark(PageDevice& device)
{
    DeviceContext* dc = device.deviceContext();
    ASSERT_NE(dc, nullptr);
    DeviceContext::Brush black;
    black.kind = DeviceContext::BrushKind::Solid;
    black.grey = 0;
    dc->fillRect(mark, black);
}

} // namespace

TEST(PageDeviceTest, ImagePageIsAWhitePortraitPageAtScreenResolution)
{
    PageDevice device;
    device.open(false, true);
    const FCVSurface* page = device.pageSurface();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->width(), 864);
    EXPECT_EQ(page->height(), 1152);
    int notWhite = 0;
    for (int y = 0; y < page->height(); ++y)
        for (int x = 0; x < page->width(); ++x)
            notWhite += *page->pixel(x, y) != 255;
    EXPECT_EQ(notWhite, 0);
    ASSERT_NE(device.deviceContext(), nullptr);
    EXPECT_EQ(device.deviceContext()->logPixelsX(), 96);
    EXPECT_EQ(device.deviceContext()->logPixelsY(), 96);
    device.release();
    EXPECT_EQ(device.pageSurface(), nullptr);
    EXPECT_EQ(device.deviceContext(), nullptr);
}

TEST(PageDeviceTest, BmpIsTheTurnedPageWithTheExactHeader)
{
    ScratchFolder folder;
    PageDevice device;
    device.open(false, true);
    drawMark(device);
    // The extension is forced to ".bmp".
    ASSERT_TRUE(device.save((folder / "page.txt").c_str(), false));
    EXPECT_FALSE(std::filesystem::exists(folder / "page.txt"));
    const std::vector<uint8_t> bmp = readFile(folder / "page.bmp");

    ASSERT_EQ(bmp.size(), 1152u * 864u + 1078u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(le32(bmp, 2), 1152u * 864u + 1078u);
    EXPECT_EQ(le32(bmp, 6), 0u);
    EXPECT_EQ(le32(bmp, 10), 1078u);
    EXPECT_EQ(le32(bmp, 14), 40u);
    EXPECT_EQ(le32(bmp, 18), 1152u);
    EXPECT_EQ(le32(bmp, 22), 864u);
    EXPECT_EQ(le16(bmp, 26), 1u);
    EXPECT_EQ(le16(bmp, 28), 8u);
    for (std::size_t at = 30; at < 54; at += 4)
        EXPECT_EQ(le32(bmp, at), 0u) << "info header offset " << at;
    for (uint32_t i = 0; i < 256; ++i)
        ASSERT_EQ(le32(bmp, 54 + 4 * i), i | (i << 8) | (i << 16)) << "palette entry " << i;

    // Source (x, y) lands at (1151 - y, x); rows are stored bottom-up.
    auto at = [&](int x, int y) {
        return bmp[1078 + std::size_t(863 - y) * 1152 + std::size_t(x)];
    };
    int black = 0;
    for (int y = 0; y < 864; ++y)
        for (int x = 0; x < 1152; ++x)
            black += at(x, y) == 0;
    EXPECT_EQ(black, mark.width() * mark.height());
    for (int y = mark.top; y < mark.bottom; ++y)
        for (int x = mark.left; x < mark.right; ++x)
            EXPECT_EQ(at(1151 - y, x), 0) << "source " << x << "," << y;
}

TEST(PageDeviceTest, PngIsTheTurnedPageInEqualChannels)
{
    ScratchFolder folder;
    PageDevice device;
    device.open(false, true);
    drawMark(device);
    ASSERT_TRUE(device.save((folder / "page.bmp").c_str(), true));
    EXPECT_FALSE(std::filesystem::exists(folder / "page.bmp"));

    DecodedPng png = readPng(folder / "page.png");
    ASSERT_TRUE(png.ok);
    EXPECT_EQ(png.width, 1152u);
    EXPECT_EQ(png.height, 864u);
    EXPECT_EQ(png.bitDepth, 8);
    EXPECT_EQ(png.colourType, PNG_COLOR_TYPE_RGB);
    EXPECT_EQ(png.interlace, PNG_INTERLACE_NONE);
    ASSERT_EQ(png.rows.size(), 864u);
    ASSERT_EQ(png.rows[0].size(), 1152u * 3u);

    int unequal = 0;
    int black = 0;
    for (int y = 0; y < 864; ++y) {
        for (int x = 0; x < 1152; ++x) {
            const uint8_t* p = &png.rows[std::size_t(y)][std::size_t(x) * 3];
            unequal += p[0] != p[1] || p[1] != p[2];
            black += p[0] == 0;
        }
    }
    EXPECT_EQ(unequal, 0);
    EXPECT_EQ(black, mark.width() * mark.height());
    for (int y = mark.top; y < mark.bottom; ++y)
        for (int x = mark.left; x < mark.right; ++x)
            EXPECT_EQ(png.rows[std::size_t(x)][std::size_t(1151 - y) * 3], 0)
                << "source " << x << "," << y;
}

TEST(PageDeviceTest, PngOverwritesAnEarlierFile)
{
    ScratchFolder folder;
    {
        std::ofstream old(folder / "page.png");
        old << "old";
    }
    PageDevice device;
    device.open(false, true);
    ASSERT_TRUE(device.save((folder / "page.png").c_str(), true));
    EXPECT_TRUE(readPng(folder / "page.png").ok);
}

TEST(PageDeviceTest, LandscapeImageIsSavedUnturned)
{
    ScratchFolder folder;
    PageDevice device;
    device.open(true, true);
    drawMark(device);
    ASSERT_TRUE(device.save((folder / "page.bmp").c_str(), false));
    const std::vector<uint8_t> bmp = readFile(folder / "page.bmp");
    ASSERT_EQ(bmp.size(), 864u * 1152u + 1078u);
    EXPECT_EQ(le32(bmp, 18), 864u);
    EXPECT_EQ(le32(bmp, 22), 1152u);
    EXPECT_EQ(bmp[1078 + std::size_t(1151 - mark.top) * 864 + std::size_t(mark.left)], 0);
}

TEST(PageDeviceTest, ImagePageTakesNoPrinterStepsAndWritesNothingWithoutAPage)
{
    ScratchFolder folder;
    PageDevice device;
    EXPECT_FALSE(device.save((folder / "none.bmp").c_str(), false)) << "nothing opened yet";
    device.open(false, true);
    testing::internal::CaptureStderr();
    const bool tracing = Trace::enabled();
    Trace::setEnabled(true);
    device.logJobs();
    device.startDocument(FCString("hoge"), nullptr);
    device.endDocument();
    Trace::setEnabled(tracing);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(device.documentTitle().isEmpty());
    EXPECT_FALSE(device.isPrinterOpen());
    EXPECT_TRUE(folder.files().empty());
}

namespace {

// Runs body with the printer system pointed at a server that is not there,
// on a thread of its own: the printing library keeps its server per thread,
// read from the environment on first use. No page can reach a real printer.
std::string withoutPrinters(const std::function<void()>& body)
{
    ScratchFolder home;
    std::vector<std::pair<std::string, std::string>> saved;
    for (const char* name : {"CUPS_SERVER", "LPDEST", "PRINTER", "HOME"}) {
        const char* value = std::getenv(name);
        saved.push_back({name, value ? value : std::string("\x01")});
    }
    ::setenv("CUPS_SERVER", (home / "no-cupsd.sock").c_str(), 1);
    ::unsetenv("LPDEST");
    ::unsetenv("PRINTER");
    ::setenv("HOME", home.path().c_str(), 1);

    const bool tracing = Trace::enabled();
    Trace::setEnabled(true);
    testing::internal::CaptureStderr();
    std::thread(body).join();
    std::string traces = testing::internal::GetCapturedStderr();
    Trace::setEnabled(tracing);

    for (const auto& [name, value] : saved) {
        if (value == "\x01")
            ::unsetenv(name.c_str());
        else
            ::setenv(name.c_str(), value.c_str(), 1);
    }
    return traces;
}

} // namespace

TEST(PageDeviceTest, MissingPrinterIsTracedAndThePageGoesNowhere)
{
    bool hadContext = true;
    bool open = true;
    std::string title;
    const std::string traces = withoutPrinters([&] {
        PageDevice device;
        device.open(false, false);
        hadContext = device.deviceContext() != nullptr;
        open = device.isPrinterOpen();
        device.logJobs();
        device.startDocument(FCString("hoge"), nullptr);
        title = device.documentTitle().toStdString();
        device.endDocument();
        device.release();
    });
    EXPECT_FALSE(hadContext);
    EXPECT_FALSE(open);
    EXPECT_EQ(title, "hoge");
    EXPECT_EQ(traces, "OpenPrinter DocTitle: filename: error:19\n"
                      "CreateDC DocTitle: filename: error:19\n"
                      "StartDoc DocTitle:hoge filename: error:19\n");
}

TEST(PageDeviceTest, PrinterRunWithoutPrinterStillWalksEveryPage)
{
    ScratchFolder folder;
    ScriptPrinter printer;
    printer.setOptions(1);
    ASSERT_TRUE(printer.setLinesPerPage(1));
    printer.loadText(sj(".scene\ts\n.chara\t1\n.c\t2\n.total\t2\n000001 c「a」\n000002 c「b」\n"));
    ASSERT_EQ(printer.pageCount(), 2);
    PrinterPageSink printerPages;
    pagetest::RecordingSink observer(&printerPages);
    const std::string traces = withoutPrinters([&] { pagetest::printScene(printer, observer); });

    // Two pages for the character and two of the director's copy, each
    // drawn (into the recorder only) and none written to a file.
    ASSERT_EQ(observer.pages().size(), 4u);
    for (const auto& recorded : observer.pages()) {
        EXPECT_FALSE(recorded.hadDevice);
        EXPECT_TRUE(recorded.path.empty());
        EXPECT_FALSE(recorded.dc->operations(RecordingDeviceContext::Kind::TextOut).empty());
    }
    EXPECT_TRUE(folder.files().empty());
    // Every page is lost: no printer was reached.
    EXPECT_EQ(printerPages.pages(), 4);
    EXPECT_EQ(printerPages.lostPages(), 4);
    // Every page looks for the printer again.
    std::size_t found = 0;
    for (std::size_t at = traces.find("OpenPrinter"); at != std::string::npos;
         at = traces.find("OpenPrinter", at + 1))
        ++found;
    EXPECT_EQ(found, 4u);
}

namespace {

// A scene of its name with two speakers and lines enough for several pages.
std::string generatedScene(const std::string& name, int lines)
{
    std::string text = ".scene\t" + name + "\n.chara\t2\n.悠人\t1\n.さくら\t1\n.total\t2\n";
    for (int i = 0; i < lines; ++i) {
        char number[16];
        std::snprintf(number, sizeof number, "%06d ", i + 1);
        text += number + std::string(i % 2 ? "悠人" : "さくら") + "「潮風が吹く港で、" +
                std::to_string(i * 7 + name.size()) + "回目の灯台を見上げていた。」\n";
    }
    return sj(text);
}

// The page as its PNG file must show it: turned clockwise, rows top down.
std::vector<uint8_t> turnedGrey(const FCVSurface& page)
{
    std::vector<uint8_t> out;
    const int turnedWidth = page.height();
    const int turnedHeight = page.width();
    out.resize(std::size_t(turnedWidth) * std::size_t(turnedHeight));
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            out[std::size_t(x) * std::size_t(turnedWidth) + std::size_t(page.height() - 1 - y)] =
                *page.pixel(x, y);
    return out;
}

} // namespace

TEST(PageDeviceTest, PngPagesOfSeveralScenesDecodeToTheDrawnPixels)
{
    ScratchFolder folder;
    std::vector<std::pair<std::string, std::vector<uint8_t>>> drawn;
    {
        // As a print run does: one sink, and so one pipeline, for all the
        // scenes.
        PageImageSink pages(FCString(folder.destination().c_str()), PageImageSink::Format::Png);
        RunContext quiet;
        for (const char* scene : {"s1", "s2", "s3"}) {
            ScriptPrinter printer;
            printer.setOptions(1);
            ASSERT_TRUE(printer.setLinesPerPage(12));
            printer.loadText(generatedScene(scene, 20 + int(drawn.size())));
            pagetest::RecordingSink observer(&pages, true);
            observer.onClosed([&](const pagetest::RecordingSink::Recorded& recorded) {
                ASSERT_NE(pages.pageSurface(), nullptr);
                drawn.emplace_back(TextCodec::toUtf8(recorded.path),
                                   turnedGrey(*pages.pageSurface()));
            });
            SceneRenderer renderer(printer, observer, quiet);
            observer.beginScene();
            ASSERT_TRUE(renderer.printAll());
            observer.endScene(true);
        }
        pages.finish();
        EXPECT_EQ(pages.lostPages(), 0);
    }
    ASSERT_GE(drawn.size(), 9u);
    int inked = 0;
    for (const auto& [path, grey] : drawn) {
        DecodedPng png = readPng(path);
        ASSERT_TRUE(png.ok) << path;
        ASSERT_EQ(png.width, 1152u);
        ASSERT_EQ(png.height, 864u);
        std::vector<uint8_t> decoded;
        decoded.reserve(grey.size());
        int unequal = 0;
        for (const std::vector<uint8_t>& row : png.rows) {
            for (std::size_t x = 0; x < row.size(); x += 3) {
                unequal += row[x] != row[x + 1] || row[x] != row[x + 2];
                decoded.push_back(row[x]);
            }
        }
        EXPECT_EQ(unequal, 0) << path;
        EXPECT_TRUE(decoded == grey) << path;
        inked += std::count(grey.begin(), grey.end(), uint8_t(0)) > 0;
    }
    // The pages hold text, not blank paper.
    EXPECT_GT(inked, 0);
}

TEST(PageDeviceTest, BmpPagesAreTheBytesTheSurfaceWritesAndCutALongerFile)
{
    ScratchFolder folder;
    for (const bool landscape : {false, true}) {
        PageDevice device;
        device.open(landscape, true);
        drawMark(device);
        const std::string name = landscape ? "landscape" : "portrait";
        {
            // An older, longer file under the name is cut to the page.
            std::ofstream old(folder / (name + ".bmp"), std::ios::binary);
            old << std::string(1152 * 864 + 5000, 'x');
        }
        ASSERT_TRUE(device.save((folder / name).c_str(), false));
        const FCVSurface& page = *device.pageSurface();
        std::unique_ptr<FCVSurface> turned = landscape ? nullptr : page.turnedClockwise();
        ASSERT_TRUE((turned ? *turned : page).saveBmp((folder / (name + "-surface.bmp")).c_str()));
        EXPECT_EQ(readFile(folder / (name + ".bmp")), readFile(folder / (name + "-surface.bmp")))
            << name;
    }
}

TEST(PageDeviceTest, ABmpPageIsOneWrite)
{
    ScratchFolder folder;
    PageDevice device;
    device.open(false, true);
    drawMark(device);
    // Every write after the first fails: a page written in two goes.
    FileFaults::Scope faults;
    FileFaults::fail(FileFaults::Kind::Write, WinError::DiskFull, 1, -1);
    ASSERT_TRUE(device.save((folder / "page.bmp").c_str(), false));
    FileFaults::reset();
    EXPECT_EQ(readFile(folder / "page.bmp").size(), 1152u * 864u + 1078u);
}

TEST(PageDeviceTest, ABmpPageThatCannotBeWrittenLeavesNoFile)
{
    ScratchFolder folder;
    PageDevice device;
    device.open(false, true);
    FileFaults::Scope faults;
    FileFaults::fail(FileFaults::Kind::Write, WinError::DiskFull, 0, -1);
    EXPECT_FALSE(device.save((folder / "page.bmp").c_str(), false));
    FileFaults::reset();
    EXPECT_TRUE(folder.files().empty());
}
