// Conversion throughput: a generated tree of 2,000 old-engine sources (ten
// sub-folders of 200) converted into screenplay files, measured in bytes of
// source per second. The layout benchmark (quillon_bench) gives the
// figure to compare with.

#include "convert/ConversionService.h"
#include "convert/ConversionState.h"
#include "fc/FCString.h"
#include "fc/Progress.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
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
        const std::string root = "/tmp/quillon-convert-bench-" + std::to_string(getpid()) + "/";
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
// batches, the last one put in place at the end.
void convertTree(benchmark::State& state)
{
    const Tree& t = tree();
    const ConversionService::Inputs inputs{FCString(t.sources), FCString(t.output),
                                           FCString(t.definitions), true};
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

} // namespace

BENCHMARK(convertTree)->Unit(benchmark::kMillisecond)->MinTime(3.0);

BENCHMARK_MAIN();
