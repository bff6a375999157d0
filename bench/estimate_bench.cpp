// Throughput of the page-count estimate over whole scenario folders: every
// scene loaded and laid out once, as the first estimate of a print mode
// does, in MB of screenplay per second; and a second estimate, which finds
// every page count in the cache. The first estimate runs with one job and
// with one per core (the second argument; 0 = one per core), so that the
// two can be compared in one run; CPU time against wall time tells how busy
// the cores were.

#include "LoadedScenario.h"
#include "SceneGenerator.h"
#include "app/Quillon.h"
#include "format/PrintFormat.h"
#include "platform/WorkerPool.h"
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

HeadlessProgressView& silentView()
{
    return LoadedScenario::silentView();
}

// A folder of the given number of scenes, loaded as the catalogue loads it.
LoadedScenario& scenario(int scenes)
{
    return LoadedScenario::fourSizesKept("estimate", scenes, SceneBytes);
}

// Custom mode with PRESET-14p's sizes: every estimate lays every scene out
// afresh, exactly the work of a first PRESET-14p estimate.
void firstEstimate(benchmark::State& state)
{
    LoadedScenario& s = scenario(static_cast<int>(state.range(0)));
    s.layOutAfresh(static_cast<int>(state.range(1)));
    const PrintFormat& format = s.app->printFormat();
    int64_t total = 0;
    for (auto _ : state) {
        PageCountEstimate estimate(s.app->context());
        UxProgressDialog progress(silentView());
        total = estimate.run(s.app->catalogue(), true, progress);
        benchmark::DoNotOptimize(total);
    }
    state.counters["pages"] = static_cast<double>(total);
    state.counters["jobs"] = static_cast<double>(WorkerPool(format.jobs()).jobs());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * s.bytes);
}

// PRESET-14p after a first estimate: nothing is laid out.
void cachedEstimate(benchmark::State& state)
{
    LoadedScenario& s = scenario(static_cast<int>(state.range(0)));
    s.app->printFormat().setMode(PrintFormat::ModePreset14);
    s.app->printFormat().setJobs(0);
    UxProgressDialog first(silentView());
    PageCountEstimate(s.app->context()).run(s.app->catalogue(), true, first);
    for (auto _ : state) {
        PageCountEstimate estimate(s.app->context());
        UxProgressDialog progress(silentView());
        benchmark::DoNotOptimize(estimate.run(s.app->catalogue(), true, progress));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * s.bytes);
}

} // namespace

BENCHMARK(firstEstimate)
    ->ArgsProduct({{1000, 10000}, {1, 0}})
    ->ArgNames({"scenes", "jobs"})
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(cachedEstimate)->Arg(10000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
