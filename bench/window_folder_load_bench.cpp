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
//                          start).

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
#include <string>
#include <sys/resource.h>

namespace {

// The main window as the program shows it, with its windows for progress.
class ShownWindow {
public:
    explicit ShownWindow(const std::string& folder) : m_folder(QString::fromStdString(folder))
    {
        m_window.show();
        settle();
    }

    // Opens the folder and lets the window lay out and repaint; the rows it
    // lists.
    int load()
    {
        m_window.openFolder(m_folder);
        settle();
        return m_window.model().list().rowCount();
    }

private:
    // Processes events until none is left: a pass over the event loop can
    // post more (the view's layout, then its repaint), and what one load
    // leaves undone would otherwise be billed to the next.
    static void settle() { QCoreApplication::processEvents(QEventLoop::AllEvents, 1000); }

    QString m_folder;
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
    explicit Headless(const std::string& folder) { m_app.setScenarioFolder(folder); }

    // The entries the folder gave.
    int load()
    {
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
    ShownWindow shown(benchScenarioFolder(files));
    for (auto _ : state) {
        if (shown.load() != files)
            state.SkipWithError("the list does not show every file");
    }
    state.counters["files"] =
        benchmark::Counter(double(files) * double(state.iterations()), benchmark::Counter::kIsRate);
}

void windowAgainstHeadless(benchmark::State& state)
{
    const int files = static_cast<int>(state.range(0));
    const std::string& folder = benchScenarioFolder(files);
    double load = 0;
    getloadavg(&load, 1);
    ShownWindow shown(folder);
    Headless headless(folder);
    Spent window;
    Spent batch;
    const auto loadWindow = [&] { return shown.load() == files; };
    const auto loadHeadless = [&] { return headless.load() == files; };
    bool windowFirst = false;
    for (auto _ : state) {
        // Each goes first every other round, so that neither always finds
        // the caches as the other left them.
        windowFirst = !windowFirst;
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

int main(int argc, char** argv)
{
    const auto application = OffscreenApplication::start(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
