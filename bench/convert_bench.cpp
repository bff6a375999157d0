// Conversion throughput: a generated tree of 2,000 old-engine sources (ten
// sub-folders of 200) converted into screenplay files, measured in bytes of
// source per second of wall time, with one thread and with one per core;
// beside it the layout of a screenplay of the same size (as quillon_bench
// lays it out), in bytes of screenplay per second. At the end the ratios of
// the two are printed: conversion against layout, for each job count.
//
// Where a run's time goes (strace -c -f and perf record -g of a batch
// convert of the same tree over the outputs of the run before, on an ext4
// without a journal mounted with discard): per source one stat in the
// folder listing; open, stat, read and close of the source; open, stat,
// write, truncate and close of the old screenplay file it writes over (see
// SpareFiles); lstat and the exchange of names; one syncfs per 64 files.
// About 130 new files per run (those in flight before the first spares are
// ready) are made and removed at the end. The scanner and writer take about
// three quarters of the CPU. Before, a new file per source cost the inode
// allocator's search past every file released in the last minutes (a
// quarter of the CPU), and the rename over the old file its release, which
// waits for the disk's discard (wall time far above the CPU time on a busy
// disk).
//
// On a loaded machine the wall-time ratios say little: each line gives the
// ratio of the throughputs per CPU second as well (the conversion's CPU
// time counts all its threads).
//
// Run on a quiet machine, in a Release build (-DQUILLON_BENCH=ON):
//   setsid -w build-release/bench/quillon_convert_bench
//   QUILLON_BENCH_DIR=/dev/shm setsid -w build-release/bench/quillon_convert_bench

#include "SceneGenerator.h"
#include "convert/ConversionService.h"
#include "convert/ConversionState.h"
#include "fc/FCString.h"
#include "fc/Progress.h"
#include "render/ScriptPrinter.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

constexpr int Folders = 10;
constexpr int SourcesPerFolder = 200;

// One scene in the old engine's form: speech lines of six speakers (some
// with an alias), stage directions, choices, effects and comments.
std::string generateSource(int scene)
{
    static const char* const speakers[] = {"yuto", "sakura", "shop", "teacher", "cat", "mob"};
    // 「今日はいい天気だね。」 and 「看板」 in Shift-JIS.
    static const std::string line = "\x8d\xa1\x93\xfa\x82\xcd\x82\xa2\x82\xa2\x93\x56\x8b\x43"
                                    "\x82\xbe\x82\xcb\x81\x42";
    static const std::string alias = "\x8a\xc5\x94\xc2";
    std::string text = "// scene " + std::to_string(scene) + "\nvoid scene()\n{\n";
    for (int i = 0; i < 300; ++i) {
        const int id = scene * 300 + i;
        const char* speaker = speakers[(scene + i) % 6];
        text += "\t";
        text += speaker;
        text += ".say(" + std::to_string(id) + ", ";
        if (i % 7 == 0)
            text += "\"" + alias + "\", ";
        text += "\"" + line + line + "\");\n";
        if (i % 25 == 0)
            text += "\t// EV0" + std::to_string(i) + "a\n\tbg.fadeOut();\n";
        if (i % 40 == 0)
            text +=
                "\tq.initQuestion();\n\tq.prepareQuestion(\"A\");\n\tq.prepareQuestion(\"B\");\n";
        if (i % 30 == 0)
            text += "\tse.playEffect(1, " + std::to_string(i) + "); // rain\n";
    }
    return text + "}\n";
}

// Where the tree and the screenplay go: /tmp, or the folder QUILLON_BENCH_DIR
// names (a tmpfs such as /dev/shm leaves out the disk's flushes, which on a
// shared machine wait for everybody's writes).
std::string benchFolder()
{
    const char* folder = std::getenv("QUILLON_BENCH_DIR");
    std::string path = folder && *folder ? folder : "/tmp";
    if (path.back() != '/')
        path += '/';
    return path;
}

struct Tree {
    std::string sources;
    std::string output;
    std::string definitions;
    int64_t bytes = 0;
};

