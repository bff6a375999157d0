// Throughput of the check lists over a whole scenario folder: the page
// estimate that comes first (every scene laid out, as after a change of the
// print format), the scene list and the character lists, written as CSV into
// a folder emptied before every run. Runs with one job and with one per core
// (the second argument; 0 = one per core), so that the two can be compared
// in one run; CPU time against wall time tells how busy the cores were.

#include "LoadedScenario.h"
#include "app/Quillon.h"
#include "format/PrintFormat.h"
#include "platform/WorkerPool.h"
#include "reports/CheckListReport.h"
#include "ui/HeadlessDialogHost.h"
#include "ui/HeadlessProgressView.h"
#include "ui/UxDialogs.h"
#include "ui/UxProgressDialog.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr std::size_t SceneBytes = 4096;

void checkLists(benchmark::State& state)
{
    LoadedScenario& s =
        LoadedScenario::fourSizesKept("checklist", static_cast<int>(state.range(0)), SceneBytes);
    s.layOutAfresh(static_cast<int>(state.range(1)));
    const PrintFormat& format = s.app->printFormat();
    const std::filesystem::path out = s.root + "lists/";
    HeadlessDialogHost dialogs;
    UxDialogs notices(dialogs);
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove_all(out);
        std::filesystem::create_directories(out);
        state.ResumeTiming();
        UxProgressDialog progress(LoadedScenario::silentView());
        const CheckListReport::Outcome outcome =
            CheckListReport::run(s.app->context(), s.app->catalogue(), FCString(out.string()),
                                 CheckListOptions::of(true, true, true, false), progress, notices);
        if (outcome.sceneList != CheckListResult::Written ||
            outcome.characterList != CheckListResult::Written)
            state.SkipWithError("the lists were not written");
    }
    state.counters["jobs"] = static_cast<double>(WorkerPool(format.jobs()).jobs());
    state.counters["scenes"] = benchmark::Counter(
        double(state.range(0)) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * s.bytes);
}

} // namespace

BENCHMARK(checkLists)
    ->ArgsProduct({{1000, 10000}, {1, 0}})
    ->ArgNames({"scenes", "jobs"})
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
