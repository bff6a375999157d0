#include "ReportsTestFixture.h"
#include "format/PrintFormat.h"
#include "render/LineSelection.h"
#include "render/PdfReading.h"
#include "reports/PrintRun.h"

#include <atomic>
#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// Every file below a folder, by its path from there, with its bytes.
std::map<std::string, std::string> filesBelow(const std::string& folder)
{
    std::map<std::string, std::string> files;
    if (!std::filesystem::exists(folder))
        return files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::string bytes(std::istreambuf_iterator<char>(in), {});
        if (entry.path().extension() == ".pdf")
            bytes = pdfread::withoutCreationDate(std::move(bytes));
        files[std::filesystem::relative(entry.path(), folder).string()] = std::move(bytes);
    }
    return files;
}

// The temporary files left anywhere below a folder.
std::vector<std::string> temporariesBelow(const std::string& folder)
{
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.path().extension() == ".part")
            left.push_back(entry.path().string());
    }
    return left;
}

// The outcome's counts, side by side, for one comparison.
std::vector<int> counts(const PrintRun::Outcome& outcome)
{
    return {outcome.printed,   outcome.unreadable, outcome.cancelled,  outcome.pages,
            outcome.pagesLost, outcome.failed,     outcome.interrupted};
}

struct DeviceCase {
    const char* name;
    OutputDevice device;
    bool bundles;
};

// Nine scenes of one to a few pages per script: a scene under a name an
// earlier one took, one without characters, one left unticked. Each run
// prints into a folder and a log of its own.
class PrintRunJobsTest : public ReportsTest {
protected:
    void SetUp() override
    {
        scene("a.screenplay.txt", "a", {{"悠人", 16}, {"さくら", 15}}, 31);
        scene("b.screenplay.txt", "b", {{"悠人", 30}, {"店主", 31}}, 61);
        scene("c.screenplay.txt", "c", {}, 0);
        scene("d.screenplay.txt", "a", {{"さくら", 20}}, 45);
        scene("e.screenplay.txt", "e", {{"店主", 5}, {"悠人", 5}, {"さくら", 5}}, 95);
        scene("f.screenplay.txt", "f", {{"悠人", 10}}, 12);
        scene("g.screenplay.txt", "g", {{"さくら", 40}, {"店主", 40}}, 130);
        scene("h.screenplay.txt", "h", {{"悠人", 3}}, 3);
        scene("i.screenplay.txt", "i", {{"店主", 8}, {"悠人", 8}}, 70);
        load();
        catalogue().setTicked(rowOf("f.screenplay.txt"), false);
        std::filesystem::create_directories(m_folder.path() + "logs");
        m_app.setPrintLog(true);
    }

    struct Printed {
        PrintRun::Outcome outcome;
        std::map<std::string, std::string> files;
        std::string log;
    };

    // One run with jobs workers into "out<name>/", its log "logs/<name>".
    Printed print(int jobs, const std::string& name, ProgressView& view)
    {
        return print(jobs, name, view, nullptr);
    }
    Printed print(int jobs, const std::string& name, ProgressView& view,
                  const LineSelection* selection)
    {
        const std::string destination = m_folder.path() + "out" + name + "/";
        m_app.setDestinationFolder(destination);
        m_app.setLogPath(m_folder.path() + "logs/" + name);
        m_app.printFormat().setJobs(jobs);
        PrintRun run(m_app);
        run.setLineSelection(selection);
        UxProgressDialog progress(view);
        Printed printed;
        printed.outcome = run.printAll(catalogue(), progress);
        printed.files = filesBelow(destination);
        printed.log = bytesOf(m_folder.path() + "logs/" + name);
        return printed;
    }
    Printed print(int jobs, const std::string& name)
    {
        ScriptedProgressView view;
        return print(jobs, name, view);
    }
};

class PrintRunJobsDeviceTest : public PrintRunJobsTest,
                               public testing::WithParamInterface<DeviceCase> {};

