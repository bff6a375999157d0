// Throughput of screenplay load-and-layout against a plain CP932 character
// walk over the same bytes.

#include "SceneGenerator.h"
#include "platform/Cp932.h"
#include "render/ScriptPrinter.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <unistd.h>

namespace {

const std::string& scene(std::size_t megabytes)
{
    static std::map<std::size_t, std::string> scenes;
    auto found = scenes.find(megabytes);
    if (found == scenes.end())
        found = scenes.emplace(megabytes, SceneGenerator::generate(megabytes << 20)).first;
    return found->second;
}

// The scene as a file, so that the benchmark includes reading it.
const std::string& sceneFile(std::size_t megabytes)
{
    static std::map<std::size_t, std::string> files;
    auto found = files.find(megabytes);
    if (found == files.end()) {
        std::string path = "/tmp/quillon-bench-" + std::to_string(getpid()) + "-" +
                           std::to_string(megabytes) + ".screenplay.txt";
        std::ofstream(path, std::ios::binary) << scene(megabytes);
        found = files.emplace(megabytes, path).first;
        std::atexit([] {
            for (auto& [size, file] : files)
                std::remove(file.c_str());
        });
    }
    return found->second;
}

// One scene read and laid out with the given typesetting, as a print run
// lays it out.
void layOut(benchmark::State& state, const TypesettingOptions& typesetting)
{
    const auto megabytes = static_cast<std::size_t>(state.range(0));
    const std::string& path = sceneFile(megabytes);
    int pages = 0;
    for (auto _ : state) {
        ScriptPrinter printer;
        printer.setTypesetting(typesetting);
        printer.load(path.c_str());
        pages = printer.layout().pageCount();
        benchmark::DoNotOptimize(pages);
    }
    state.counters["pages"] = pages;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(scene(megabytes).size()));
}

void loadAndLayout(benchmark::State& state)
{
    layOut(state, {});
}

// The same with every typesetting option on: line breaking, upright digits
// and readings.
void loadAndLayoutTypeset(benchmark::State& state)
{
    layOut(state, {TypesettingOptions::LineBreaking::Strict, true, true});
}

void plainWalk(benchmark::State& state)
{
    const std::string& text = scene(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        const char* p = text.data();
        const char* end = p + text.size();
        std::size_t characters = 0;
        while (p < end) {
            p = Cp932::next(p, end);
            ++characters;
        }
        benchmark::DoNotOptimize(characters);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
}

} // namespace

BENCHMARK(plainWalk)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(loadAndLayout)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(loadAndLayoutTypeset)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
