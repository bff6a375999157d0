#include "platform/WorkerPool.h"

#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

// Jobs, indices, the index whose commit says stop and the one whose job
// throws (-1: none), and how many commits that leaves; the slots per job
// and how many indices a worker takes at a time.
struct PoolCase {
    int jobs, count, stopAt, throwAt, committed;
    int slotsPerJob = 4, batch = 1;
};

class WorkerPoolTest : public testing::TestWithParam<PoolCase> {};

} // namespace

TEST_P(WorkerPoolTest, HandsResultsBackInIndexOrderUntilStoppedOrFailed)
{
    const PoolCase c = GetParam();
    WorkerPool pool(c.jobs, c.slotsPerJob, c.batch);
    std::atomic<int> started{0}, handedBack{0}, worstAhead{0}, badWorker{0};
    std::vector<int> committed;
    const auto run = [&] {
        return pool.map<long>(
            c.count,
            [&](int index, int worker) {
                badWorker += worker < 0 || worker >= pool.jobs();
                const int ahead = ++started - handedBack;
                int seen = worstAhead;
                while (ahead > seen && !worstAhead.compare_exchange_weak(seen, ahead)) {
                }
                if (index == c.throwAt)
                    throw std::runtime_error("bad job");
                return long(index) * index;
            },
            [&](int index, long& square) {
                EXPECT_EQ(square, long(index) * index);
                committed.push_back(index);
                ++handedBack;
                return index != c.stopAt;
            });
    };
    if (c.throwAt >= 0)
        EXPECT_THROW(run(), std::runtime_error);
    else
        EXPECT_EQ(run(), c.committed);
    ASSERT_EQ(committed.size(), std::size_t(c.committed));
    for (int i = 0; i < c.committed; ++i)
        EXPECT_EQ(committed[std::size_t(i)], i);
    EXPECT_EQ(badWorker.load(), 0);
    // Never more than the slots ahead (a job counts itself first: +1).
    EXPECT_LE(worstAhead.load(), pool.slots() + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WorkerPoolTest,
    testing::Values(PoolCase{1, 0, -1, -1, 0}, PoolCase{1, 7, -1, -1, 7}, PoolCase{2, 1, -1, -1, 1},
                    PoolCase{3, 1000, -1, -1, 1000}, PoolCase{8, 500, -1, -1, 500},
                    PoolCase{1, 50, 9, -1, 10}, PoolCase{4, 1000, 9, -1, 10},
                    PoolCase{1, 200, -1, 17, 17}, PoolCase{3, 200, -1, 17, 17},
                    // Batches: never past the free slots,
                    // nor past a stop or a failure.
                    PoolCase{1, 100, -1, -1, 100, 4, 8}, PoolCase{2, 10000, -1, -1, 10000, 256, 32},
                    PoolCase{3, 1000, -1, -1, 1000, 4, 32}, PoolCase{4, 999, -1, -1, 999, 2, 5},
                    PoolCase{2, 1000, 40, -1, 41, 64, 16}, PoolCase{3, 500, -1, 123, 123, 8, 7},
                    PoolCase{2, 50, -1, -1, 50, 1, 100}));

TEST(WorkerPoolJobsTest, NoJobsMeansOnePerCore)
{
    EXPECT_EQ(WorkerPool(0).jobs(), WorkerPool::cores());
    EXPECT_EQ(WorkerPool(-3).jobs(), WorkerPool::cores());
    EXPECT_EQ(WorkerPool(5).jobs(), 5);
    EXPECT_EQ(WorkerPool(3, 10).slots(), 30);
    EXPECT_EQ(WorkerPool(3, 0).slots(), 3);
    // A slip of the keyboard neither starts a million threads nor
    // overflows the slots.
    EXPECT_EQ(WorkerPool(1000000).jobs(), WorkerPool::MaxJobs);
    EXPECT_EQ(WorkerPool(1000000, 1000000).slots(),
              WorkerPool::MaxJobs * WorkerPool::MaxSlotsPerJob);
}

TEST(WorkerPoolJobsTest, ABatchIsAtLeastOne)
{
    EXPECT_EQ(WorkerPool(2).batch(), 1);
    EXPECT_EQ(WorkerPool(2, 4, 0).batch(), 1);
    EXPECT_EQ(WorkerPool(2, 4, 16).batch(), 16);
}

// While the caller waits for a job that runs long, it is called back with
// the index it waits for; what it raises ends the run as a commit's would.
TEST(WorkerPoolWaitTest, TheCallerHearsOfTheWaitAndMayEndIt)
{
    for (bool raise : {false, true}) {
        SCOPED_TRACE(raise ? "raising" : "waiting");
        WorkerPool pool(2, 1);
        std::atomic<bool> waited{false};
        std::vector<int> waitedFor, committed;
        const auto run = [&] {
            return pool.map<int>(
                3,
                [&](int index, int) {
                    // Ends only once the caller has waited for it.
                    while (index == 1 && !waited)
                        std::this_thread::yield();
                    return index;
                },
                [&](int index, int&) {
                    committed.push_back(index);
                    return true;
                },
                [&](int index) {
                    waitedFor.push_back(index);
                    waited = true;
                    if (raise && index == 1)
                        throw std::runtime_error("stop");
                });
        };
        if (raise)
            EXPECT_THROW(run(), std::runtime_error);
        else
            EXPECT_EQ(run(), 3);
        EXPECT_NE(std::find(waitedFor.begin(), waitedFor.end(), 1), waitedFor.end());
        const std::vector<int> expected = raise ? std::vector<int>{0} : std::vector<int>{0, 1, 2};
        EXPECT_EQ(committed, expected);
    }
}
