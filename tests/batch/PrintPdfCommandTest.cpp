#include "BatchTestSupport.h"
#include "batch/PrintCommand.h"
#include "render/PdfReading.h"
#include "reports/PrintRun.h"

#include <map>

namespace {

// a: 悠人 and さくら (one page each); b: 悠人 and 店主 (two pages each); c:
// nobody (cleared by the load).
class PrintPdfCommandTest : public BatchFolderTest {
protected:
    std::string dest() const { return m_out.path() + "pdf/"; }
    std::string logFile() const { return m_out.path() + "print.log"; }
    CommandRun print(std::vector<std::string> words)
    {
        words.insert(words.begin(), folder());
        return runCommand(PrintCommand::run, words);
    }
    // Every file below the destination with its page count.
    std::map<std::string, int> files() const
    {
        std::map<std::string, int> out;
        if (!std::filesystem::exists(dest()))
            return out;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dest())) {
            if (entry.is_regular_file())
                out[std::filesystem::relative(entry.path(), dest()).string()] =
                    pdfread::pageCount(entry.path().string());
        }
        return out;
    }
    ScenarioTestFolder m_out;
};

} // namespace

TEST_F(PrintPdfCommandTest, PrintsOnePdfPerScriptAndLogsAsForImages)
{
    ASSERT_TRUE(pdfread::pdfinfoInstalled()) << "poppler-utils is needed";
    const CommandRun run =
        print({"--device", "pdf", "--generic", "--dest", dest(), "--log", logFile()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(files(), (std::map<std::string, int>{{"a/a.悠人.pdf", 1},
                                                   {"a/a.さくら.pdf", 1},
                                                   {"a/a.監督用.pdf", 1},
                                                   {"b/b.悠人.pdf", 2},
                                                   {"b/b.店主.pdf", 2},
                                                   {"b/b.監督用.pdf", 2}}));
    EXPECT_EQ(run.out, "2 scene(s) printed, 9 page(s) in " + dest() + "\nlog: " + logFile() + "\n");
    const std::string pdfLog = fileBytes(logFile());
    ASSERT_EQ(print({"--generic", "--dest", m_out.path() + "png/", "--log", logFile()}).status, 0);
    EXPECT_EQ(pdfLog, fileBytes(logFile()));
}

TEST_F(PrintPdfCommandTest, BundlesOneFilePerCharacterWithTheDirectorsCopy)
{
    ASSERT_TRUE(pdfread::pdfinfoInstalled()) << "poppler-utils is needed";
    const CommandRun run =
        print({"--device", "pdf", "--bundle-by-actor", "--generic", "--dest", dest(), "--no-log"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(files(),
              (std::map<std::string, int>{
                  {"悠人.pdf", 3}, {"さくら.pdf", 1}, {"店主.pdf", 2}, {"監督用.pdf", 3}}));
    EXPECT_EQ(pdfread::outlineTitles(dest() + "悠人.pdf"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(pdfread::outlineTitles(dest() + "監督用.pdf"), (std::vector<std::string>{"a", "b"}));
}

TEST_F(PrintPdfCommandTest, BundlesAreForThePdfDeviceOnly)
{
    for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
             {"--bundle-by-actor"}, {"--device", "png", "--bundle-by-actor"}}) {
        const CommandRun run = print(words);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(
            run.err.rfind("quillon-batch: --bundle-by-actor: goes with --device pdf only\n", 0), 0u)
            << run.err;
    }
}

TEST_F(PrintPdfCommandTest, ADestinationThatCannotBeWrittenFailsTheRun)
{
    for (const bool bundles : {false, true}) {
        SCOPED_TRACE(bundles ? "bundles" : "per script");
        // A file where the destination folder should be.
        m_out.write("blocked", "a file");
        std::vector<std::string> words = {"--device", "pdf",    "--dest", m_out.path() + "blocked",
                                          "--log",    logFile()};
        if (bundles)
            words.push_back("--bundle-by-actor");
        const CommandRun run = print(words);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find("6 page(s) went into PDF files that could not be written"),
                  std::string::npos)
            << run.err;
        EXPECT_NE(run.err.find("2 scene(s) lost pages"), std::string::npos) << run.err;
        EXPECT_EQ(fileBytes(logFile()),
                  sj("; 印刷を開始します\n") + "a.screenplay.txt" +
                      PrintRun::failedSuffix(2).toStdString() + "b.screenplay.txt" +
                      PrintRun::failedSuffix(4).toStdString() +
                      sj("; 印刷されたファイル数：0 ファイル\n") + PrintRun::incompleteLine());
        EXPECT_EQ(fileBytes(m_out.path() + "blocked"), "a file");
    }
}
