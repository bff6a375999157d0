#include "ReportsTestFixture.h"
#include "render/PdfReading.h"
#include "reports/PrintRun.h"

#include <map>
#include <set>

namespace {

std::string line(const std::string& cp932)
{
    return cp932 + "\n";
}

// a: 悠人 and さくら (one page each); b: 悠人 and 店主 (two pages each); c: no
// speaking character (its row is cleared by the load); d: a second scene named "a", さくら alone
// (one page). The rows come in file-name order. PDF files go into the folder's "out/".
class PrintRunPdfTest : public ReportsTest {
protected:
    void SetUp() override
    {
        scene("a.screenplay.txt", "a", {{"悠人", 16}, {"さくら", 15}}, 31);
        scene("b.screenplay.txt", "b", {{"悠人", 30}, {"店主", 31}}, 61);
        scene("c.screenplay.txt", "c", {}, 0);
        scene("d.screenplay.txt", "a", {{"さくら", 15}}, 15);
        load();
        m_app.setDestinationFolder(destination());
        m_app.setPrintLog(false);
        m_app.setGenericScript(true);
        m_app.setOutputDevice(OutputDevice::Pdf);
    }

    std::string destination() const { return m_folder.path() + "out/"; }
    PrintRun::Outcome run(PrintRun& printRun)
    {
        UxProgressDialog progress(m_view);
        return printRun.printAll(catalogue(), progress);
    }
    // Every file below the destination and its page count (UTF-8 names).
    std::map<std::string, int> pdfFiles() const
    {
        std::map<std::string, int> files;
        if (!std::filesystem::exists(destination()))
            return files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(destination())) {
            if (entry.is_regular_file())
                files[std::filesystem::relative(entry.path(), destination()).string()] =
                    pdfread::pageCount(entry.path().string());
        }
        return files;
    }
    // The log text a PNG run of the same rows gives.
    std::string pngLog()
    {
        m_app.setOutputDevice(OutputDevice::Png);
        m_app.setDestinationFolder(m_folder.path() + "png/");
        PrintRun png(m_app);
        run(png);
        m_app.setOutputDevice(OutputDevice::Pdf);
        m_app.setDestinationFolder(destination());
        return png.logText().toStdString();
    }

    ScriptedProgressView m_view;
};

} // namespace

TEST_F(PrintRunPdfTest, OneFilePerScriptWithItsPagesAndTheLogOfAnImageRun)
{
    ASSERT_TRUE(pdfread::pdfinfoInstalled()) << "poppler-utils is needed";
    PrintRun printRun(m_app);
    const PrintRun::Outcome outcome = run(printRun);
    EXPECT_EQ(outcome.printed, 3); // c is cleared: nobody speaks in it
    EXPECT_EQ(outcome.pages, 3 + 6 + 2);
    EXPECT_EQ(outcome.pagesLost, 0);
    EXPECT_EQ(pdfFiles(), (std::map<std::string, int>{{"a/a.悠人.pdf", 1},
                                                      {"a/a.さくら.pdf", 1},
                                                      {"a/a.監督用.pdf", 1},
                                                      {"b/b.悠人.pdf", 2},
                                                      {"b/b.店主.pdf", 2},
                                                      {"b/b.監督用.pdf", 2},
                                                      {"a(2)/a(2).さくら.pdf", 1},
                                                      {"a(2)/a(2).監督用.pdf", 1}}));
    EXPECT_EQ(printRun.logText().toStdString(), pngLog());
}

TEST_F(PrintRunPdfTest, BundlesHoldEachCharactersScenesInListOrderWithTheirOutline)
{
    ASSERT_TRUE(pdfread::pdfinfoInstalled()) << "poppler-utils is needed";
    m_app.setBundleByActor(true);
    PrintRun printRun(m_app);
    const PrintRun::Outcome outcome = run(printRun);
    EXPECT_EQ(outcome.printed, 3); // c is cleared: nobody speaks in it
    EXPECT_EQ(pdfFiles(), (std::map<std::string, int>{{"悠人.pdf", 1 + 2},
                                                      {"さくら.pdf", 1 + 1},
                                                      {"店主.pdf", 2},
                                                      {"監督用.pdf", 1 + 2 + 1}}));
    const std::map<std::string, std::vector<std::string>> outlines = {
        {"悠人.pdf", {"a", "b"}},
        {"さくら.pdf", {"a", "a(2)"}},
        {"店主.pdf", {"b"}},
        {"監督用.pdf", {"a", "b", "a(2)"}},
    };
    for (const auto& [file, scenes] : outlines)
        EXPECT_EQ(pdfread::outlineTitles(destination() + file), scenes) << file;
    EXPECT_EQ(printRun.logText().toStdString(), pngLog());
}

