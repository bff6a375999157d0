#include "reports/PrintRun.h"

#include "ReportsTestFixture.h"
#include "format/PrintFormat.h"
#include "render/PageSink.h"
#include "render/ScriptPrinter.h"
#include "reports/PageCountEstimate.h"

#include <sys/stat.h>

namespace {

// Every page the run prints while it lives, as its file name below the
// destination (CP932).
class PageNames {
public:
    PageNames(PrintRun& run, std::string destination)
        : m_run(run), m_destination(std::move(destination))
    {
        m_run.setPageWatch([this](const PageSink::Page& page, const PageSink& sink) {
            const std::string path = sink.pageFile(page).toStdString();
            m_targets.push_back(page.target);
            m_names.push_back(path.rfind(m_destination, 0) == 0 ? path.substr(m_destination.size())
                                                                : "outside:" + path);
        });
    }
    ~PageNames() { m_run.setPageWatch(nullptr); }
    PageNames(const PageNames&) = delete;
    PageNames& operator=(const PageNames&) = delete;

    const std::vector<std::string>& names() const { return m_names; }
    const std::vector<int>& targets() const { return m_targets; }

private:
    PrintRun& m_run;
    std::string m_destination;
    std::vector<std::string> m_names;
    std::vector<int> m_targets;
};

std::string line(const std::string& utf8Text)
{
    return sj(utf8Text) + "\n";
}

const std::string opening = "; 印刷を開始します";
const std::string completed = "; 印刷処理は正常に終了しました。";
const std::string cancelled =
    "; 印刷処理は中断されました。直前のファイルまでは、印刷が終了しています。";

std::string count(int n)
{
    return "; 印刷されたファイル数：" + std::to_string(n) + " ファイル";
}

// a: 悠人 and さくら, one page each (31 lines); b: 悠人 and 店主 (61 lines,
// two pages each); c: no speaking character. The rows come in name order,
// c cleared after loading. Pages go as BMP files into the
// folder's "pages/", the log to "log/print.log".
class PrintRunTest : public ReportsTest {
protected:
    void SetUp() override
    {
        scene("a.screenplay.txt", "a", {{"悠人", 16}, {"さくら", 15}}, 31);
        scene("b.screenplay.txt", "b", {{"悠人", 30}, {"店主", 31}}, 61);
        scene("c.screenplay.txt", "c", {}, 0);
        load();
        m_destination = m_folder.path() + "pages/";
        std::filesystem::create_directories(m_folder.path() + "log");
        m_app.setDestinationFolder(m_destination);
        m_app.setLogPath(logPath());
        m_app.setOutputDevice(OutputDevice::Bmp);
        m_run.setOpener([this](const FCString& path) {
            m_opened.push_back(path.toStdString());
            return true;
        });
    }

    std::string logPath() const { return m_folder.path() + "log/print.log"; }
    std::string log() const { return bytesOf(logPath()); }
    bool logExists() const { return std::filesystem::exists(logPath()); }
    // Through a view of its own, so that the load's dialog is not counted.
    PrintRun::Outcome run()
    {
        UxProgressDialog progress(m_view);
        return m_run.printAll(catalogue(), progress);
    }
    std::string printedLines(std::initializer_list<std::string> names)
    {
        std::string out;
        for (const std::string& name : names)
            out += name + line("; 印刷されました");
        return out;
    }

    std::string m_destination;
    std::vector<std::string> m_opened;
    ScriptedProgressView m_view;
    PrintRun m_run{m_app};
};

} // namespace

TEST_F(PrintRunTest, AnEmptyListLogsTheOpeningTheCountZeroAndTheCompletedLine)
{
    ScriptCatalogue empty;
    UxProgressDialog progress(m_view);
    const PrintRun::Outcome outcome = m_run.printAll(empty, progress);
    EXPECT_EQ(outcome.printed, 0);
    EXPECT_FALSE(outcome.cancelled);
    EXPECT_TRUE(outcome.logWritten);
    EXPECT_EQ(log(), line(opening) + line(count(0)) + line(completed));
    EXPECT_EQ(m_opened, std::vector<std::string>{logPath()});
}

