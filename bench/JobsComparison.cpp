#include "JobsComparison.h"

#include "platform/WorkerPool.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Measured {
    double wall = 0;
    double cpu = 0;
    double peakMb = 0;
    int pages = 0;
    bool ok = false;
};

double seconds(const timeval& t)
{
    return double(t.tv_sec) + double(t.tv_usec) * 1e-6;
}

// One run in a child process: its wall and CPU time, its peak memory.
Measured forked(const std::function<int(int)>& print, int jobs)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return {};
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(channel[0]);
        ::close(channel[1]);
        return {};
    }
    if (child == 0) {
        ::close(channel[0]);
        Measured measured;
        const auto start = std::chrono::steady_clock::now();
        measured.pages = print(jobs);
        measured.wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        measured.cpu = seconds(usage.ru_utime) + seconds(usage.ru_stime);
        measured.peakMb = double(usage.ru_maxrss) / 1024.0;
        measured.ok = true;
        const ssize_t written = ::write(channel[1], &measured, sizeof measured);
        ::_exit(written == ssize_t(sizeof measured) ? 0 : 1);
    }
    ::close(channel[1]);
    Measured measured;
    if (::read(channel[0], &measured, sizeof measured) != ssize_t(sizeof measured))
        measured = Measured();
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return measured;
}

double loadAverage()
{
    double load = 0;
    if (std::FILE* file = std::fopen("/proc/loadavg", "r")) {
        if (std::fscanf(file, "%lf", &load) != 1)
            load = 0;
        std::fclose(file);
    }
    return load;
}

} // namespace

void JobsComparison::run(benchmark::State& state, const std::function<int(int jobs)>& print,
                         int rounds)
{
    state.counters["load"] = loadAverage();
    Measured one, all;
    int measuredRounds = 0;
    for (auto _ : state) {
        for (int round = 0; round < rounds; ++round) {
            const Measured a = forked(print, 1);
            const Measured b = forked(print, 0);
            if (!a.ok || !b.ok) {
                state.SkipWithError("a measured run did not report");
                return;
            }
            one.wall += a.wall;
            one.cpu += a.cpu;
            one.peakMb = std::max(one.peakMb, a.peakMb);
            one.pages = a.pages;
            all.wall += b.wall;
            all.cpu += b.cpu;
            all.peakMb = std::max(all.peakMb, b.peakMb);
            all.pages = b.pages;
            ++measuredRounds;
        }
    }
    if (measuredRounds == 0 || one.pages == 0 || all.pages == 0)
        return;
    const double n = measuredRounds;
    auto put = [&](const char* suffix, const Measured& m) {
        state.counters[std::string("wall_s") + suffix] = m.wall / n;
        state.counters[std::string("cpu_s") + suffix] = m.cpu / n;
        state.counters[std::string("cpu_per_wall") + suffix] = m.wall > 0 ? m.cpu / m.wall : 0;
        state.counters[std::string("cpu_ms_per_page") + suffix] = m.cpu / n / m.pages * 1000;
        state.counters[std::string("peak_mb") + suffix] = m.peakMb;
    };
    put("_1", one);
    put("_all", all);
    state.counters["pages"] = all.pages;
    state.counters["cores"] = WorkerPool::cores();
    state.counters["wall_all_vs_1"] = one.wall > 0 ? all.wall / one.wall : 0;
    state.counters["cpu_page_all_vs_1"] =
        one.cpu > 0 ? (all.cpu / all.pages) / (one.cpu / one.pages) : 0;
}
