// Throughput of the page-count estimate over whole scenario folders: every
// scene loaded and laid out once, as the first estimate of a print mode
// does, in MB of screenplay per second; and a second estimate, which finds
// every page count in the cache.

#include "SceneGenerator.h"
#include "app/MainWindowModel.h"
#include "app/Quillon.h"
#include "format/PrintFormat.h"
#include "reports/PageCountEstimate.h"
#include "ui/HeadlessProgressView.h"
#include "ui/UxProgressDialog.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

constexpr std::size_t SceneBytes = 4096;

struct Scenario {
    std::string folder;
    int64_t bytes = 0;
    std::unique_ptr<Quillon> app;
    std::unique_ptr<MainWindowModel> window;
};

HeadlessProgressView& silentView()
{
    static HeadlessProgressView view(stderr, false);
    return view;
}

// A folder of the given number of scenes, loaded as the catalogue loads it.
Scenario& scenario(int scenes)
{
    static std::map<int, Scenario> scenarios;
    auto found = scenarios.find(scenes);
    if (found != scenarios.end())
        return found->second;

    Scenario& made = scenarios[scenes];
    made.folder = "/tmp/quillon-estimate-bench-" + std::to_string(getpid()) + "-" +
                  std::to_string(scenes) + "/";
    std::filesystem::create_directories(made.folder);
    // Scenes of a few sizes around SceneBytes, so that page counts differ.
    std::string bodies[4];
    for (int i = 0; i < 4; ++i)
        bodies[i] = SceneGenerator::generate(SceneBytes / 2 + std::size_t(i) * SceneBytes / 3);
    char name[32];
    for (int i = 0; i < scenes; ++i) {
        std::snprintf(name, sizeof name, "s%05d.screenplay.txt", i);
        const std::string& body = bodies[i % 4];
        std::ofstream(made.folder + name, std::ios::binary) << body;
        made.bytes += static_cast<int64_t>(body.size());
    }
    std::atexit([] {
        std::error_code ignored;
        for (auto& [count, s] : scenarios)
            std::filesystem::remove_all(s.folder, ignored);
    });

    made.app = std::make_unique<Quillon>();
    made.window = std::make_unique<MainWindowModel>();
    made.app->setScenarioFolder(made.folder);
    UxProgressDialog::Scope quiet(silentView());
    if (made.app->loadScenarioFolder(*made.window) != FolderLoad::Loaded)
        std::fprintf(stderr, "estimate_bench: the folder did not load\n");
    return made;
}

// Custom mode with PRESET-14p's sizes: every estimate lays every scene out
// afresh, exactly the work of a first PRESET-14p estimate.
void firstEstimate(benchmark::State& state)
{
    Scenario& s = scenario(static_cast<int>(state.range(0)));
    PrintFormat& format = s.app->printFormat();
    format.setMode(PrintFormat::ModeCustom);
    format.setCustomFontSize(14);
    format.setCustomLineWidth(20);
    format.setCustomLinesPerPage(47);
    format.setCustomCharsPerLine(40);
    UxProgressDialog::Scope quiet(silentView());
    int64_t total = 0;
    for (auto _ : state) {
        PageCountEstimate estimate(*s.app);
        total = estimate.run(s.window->list(), true);
        benchmark::DoNotOptimize(total);
    }
    state.counters["pages"] = static_cast<double>(total);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * s.bytes);
}

// PRESET-14p after a first estimate: nothing is laid out.
void cachedEstimate(benchmark::State& state)
{
    Scenario& s = scenario(static_cast<int>(state.range(0)));
    s.app->printFormat().setMode(PrintFormat::ModePreset14);
    UxProgressDialog::Scope quiet(silentView());
    PageCountEstimate(s.app->context()).run(s.window->list(), true);
    for (auto _ : state) {
        PageCountEstimate estimate(*s.app);
        benchmark::DoNotOptimize(estimate.run(s.window->list(), true));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * s.bytes);
}

} // namespace

BENCHMARK(firstEstimate)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(cachedEstimate)->Arg(10000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