TEST_F(PrintRunTest, TicksDecideWhatIsPrintedAndLogged)
{
    PageNames pages(m_run, m_destination);
    const PrintRun::Outcome outcome = run();
    EXPECT_EQ(outcome.printed, 2);
    EXPECT_EQ(outcome.unreadable, 0);
    EXPECT_EQ(log(), line(opening) + printedLines({"a.screenplay.txt", "b.screenplay.txt"}) +
                         line(count(2)) + line(completed));
    // Every row advances the bar, cleared or not.
    EXPECT_EQ(m_view.steps(), 3);
    EXPECT_EQ(m_view.maximum(), 3);
    EXPECT_EQ(pages.names().size(), 2u + 4u);

    // A cleared row is neither printed nor logged.
    catalogue().setTicked(rowOf("a.screenplay.txt"), false);
    PageNames again(m_run, m_destination);
    EXPECT_EQ(run().printed, 1);
    EXPECT_EQ(log(), line(opening) + printedLines({"b.screenplay.txt"}) + line(count(1)) +
                         line(completed));
    for (const std::string& name : again.names())
        EXPECT_EQ(name.rfind("b/", 0), 0u) << name;
}

TEST_F(PrintRunTest, TheProgressDialogNamesEachRow)
{
    run();
    ASSERT_EQ(m_view.titles(), std::vector<std::string>{sj("台本の印刷")});
    std::vector<std::string> expected{sj("台本を印刷しています。")};
    for (int row = 0; row < catalogue().count(); ++row)
        expected.push_back(catalogue().fileName(row).toStdString() + sj("を印刷しています..."));
    EXPECT_EQ(m_view.texts(), expected);
    EXPECT_EQ(m_view.closes(), 1);
}

TEST_F(PrintRunTest, ASecondRunReplacesTheLog)
{
    {
        std::ofstream old(logPath(), std::ios::binary);
        old << std::string(100000, '#');
    }
    run();
    const std::string first = log();
    run();
    EXPECT_EQ(log(), first);
    EXPECT_EQ(first.find('#'), std::string::npos);
    // Nothing of the temporary files stays behind.
    EXPECT_EQ(filesIn(m_folder.path() + "log", ""), std::vector<std::string>{"print.log"});
}

TEST_F(PrintRunTest, WithLoggingOffNothingIsWrittenOrOpenedEvenAfterACancel)
{
    m_app.setPrintLog(false);
    EXPECT_FALSE(run().logWritten);
    m_view.cancelAfterSteps(1);
    const PrintRun::Outcome outcome = run();
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_FALSE(outcome.logWritten);
    EXPECT_FALSE(outcome.logFailed);
    EXPECT_FALSE(logExists());
    EXPECT_TRUE(m_opened.empty());
    // The text is still built; only the file is not written.
    EXPECT_NE(m_run.logText().view().find(sj(cancelled)), std::string_view::npos);
}

TEST_F(PrintRunTest, ACancelAfterTheFirstSceneFinishesItAndSaysSo)
{
    PageNames pages(m_run, m_destination);
    m_view.cancelAfterSteps(1);
    const PrintRun::Outcome outcome = run();
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.printed, 1);
    EXPECT_EQ(m_view.steps(), 1);
    EXPECT_EQ(log(), line(opening) + "a.screenplay.txt" + line("; 印刷されました") +
                         line(count(1)) + line(cancelled));
    // The first scene is complete: both its scripts, and nothing of b.
    EXPECT_EQ(pages.names(),
              (std::vector<std::string>{sj("a/a.悠人.1@1.bmp"), sj("a/a.さくら.1@1.bmp")}));
    EXPECT_EQ(m_opened.size(), 1u);
}

TEST_F(PrintRunTest, EveryPageIsFollowedByAPumpAndACancelDuringAPageWaitsForTheScene)
{
    PageNames pages(m_run, m_destination);
    // a prints 2 pages, b 4: each page pumps once, each row once more, and
    // the window once as it opens.
    EXPECT_EQ(run().printed, 2);
    EXPECT_EQ(pages.names().size(), 6u);
    EXPECT_EQ(m_view.pumps(), 1 + 6 + 3);

    // Cancel pressed while b's second page is out: b still prints whole.
    ScriptedProgressView view;
    view.cancelAtPump(1 + 2 + 1 + 2);
    PageNames again(m_run, m_destination);
    UxProgressDialog progress(view);
    const PrintRun::Outcome outcome = m_run.printAll(catalogue(), progress);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.printed, 2);
    EXPECT_EQ(again.names().size(), 6u);
    EXPECT_EQ(view.steps(), 2) << "the run stopped after b, before c";
}

TEST_F(PrintRunTest, TheWindowIsUpBeforeTheFirstSceneAndACancelThereStopsTheRunAtOnce)
{
    // The first pump comes before any scene is laid out: a cancel pressed
    // as the window appears prints nothing.
    PageNames pages(m_run, m_destination);
    ScriptedProgressView view;
    view.cancelAtPump(1);
    UxProgressDialog progress(view);
    const PrintRun::Outcome outcome = m_run.printAll(catalogue(), progress);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.printed, 0);
    EXPECT_TRUE(pages.names().empty());
    EXPECT_EQ(view.steps(), 0);
}

