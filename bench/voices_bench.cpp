// Delivered voice files: matching a delivery by name against a walk that
// stats every file (what `find -type f` over the same tree costs at most),
// the header check in files per second with a warm cache, and sorting by
// move against `mv` of the same files. Each prints its own figure and the
// ratio the targets are set in (matching at most 1.5x the stat walk, at
// least 10,000 headers a second, a move at most 2x mv).

#include "platform/AudioProbe.h"
#include "platform/SystemClock.h"
#include "ui/HeadlessProgressView.h"
#include "ui/UxProgressDialog.h"
#include "voices/DeliveryScan.h"
#include "voices/SpeakerLines.h"
#include "voices/VoiceCheck.h"
#include "voices/VoiceNumberPattern.h"
#include "voices/VoiceSortPlan.h"
#include "voices/VoiceSorter.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sndfile.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The progress of the work, shown nowhere.
class SilentProgress : public UxProgressDialog {
public:
    SilentProgress() : UxProgressDialog(m_view) {}
    // Closed while its view is still there.
    ~SilentProgress() override { close(); }

private:
    HeadlessProgressView m_view{nullptr, false};
};

std::string benchRoot()
{
    static const std::string root = [] {
        char pattern[] = "/tmp/quillon-voices-bench-XXXXXX";
        if (!mkdtemp(pattern))
            std::abort();
        return std::string(pattern);
    }();
    return root;
}

// files empty "%06d.wav" files in folders of 1000, made once.
const std::string& deliveryOf(int files)
{
    static std::string made;
    if (made.empty()) {
        made = benchRoot() + "/delivery";
        for (int i = 0; i < files; ++i) {
            const std::string folder = made + "/" + std::to_string(i / 1000);
            if (i % 1000 == 0)
                std::filesystem::create_directories(folder);
            char name[16];
            std::snprintf(name, sizeof name, "/%06d.wav", i);
            std::ofstream(folder + name).put('\0');
        }
    }
    return made;
}

// The reference walk: every entry stat'ed, as a walk that cannot trust the
// entry types must.
int64_t statWalk(const std::string& folder)
{
    int64_t files = 0;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return 0;
    std::vector<std::string> subfolders;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat info;
        if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISDIR(info.st_mode))
            subfolders.push_back(folder + "/" + name);
        else if (S_ISREG(info.st_mode))
            ++files;
    }
    ::closedir(dir);
    for (const std::string& sub : subfolders)
        files += statWalk(sub);
    return files;
}

double secondsOf(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Matching by name: walk, numbers, the check with every line's number, the
// files taken as good without opening them.
void matchByName(benchmark::State& state)
{
    const int files = int(state.range(0));
    const std::string& delivery = deliveryOf(files);
    std::vector<SpeakerLine> lines;
    for (int i = 0; i < files; ++i)
        lines.push_back({std::to_string(i), uint64_t(i), 0, "x"});
    double matching = 0, walking = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        SilentProgress progress;
        Delivery found;
        bool cancelled = false;
        DeliveryScan::scan(delivery, VoiceNumberPattern(), {}, progress, found, cancelled);
        AudioProbe::Result good;
        good.frames = 1;
        good.sampleRate = 1;
        const auto result = VoiceCheck::run(
            lines, found, {}, [&](const DeliveredFile&) { return good; }, progress);
        if (result.total.recorded != files)
            state.SkipWithError("not every file matched");
        const double took = secondsOf(start);
        matching += took;
        state.SetIterationTime(took);

        const auto reference = Clock::now();
        if (statWalk(delivery) != files)
            state.SkipWithError("the reference walk missed files");
        walking += secondsOf(reference);
    }
    state.counters["walk_ms"] = 1000 * walking / double(state.iterations());
    state.counters["ratio"] = matching / walking;
}

// The header of each of 2000 one-second WAV files, read again and again.
void headerCheck(benchmark::State& state)
{
    const int files = 2000;
    const std::string folder = benchRoot() + "/headers";
    std::filesystem::create_directories(folder);
    std::vector<std::string> paths;
    std::vector<short> samples(8000, 1000);
    for (int i = 0; i < files; ++i) {
        paths.push_back(folder + "/" + std::to_string(i) + ".wav");
        SF_INFO info{};
        info.samplerate = 8000;
        info.channels = 1;
        info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        SNDFILE* file = sf_open(paths.back().c_str(), SFM_WRITE, &info);
        sf_writef_short(file, samples.data(), sf_count_t(samples.size()));
        sf_close(file);
    }
    for (auto _ : state) {
        for (const std::string& path : paths) {
            if (AudioProbe::probe(path, false).broken())
                state.SkipWithError("a good file read as broken");
        }
    }
    state.counters["files"] =
        benchmark::Counter(double(files) * double(state.iterations()), benchmark::Counter::kIsRate);
}

// Moving `files` files into one character's folder, against `mv` of the same
// files from the same place to the same place.
void sortByMove(benchmark::State& state)
{
    const int files = int(state.range(0));
    const std::string root = benchRoot() + "/move";
    auto makeFiles = [&] {
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root + "/delivery");
        for (int i = 0; i < files; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "/%06d.wav", i);
            std::ofstream(root + "/delivery" + name).put('\0');
        }
    };
    std::vector<SortItem> items;
    for (int i = 0; i < files; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "%06d.wav", i);
        items.push_back({root + "/delivery/" + name, name, {root + "/sorted/x"}, false});
    }
    double sorting = 0, moving = 0;
    for (auto _ : state) {
        makeFiles();
        const auto start = Clock::now();
        const SystemClock wallClock;
        VoiceSorter sorter(root + "/sorted", true, wallClock);
        SilentProgress progress;
        if (sorter.run(items, progress) != VoiceSorter::Outcome::Done ||
            sorter.counts().moved != files)
            state.SkipWithError("the sort did not move every file");
        const double took = secondsOf(start);
        sorting += took;
        state.SetIterationTime(took);

        makeFiles();
        std::filesystem::create_directories(root + "/mv/x");
        const std::string command = "cd " + root + "/delivery && mv -- *.wav " + root + "/mv/x/";
        const auto reference = Clock::now();
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("mv failed");
        moving += secondsOf(reference);
    }
    state.counters["mv_ms"] = 1000 * moving / double(state.iterations());
    state.counters["ratio"] = sorting / moving;
}

} // namespace

BENCHMARK(matchByName)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(headerCheck)->Unit(benchmark::kMillisecond);
BENCHMARK(sortByMove)->Arg(10000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(benchRoot());
    return 0;
}
