// Folder load throughput in the desktop program's window: the same
// generated folders as the headless benchmark, loaded into the main list
// while a list view shows it and the progress window pumps events after
// every file, on the offscreen platform. Reported as files per second of
// wall time, with the CPU time of the whole process (the load's worker
// threads included), to be read beside the headless figure with one job per
// core.

#include "ScenarioFolder.h"
#include "app/MainWindowModel.h"
#include "app/Quillon.h"
#include "gui/ListView.h"
#include "gui/OffscreenApplication.h"
#include "gui/QtProgressView.h"
#include "ui/HeadlessDialogHost.h"
#include "ui/UxDialogs.h"
#include "ui/UxProgressDialog.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <string>

namespace {

void windowFolderLoad(benchmark::State& state)
{
    const int files = static_cast<int>(state.range(0));
    const std::string& path = benchScenarioFolder(files);
    QtProgressView progress;
    HeadlessDialogHost dialogs;
    UxDialogs notices(dialogs);
    Quillon app;
    MainWindowModel window(app.catalogue());
    ListView view;
    view.setList(&window.list());
    view.resize(800, 600);
    view.show();
    app.setScenarioFolder(path);
    for (auto _ : state) {
        UxProgressDialog dialog(progress);
        if (app.loadScenarioFolder(dialog, notices, window.loadDisplay()) != FolderLoad::Loaded)
            state.SkipWithError("the folder did not load");
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(view.model()->rowCount());
    }
    if (view.model()->rowCount() != files)
        state.SkipWithError("the view does not show every file");
    view.setList(nullptr);
    state.counters["files"] =
        benchmark::Counter(double(files) * double(state.iterations()), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(windowFolderLoad)
    ->Arg(1000)
    ->Arg(10000)
    ->MeasureProcessCPUTime()
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
