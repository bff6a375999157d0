// Folder load throughput in the desktop program's window: the same
// generated folders as the headless benchmark, opened in the main window on
// the offscreen platform the way a recent folder is, so that everything the
// user waits for is in the time: the progress window, the list's rows, the
// columns fitted to them, the counts, and the repaint that shows them.
//
//   windowFolderLoad       files per second of wall time, with the CPU time
//                          of the whole process (the load's worker threads
//                          included);
//   windowAgainstHeadless  the window's load and the headless one (one job
//                          per core, as the batch tool loads), alternately in
//                          the same process, so that both see the same
//                          machine. Counters: window_files_s and
//                          headless_files_s (files per second of wall time),
//                          window_vs_headless (their ratio, the target being
//                          at least 0.9), window_cpu_ms and headless_cpu_ms
//                          (CPU time of every thread per load),
//                          window_main_ms and headless_main_ms (CPU time of
//                          the thread that loads, which the window's own work
//                          adds to; on a busy machine the steadiest figure),
//                          and load (the load average over a minute at the
//                          start). The folder is the same at every load, as
//                          when a folder is opened again: the list has
//                          measured its names before.
//   windowNewFolderAgainstHeadless
//                          the same with two folders of other names taken
//                          in turn, so that every load of the window lists
//                          names its last one did not: the first opening of
//                          a folder.

#include "ScenarioFolder.h"
#include "app/Quillon.h"
#include "gui/DesktopEnvironment.h"
#include "gui/MainWindow.h"
#include "gui/OffscreenApplication.h"
#include "gui/QtProgressView.h"
#include "platform/SilentPrompt.h"
#include "platform/SystemClock.h"
#include "ui/HeadlessDialogHost.h"
#include "ui/HeadlessProgressView.h"
#include "ui/UxDialogs.h"
#include "ui/UxListViewControl.h"
#include "ui/UxProgressDialog.h"

#include <QCoreApplication>
#include <QString>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

// A copy of the bench folder of files scenes whose names all begin with
// "other-", so that a list that showed the first lists none of its names;
// made on first use and removed at exit. The path ends with "/".
const std::string& renamedScenarioFolder(int files)
{
    static std::map<int, std::string> folders;
    auto found = folders.find(files);
    if (found != folders.end())
        return found->second;
    namespace fs = std::filesystem;
    const fs::path from(benchScenarioFolder(files));
    const fs::path to = from.parent_path().string() + "-other";
    fs::create_directory(to);
    for (const fs::directory_entry& file : fs::directory_iterator(from))
        fs::copy_file(file.path(), to / ("other-" + file.path().filename().string()),
                      fs::copy_options::overwrite_existing);
    if (folders.empty()) {
        std::atexit([] {
            for (auto& [count, made] : folders) {
                std::error_code ignored;
                fs::remove_all(made, ignored);
            }
        });
    }
    return folders.emplace(files, to.string() + "/").first->second;
}

// The main window as the program shows it, with its windows for progress.
class ShownWindow {
public:
    ShownWindow()
    {
        m_window.show();
        settle();
    }

    // Opens the folder and lets the window lay out and repaint; the rows it
    // lists.
    int load(const std::string& folder)
    {
        m_window.openFolder(QString::fromStdString(folder));
        settle();
        return m_window.model().list().rowCount();
    }

private:
    // Processes events until none is left: a pass over the event loop can
    // post more (the view's layout, then its repaint), and what one load
    // leaves undone would otherwise be billed to the next.
    static void settle() { QCoreApplication::processEvents(QEventLoop::AllEvents, 1000); }

    QtProgressView m_progress;
    HeadlessDialogHost m_dialogs;
    SilentPrompt m_prompt;
    const SystemClock m_clock;
    DesktopEnvironment m_environment{
        {.dialogs = m_dialogs, .progress = m_progress, .prompt = m_prompt, .clock = m_clock}};
    Quillon m_app;
    MainWindow m_window{m_app, m_environment};
};