TEST_F(PrintRunTest, SuppressedCharactersAreLeftOutEverywhereNonTargetsOnlyInTheirScene)
{
    suppress({"さくら"});
    // 悠人 is no print target of b only.
    ScriptInfo& b = record(rowOf("b.screenplay.txt"));
    b.clearPrintTargets();
    ASSERT_TRUE(b.addPrintTarget(sj("店主")));

    PageNames pages(m_run, m_destination);
    EXPECT_EQ(run().printed, 2);
    std::vector<std::string> names = pages.names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{sj("a/a.悠人.1@1.bmp"), sj("b/b.店主.1@2.bmp"),
                                               sj("b/b.店主.2@2.bmp")}));
    // The pages are on disk where the names say.
    for (const std::string& name : names)
        EXPECT_TRUE(std::filesystem::exists(utf8(m_destination + name))) << utf8(name);
}

TEST_F(PrintRunTest, TheGenericSwitchAddsTheDirectorsCopyAfterTheCharacters)
{
    m_app.setGenericScript(true);
    catalogue().setTicked(rowOf("b.screenplay.txt"), false);
    PageNames pages(m_run, m_destination);
    run();
    EXPECT_EQ(pages.targets(), (std::vector<int>{0, 1, -1}));
    EXPECT_EQ(pages.names().back(), sj("a/a.監督用.1@1.bmp"));
}

TEST_F(PrintRunTest, ATickedSceneWithoutCharactersPrintsNothingButCountsAsPrinted)
{
    catalogue().setTicked(rowOf("a.screenplay.txt"), false);
    catalogue().setTicked(rowOf("b.screenplay.txt"), false);
    catalogue().setTicked(rowOf("c.screenplay.txt"), true);
    PageNames pages(m_run, m_destination);
    EXPECT_EQ(run().printed, 1);
    EXPECT_TRUE(pages.names().empty());
    EXPECT_EQ(log(), line(opening) + "c.screenplay.txt" + line("; 印刷されました") +
                         line(count(1)) + line(completed));
}

TEST_F(PrintRunTest, AnUnreadableSceneIsNotLoggedAsPrintedAndTheRunGoesOn)
{
    m_folder.remove("a.screenplay.txt");
    PageNames pages(m_run, m_destination);
    const PrintRun::Outcome outcome = run();
    EXPECT_EQ(outcome.printed, 1);
    EXPECT_EQ(outcome.unreadable, 1);
    EXPECT_FALSE(outcome.cancelled);
    EXPECT_EQ(log(), line(opening) + printedLines({"b.screenplay.txt"}) + line(count(1)) +
                         line(completed));
    // The file layer asked about it (and was told Cancel).
    ASSERT_FALSE(m_prompt.questions().empty());
    EXPECT_NE(m_prompt.questions().front().text.find("a.screenplay.txt"), std::string::npos);
    EXPECT_EQ(pages.names().size(), 4u);
}

TEST_F(PrintRunTest, AReadErrorInTheMiddleOfASceneIsNotLoggedAsPrinted)
{
    // The fault counts the reads of every thread: scenes are read one after
    // the other here, so that the first read is a's. (On workers, a scene
    // whose read failed is read again on the run's thread.)
    m_app.printFormat().setJobs(1);
    FileFaults::Scope faults;
    FileFaults::fail(FileFaults::Kind::Read, WinError::GeneralFailure, 0, 1);
    const PrintRun::Outcome outcome = run();
    EXPECT_EQ(outcome.printed, 1);
    EXPECT_EQ(outcome.unreadable, 1);
    // The first scene read, a, is the one that fails.
    EXPECT_EQ(log(), line(opening) + "b.screenplay.txt" + line("; 印刷されました") +
                         line(count(1)) + line(completed));
}

TEST_F(PrintRunTest, ALogThatCannotBeWrittenKeepsTheOldOneAndIsNotOpened)
{
    {
        std::ofstream old(logPath(), std::ios::binary);
        old << "old log\n";
    }
    FileFaults::Scope faults;
    FileFaults::fail(FileFaults::Kind::Write, WinError::NotReady, 0, -1);
    const PrintRun::Outcome outcome = run();
    EXPECT_FALSE(outcome.logWritten);
    EXPECT_TRUE(outcome.logFailed);
    EXPECT_EQ(log(), "old log\n");
    EXPECT_TRUE(m_opened.empty());
    EXPECT_EQ(filesIn(m_folder.path() + "log", ""), std::vector<std::string>{"print.log"});

    // A log in a folder that does not exist: the file layer says so.
    FileFaults::reset();
    m_app.setLogPath(m_folder.path() + "missing/print.log");
    const size_t asked = m_prompt.questions().size();
    EXPECT_TRUE(run().logFailed);
    EXPECT_GT(m_prompt.questions().size(), asked);
    EXPECT_FALSE(std::filesystem::exists(m_folder.path() + "missing"));
}