const Tree& tree()
{
    static Tree made = [] {
        Tree t;
        const std::string root =
            benchFolder() + "quillon-convert-bench-" + std::to_string(getpid()) + "/";
        t.sources = root + "src/";
        t.output = root + "out/";
        t.definitions = root + "names.txt";
        std::filesystem::create_directories(t.output);
        for (int folder = 0; folder < Folders; ++folder) {
            const std::string dir = t.sources + "part" + std::to_string(folder) + "/";
            std::filesystem::create_directories(dir);
            for (int i = 0; i < SourcesPerFolder; ++i) {
                const int scene = folder * SourcesPerFolder + i;
                const std::string text = generateSource(scene);
                std::ofstream(dir + "scene" + std::to_string(scene) + ".cpp", std::ios::binary)
                    << text;
                t.bytes += int64_t(text.size());
            }
        }
        std::ofstream(t.definitions, std::ios::binary)
            << "yuto,0,Yuto\nsakura,1,Sakura\nshop,2,Shop\nteacher,3,Teacher\ncat,4,Cat\n";
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(
                std::filesystem::path(tree().sources).parent_path().parent_path(), ignored);
        });
        return t;
    }();
    return made;
}

// Nobody watches a benchmark run: its progress goes nowhere.
class SilentProgress : public Progress {
public:
    void setTitle(std::string_view) override {}
    void setText(std::string_view) override {}
    void setupBar(bool, int32_t, int32_t, int32_t) override {}
    void setStepSize(int32_t) override {}
    void open(bool) override {}
    void close() override {}
    bool step() override { return false; }
    void setPosition(int32_t) override {}
    void pump() override {}
    bool cancelled() const override { return false; }
    bool stopRequested() const override { return false; }
};

// What the conversion window and the batch tool run, without their dialogs:
// the definitions, the source list, every source converted and written in
// batches, the last one put in place at the end. The argument is the job
// count (0: one per core).
void convertTree(benchmark::State& state)
{
    const Tree& t = tree();
    const ConversionService::Inputs inputs{FCString(t.sources), FCString(t.output),
                                           FCString(t.definitions), true, int(state.range(0))};
    SilentProgress progress;
    int written = 0;
    for (auto _ : state) {
        ConversionState conversion;
        ConversionService service(conversion);
        const ConversionService::Result result = service.convert(inputs, progress);
        if (result.outcome != ConversionService::Outcome::Done) {
            state.SkipWithError("the conversion did not run");
            return;
        }
        written = result.writtenCount;
        benchmark::DoNotOptimize(result.text.length());
    }
    state.counters["files"] = written;
    state.SetBytesProcessed(int64_t(state.iterations()) * t.bytes);
}

// The layout of a screenplay as large as the source tree, read from a file.
void layOut(benchmark::State& state)
{
    static const std::string path = [] {
        const std::string file =
            benchFolder() + "quillon-convert-bench-" + std::to_string(getpid()) + ".screenplay.txt";
        std::ofstream(file, std::ios::binary)
            << SceneGenerator::generate(std::size_t(tree().bytes));
        std::atexit([] { std::remove(path.c_str()); });
        return file;
    }();
    const int64_t bytes = int64_t(std::filesystem::file_size(path));
    int pages = 0;
    for (auto _ : state) {
        ScriptPrinter printer;
        printer.load(path.c_str());
        pages = printer.layout().pageCount();
        benchmark::DoNotOptimize(pages);
    }
    state.counters["pages"] = pages;
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes);
}

// Prints the runs as the console does and, at the end, each conversion's
// throughput against the layout's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            auto rate = run.counters.find("bytes_per_second");
            if (run.error_occurred || run.run_type != Run::RT_Iteration ||
                rate == run.counters.end())
                continue;
            m_rates[run.benchmark_name()] = rate->second.value;
            m_cpu[run.benchmark_name()] = run.GetAdjustedCPUTime() / run.GetAdjustedRealTime();
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const auto layout = std::find_if(m_rates.begin(), m_rates.end(), [](const auto& entry) {
            return entry.first.starts_with("layOut");
        });
        if (layout == m_rates.end())
            return;
        std::printf("layout: %.1f MB/s of screenplay\n", layout->second / 1e6);
        const double layoutPerCpu = layout->second / m_cpu[layout->first];
        for (const auto& [name, rate] : m_rates) {
            if (!name.starts_with("convertTree"))
                continue;
            std::printf("%s: %.1f MB/s of source, %.2f cores busy, %.3f of the layout's "
                        "throughput, %.3f per CPU second\n",
                        name.c_str(), rate / 1e6, m_cpu[name], rate / layout->second,
                        rate / m_cpu[name] / layoutPerCpu);
        }
        std::string load;
        std::getline(std::ifstream("/proc/loadavg"), load);
        std::printf("cores: %u, load: %s\n", std::thread::hardware_concurrency(), load.c_str());
    }

private:
    std::map<std::string, double> m_rates;
    std::map<std::string, double> m_cpu;
};

} // namespace

// Wall time: the threads' work is what the user waits for. The CPU time is
// the whole process's, so that "cores busy" counts the workers.
BENCHMARK(convertTree)
    ->ArgName("jobs")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(layOut)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
