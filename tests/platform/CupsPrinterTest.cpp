#include "platform/CupsPrinter.h"

#include "CupsTestServer.h"

#include <cerrno>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

#define START_CUPS(server, mode)                                                                   \
    CupsTestServer server(mode);                                                                   \
    if (!server.running())                                                                         \
    GTEST_SKIP() << server.failure()

// A grey page with a black rectangle, rows `stride` bytes apart; the bytes
// past the width are filled with a value that must never reach the page.
struct TestPage {
    CupsPrinter::PageGeometry geometry;
    int stride = 0;
    std::vector<uint8_t> pixels;
    int markLeft = 0, markTop = 0, markRight = 0, markBottom = 0;

    TestPage(const CupsPrinter::PageGeometry& g, int padding) : geometry(g)
    {
        stride = g.widthPixels + padding;
        pixels.assign(static_cast<std::size_t>(stride) * g.heightPixels, 77);
        markLeft = g.widthPixels / 4;
        markTop = g.heightPixels / 3;
        markRight = markLeft + g.widthPixels / 5;
        markBottom = markTop + g.heightPixels / 7;
        for (int y = 0; y < g.heightPixels; ++y)
            for (int x = 0; x < g.widthPixels; ++x)
                pixels[static_cast<std::size_t>(y) * stride + x] = expected(x, y);
    }
    uint8_t expected(int x, int y) const
    {
        const bool inMark = x >= markLeft && x < markRight && y >= markTop && y < markBottom;
        return inMark ? 0 : 200;
    }
    int print(const std::string& printer, const std::string& title, std::string& call) const
    {
        return CupsPrinter::printPage(printer, title, geometry, pixels.data(), stride, call);
    }
};

// The first pixel where a read-back page differs from what was sent, or -1.
long firstDifference(const CupsTestServer::RasterPage& page, const TestPage& sent)
{
    for (int y = 0; y < sent.geometry.heightPixels; ++y)
        for (int x = 0; x < sent.geometry.widthPixels; ++x)
            if (page.at(static_cast<unsigned>(x), static_cast<unsigned>(y)) != sent.expected(x, y))
                return static_cast<long>(y) * sent.geometry.widthPixels + x;
    return -1;
}

// A small page keeps the round trip quick.
CupsPrinter::PageGeometry smallQueueGeometry(const CupsTestServer& server)
{
    EXPECT_TRUE(server.setQueueDefaults("na_index-4x6_4x6in", 100));
    CupsPrinter::PageGeometry geometry;
    EXPECT_TRUE(CupsPrinter::pageGeometry(CupsTestServer::QueueName, geometry));
    return geometry;
}

TEST(CupsPrinterTest, DefaultPrinterNamesTheServersDefaultQueue)
{
    START_CUPS(server, CupsTestServer::Mode::WithQueue);
    std::string name = "stale";
    ASSERT_TRUE(CupsPrinter::defaultPrinter(name));
    EXPECT_EQ(name, CupsTestServer::QueueName);
}

// The user's choice of default (here LPDEST, which the server object puts
// back when it goes) wins over the server's, an instance included, and the
// name it gives is one the other calls take.
TEST(CupsPrinterTest, DefaultPrinterKeepsTheInstanceTheUserChose)
{
    START_CUPS(server, CupsTestServer::Mode::WithQueue);
    const CupsPrinter::PageGeometry plain = smallQueueGeometry(server);
    ::setenv("LPDEST", "quillon-test/draft", 1);
    std::string name;
    ASSERT_TRUE(CupsPrinter::defaultPrinter(name));
    EXPECT_EQ(name, "quillon-test/draft");

    CupsPrinter::PageGeometry geometry;
    ASSERT_TRUE(CupsPrinter::pageGeometry(name, geometry));
    EXPECT_EQ(geometry.widthPixels, plain.widthPixels);
    EXPECT_EQ(geometry.heightPixels, plain.heightPixels);
    EXPECT_EQ(CupsPrinter::jobCount(name), 0);
    std::string call;
    EXPECT_EQ(TestPage(geometry, 0).print(name, "hoge", call), 0) << call;
    const auto jobs = server.waitForFinishedJobs(1);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].title, "hoge");
}

