#include "platform/WorkerPool.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

WorkerPool::WorkerPool(int jobs, int slotsPerJob, int batch)
    : m_batch(batch > 0 ? batch : 1), m_jobs(std::min(jobs > 0 ? jobs : cores(), MaxJobs)),
      m_slotsPerJob(std::clamp(slotsPerJob, 1, MaxSlotsPerJob))
{
}

int WorkerPool::cores()
{
    const unsigned n = std::thread::hardware_concurrency();
    return n > 0 ? static_cast<int>(n) : 1;
}

namespace {

// What the workers and the committing thread share, under one mutex.
struct Shared {
    std::mutex mutex;
    std::condition_variable workReady;   // a job may start, or stop
    std::condition_variable resultReady; // a job has ended
    int next = 0;                        // the next index to start
    int committed = 0;                   // indices handed back so far
    bool stop = false;
    std::vector<char> done;
    std::vector<std::exception_ptr> failure;
};

} // namespace

int WorkerPool::run(int count, const std::function<void(int, int, int)>& work,
                    const std::function<bool(int, int)>& commit,
                    const std::function<void(int)>& waiting)
{
    if (m_jobs == 1 || count <= 1) {
        for (int index = 0; index < count; ++index) {
            work(index, 0, 0);
            if (!commit(index, 0))
                return index + 1;
        }
        return count;
    }

    const int window = slots();
    Shared shared;
    shared.done.assign(static_cast<std::size_t>(window), 0);
    shared.failure.resize(static_cast<std::size_t>(window));

    auto worker = [&](int number) {
        for (;;) {
            // The indices [first, last) this worker takes: up to a batch,
            // never beyond the slots free.
            int first = 0;
            int last = 0;
            {
                std::unique_lock lock(shared.mutex);
                shared.workReady.wait(lock, [&] {
                    return shared.stop || shared.next >= count ||
                           shared.next < shared.committed + window;
                });
                if (shared.stop || shared.next >= count)
                    return;
                first = shared.next;
                last = std::min({first + m_batch, count, shared.committed + window});
                shared.next = last;
            }
            for (int index = first; index < last; ++index) {
                const int slot = index % window;
                std::exception_ptr failure;
                try {
                    work(index, slot, number);
                } catch (...) {
                    failure = std::current_exception();
                }
                std::lock_guard lock(shared.mutex);
                shared.done[slot] = 1;
                shared.failure[slot] = failure;
                // After a stop the rest of the batch is not started.
                if (shared.stop)
                    last = index + 1;
            }
            shared.resultReady.notify_one();
        }
    };

    std::vector<std::thread> threads;
    // Stops and joins the workers however run ends: a job already running
    // finishes, no other starts.
    struct Join {
        Shared& shared;
        std::vector<std::thread>& threads;
        ~Join()
        {
            {
                std::lock_guard lock(shared.mutex);
                shared.stop = true;
            }
            shared.workReady.notify_all();
            for (std::thread& thread : threads)
                thread.join();
        }
    } join{shared, threads};
    const int workers = m_jobs < count ? m_jobs : count;
    for (int number = 0; number < workers; ++number)
        threads.emplace_back(worker, number);

    for (int index = 0; index < count; ++index) {
        const int slot = index % window;
        std::exception_ptr failure;
        {
            std::unique_lock lock(shared.mutex);
            const auto ended = [&] { return shared.done[slot] != 0; };
            if (!waiting)
                shared.resultReady.wait(lock, ended);
            while (!shared.resultReady.wait_for(lock, WaitInterval, ended)) {
                lock.unlock();
                waiting(index);
                lock.lock();
            }
            shared.done[slot] = 0;
            failure = std::exchange(shared.failure[slot], nullptr);
        }
        if (failure)
            std::rethrow_exception(failure);
        const bool goOn = commit(index, slot);
        {
            std::lock_guard lock(shared.mutex);
            shared.committed = index + 1;
        }
        shared.workReady.notify_all();
        if (!goOn)
            return index + 1;
    }
    return count;
}
