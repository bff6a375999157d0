// The page preview's cost on the window's thread: opening the preview of a
// scene (its layout and its first page), drawing a page not drawn before,
// and showing a page again from the preview's cache. A page must be ready
// well within the 50 ms a window may stay busy; beyond about 30 ms a page
// would have to be drawn on a worker thread. The counters:
//   ms_per_open        lay the scene out and draw page 1, per opening
//   ms_first_open      the first of those, with glyph caches still empty
//   ms_per_page        draw one page that is not in the cache
//   ms_slowest_page    the slowest of those pages, over all iterations
//   ms_per_cached_page a page taken from the cache
//
// The first opening finds glyph caches that have never seen the scene's
// characters, as the first preview after the program starts does.

#include "LoadedScenario.h"
#include "SceneGenerator.h"
#include "app/MainWindowModel.h"
#include "app/PagePreviewModel.h"
#include "app/Quillon.h"
#include "render/FCVSurface.h"
#include "ui/HeadlessProgressView.h"
#include "ui/UxProgressDialog.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

// A scene long enough for more pages than the preview keeps.
constexpr std::size_t SceneBytes = 60000;

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

HeadlessProgressView& silentView()
{
    return LoadedScenario::silentView();
}

// A scenario folder of one generated scene, loaded as the catalogue loads
// it, with the default settings (PRESET-14p).
struct Scenario : LoadedScenario {
    Scenario()
        : LoadedScenario("preview",
                         {{"bench.screenplay.txt", SceneGenerator::generate(SceneBytes)}})
    {
    }
};

Scenario& scenario()
{
    static Scenario made;
    return made;
}

void openPreview(benchmark::State& state)
{
    Scenario& s = scenario();
    int pages = 0;
    double first = -1;
    double total = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        PagePreviewModel preview(*s.app, s.window->rows());
        if (!preview.showRow(0) || !preview.pageImage(0))
            state.SkipWithError("no page to preview");
        const double spent = millisecondsSince(start);
        if (first < 0)
            first = spent; // glyphs not cached yet
        total += spent;
        pages = preview.pageCount();
    }
    state.counters["pages"] = pages;
    state.counters["ms_per_open"] = total / double(state.iterations());
    state.counters["ms_first_open"] = first;
}

void drawPage(benchmark::State& state)
{
    Scenario& s = scenario();
    PagePreviewModel preview(*s.app, s.window->rows());
    if (!preview.showRow(0) || preview.pageCount() <= PagePreviewModel::CachedPages) {
        state.SkipWithError("the scene has too few pages to miss the cache");
        return;
    }
    // Walking the pages in a cycle longer than the cache misses every time.
    int page = 0;
    double slowest = 0;
    double total = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        benchmark::DoNotOptimize(preview.pageImage(page));
        const double spent = millisecondsSince(start);
        slowest = std::max(slowest, spent);
        total += spent;
        page = (page + 1) % preview.pageCount();
    }
    state.counters["pages"] = preview.pageCount();
    state.counters["ms_per_page"] = total / double(state.iterations());
    state.counters["ms_slowest_page"] = slowest;
    state.counters["drawn"] = preview.pagesDrawn();
}

void cachedPage(benchmark::State& state)
{
    Scenario& s = scenario();
    PagePreviewModel preview(*s.app, s.window->rows());
    if (!preview.showRow(0) || !preview.pageImage(0)) {
        state.SkipWithError("no page to preview");
        return;
    }
    double total = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        benchmark::DoNotOptimize(preview.pageImage(0));
        total += millisecondsSince(start);
    }
    state.counters["ms_per_cached_page"] = total / double(state.iterations());
    state.counters["drawn"] = preview.pagesDrawn();
}

} // namespace

BENCHMARK(openPreview)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(drawPage)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(cachedPage)->Unit(benchmark::kMicrosecond)->UseRealTime();

BENCHMARK_MAIN();
