#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

// Runs numbered jobs on worker threads and hands their results back to the
// calling thread in number order, so that whatever a caller does with a
// result (counting it, logging it, writing it) happens exactly as a loop
// over the numbers would do it. Workers run at most slots() jobs ahead of
// the last result handed back: memory stays bounded whatever the count.
//
// With one job nothing is started: each job runs on the calling thread
// right before its result is handed back, as the plain loop does.
class WorkerPool {
public:
    // The number of worker threads; 0 (or less) means one per core. Each
    // worker may run up to slotsPerJob jobs ahead of the results handed
    // back: a few for large results (pages), many for small ones, so that
    // the workers need not wait for the committing thread to be scheduled.
    // A worker takes up to batch consecutive indices at a time and wakes
    // the calling thread once for all of them: for jobs of a few
    // microseconds (a scene's header or layout), where waking the calling
    // thread for every result would cost more than the job, and on a busy
    // machine hands the cores to other programs at every wake-up.
    // A count beyond MaxJobs threads (a typing slip on the command line)
    // is taken as MaxJobs, and slots per job beyond MaxSlotsPerJob as that,
    // so that neither the threads nor the slots can run away.
    explicit WorkerPool(int jobs, int slotsPerJob = 4, int batch = 1);
    static constexpr int MaxJobs = 256;
    static constexpr int MaxSlotsPerJob = 4096;

    int jobs() const { return m_jobs; }
    int batch() const { return m_batch; }
    // The results that can be in flight at once: the slots a caller keeps.
    int slots() const { return m_jobs * m_slotsPerJob; }
    // The cores the system reports, at least 1.
    static int cores();

    // Calls work(index, slot, worker) for every index in [0, count) on the
    // workers (worker is the number of the thread running it, below jobs(),
    // for state a thread keeps to itself; slot is below slots() and not
    // reused until that index has been handed back), and commit(index, slot)
    // on the calling thread in index order once that job is done. When
    // commit returns false no further job is started, the running ones are
    // waited for and run returns. An exception from a job is raised again
    // from run at the job's index, after the other workers have stopped; one
    // from commit likewise. Returns the number of indices committed.
    //
    // While the calling thread waits for the job at index to end, waiting
    // (when given) is called there every WaitInterval, so that a thread that
    // must answer its user (a progress window, a cancel key) does so even
    // while a long job runs; what it raises is raised from run, as commit's
    // exceptions are. With one job nothing is waited for.
    int run(int count, const std::function<void(int index, int slot, int worker)>& work,
            const std::function<bool(int index, int slot)>& commit,
            const std::function<void(int index)>& waiting = {});
    static constexpr std::chrono::milliseconds WaitInterval{25};

    // The same with the results kept by the pool: work(index, worker) gives
    // a Result, commit(index, result) takes it in index order.
    template <typename Result, typename Work, typename Commit>
    int map(int count, Work&& work, Commit&& commit,
            const std::function<void(int index)>& waiting = {})
    {
        std::vector<std::optional<Result>> results(static_cast<std::size_t>(slots()));
        return run(
            count,
            [&](int index, int slot, int worker) { results[slot].emplace(work(index, worker)); },
            [&](int index, int slot) {
                Result result = std::move(*results[slot]);
                results[slot].reset();
                return commit(index, result);
            },
            waiting);
    }

private:
    int m_batch;
    int m_jobs;
    int m_slotsPerJob;
};
