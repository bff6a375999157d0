// Folder load throughput: a scenario folder of generated screenplay files
// read into the catalogue with the headless seams, as the batch tool does
// it. Reported as files per second (warm cache: the folder
// is written once and read over and over). The headers are read with one
// job and with one per core (the second argument; 0 = one per core), so that
// the two can be compared in one run.

#include "ScenarioFolder.h"
#include "app/Quillon.h"
#include "format/PrintFormat.h"
#include "ui/HeadlessDialogHost.h"
#include "ui/HeadlessProgressView.h"
#include "ui/UxDialogs.h"
#include "ui/UxProgressDialog.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

void folderLoad(benchmark::State& state)
{
    const int files = static_cast<int>(state.range(0));
    const std::string& path = benchScenarioFolder(files);
    HeadlessProgressView silent(nullptr, false);
    HeadlessDialogHost dialogs;
    UxDialogs notices(dialogs);
    Quillon app;
    app.setScenarioFolder(path);
    app.printFormat().setJobs(static_cast<int>(state.range(1)));
    for (auto _ : state) {
        UxProgressDialog progress(silent);
        if (app.loadScenarioFolder(progress, notices) != FolderLoad::Loaded)
            state.SkipWithError("the folder did not load");
        benchmark::DoNotOptimize(app.catalogue().count());
    }
    if (app.catalogue().count() != files)
        state.SkipWithError("not every file became an entry");
    state.counters["files"] =
        benchmark::Counter(double(files) * double(state.iterations()), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(folderLoad)
    ->ArgsProduct({{1000, 10000}, {1, 0}})
    ->ArgNames({"files", "jobs"})
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
