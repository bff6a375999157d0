// The print run to PDF files next to the same run to PNG pages: a generated
// scenario is printed as a whole (load, layout, drawing, writing, the log)
// to PNG pages, to one PDF per script and to one PDF bundle per character.
// Every run reports, per page, the wall time (ms_per_page), the CPU time of
// the whole process, user plus system, every thread included
// (cpu_ms_per_page), and the bytes its files take (bytes_per_page). The last
// benchmark states the ratios:
//   png_vs_bundle_bytes   PNG bytes per page / bundle bytes per page (target >= 5)
//   png_vs_script_bytes   PNG bytes per page / per-script PDF bytes per page
//   pdf_cpu_ms_per_page   CPU per page of the per-script PDF run (target <= 10)
//   bundle_cpu_ms_per_page  the same for the bundles (target <= 10)
// printJobsPdfPerScript and printJobsPdfBundles then print about 800 pages,
// one file per script and one bundle per character, with every core against
// one job, as JobsComparison states it. Per script each worker writes whole
// files; with bundles the workers lay out, shape and record the pages, and
// threads of the bundles' own paint them into the bundles, each bundle's in
// list order (cairo's page output and its compression, most of the CPU of
// a bundle page). Each measured run prints into a folder no run has used,
// so that removing an earlier run's files is not timed with it.
// cancelJobsPdf/B/P cancels such a run with every core (B: bundles, P: one
// press or two) and reports the milliseconds from the press to the run's
// end, closing the files included: cancel_ms (mean) and cancel_ms_max
// (target: under 200 with two presses).

#include "JobsComparison.h"
#include "LoadedScenario.h"
#include "SceneGenerator.h"
#include "app/MainWindowModel.h"
#include "app/Quillon.h"
#include "format/PrintFormat.h"
#include "reports/PrintRun.h"
#include "ui/HeadlessProgressView.h"
#include "ui/ProgressView.h"
#include "ui/UxProgressDialog.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Scenes = 12;
constexpr std::size_t SceneBytes = 14000;

double seconds(const timeval& t)
{
    return double(t.tv_sec) + double(t.tv_usec) * 1e-6;
}

// CPU time of the whole process so far, every thread's user and system time.
double processCpu()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The bytes of every file below a folder.
double bytesBelow(const std::string& folder)
{
    double bytes = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error)) {
        if (entry.is_regular_file())
            bytes += double(entry.file_size());
    }
    return bytes;
}

// A scenario folder of generated scenes, loaded as the catalogue loads it,
// printed with the application's defaults (PRESET-14p, no director's copy).
struct Scenario : LoadedScenario {
    explicit Scenario(int scenes = Scenes)
        : LoadedScenario("pdf", numberedScenes(scenes, SceneBytes, Scenes))
    {
        app->setLogPath(root + "quillon.log.txt");
    }

    // One whole print run into a fresh destination; the pages emitted.
    int print(OutputDevice device, bool bundles, const std::string& destination)
    {
        std::error_code ignored;
        std::filesystem::remove_all(destination, ignored);
        return printInto(device, bundles, destination);
    }

    // The same into a destination that is not there yet, shown in view
    // (null: nowhere).
    int printInto(OutputDevice device, bool bundles, const std::string& destination,
                  ProgressView* view = nullptr)
    {
        app->setOutputDevice(device);
        app->setBundleByActor(bundles);
        app->setDestinationFolder(destination);
        PrintRun run(app->context());
        UxProgressDialog progress(view ? *view : silentView());
        const PrintRun::Outcome outcome = run.printAll(app->catalogue(), progress);
        if (outcome.pagesLost > 0 || outcome.failed > 0)
            std::fprintf(stderr, "pdf_bench: %d pages lost\n", outcome.pagesLost);
        return outcome.pages;
    }
};

// Presses cancel, once or twice, at the first pump of the run after a
// while, and keeps the time of the press.
class CancelAfter : public ProgressView {
public:
    CancelAfter(std::chrono::milliseconds after, int presses) : m_after(after), m_presses(presses)
    {
    }
    void opened(UxProgressDialog&) override { m_start = Clock::now(); }
    void textChanged(UxProgressDialog&) override {}
    void positionChanged(UxProgressDialog&) override {}
    void pump(UxProgressDialog& dialog) override { press(dialog); }
    void pumpWaiting(UxProgressDialog& dialog) override { press(dialog); }
    void closed(UxProgressDialog&) override {}

    bool pressed() const { return m_pressed; }
    Clock::time_point pressedAt() const { return m_pressedAt; }

private:
    void press(UxProgressDialog& dialog)
    {
        if (m_pressed || Clock::now() - m_start < m_after)
            return;
        m_pressed = true;
        m_pressedAt = Clock::now();
        for (int n = 0; n < m_presses; ++n)
            dialog.pressCancel();
    }