// The batch tool's load: no window, one job per core.
class Headless {
public:
    // The entries the folder gave.
    int load(const std::string& folder)
    {
        m_app.setScenarioFolder(folder);
        UxProgressDialog progress(m_silent);
        if (m_app.loadScenarioFolder(progress, m_notices) != FolderLoad::Loaded)
            return -1;
        return m_app.catalogue().count();
    }

private:
    HeadlessProgressView m_silent{nullptr, false};
    HeadlessDialogHost m_dialogs;
    UxDialogs m_notices{m_dialogs};
    Quillon m_app;
};

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + now.tv_nsec / 1e9;
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Wall and CPU seconds summed over the loads timed.
struct Spent {
    double wall = 0;
    double cpu = 0;
    double mainCpu = 0;

    template <typename Load> bool time(Load&& load)
    {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = cpuSeconds();
        const double mainStart = threadCpuSeconds();
        const bool whole = load();
        mainCpu += threadCpuSeconds() - mainStart;
        cpu += cpuSeconds() - cpuStart;
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        return whole;
    }
};

void windowFolderLoad(benchmark::State& state)
{
    const int files = static_cast<int>(state.range(0));
    const std::string& folder = benchScenarioFolder(files);
    ShownWindow shown;
    for (auto _ : state) {
        if (shown.load(folder) != files)
            state.SkipWithError("the list does not show every file");
    }
    state.counters["files"] =
        benchmark::Counter(double(files) * double(state.iterations()), benchmark::Counter::kIsRate);
}

// The window's load and the headless one in turn, over the folders in turn.
void compareWithHeadless(benchmark::State& state, const std::vector<std::string>& folders)
{
    const int files = static_cast<int>(state.range(0));
    double load = 0;
    getloadavg(&load, 1);
    ShownWindow shown;
    Headless headless;
    Spent window;
    Spent batch;
    std::size_t round = 0;
    const std::string* folder = &folders[0];
    const auto loadWindow = [&] { return shown.load(*folder) == files; };
    const auto loadHeadless = [&] { return headless.load(*folder) == files; };
    for (auto _ : state) {
        folder = &folders[round % folders.size()];
        // Each goes first in every other pass over the folders, so that
        // neither always finds the caches as the other left them.
        const bool windowFirst = round / folders.size() % 2 == 0;
        ++round;
        bool whole = true;
        if (windowFirst)
            whole = window.time(loadWindow);
        whole = batch.time(loadHeadless) && whole;
        if (!windowFirst)
            whole = window.time(loadWindow) && whole;
        if (!whole)
            state.SkipWithError("not every file was listed");
    }
    const double loads = double(state.iterations());
    const double windowRate = files * loads / window.wall;
    const double headlessRate = files * loads / batch.wall;
    state.counters["window_files_s"] = windowRate;
    state.counters["headless_files_s"] = headlessRate;
    state.counters["window_vs_headless"] = windowRate / headlessRate;
    state.counters["window_cpu_ms"] = window.cpu * 1000 / loads;
    state.counters["headless_cpu_ms"] = batch.cpu * 1000 / loads;
    state.counters["window_main_ms"] = window.mainCpu * 1000 / loads;
    state.counters["headless_main_ms"] = batch.mainCpu * 1000 / loads;
    state.counters["load"] = load;
}

void windowAgainstHeadless(benchmark::State& state)
{
    compareWithHeadless(state, {benchScenarioFolder(int(state.range(0)))});
}

void windowNewFolderAgainstHeadless(benchmark::State& state)
{
    const int files = int(state.range(0));
    compareWithHeadless(state, {benchScenarioFolder(files), renamedScenarioFolder(files)});
}

} // namespace

BENCHMARK(windowFolderLoad)
    ->Arg(1000)
    ->Arg(10000)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK(windowAgainstHeadless)
    ->Arg(1000)
    ->Arg(10000)
    ->MinTime(5)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK(windowNewFolderAgainstHeadless)
    ->Arg(10000)
    ->MinTime(5)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    const auto application = OffscreenApplication::start(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
