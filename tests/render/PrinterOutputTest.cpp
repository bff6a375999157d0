#include "CupsTestServer.h"
#include "PageTestSupport.h"
#include "TestText.h"
#include "render/PrinterPageSink.h"
#include "render/ScriptPrinter.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Pixels darker than the page's white: ink.
long inkOf(const CupsTestServer::RasterPage& page)
{
    long ink = 0;
    for (unsigned char value : page.pixels)
        ink += value < 128 ? 1 : 0;
    return ink;
}

// A scene of two characters, one line a page: each character's script has
// as many pages as the scene, and so has the director's copy.
const char* const scene = ".scene\tprinter scene\n"
                          ".chara\t2\n"
                          ".アキ\t2\n"
                          ".ハル\t1\n"
                          ".total\t3\n"
                          "000001 アキ「おはよう」\n"
                          "000002 ハル「おはよう、アキ」\n"
                          "000003 アキ「いい天気だね」\n";

TEST(PrinterOutputTest, EveryPageOfTheRunIsOneJobNamedByItsScriptAndPage)
{
    CupsTestServer server;
    if (!server.running())
        GTEST_SKIP() << server.failure();
    // A4 at a low resolution keeps the drawing quick.
    ASSERT_TRUE(server.setQueueDefaults("iso_a4_210x297mm", 150));

    ScriptPrinter printer;
    printer.setOptions(ScriptPrinter::OptionGenericScript);
    ASSERT_TRUE(printer.setLinesPerPage(1));
    printer.loadText(sj(scene));
    const int pages = printer.pageCount();
    ASSERT_EQ(pages, 3);
    printer.buildBackgroundPattern();
    PrinterPageSink sink;
    pagetest::printScene(printer, sink);
    EXPECT_EQ(sink.pages(), 3 * pages);
    EXPECT_EQ(sink.lostPages(), 0);

    // Both characters' scripts and the director's copy.
    const std::size_t expectedJobs = static_cast<std::size_t>(3 * pages);
    const auto jobs = server.waitForFinishedJobs(expectedJobs, 60000);
    ASSERT_EQ(jobs.size(), expectedJobs);
    // The queue lists each job as scene ("printer": the name ends at its
    // first blank), script and page, in print order.
    std::vector<std::string> titles;
    for (const char* script : {"アキ", "ハル", "監督用"})
        for (int page = 1; page <= pages; ++page)
            titles.push_back(std::string("printer ") + script + " " + std::to_string(page) + "/" +
                             std::to_string(pages));
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        const CupsTestServer::Job& job = jobs[i];
        SCOPED_TRACE("job " + std::to_string(job.id));
        EXPECT_EQ(job.title, titles[i]);
        EXPECT_EQ(job.state, IPP_JSTATE_COMPLETED);
        const auto raster = CupsTestServer::readRaster(server.documentFile(job.id));
        ASSERT_TRUE(raster.has_value()) << "not PWG raster: " << server.documentFile(job.id);
        ASSERT_EQ(raster->size(), 1u);
        const CupsTestServer::RasterPage& page = raster->front();
        // Portrait A4 at the queue's 150 dots per inch.
        EXPECT_EQ(page.header.cupsWidth, 1240u);
        EXPECT_EQ(page.header.cupsHeight, 1753u);
        EXPECT_EQ(page.header.HWResolution[0], 150u);
        EXPECT_EQ(page.header.HWResolution[1], 150u);
        EXPECT_EQ(page.header.cupsBitsPerPixel, 8u);
        // Every page carries at least its header.
        EXPECT_GT(inkOf(page), 0);
    }
}

TEST(PrinterOutputTest, AnExcludedCharacterSendsNoJob)
{
    CupsTestServer server;
    if (!server.running())
        GTEST_SKIP() << server.failure();
    // Small pages keep the run quick.
    ASSERT_TRUE(server.setQueueDefaults("na_index-4x6_4x6in", 100));

    ScriptPrinter printer;
    printer.setOptions(0);
    ASSERT_TRUE(printer.setLinesPerPage(1));
    printer.loadText(sj(scene));
    ASSERT_TRUE(printer.exclude(FCString(sj("ハル").c_str())));
    PrinterPageSink sink;
    pagetest::printScene(printer, sink);

    const auto jobs = server.waitForFinishedJobs(3);
    ASSERT_EQ(jobs.size(), 3u);
    for (const CupsTestServer::Job& job : jobs) {
        SCOPED_TRACE("job " + std::to_string(job.id));
        const auto raster = CupsTestServer::readRaster(server.documentFile(job.id));
        ASSERT_TRUE(raster.has_value());
        ASSERT_EQ(raster->size(), 1u);
        EXPECT_EQ(raster->front().header.cupsWidth, 400u);
        EXPECT_EQ(raster->front().header.cupsHeight, 600u);
    }
}

} // namespace