TEST_F(PrintRunTest, EachSceneGetsTheApplicationsSettings)
{
    // The layout follows the effective values: PRESET-18p has 30 lines a
    // page, so a's 31 lines take two pages per script.
    m_app.printFormat().setMode(PrintFormat::ModePreset18);
    m_app.setCommentEmphasis(false);
    m_app.setGenericScript(true);
    ScriptPrinter printer;
    PrintRun::configure(m_app, printer);
    EXPECT_EQ(printer.options(), ScriptPrinter::OptionGenericScript);
    EXPECT_EQ(printer.linesPerPage(), 30);
    EXPECT_EQ(printer.charactersPerLine(), 30);
    EXPECT_EQ(printer.fontSize(), 18);
    EXPECT_EQ(printer.linePitch(), 32);
    EXPECT_EQ(printer.targetFont().weight, 700);
    EXPECT_EQ(printer.generalFont().weight, 400);
    EXPECT_EQ(printer.commentFont().weight, 700);

    m_app.setGenericScript(false);
    catalogue().setTicked(rowOf("b.screenplay.txt"), false);
    PageNames pages(m_run, m_destination);
    run();
    EXPECT_EQ(pages.names().size(), 4u);
}

TEST_F(PrintRunTest, PagesGoBelowTheScenarioFolderWithoutADestination)
{
    m_app.setDestinationFolder("");
    catalogue().setTicked(rowOf("b.screenplay.txt"), false);
    PageNames pages(m_run, m_folder.path());
    run();
    EXPECT_EQ(pages.names().size(), 2u);
    EXPECT_TRUE(std::filesystem::is_directory(m_folder.path() + "a"));
}

TEST_F(PrintRunTest, ALaterSceneOfTheSameNameGetsPagesOfItsOwnAndSaysSo)
{
    // d holds a scene named "a" as well, e one named "a(2)".
    scene("d.screenplay.txt", "a", {{"悠人", 16}, {"さくら", 15}}, 31);
    scene("e.screenplay.txt", "a(2)", {{"悠人", 16}}, 16);
    load();
    catalogue().setTicked(rowOf("b.screenplay.txt"), false);
    PageNames pages(m_run, m_destination);
    const PrintRun::Outcome outcome = run();
    EXPECT_EQ(outcome.printed, 3);
    EXPECT_EQ(pages.names(),
              (std::vector<std::string>{
                  sj("a/a.悠人.1@1.bmp"), sj("a/a.さくら.1@1.bmp"), sj("a(2)/a(2).悠人.1@1.bmp"),
                  sj("a(2)/a(2).さくら.1@1.bmp"), sj("a(2)(2)/a(2)(2).悠人.1@1.bmp")}));
    // Five pages, five files: none overwrote another.
    for (const std::string& name : pages.names())
        EXPECT_TRUE(std::filesystem::exists(utf8(m_destination + name))) << utf8(name);
    EXPECT_EQ(log(), line(opening) + printedLines({"a.screenplay.txt"}) + "d.screenplay.txt" +
                         PrintRun::renamedSuffix(FCString(sj("a(2)"))).toStdString() +
                         "e.screenplay.txt" +
                         PrintRun::renamedSuffix(FCString(sj("a(2)(2)"))).toStdString() +
                         line(count(3)) + line(completed));
    EXPECT_NE(PrintRun::renamedSuffix(FCString(sj("a(2)"))).view().find(sj("a(2)")),
              std::string_view::npos);

    // A new run starts with every name free again.
    catalogue().setTicked(rowOf("a.screenplay.txt"), false);
    catalogue().setTicked(rowOf("e.screenplay.txt"), false);
    PageNames again(m_run, m_destination);
    run();
    EXPECT_EQ(again.names().front(), sj("a/a.悠人.1@1.bmp"));
}