TEST_P(PrintRunJobsDeviceTest, EveryFileAndLogLineIsTheSerialRunsWhateverTheJobs)
{
    m_app.setOutputDevice(GetParam().device);
    m_app.setBundleByActor(GetParam().bundles);
    const Printed serial = print(1, "1");
    EXPECT_EQ(serial.outcome.printed, 7);
    EXPECT_GT(serial.outcome.pages, 20);
    ASSERT_GE(serial.files.size(), 3u);
    EXPECT_NE(serial.log.find("d.screenplay.txt"), std::string::npos);

    for (int jobs : {2, 3, 8}) {
        SCOPED_TRACE("jobs " + std::to_string(jobs));
        const Printed parallel = print(jobs, std::to_string(jobs));
        EXPECT_EQ(counts(parallel.outcome), counts(serial.outcome));
        EXPECT_EQ(parallel.log, serial.log);
        ASSERT_EQ(parallel.files.size(), serial.files.size());
        for (const auto& [path, bytes] : serial.files) {
            const auto found = parallel.files.find(path);
            ASSERT_NE(found, parallel.files.end()) << path;
            EXPECT_TRUE(found->second == bytes) << path << " differs";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Devices, PrintRunJobsDeviceTest,
                         testing::Values(DeviceCase{"Png", OutputDevice::Png, false},
                                         DeviceCase{"Bmp", OutputDevice::Bmp, false},
                                         DeviceCase{"PdfPerScript", OutputDevice::Pdf, false},
                                         DeviceCase{"PdfBundles", OutputDevice::Pdf, true}),
                         [](const auto& info) { return std::string(info.param.name); });

struct CancelCase {
    int jobs;
    int steps; // rows stepped before the cancel
    OutputDevice device = OutputDevice::Png;
    bool bundles = false;
};

class PrintRunJobsCancelTest : public PrintRunJobsTest,
                               public testing::WithParamInterface<CancelCase> {};

// A cancel after some rows ends the run there whatever the workers had
// drawn ahead: the log, the files and the counts are those of the run of
// one scene after the other cancelled at the same row, and no file of a
// later scene (nor a temporary one) is left.
TEST_P(PrintRunJobsCancelTest, ACancelLeavesWhatTheSerialRunLeaves)
{
    m_app.setOutputDevice(GetParam().device);
    m_app.setBundleByActor(GetParam().bundles);
    TitledCancelView serialView(sj("台本の印刷"), GetParam().steps);
    const Printed serial = print(1, "serial", serialView);
    UxProgressDialog::clearCancelRequest();
    TitledCancelView parallelView(sj("台本の印刷"), GetParam().steps);
    const Printed parallel = print(GetParam().jobs, "parallel", parallelView);

    EXPECT_TRUE(serial.outcome.cancelled);
    EXPECT_LT(serial.outcome.printed, 7);
    EXPECT_EQ(counts(parallel.outcome), counts(serial.outcome));
    EXPECT_EQ(parallel.log, serial.log);
    std::vector<std::string> serialNames, parallelNames;
    for (const auto& [path, bytes] : serial.files)
        serialNames.push_back(path);
    for (const auto& [path, bytes] : parallel.files) {
        parallelNames.push_back(path);
        EXPECT_TRUE(bytes == serial.files.at(path)) << path;
    }
    EXPECT_EQ(parallelNames, serialNames);
    EXPECT_EQ(temporariesBelow(m_folder.path()), std::vector<std::string>());
}

INSTANTIATE_TEST_SUITE_P(Steps, PrintRunJobsCancelTest,
                         testing::Values(CancelCase{4, 1}, CancelCase{4, 3}, CancelCase{2, 5},
                                         CancelCase{8, 8}, CancelCase{3, 2, OutputDevice::Pdf},
                                         CancelCase{2, 5, OutputDevice::Pdf, true}));

// Presses cancel at two pumps of the run: the second press stops the scene
// in progress after its page.
class PressesAtPumps : public ScriptedProgressView {
public:
    explicit PressesAtPumps(int first) : m_first(first) {}
    void pump(UxProgressDialog& dialog) override
    {
        ScriptedProgressView::pump(dialog);
        ++m_count;
        if (m_count == m_first || m_count == m_first + 1)
            dialog.pressCancel();
    }

private:
    int m_first;
    int m_count = 0;
};

struct StopCase {
    int firstPress;   // the pump of the first press; the second follows at the next
    bool interrupted; // the presses stop a scene within (not between scenes)
    OutputDevice device = OutputDevice::Png;
    bool bundles = false;
};

class PrintRunJobsStopTest : public PrintRunJobsTest,
                             public testing::WithParamInterface<StopCase> {};

// The run's pumps come where the serial run's come, so two cancels stop the
// run within the same scene after the same page, whatever the workers drew
// ahead; the files of the scene stopped within are its pages handed on. (A
// first press at a row's pump ends the run between scenes instead.)
TEST_P(PrintRunJobsStopTest, ASecondCancelStopsAtTheSerialRunsPage)
{
    m_app.setOutputDevice(GetParam().device);
    m_app.setBundleByActor(GetParam().bundles);
    PressesAtPumps serialView(GetParam().firstPress);
    const Printed serial = print(1, "serial", serialView);
    PressesAtPumps parallelView(GetParam().firstPress);
    const Printed parallel = print(4, "parallel", parallelView);
    EXPECT_TRUE(serial.outcome.cancelled);
    EXPECT_EQ(serial.outcome.interrupted, GetParam().interrupted);
    EXPECT_EQ(counts(parallel.outcome), counts(serial.outcome));
    EXPECT_EQ(parallel.log, serial.log);
    ASSERT_EQ(parallel.files.size(), serial.files.size());
    for (const auto& [path, bytes] : serial.files)
        EXPECT_TRUE(parallel.files.count(path) && parallel.files.at(path) == bytes) << path;
    EXPECT_EQ(temporariesBelow(m_folder.path()), std::vector<std::string>());
}

INSTANTIATE_TEST_SUITE_P(Pumps, PrintRunJobsStopTest,
                         testing::Values(StopCase{2, true}, StopCase{5, true}, StopCase{9, false},
                                         StopCase{17, true}, StopCase{5, true, OutputDevice::Pdf},
                                         StopCase{17, true, OutputDevice::Pdf, true}));

struct BlockedCase {
    const char* name;
    OutputDevice device;
    bool bundles;
    const char* blocked; // what a folder stands in the way of, in the destination
    int failed;          // scenes that lose pages
};

class PrintRunJobsBlockedTest : public PrintRunJobsTest,
                                public testing::WithParamInterface<BlockedCase> {};

// A scene whose page folder cannot be made (a file stands under its name)
// loses its pages and is logged as failed; the scenes after it are printed
// and logged in their places, as in the serial run. A bundle that cannot
// take its name (a folder stands there) fails every scene in it.
TEST_P(PrintRunJobsBlockedTest, AScenesUnwritablePagesFailItAloneAndTheOthersFollowInOrder)
{
    m_app.setOutputDevice(GetParam().device);
    m_app.setBundleByActor(GetParam().bundles);
    for (const char* name : {"1", "3"}) {
        const std::string blocked = m_folder.path() + "out" + name + "/" + GetParam().blocked;
        std::filesystem::create_directories(m_folder.path() + "out" + name);
        if (GetParam().bundles)
            std::filesystem::create_directories(blocked + "/kept");
        else
            m_folder.write(std::string("out") + name + "/" + GetParam().blocked, "not a folder");
    }
    const Printed serial = print(1, "1");
    const Printed parallel = print(3, "3");
    EXPECT_EQ(serial.outcome.failed, GetParam().failed);
    EXPECT_EQ(serial.outcome.printed, 7 - GetParam().failed);
    EXPECT_GT(serial.outcome.pagesLost, 0);
    if (!GetParam().bundles) {
        EXPECT_NE(serial.log.find("e.screenplay.txt" +
                                  PrintRun::failedSuffix(serial.outcome.pagesLost).toStdString()),
                  std::string::npos)
            << serial.log;
    }
    EXPECT_EQ(counts(parallel.outcome), counts(serial.outcome));
    EXPECT_EQ(parallel.log, serial.log);
    EXPECT_EQ(parallel.files.size(), serial.files.size());
    EXPECT_EQ(temporariesBelow(m_folder.path()), std::vector<std::string>());
}

INSTANTIATE_TEST_SUITE_P(
    Devices, PrintRunJobsBlockedTest,
    testing::Values(BlockedCase{"Png", OutputDevice::Png, false, "e", 1},
                    BlockedCase{"PdfPerScript", OutputDevice::Pdf, false, "e", 1},
                    BlockedCase{"PdfBundles", OutputDevice::Pdf, true, "店主.pdf", 4}),
    [](const auto& info) { return std::string(info.param.name); });

struct LeftoverCase {
    const char* name;
    OutputDevice device;
    bool bundles;
    int jobs;
    const char* folder; // below the destination, where the run writes temporaries
    const char* prefix;
    const char* ending;
};

class PrintRunJobsLeftoverTest : public PrintRunJobsTest,
                                 public testing::WithParamInterface<LeftoverCase> {};

// The temporaries a crashed run left where a run writes its own go with
// that run; those of a process still running stay.
TEST_P(PrintRunJobsLeftoverTest, ARunRemovesTheTemporariesOfEndedProcesses)
{
    const LeftoverCase& c = GetParam();
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const std::string folder = std::string("out") + c.name + "/" + c.folder;
    std::filesystem::create_directories(m_folder.path() + folder);
    const std::string crashed = folder + c.prefix + std::to_string(child) + "-3" + c.ending;
    const std::string running = folder + c.prefix + "1-4" + c.ending;
    m_folder.write(crashed, "cut");
    m_folder.write(running, "being written");
    m_app.setOutputDevice(c.device);
    m_app.setBundleByActor(c.bundles);
    const Printed printed = print(c.jobs, c.name);
    EXPECT_EQ(printed.outcome.printed, 7);
    EXPECT_FALSE(std::filesystem::exists(m_folder.path() + crashed));
    EXPECT_TRUE(std::filesystem::exists(m_folder.path() + running));
}

INSTANTIATE_TEST_SUITE_P(
    Devices, PrintRunJobsLeftoverTest,
    testing::Values(
        LeftoverCase{"PngEncoder", OutputDevice::Png, false, 1, "a/", ".quillon-png-", ".part"},
        LeftoverCase{"PngOnWorkers", OutputDevice::Png, false, 2, "a/", ".quillon-png-", ".part"},
        LeftoverCase{"PdfDrafts", OutputDevice::Pdf, false, 2, "", ".quillon-", ".pdf.part"},
        LeftoverCase{"PdfScripts", OutputDevice::Pdf, false, 1, "a/", ".quillon-", ".pdf.part"},
        LeftoverCase{"PdfBundles", OutputDevice::Pdf, true, 1, "", ".quillon-", ".pdf.part"}),
    [](const auto& info) { return std::string(info.param.name); });

// A scene that cannot be read is put to the user once, from the run's own
// thread, and left out as in the serial run.
TEST_F(PrintRunJobsTest, AnUnreadableSceneIsToldOnceAndLeftOut)
{
    m_app.setOutputDevice(OutputDevice::Bmp);
    m_folder.remove("b.screenplay.txt");
    const Printed serial = print(1, "1");
    const std::size_t askedSerially = m_prompt.questions().size();
    const Printed parallel = print(4, "4");
    EXPECT_EQ(serial.outcome.unreadable, 1);
    ASSERT_EQ(askedSerially, 1u);
    EXPECT_EQ(m_prompt.questions().size(), 2 * askedSerially);
    EXPECT_EQ(counts(parallel.outcome), counts(serial.outcome));
    EXPECT_EQ(parallel.log, serial.log);
    EXPECT_EQ(parallel.files.size(), serial.files.size());
}

// A partial run prints on workers exactly the scripts, pages and log lines
// the serial run prints.
TEST_F(PrintRunJobsTest, APartialRunPrintsWhatTheSerialPartialRunPrints)
{
    m_app.setOutputDevice(OutputDevice::Bmp);
    m_app.setGenericScript(true);
    LineSelection selection;
    for (int bodyLine : {1, 21, 23, 25})
        selection.select(sj("a.screenplay.txt"), sj("さくら"), bodyLine);
    for (int bodyLine = 2; bodyLine < 90; bodyLine += 7)
        selection.select(sj("e.screenplay.txt"), sj("悠人"), bodyLine);
    selection.select(sj("i.screenplay.txt"), sj("店主"), 40);
    ScriptedProgressView serialView, parallelView;
    const Printed serial = print(1, "1", serialView, &selection);
    const Printed parallel = print(3, "3", parallelView, &selection);
    EXPECT_EQ(serial.outcome.printed, 3);
    EXPECT_EQ(counts(parallel.outcome), counts(serial.outcome));
    EXPECT_EQ(parallel.log, serial.log);
    ASSERT_EQ(parallel.files.size(), serial.files.size());
    for (const auto& [path, bytes] : serial.files)
        EXPECT_TRUE(parallel.files.count(path) && parallel.files.at(path) == bytes) << path;
}

} // namespace

namespace {

// Presses cancel while the run waits for a worker that is held up in the
// middle of its scene, then lets the worker go on.
struct PressesWhileWaiting : ScriptedProgressView {
    int presses = 0;
    std::atomic<bool> held{false}, released{false};
    void pumpWaiting(UxProgressDialog& dialog) override
    {
        ScriptedProgressView::pumpWaiting(dialog);
        for (int press = 0; held && !released && press < presses; ++press)
            dialog.pressCancel();
        released = held.load();
    }
};

class PrintRunJobsWaitTest : public PrintRunJobsTest, public testing::WithParamInterface<int> {};

} // namespace

// A cancel pressed while the run waits for a slow scene is heard during the
// wait: one press ends the run once that scene is printed, as the serial
// run cancelled at that row; two stop the scene after the page its worker
// is on, without waiting for the rest of it. Neither leaves files or log
// lines of the scenes after it, nor a temporary.
TEST_P(PrintRunJobsWaitTest, ACancelWhileWaitingIsHeardBeforeTheSlowSceneEnds)
{
    const int presses = GetParam();
    m_app.setOutputDevice(OutputDevice::Png);
    const int slow = rowOf("g.screenplay.txt");
    for (const char* name : {"a.screenplay.txt", "b.screenplay.txt", "c.screenplay.txt",
                             "d.screenplay.txt", "e.screenplay.txt"})
        catalogue().setTicked(rowOf(name), false);
    TitledCancelView serialView(sj("台本の印刷"), slow + 1);
    const Printed serial = print(1, "serial", serialView);
    ASSERT_EQ(serial.outcome.printed, 1);

    PressesWhileWaiting view;
    view.presses = presses;
    const std::string destination = m_folder.path() + "outparallel/";
    m_app.setDestinationFolder(destination);
    m_app.setLogPath(m_folder.path() + "logs/parallel");
    m_app.printFormat().setJobs(2);
    PrintRun run(m_app);
    run.setWorkerWatch([&](int index) {
        if (index != slow)
            return;
        view.held = true;
        while (!view.released)
            std::this_thread::yield();
    });
    UxProgressDialog progress(view);
    const PrintRun::Outcome outcome = run.printAll(catalogue(), progress);
    const auto files = filesBelow(destination);
    const std::string log = bytesOf(m_folder.path() + "logs/parallel");

    EXPECT_TRUE(view.released);
    EXPECT_GT(view.waitingPumps(), 0);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.interrupted, presses == 2);
    for (const auto& [path, bytes] : files) {
        EXPECT_EQ(path.find(".part"), std::string::npos) << path;
        EXPECT_EQ(path.rfind("g/", 0), 0u) << path;
    }
    if (presses == 1) {
        EXPECT_EQ(counts(outcome), counts(serial.outcome));
        EXPECT_EQ(log, serial.log);
        EXPECT_EQ(files, serial.files);
    } else {
        EXPECT_EQ(outcome.printed, 0);
        EXPECT_LT(outcome.pages, serial.outcome.pages);
        EXPECT_EQ(files.size(), std::size_t(outcome.pages));
        EXPECT_NE(log.find("g.screenplay.txt" + std::string(PrintRun::unfinishedSuffix())),
                  std::string::npos)
            << log;
    }
}

INSTANTIATE_TEST_SUITE_P(Presses, PrintRunJobsWaitTest, testing::Values(1, 2));