TEST(CupsPrinterTest, PageGeometryWithoutQueueDefaultsIsPortraitA4At600Dpi)
{
    START_CUPS(server, CupsTestServer::Mode::WithQueue);
    CupsPrinter::PageGeometry geometry;
    geometry.dotsPerInch = 1;
    ASSERT_TRUE(CupsPrinter::pageGeometry(CupsTestServer::QueueName, geometry));
    EXPECT_EQ(geometry.dotsPerInch, 600);
    // 210 x 297 mm at 600 dots per inch, truncated.
    EXPECT_EQ(geometry.widthPixels, 4960);
    EXPECT_EQ(geometry.heightPixels, 7015);
    EXPECT_GT(geometry.heightPixels, geometry.widthPixels);
}

TEST(CupsPrinterTest, PageGeometryFollowsTheQueuesDefaultMediaAndResolution)
{
    struct Case {
        const char* media;
        int dpi;
        int width;
        int height;
    };
    const Case cases[] = {
        {"iso_a5_148x210mm", 300, 1748, 2480},
        {"na_letter_8.5x11in", 200, 1700, 2200},
        {"iso_b5_176x250mm", 150, 1039, 1476},
        // Named the wide way round: the page is still portrait.
        {"na_ledger_11x17in", 100, 1100, 1700},
    };
    START_CUPS(server, CupsTestServer::Mode::WithQueue);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.media);
        ASSERT_TRUE(server.setQueueDefaults(c.media, c.dpi)) << server.log();
        CupsPrinter::PageGeometry geometry;
        ASSERT_TRUE(CupsPrinter::pageGeometry(CupsTestServer::QueueName, geometry));
        EXPECT_EQ(geometry.dotsPerInch, c.dpi);
        EXPECT_EQ(geometry.widthPixels, c.width);
        EXPECT_EQ(geometry.heightPixels, c.height);
    }
}

TEST(CupsPrinterTest, EachPageIsOneJobHoldingOnePwgRasterPageAsSent)
{
    START_CUPS(server, CupsTestServer::Mode::WithQueue);
    const CupsPrinter::PageGeometry geometry = smallQueueGeometry(server);
    ASSERT_EQ(geometry.widthPixels, 400);
    ASSERT_EQ(geometry.heightPixels, 600);
    // Rows padded as a surface pads them, and not padded at all.
    const TestPage pages[] = {TestPage(geometry, 3), TestPage(geometry, 0)};
    for (const TestPage& page : pages) {
        std::string call = "stale";
        EXPECT_EQ(page.print(CupsTestServer::QueueName, "hoge", call), 0) << call;
        EXPECT_EQ(call, "");
    }

    const auto jobs = server.waitForFinishedJobs(2);
    ASSERT_EQ(jobs.size(), 2u);
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        SCOPED_TRACE("job " + std::to_string(jobs[i].id));
        EXPECT_EQ(jobs[i].title, "hoge");
        EXPECT_EQ(jobs[i].state, IPP_JSTATE_COMPLETED);
        const auto raster = CupsTestServer::readRaster(server.documentFile(jobs[i].id));
        ASSERT_TRUE(raster.has_value()) << "not PWG raster: " << server.documentFile(jobs[i].id);
        ASSERT_EQ(raster->size(), 1u);
        const cups_page_header2_t& header = raster->front().header;
        EXPECT_EQ(header.cupsWidth, 400u);
        EXPECT_EQ(header.cupsHeight, 600u);
        EXPECT_EQ(header.HWResolution[0], 100u);
        EXPECT_EQ(header.HWResolution[1], 100u);
        EXPECT_EQ(header.cupsBitsPerPixel, 8u);
        EXPECT_EQ(header.cupsColorSpace, CUPS_CSPACE_SW);
        EXPECT_EQ(raster->front().at(static_cast<unsigned>(pages[i].markLeft),
                                     static_cast<unsigned>(pages[i].markTop)),
                  0);
        EXPECT_EQ(firstDifference(raster->front(), pages[i]), -1);
    }
}

TEST(CupsPrinterTest, AJobTitleIsSentAsGiven)
{
    START_CUPS(server, CupsTestServer::Mode::WithQueue);
    const TestPage page(smallQueueGeometry(server), 0);
    const std::string title = "\xE5\x8F\xB0\xE6\x9C\xAC \"hoge\""; // UTF-8, as the job takes it
    std::string call;
    ASSERT_EQ(page.print(CupsTestServer::QueueName, title, call), 0) << call;
    const auto jobs = server.waitForFinishedJobs(1);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].title, title);
}