TEST_F(PrintRunTest, PagesThatCannotBeWrittenFailTheirSceneAndLeaveNoFileBehind)
{
    m_app.setPrintLog(false);
    catalogue().setTicked(rowOf("b.screenplay.txt"), false);
    {
        // A full disk: every page file is created and then cannot be written.
        FileFaults::Scope faults;
        FileFaults::fail(FileFaults::Kind::Write, WinError::DiskFull, 0, -1);
        const PrintRun::Outcome outcome = run();
        EXPECT_EQ(outcome.printed, 0);
        EXPECT_EQ(outcome.failed, 1);
        EXPECT_EQ(outcome.pagesLost, 2);
        EXPECT_FALSE(outcome.cancelled);
        EXPECT_EQ(m_run.logText().toStdString(), line(opening) + "a.screenplay.txt" +
                                                     PrintRun::failedSuffix(2).toStdString() +
                                                     line(count(0)) + PrintRun::incompleteLine());
        EXPECT_NE(PrintRun::failedSuffix(2).view().find('2'), std::string_view::npos);
        const FCString notice = PrintRun::lostPagesNotice(outcome);
        EXPECT_NE(notice.view().find('2'), std::string_view::npos) << utf8(notice.toStdString());
    }
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(m_destination))
        if (entry.is_regular_file())
            left.push_back(entry.path().string());
    EXPECT_EQ(left, std::vector<std::string>{}) << "no empty or cut page file stays";

    // Written again with room on the disk, the scene is printed.
    const PrintRun::Outcome outcome = run();
    EXPECT_EQ(outcome.printed, 1);
    EXPECT_EQ(outcome.failed, 0);
    EXPECT_TRUE(PrintRun::lostPagesNotice(outcome).isEmpty());
}

TEST_F(PrintRunTest, ASecondCancelStopsTheSceneAfterThePageInProgress)
{
    // The window pumps as it opens (1), a prints 2 pages (pumps 2, 3), its
    // row pumps once (4); b's pages pump from 5 on. Cancel at b's first page
    // and again at its second.
    class TwoPresses : public ScriptedProgressView {
    public:
        void pump(UxProgressDialog& dialog) override
        {
            ScriptedProgressView::pump(dialog);
            if (++m_count == 5 || m_count == 6)
                dialog.pressCancel();
        }
        int m_count = 0;
    } view;
    PageNames pages(m_run, m_destination);
    UxProgressDialog progress(view);
    const PrintRun::Outcome outcome = m_run.printAll(catalogue(), progress);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_TRUE(outcome.interrupted);
    EXPECT_EQ(outcome.printed, 1);
    EXPECT_EQ(pages.names().size(), 2u + 2u) << "b stopped after its second page";
    EXPECT_EQ(log(), line(opening) + printedLines({"a.screenplay.txt"}) + "b.screenplay.txt" +
                         PrintRun::unfinishedSuffix() + line(count(1)) +
                         PrintRun::interruptedLine());
    EXPECT_EQ(m_opened.size(), 1u);
}

TEST_F(PrintRunTest, WithLineBreakingTheEstimateCountsThePagesTheRunPrints)
{
    // Utterances of 10 characters on lines of 5: "「あいう「|かきくけ」" on the
    // plain grid, "「あいう|「かきく|け」" with the opening bracket and the
    // closing one moved.
    std::string body;
    for (int i = 1; i <= 10; ++i)
        body += "00000" + std::to_string(i % 10) + " 悠人「あいう「かきくけ」\n";
    m_folder.write("k.screenplay.txt",
                   ".scene\tk\n.start\t1\n.end\t10\n.chara\t1\n.悠人\t10\n.total\t10\n" + body);
    load();
    for (const char* other : {"a.screenplay.txt", "b.screenplay.txt", "c.screenplay.txt"})
        catalogue().setTicked(rowOf(other), false);
    PrintFormat& format = m_app.printFormat();
    format.setMode(PrintFormat::ModeCustom);
    format.setCustomCharsPerLine(5);
    format.setCustomLinesPerPage(10);

    using LineBreaking = TypesettingOptions::LineBreaking;
    for (const auto& [lineBreaking, pages] :
         {std::pair{LineBreaking::Off, 2u}, std::pair{LineBreaking::Strict, 3u}}) {
        format.setTypesetting({lineBreaking, false, false});
        int64_t estimated = 0;
        {
            UxProgressDialog progress(m_view);
            PageCountEstimate estimate(m_app);
            estimated = estimate.run(catalogue(), false, progress);
        }
        PageNames printed(m_run, m_destination);
        EXPECT_EQ(run().printed, 1);
        EXPECT_EQ(printed.names().size(), pages);
        EXPECT_EQ(estimated, static_cast<int64_t>(printed.names().size()));
    }
}
