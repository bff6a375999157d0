#pragma once

#include <benchmark/benchmark.h>
#include <functional>

// A print run with every core against the same run with one job, each run in
// a process of its own (forked from the benchmark, so that its peak memory
// is its own), alternately, a few rounds. run(jobs) prints and returns the
// pages emitted (jobs 0: one per core). The counters, per setting (_1: one
// job, _all: every core):
//   wall_s, cpu_s         wall and CPU time (user plus system, every thread)
//   cpu_per_wall          cores kept busy (target with every core: >= 0.875 x cores)
//   cpu_ms_per_page       CPU per page (target: every core <= 1.15 x one job)
//   peak_mb               peak resident memory of the run's process
// and wall_all_vs_1 (target <= 0.85 on 2 cores), cpu_page_all_vs_1, cores,
// and load, the load average over a minute when the comparison started.
namespace JobsComparison {

void run(benchmark::State& state, const std::function<int(int jobs)>& print, int rounds = 3);

} // namespace JobsComparison
