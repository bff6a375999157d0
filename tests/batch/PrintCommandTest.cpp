#include "batch/PrintCommand.h"

#include "BatchTestSupport.h"
#include "CupsTestServer.h"
#include "batch/BatchInterrupt.h"
#include "platform/FileFaults.h"
#include "platform/WinError.h"
#include "reports/PrintRun.h"
#include "ui/ProgressView.h"

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <thread>
#include <tuple>

namespace {

// a: 悠人 and さくら (1 page each in PRESET-14p); b: 悠人 and 店主 (2 pages
// each); c: nobody (cleared after loading). The rows come in name order.
class PrintCommandTest : public BatchFolderTest {
protected:
    std::string dest() const { return m_out.path() + "pages/"; }
    std::string logFile() const { return m_out.path() + "print.log"; }
    CommandRun print(std::vector<std::string> words)
    {
        words.insert(words.begin(), folder());
        return runCommand(PrintCommand::run, words);
    }
    // Every file below the destination, as paths relative to it (UTF-8).
    std::vector<std::string> pageFiles() const
    {
        std::vector<std::string> names;
        if (!std::filesystem::exists(dest()))
            return names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dest())) {
            if (entry.is_regular_file())
                names.push_back(std::filesystem::relative(entry.path(), dest()).string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    static uint32_t bigEndian(const std::string& bytes, size_t at)
    {
        return uint32_t(uint8_t(bytes[at])) << 24 | uint32_t(uint8_t(bytes[at + 1])) << 16 |
               uint32_t(uint8_t(bytes[at + 2])) << 8 | uint32_t(uint8_t(bytes[at + 3]));
    }
    static uint32_t littleEndian(const std::string& bytes, size_t at)
    {
        return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
               uint32_t(uint8_t(bytes[at + 2])) << 16 | uint32_t(uint8_t(bytes[at + 3])) << 24;
    }
    std::string logOf(const std::vector<std::string>& printed, bool cancelledRun = false) const
    {
        std::string text = sj("; 印刷を開始します\n");
        for (const std::string& name : printed)
            text += name + sj("; 印刷されました\n");
        text += sj("; 印刷されたファイル数：") + std::to_string(printed.size()) + sj(" ファイル\n");
        text +=
            cancelledRun
                ? sj("; 印刷処理は中断されました。直前のファイルまでは、印刷が終了しています。\n")
                : sj("; 印刷処理は正常に終了しました。\n");
        return text;
    }
    ScenarioTestFolder m_out;
};

} // namespace

TEST_F(PrintCommandTest, PrintsTheTickedScenesToPngPagesAndWritesTheLog)
{
    const CommandRun run = print({"--dest", dest(), "--log", logFile()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(pageFiles(), (std::vector<std::string>{"a/a.さくら.1@1.png", "a/a.悠人.1@1.png",
                                                     "b/b.店主.1@2.png", "b/b.店主.2@2.png",
                                                     "b/b.悠人.1@2.png", "b/b.悠人.2@2.png"}));
    // Portrait pages turned clockwise: 1152 x 864, 8-bit RGB.
    for (const std::string& name : pageFiles()) {
        const std::string png = fileBytes(dest() + name);
        ASSERT_GT(png.size(), 33u) << name;
        EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n") << name;
        EXPECT_EQ(bigEndian(png, 16), 1152u) << name;
        EXPECT_EQ(bigEndian(png, 20), 864u) << name;
        EXPECT_EQ(png[24], 8) << name;
        EXPECT_EQ(png[25], 2) << name;
    }
    EXPECT_EQ(fileBytes(logFile()), logOf({"a.screenplay.txt", "b.screenplay.txt"}));
    EXPECT_EQ(run.out, "2 scene(s) printed, 6 page(s) in " + dest() + "\nlog: " + logFile() + "\n");
    // Nothing was written into the scenario folder but its settings and the
    // print record of the scenes printed.
    for (const auto& entry : std::filesystem::directory_iterator(folder()))
        EXPECT_TRUE(!entry.is_directory() || entry.path().filename() == ".quillon") << entry.path();
    EXPECT_EQ(fileBytes(folder() + ".quillon/printed/a.screenplay.txt"),
              fileBytes(folder() + "a.screenplay.txt"));
}

TEST_F(PrintCommandTest, BmpPagesWithTheDirectorsCopyForTheNamedScenes)
{
    const CommandRun run = print({"--device", "bmp", "--dest", dest(), "--log", logFile(),
                                  "--generic", "--only", "a.screenplay.txt"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(pageFiles(), (std::vector<std::string>{"a/a.さくら.1@1.bmp", "a/a.悠人.1@1.bmp",
                                                     "a/a.監督用.1@1.bmp"}));
    for (const std::string& name : pageFiles()) {
        const std::string bmp = fileBytes(dest() + name);
        ASSERT_GT(bmp.size(), 54u) << name;
        EXPECT_EQ(bmp.substr(0, 2), "BM") << name;
        EXPECT_EQ(littleEndian(bmp, 18), 1152u) << name;
        EXPECT_EQ(littleEndian(bmp, 22), 864u) << name;
        EXPECT_EQ(bmp[28], 8) << name;
    }
    EXPECT_EQ(fileBytes(logFile()), logOf({"a.screenplay.txt"}));
}

TEST_F(PrintCommandTest, SuppressedCharactersGetNoPagesAndNoLogIsWrittenWithNoLog)
{
    const CommandRun run = print({"--dest", dest(), "--no-log", "--suppress", "悠人"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(pageFiles(), (std::vector<std::string>{"a/a.さくら.1@1.png", "b/b.店主.1@2.png",
                                                     "b/b.店主.2@2.png"}));
    EXPECT_EQ(run.out, "2 scene(s) printed, 3 page(s) in " + dest() + "\n");
    EXPECT_FALSE(std::filesystem::exists(logFile()));
}

TEST_F(PrintCommandTest, ARelativeDestinationIsTakenFromTheWorkingFolder)
{
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(m_out.path());
    const CommandRun run =
        print({"--dest", "pages", "--log", "print.log", "--only", "a.screenplay.txt"});
    std::filesystem::current_path(before);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(pageFiles().size(), 2u);
    EXPECT_EQ(fileBytes(logFile()), logOf({"a.screenplay.txt"}));
}

TEST_F(PrintCommandTest, TheLogIsOpenedOnlyWhenAsked)
{
    // A stand-in for xdg-open that notes what it was asked to open.
    const std::string bin = m_out.path() + "bin/";
    std::filesystem::create_directories(bin);
    {
        std::ofstream script(bin + "xdg-open");
        script << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << m_out.path() << "opened'\n";
    }
    std::filesystem::permissions(bin + "xdg-open", std::filesystem::perms::owner_all);
    const char* oldPath = std::getenv("PATH");
    const std::string savedPath = oldPath ? oldPath : "";
    setenv("PATH", (bin + ":" + savedPath).c_str(), 1);

    CommandRun run = print({"--dest", dest(), "--log", logFile()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_FALSE(std::filesystem::exists(m_out.path() + "opened"));
    run = print({"--dest", dest(), "--log", logFile(), "--open-log"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(fileBytes(m_out.path() + "opened"), logFile() + "\n");

    // A viewer that fails is a failure of the command; the log is written.
    {
        std::ofstream script(bin + "xdg-open");
        script << "#!/bin/sh\nexit 3\n";
    }
    std::filesystem::remove(logFile());
    run = print({"--dest", dest(), "--log", logFile(), "--open-log"});
    setenv("PATH", savedPath.c_str(), 1);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("xdg-open"), std::string::npos) << run.err;
    EXPECT_TRUE(std::filesystem::exists(logFile()));
}

TEST_F(PrintCommandTest, AnUnreadableSceneFailsTheCommandButTheOthersArePrinted)
{
    // A link to nothing is listed, but its file cannot be read.
    std::filesystem::create_symlink(m_out.path() + "gone", folder() + "z.screenplay.txt");
    const CommandRun run = print(
        {"--dest", dest(), "--log", logFile(), "--only", "a.screenplay.txt,z.screenplay.txt"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("1 scene(s) could not be read"), std::string::npos) << run.err;
    EXPECT_EQ(pageFiles().size(), 2u);
    EXPECT_EQ(fileBytes(logFile()), logOf({"a.screenplay.txt"}));
}

TEST_F(PrintCommandTest, ALogThatCannotBeWrittenFailsTheCommand)
{
    const CommandRun run = print({"--dest", dest(), "--log", m_out.path() + "missing/print.log"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("the print log could not be written"), std::string::npos) << run.err;
    EXPECT_EQ(pageFiles().size(), 6u);
}

TEST_F(PrintCommandTest, APageFileThatCannotBeWrittenFailsTheCommand)
{
    // A folder where a page's file should go: the finished page cannot take
    // its name.
    std::filesystem::create_directories(dest() + "a/a.悠人.1@1.png");
    const CommandRun run = print({"--dest", dest(), "--log", logFile()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("1 page file(s) could not be written"), std::string::npos) << run.err;
    // The others are there; a is logged as failed with its lost page, and
    // the run does not end with the completed line.
    EXPECT_EQ(pageFiles().size(), 5u);
    EXPECT_EQ(fileBytes(logFile()), sj("; 印刷を開始します\n") + "a.screenplay.txt" +
                                        PrintRun::failedSuffix(1).toStdString() +
                                        "b.screenplay.txt" + sj("; 印刷されました\n") +
                                        sj("; 印刷されたファイル数：1 ファイル\n") +
                                        PrintRun::incompleteLine());
}

TEST(PrintCommandArgumentsTest, BadArgumentsPrintTheUsage)
{
    for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
             {},
             {"a", "b"},
             {"a", "--device", "tiff"},
             {"a", "--device"},
             {"a", "--no-log", "--log", "x"},
             {"a", "--no-log", "--open-log"},
             {"a", "--colour"},
         }) {
        const CommandRun run = runCommand(PrintCommand::run, words);
        EXPECT_EQ(run.status, 2) << words.size();
        EXPECT_NE(run.err.find("usage: quillon-batch print FOLDER"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

namespace {

// Sends this process SIGINT once the dialog has stepped past a row of one of
// the named files: a Ctrl-C typed while that scene was printed.
class InterruptAfterScene : public ProgressView {
public:
    explicit InterruptAfterScene(std::set<std::string> names) : m_names(std::move(names)) {}
    void opened(UxProgressDialog&) override {}
    void textChanged(UxProgressDialog&) override {}
    void positionChanged(UxProgressDialog& dialog) override
    {
        if (m_sent || dialog.title() != sj("台本の印刷"))
            return;
        const std::string name = dialog.text().substr(0, dialog.text().find(sj("を印刷")));
        if (m_names.count(name)) {
            m_sent = true;
            m_scene = name;
            std::raise(SIGINT);
        }
    }
    void pump(UxProgressDialog&) override {}
    void closed(UxProgressDialog&) override {}
    const std::string& scene() const { return m_scene; }

private:
    std::set<std::string> m_names;
    bool m_sent = false;
    std::string m_scene;
};

} // namespace

TEST_F(PrintCommandTest, CtrlCStopsBetweenScenesAndTheLogSaysSo)
{
    BatchInterrupt::install();
    InterruptAfterScene view({"a.screenplay.txt", "b.screenplay.txt"});
    std::ostringstream out, err;
    int status = 0;
    {
        BatchTestEnvironment test(view);
        status = PrintCommand::run(test.environment(),
                                   {folder(), "--dest", dest(), "--log", logFile()}, out, err);
    }
    BatchInterrupt::uninstall();
    EXPECT_EQ(status, 130) << err.str();
    ASSERT_FALSE(view.scene().empty());
    EXPECT_EQ(fileBytes(logFile()), logOf({view.scene()}, true));
    // The scene in progress was finished: both of its scripts.
    const size_t expected = view.scene() == "a.screenplay.txt" ? 2 : 4;
    EXPECT_EQ(pageFiles().size(), expected);
    EXPECT_FALSE(UxProgressDialog::cancelRequested());
}

TEST_F(PrintCommandTest, AnInterruptedRunsSummarySaysHowFarItGot)
{
    BatchInterrupt::install();
    InterruptAfterScene view({"a.screenplay.txt"});
    std::ostringstream out, err;
    int status = 0;
    {
        BatchTestEnvironment test(view);
        status = PrintCommand::run(test.environment(), {folder(), "--dest", dest(), "--no-log"},
                                   out, err);
    }
    BatchInterrupt::uninstall();
    EXPECT_EQ(status, 130) << err.str();
    EXPECT_EQ(out.str(),
              "1 scene(s) printed, 2 page(s) in " + dest() + ", interrupted after 1 of 2 scenes\n");
}

TEST_F(PrintCommandTest, ARunThatIsNotInterruptedSaysNothingOfIt)
{
    const CommandRun run = print({"--dest", dest(), "--no-log", "--only",
                                  "a.screenplay.txt,b.screenplay.txt,c.screenplay.txt"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "3 scene(s) printed, 6 page(s) in " + dest() + "\n");
}

TEST_F(PrintCommandTest, EveryJobCountWritesWhatOneJobWrites)
{
    // Each run into a destination and a log of its own: every page file and
    // the log byte for byte those of one job, and the same summary.
    auto printWith = [&](const std::vector<std::string>& jobs, const std::string& name) {
        std::vector<std::string> words = {"--generic", "--dest", m_out.path() + name + "/", "--log",
                                          m_out.path() + name + ".log"};
        words.insert(words.end(), jobs.begin(), jobs.end());
        const CommandRun run = print(words);
        std::map<std::string, std::string> files;
        for (const auto& entry :
             std::filesystem::recursive_directory_iterator(m_out.path() + name + "/")) {
            if (entry.is_regular_file())
                files[std::filesystem::relative(entry.path(), m_out.path() + name).string()] =
                    fileBytes(entry.path().string());
        }
        return std::make_tuple(run.status, files, fileBytes(m_out.path() + name + ".log"));
    };
    const auto serial = printWith({"--jobs", "1"}, "one");
    ASSERT_EQ(std::get<0>(serial), 0);
    EXPECT_GE(std::get<1>(serial).size(), 6u);
    EXPECT_EQ(std::get<2>(serial), logOf({"a.screenplay.txt", "b.screenplay.txt"}));
    m_folder.write("quillon.settings.rnf", "print.jobs=3\n"); // taken without --jobs
    int n = 0;
    for (const std::vector<std::string>& jobs :
         {std::vector<std::string>{"--jobs", "2"}, {"--jobs", "0"}, {}})
        EXPECT_EQ(printWith(jobs, "run" + std::to_string(++n)), serial) << n;
    for (const char* bad : {"-1", "two"})
        EXPECT_EQ(print({"--dest", dest(), "--jobs", bad}).status, 2) << bad;
}

TEST_F(PrintCommandTest, ThePrinterGetsOneJobPerPage)
{
    CupsTestServer server;
    if (!server.running())
        GTEST_SKIP() << server.failure();
    ASSERT_TRUE(server.setQueueDefaults("iso_a4_210x297mm", 150));
    const CommandRun run =
        print({"--device", "printer", "--log", logFile(), "--only", "a.screenplay.txt"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "1 scene(s) printed, 2 page(s)\nlog: " + logFile() + "\n");
    const auto jobs = server.waitForFinishedJobs(2, 60000);
    ASSERT_EQ(jobs.size(), 2u);
    // The queue names each job by scene, character (in the header's order)
    // and page.
    EXPECT_EQ(jobs[0].title, "a 悠人 1/1");
    EXPECT_EQ(jobs[1].title, "a さくら 1/1");
    EXPECT_TRUE(pageFiles().empty());
    EXPECT_EQ(fileBytes(logFile()), logOf({"a.screenplay.txt"}));
}

namespace {

// Sends this process SIGINT at the given pumps of the print dialog: Ctrl-C
// typed while those pages were out.
class InterruptAtPumps : public ProgressView {
public:
    explicit InterruptAtPumps(std::set<int> pumps) : m_pumps(std::move(pumps)) {}
    void opened(UxProgressDialog&) override {}
    void textChanged(UxProgressDialog&) override {}
    void positionChanged(UxProgressDialog&) override {}
    void pump(UxProgressDialog& dialog) override
    {
        if (dialog.title() == sj("台本の印刷") && m_pumps.count(++m_count))
            std::raise(SIGINT);
    }
    void closed(UxProgressDialog&) override {}

private:
    std::set<int> m_pumps;
    int m_count = 0;
};

} // namespace

TEST_F(PrintCommandTest, ASecondCtrlCStopsWithinASceneAndLeavesNoTemporaryFile)
{
    BatchInterrupt::install();
    // The window pumps at 1 as it opens, a's two pages at 2 and 3, its row
    // at 4; b's pages from 5 on.
    InterruptAtPumps view({5, 6});
    std::ostringstream out, err;
    int status = 0;
    {
        BatchTestEnvironment test(view);
        status = PrintCommand::run(test.environment(),
                                   {folder(), "--dest", dest(), "--log", logFile()}, out, err);
    }
    BatchInterrupt::uninstall();
    EXPECT_EQ(status, 130) << err.str();
    EXPECT_NE(err.str().find("quillon-batch: the print run was stopped within a scene"),
              std::string::npos)
        << err.str();
    // b, stopped within, is not among the scenes the run got through.
    EXPECT_NE(out.str().find(", interrupted after 1 of 2 scenes\n"), std::string::npos)
        << out.str();
    // a whole, b's first two pages, and nothing half-written or temporary.
    EXPECT_EQ(pageFiles(), (std::vector<std::string>{"a/a.さくら.1@1.png", "a/a.悠人.1@1.png",
                                                     "b/b.悠人.1@2.png", "b/b.悠人.2@2.png"}));
    EXPECT_EQ(fileBytes(logFile()),
              sj("; 印刷を開始します\n") + "a.screenplay.txt" + sj("; 印刷されました\n") +
                  "b.screenplay.txt" + PrintRun::unfinishedSuffix() +
                  sj("; 印刷されたファイル数：1 ファイル\n") + PrintRun::interruptedLine());
    EXPECT_FALSE(UxProgressDialog::cancelRequested());
}

TEST_F(PrintCommandTest, PagesThatCannotBeWrittenEndTheRunAsAFailure)
{
    FileFaults::Scope faults;
    FileFaults::fail(FileFaults::Kind::Write, WinError::DiskFull, 0, -1);
    const CommandRun run =
        print({"--device", "bmp", "--dest", dest(), "--no-log", "--only", "a.screenplay.txt"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "0 scene(s) printed, 2 page(s) in " + dest() + "\n");
    EXPECT_NE(run.err.find("quillon-batch: 1 scene(s) lost pages"), std::string::npos) << run.err;
    EXPECT_EQ(pageFiles(), std::vector<std::string>{});
}

namespace {

// Runs body on a thread of its own with the printing library pointed at a
// server that is not there (it reads its server per thread, on first use).
void withoutPrinters(const std::function<void()>& body)
{
    ScenarioTestFolder home;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
    for (const char* name : {"CUPS_SERVER", "LPDEST", "PRINTER", "HOME"}) {
        const char* value = std::getenv(name);
        saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    ::setenv("CUPS_SERVER", (home.path() + "no-cupsd.sock").c_str(), 1);
    ::unsetenv("LPDEST");
    ::unsetenv("PRINTER");
    ::setenv("HOME", home.path().c_str(), 1);
    std::thread(body).join();
    for (const auto& [name, value] : saved) {
        if (value)
            ::setenv(name.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name.c_str());
    }
}

} // namespace

TEST_F(PrintCommandTest, NoPrinterReachedEndsTheRunAsAFailure)
{
    CommandRun run{};
    withoutPrinters([&] {
        run = print({"--device", "printer", "--log", logFile(), "--only", "a.screenplay.txt"});
    });
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "0 scene(s) printed, 2 page(s)\nlog: " + logFile() + "\n");
    EXPECT_NE(run.err.find("quillon-batch: no printer was reached: 2 page(s) were not printed"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(fileBytes(logFile()), sj("; 印刷を開始します\n") + "a.screenplay.txt" +
                                        PrintRun::failedSuffix(2).toStdString() +
                                        sj("; 印刷されたファイル数：0 ファイル\n") +
                                        PrintRun::incompleteLine());
}
