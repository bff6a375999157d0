// How long the window goes without processing its events during a print
// run from the desktop program: a generated scenario of about 500 pages is
// printed to PNG with the progress window of the desktop program on the
// offscreen platform, and the longest time between two event-processing
// passes (each one repaints what needs it) is reported as max_gap_ms, with
// the pages and the mean gap. Target: max_gap_ms under 200.

#include "SceneGenerator.h"
#include "app/MainWindowModel.h"
#include "app/Quillon.h"
#include "gui/OffscreenApplication.h"
#include "gui/QtProgressView.h"
#include "reports/PrintRun.h"
#include "ui/HeadlessDialogHost.h"
#include "ui/HeadlessProgressView.h"
#include "ui/UxDialogs.h"
#include "ui/UxProgressDialog.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

constexpr int Scenes = 25;
constexpr std::size_t SceneBytes = 14000;

// The desktop program's progress window, with a clock on its event passes.
class GapMeter : public ProgressView {
public:
    void opened(UxProgressDialog& dialog) override
    {
        m_window.opened(dialog);
        m_last = Clock::now();
    }
    void textChanged(UxProgressDialog& dialog) override { m_window.textChanged(dialog); }
    void positionChanged(UxProgressDialog& dialog) override { m_window.positionChanged(dialog); }
    void pump(UxProgressDialog& dialog) override
    {
        m_window.pump(dialog);
        const Clock::time_point now = Clock::now();
        const double gap = std::chrono::duration<double, std::milli>(now - m_last).count();
        if (m_pumps == 0)
            m_first = gap;
        m_longest = std::max(m_longest, gap);
        m_total += gap;
        ++m_pumps;
        m_last = now;
    }
    void closed(UxProgressDialog& dialog) override { m_window.closed(dialog); }

    double longest() const { return m_longest; }
    double mean() const { return m_pumps ? m_total / m_pumps : 0; }
    double first() const { return m_first; }

private:
    using Clock = std::chrono::steady_clock;
    QtProgressView m_window;
    Clock::time_point m_last{};
    double m_longest = 0;
    double m_first = 0;
    double m_total = 0;
    int m_pumps = 0;
};

void printResponsiveness(benchmark::State& state)
{
    const std::string root = "/tmp/quillon-responsive-bench-" + std::to_string(getpid()) + "/";
    const std::string folder = root + "scenario/";
    std::filesystem::create_directories(folder);
    for (int i = 0; i < Scenes; ++i) {
        std::string text = SceneGenerator::generate(SceneBytes + std::size_t(i) * 97);
        char name[32];
        std::snprintf(name, sizeof name, "s%02d", i);
        text.replace(text.find("bench"), 5, name);
        std::ofstream(folder + name + ".screenplay.txt", std::ios::binary) << text;
    }
    Quillon app;
    MainWindowModel window(app.catalogue());
    app.setScenarioFolder(folder);
    {
        HeadlessProgressView quiet(stderr, false);
        UxProgressDialog progress(quiet);
        HeadlessDialogHost dialogs;
        UxDialogs notices(dialogs);
        if (app.loadScenarioFolder(progress, notices, window.loadDisplay()) != FolderLoad::Loaded)
            state.SkipWithError("the folder did not load");
    }
    app.setOutputDevice(OutputDevice::Png);
    app.setDestinationFolder(root + "pages/");
    app.setLogPath(root + "quillon.log.txt");

    double longest = 0, mean = 0, first = 0;
    int pages = 0;
    for (auto _ : state) {
        GapMeter meter;
        PrintRun run(app.context());
        UxProgressDialog progress(meter);
        const PrintRun::Outcome outcome = run.printAll(app.catalogue(), progress);
        pages = outcome.pages;
        longest = std::max(longest, meter.longest());
        mean = meter.mean();
        first = meter.first();
    }
    state.counters["pages"] = pages;
    state.counters["max_gap_ms"] = longest;
    state.counters["mean_gap_ms"] = mean;
    state.counters["first_pump_ms"] = first;
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

} // namespace

BENCHMARK(printResponsiveness)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    const auto application = OffscreenApplication::start(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