    std::chrono::milliseconds m_after;
    int m_presses;
    Clock::time_point m_start;
    Clock::time_point m_pressedAt;
    bool m_pressed = false;
};

Scenario& scenario()
{
    static Scenario made;
    return made;
}

struct Figures {
    double pngBytes = 0, scriptBytes = 0, bundleBytes = 0;
    double scriptCpu = 0, bundleCpu = 0;
} figures;

void printRun(benchmark::State& state, OutputDevice device, bool bundles, const char* folder,
              double& bytesPerPage, double* cpuPerPage)
{
    Scenario& s = scenario();
    const std::string destination = s.root + folder;
    int pages = 0;
    const Clock::time_point wall = Clock::now();
    const double cpu = processCpu();
    for (auto _ : state)
        pages = s.print(device, bundles, destination);
    const double runs = double(state.iterations()) * double(pages > 0 ? pages : 1);
    const double cpuPage = (processCpu() - cpu) / runs;
    bytesPerPage = bytesBelow(destination) / double(pages > 0 ? pages : 1);
    if (cpuPerPage)
        *cpuPerPage = cpuPage;
    state.counters["pages"] = pages;
    state.counters["ms_per_page"] =
        std::chrono::duration<double>(Clock::now() - wall).count() / runs * 1000;
    state.counters["cpu_ms_per_page"] = cpuPage * 1000;
    state.counters["bytes_per_page"] = bytesPerPage;
}

void printRunPng(benchmark::State& state)
{
    printRun(state, OutputDevice::Png, false, "png/", figures.pngBytes, nullptr);
}

void printRunPdf(benchmark::State& state)
{
    printRun(state, OutputDevice::Pdf, false, "pdf/", figures.scriptBytes, &figures.scriptCpu);
}

void printRunPdfBundles(benchmark::State& state)
{
    printRun(state, OutputDevice::Pdf, true, "bundles/", figures.bundleBytes, &figures.bundleCpu);
}

double ratio(double a, double b)
{
    return b > 0 ? a / b : 0;
}

void ratios(benchmark::State& state)
{
    for (auto _ : state) {
    }
    state.counters["png_vs_bundle_bytes"] = ratio(figures.pngBytes, figures.bundleBytes);
    state.counters["png_vs_script_bytes"] = ratio(figures.pngBytes, figures.scriptBytes);
    state.counters["pdf_cpu_ms_per_page"] = figures.scriptCpu * 1000;
    state.counters["bundle_cpu_ms_per_page"] = figures.bundleCpu * 1000;
}

// The PDF files of a scenario of about 800 pages with every core against one
// job, each in a process of its own (see JobsComparison).
void printJobsPdf(benchmark::State& state, bool bundles)
{
    Scenario s(34);
    const std::string jobsFolder = s.root + "jobs/";
    JobsComparison::run(state, [&](int jobs) {
        s.app->printFormat().setJobs(jobs);
        // Each measured run is a process of its own: its number names a
        // destination no run has used.
        return s.printInto(OutputDevice::Pdf, bundles,
                           jobsFolder + std::to_string(::getpid()) + "/");
    });
    std::error_code ignored;
    std::filesystem::remove_all(jobsFolder, ignored);
}

// The time from a cancel to the end of the run with every core, about 0.4 s
// into a run of about 800 pages (args: bundles, presses). One press lets the
// scene being printed end; two stop it after its page in progress. Either
// way the files of the scenes printed are closed before the run ends.
void cancelJobsPdf(benchmark::State& state)
{
    static Scenario s(34);
    const bool bundles = state.range(0) != 0;
    const int presses = static_cast<int>(state.range(1));
    s.app->printFormat().setJobs(0);
    double total = 0;
    double longest = 0;
    int runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::error_code ignored;
        std::filesystem::remove_all(s.root + "cancel/", ignored);
        state.ResumeTiming();
        CancelAfter view(std::chrono::milliseconds(400), presses);
        s.printInto(OutputDevice::Pdf, bundles, s.root + "cancel/", &view);
        if (!view.pressed())
            continue;
        const double ms =
            std::chrono::duration<double, std::milli>(Clock::now() - view.pressedAt()).count();
        total += ms;
        longest = std::max(longest, ms);
        ++runs;
    }
    state.counters["cancel_ms"] = runs > 0 ? total / runs : 0;
    state.counters["cancel_ms_max"] = longest;
}

void printJobsPdfPerScript(benchmark::State& state)
{
    printJobsPdf(state, false);
}

void printJobsPdfBundles(benchmark::State& state)
{
    printJobsPdf(state, true);
}

} // namespace

BENCHMARK(printRunPng)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(printRunPdf)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(printRunPdfBundles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ratios)->Iterations(1);
BENCHMARK(printJobsPdfPerScript)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(printJobsPdfBundles)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(cancelJobsPdf)
    ->ArgsProduct({{0, 1}, {1, 2}})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
