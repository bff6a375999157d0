// Comparing two versions of a scenario of 10,000 scenes (about 4 KB each)
// against `cmp` over the two folders' files, the target being at most 3x.
// Two pairs: an ordinary rewrite (one scene in ten with a line added, the
// others the same bytes) and the worst case, where every file differs in
// its bytes (CR LF line ends) but not in its lines, so every scene is read
// and compared line by line. Each prints the comparison's time, `cmp`'s
// (one process per pair of files, as a shell loop runs it) and, as a
// stricter floor, reading and comparing the same bytes in this process.

#include "SceneGenerator.h"
#include "changes/ScenarioComparison.h"
#include "platform/TextCodec.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Scenes = 10000;

std::string benchRoot()
{
    static const std::string root = [] {
        char pattern[] = "/tmp/quillon-changes-bench-XXXXXX";
        if (!mkdtemp(pattern))
            std::abort();
        return std::string(pattern);
    }();
    return root;
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string withCrLf(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

// OLD and NEW of a pair, made once: "rewrite" or "line-ends".
std::pair<std::string, std::string> versions(const std::string& kind)
{
    const std::string old = benchRoot() + "/" + kind + "-old/";
    const std::string now = benchRoot() + "/" + kind + "-new/";
    if (std::filesystem::exists(now))
        return {old, now};
    std::filesystem::create_directories(old);
    std::filesystem::create_directories(now);
    const std::string added = TextCodec::fromUtf8("999999 さくら「書き足した台詞」\n");
    for (int i = 0; i < Scenes; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "s%05d.screenplay.txt", i);
        const std::string text = SceneGenerator::generate(3000 + std::size_t(i % 7) * 300);
        writeFile(old + name, text);
        if (kind == "rewrite")
            writeFile(now + name, i % 10 == 0 ? text + added : text);
        else
            writeFile(now + name, withCrLf(text));
    }
    return {old, now};
}

double secondsOf(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double cmpLoop(const std::string& old, const std::string& now)
{
    const std::string line =
        "cd '" + old + "' && for f in *.screenplay.txt; do cmp -s \"$f\" '" + now + "'\"$f\"; done";
    const auto start = Clock::now();
    if (std::system(line.c_str()) == -1)
        std::abort();
    return secondsOf(start);
}

double bytesCompared(const std::string& old, const std::string& now)
{
    const auto start = Clock::now();
    int same = 0;
    std::vector<std::string> names;
    if (!ScenarioComparison::listScenes(old, names))
        std::abort();
    for (const std::string& name : names) {
        std::string a, b;
        if (ScenarioComparison::readFile(old + name, a) &&
            ScenarioComparison::readFile(now + name, b))
            same += a == b;
    }
    benchmark::DoNotOptimize(same);
    return secondsOf(start);
}

void compareVersions(benchmark::State& state, const std::string& kind, std::size_t expected)
{
    const auto [old, now] = versions(kind);
    double comparing = 0, cmp = 0, bytes = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        ScenarioComparison::Input input;
        input.oldFolder = old;
        input.newFolder = now;
        const ScenarioComparison::Result result = ScenarioComparison::compare(input);
        const double took = secondsOf(start);
        if (result.changes.size() != expected || result.scenes != Scenes)
            state.SkipWithError("not the changes made");
        comparing += took;
        state.SetIterationTime(took);
        cmp += cmpLoop(old, now);
        bytes += bytesCompared(old, now);
    }
    const double runs = double(state.iterations());
    state.counters["cmp_ms"] = 1000 * cmp / runs;
    state.counters["ratio_cmp"] = comparing / cmp;
    state.counters["bytes_ms"] = 1000 * bytes / runs;
    state.counters["ratio_bytes"] = comparing / bytes;
}

void rewrite(benchmark::State& state)
{
    compareVersions(state, "rewrite", Scenes / 10);
}

void lineEnds(benchmark::State& state)
{
    compareVersions(state, "line-ends", 0);
}

} // namespace

BENCHMARK(rewrite)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(lineEnds)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(benchRoot(), ignored);
    return 0;
}