TEST_F(PrintRunPdfTest, ADestinationThatCannotBeWrittenFailsEverySceneAndLeavesNoFile)
{
    for (const bool bundles : {false, true}) {
        SCOPED_TRACE(bundles ? "bundles" : "per script");
        // A file where the destination folder should be.
        m_folder.write("blocked", "a file");
        m_app.setDestinationFolder(m_folder.path() + "blocked/");
        m_app.setBundleByActor(bundles);
        PrintRun printRun(m_app);
        const PrintRun::Outcome outcome = run(printRun);
        EXPECT_EQ(outcome.printed, 0);
        EXPECT_EQ(outcome.failed, 3);
        EXPECT_EQ(outcome.pagesLost, 11);
        EXPECT_EQ(printRun.logText().toStdString(),
                  line(sj("; 印刷を開始します")) + "a.screenplay.txt" +
                      PrintRun::failedSuffix(3).toStdString() + "b.screenplay.txt" +
                      PrintRun::failedSuffix(6).toStdString() + "d.screenplay.txt" +
                      PrintRun::failedSuffix(2).toStdString() +
                      line(sj("; 印刷されたファイル数：0 ファイル")) + PrintRun::incompleteLine());
        const std::string notice = utf8(PrintRun::lostPagesNotice(outcome).toStdString());
        EXPECT_NE(notice.find("11 ページを含むPDFファイル"), std::string::npos) << notice;
        EXPECT_EQ(filesIn(m_folder.path(), "blocked"), std::vector<std::string>{"blocked"});
    }
}

TEST_F(PrintRunPdfTest, ABundleThatFailsAtItsCloseFailsTheScenesThatFedIt)
{
    m_app.setBundleByActor(true);
    // A folder under 悠人's bundle name: the finished file cannot take it.
    std::filesystem::create_directories(destination() + "悠人.pdf");
    PrintRun printRun(m_app);
    const PrintRun::Outcome outcome = run(printRun);
    EXPECT_EQ(outcome.printed, 1);
    EXPECT_EQ(outcome.failed, 2);
    EXPECT_EQ(outcome.pagesLost, 3);
    // a lost its page of 悠人, b its two; d has none of his.
    EXPECT_EQ(printRun.logText().toStdString(),
              line(sj("; 印刷を開始します")) + "a.screenplay.txt" +
                  PrintRun::failedSuffix(1).toStdString() + "b.screenplay.txt" +
                  PrintRun::failedSuffix(2).toStdString() + "d.screenplay.txt" +
                  PrintRun::renamedSuffix(FCString(sj("a(2)"))).toStdString() +
                  line(sj("; 印刷されたファイル数：1 ファイル")) + PrintRun::incompleteLine());
    // The other bundles are complete; nothing cut or temporary is left.
    const std::vector<std::string> left = filesIn(destination(), "");
    EXPECT_EQ(std::set<std::string>(left.begin(), left.end()),
              (std::set<std::string>{"さくら.pdf", "悠人.pdf", "店主.pdf", "監督用.pdf"}));
    EXPECT_TRUE(std::filesystem::is_directory(destination() + "悠人.pdf"));
}

TEST_F(PrintRunPdfTest, ACancelledRunClosesTheBundlesWithTheScenesPrinted)
{
    ASSERT_TRUE(pdfread::pdfinfoInstalled()) << "poppler-utils is needed";
    m_app.setBundleByActor(true);
    m_view.cancelAfterSteps(1);
    PrintRun printRun(m_app);
    const PrintRun::Outcome outcome = run(printRun);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.printed, 1);
    EXPECT_EQ(pdfFiles(),
              (std::map<std::string, int>{{"悠人.pdf", 1}, {"さくら.pdf", 1}, {"監督用.pdf", 1}}));
    EXPECT_EQ(pdfread::outlineTitles(destination() + "悠人.pdf"), std::vector<std::string>{"a"});
}