TEST(CupsPrinterTest, JobCountCountsTheJobsAStoppedQueueHolds)
{
    START_CUPS(server, CupsTestServer::Mode::WithQueue);
    const TestPage page(smallQueueGeometry(server), 0);
    EXPECT_EQ(CupsPrinter::jobCount(CupsTestServer::QueueName), 0);
    ASSERT_TRUE(server.pauseQueue());
    std::string call;
    ASSERT_EQ(page.print(CupsTestServer::QueueName, "hoge", call), 0) << call;
    ASSERT_EQ(page.print(CupsTestServer::QueueName, "hoge", call), 0) << call;
    EXPECT_EQ(CupsPrinter::jobCount(CupsTestServer::QueueName), 2);

    ASSERT_TRUE(server.resumeQueue());
    EXPECT_EQ(server.waitForFinishedJobs(2).size(), 2u);
    EXPECT_EQ(CupsPrinter::jobCount(CupsTestServer::QueueName), 0);
}

TEST(CupsPrinterTest, AQueueRefusingJobsFailsAtStartDocLeavingNoJob)
{
    START_CUPS(server, CupsTestServer::Mode::WithQueue);
    const TestPage page(smallQueueGeometry(server), 0);
    ASSERT_TRUE(server.rejectJobs());
    std::string call;
    EXPECT_NE(page.print(CupsTestServer::QueueName, "hoge", call), 0);
    EXPECT_EQ(call, "StartDoc");
    EXPECT_TRUE(server.jobs().empty());
}

TEST(CupsPrinterTest, PagesThatCannotBeDescribedAreRefusedBeforeAnyJob)
{
    START_CUPS(server, CupsTestServer::Mode::WithQueue);
    const CupsPrinter::PageGeometry good = smallQueueGeometry(server);
    std::vector<uint8_t> pixels(static_cast<std::size_t>(good.widthPixels) * good.heightPixels,
                                255);
    struct Case {
        const char* what;
        int dpi, width, height, stride;
        bool withPixels;
    };
    const Case cases[] = {
        {"no pixels", good.dotsPerInch, good.widthPixels, good.heightPixels, good.widthPixels,
         false},
        {"rows shorter than the page", good.dotsPerInch, good.widthPixels, good.heightPixels,
         good.widthPixels - 1, true},
        {"no resolution", 0, good.widthPixels, good.heightPixels, good.widthPixels, true},
        {"no width", good.dotsPerInch, 0, good.heightPixels, good.widthPixels, true},
        {"negative height", good.dotsPerInch, good.widthPixels, -5, good.widthPixels, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CupsPrinter::PageGeometry geometry;
        geometry.dotsPerInch = c.dpi;
        geometry.widthPixels = c.width;
        geometry.heightPixels = c.height;
        std::string call;
        EXPECT_EQ(CupsPrinter::printPage(CupsTestServer::QueueName, "hoge", geometry,
                                         c.withPixels ? pixels.data() : nullptr, c.stride, call),
                  EINVAL);
        EXPECT_EQ(call, "CreateDC");
    }
    EXPECT_TRUE(server.jobs().empty());
}

// Without a default destination (an empty server, or none answering) the
// printer is not found, and printing is an error, never a crash.
TEST(CupsPrinterTest, WithoutADefaultDestinationNothingIsFoundAndPrintingFails)
{
    for (const auto mode : {CupsTestServer::Mode::WithoutQueue, CupsTestServer::Mode::ClosedPort}) {
        SCOPED_TRACE(mode == CupsTestServer::Mode::ClosedPort ? "closed port" : "no queue");
        START_CUPS(server, mode);
        std::string name = "stale";
        EXPECT_FALSE(CupsPrinter::defaultPrinter(name));
        EXPECT_EQ(name, "");

        CupsPrinter::PageGeometry geometry;
        EXPECT_FALSE(CupsPrinter::pageGeometry(CupsTestServer::QueueName, geometry));
        geometry.widthPixels = 40;
        geometry.heightPixels = 60;
        geometry.dotsPerInch = 10;
        const TestPage page(geometry, 0);
        for (const char* printer : {"Not", CupsTestServer::QueueName}) {
            std::string call;
            EXPECT_NE(page.print(printer, "hoge", call), 0) << printer;
            EXPECT_EQ(call, "OpenPrinter") << printer;
        }
        if (mode == CupsTestServer::Mode::ClosedPort)
            EXPECT_EQ(CupsPrinter::jobCount("Not"), -1);
        else
            EXPECT_TRUE(server.jobs().empty());
    }
}

} // namespace
