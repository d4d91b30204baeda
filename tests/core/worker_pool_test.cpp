#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "engine/worker_pool.h"

namespace zentorix {
namespace {

// Runs many tasks of varying size back to back and with pauses (so that the
// workers fall asleep in between) and checks that every part runs exactly once,
// on a valid thread, and is finished when Run returns.
void CheckPool(unsigned threads) {
    WorkerPool pool(threads);
    ASSERT_EQ(pool.Size(), threads == 0 ? 1u : threads);
    std::vector<std::atomic<int>> runs(64);
    std::atomic<bool> badThread{false};
    for (int task = 0; task < 400; ++task) {
        const int parts = task % 37;
        for (auto& r : runs)
            r.store(0);
        auto fn = [&](int part, unsigned thread) {
            if (thread >= pool.Size())
                badThread = true;
            if (part % 5 == 0)
                std::this_thread::yield();
            runs[static_cast<std::size_t>(part)].fetch_add(1);
        };
        pool.Run(parts, fn);
        for (int p = 0; p < 64; ++p)
            ASSERT_EQ(runs[static_cast<std::size_t>(p)].load(), p < parts ? 1 : 0)
                << "task " << task << " part " << p;
        if (task % 100 == 99)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_FALSE(badThread);
}

TEST(WorkerPool, EveryPartRunsOnceWhateverTheThreadCount) {
    CheckPool(1);
    CheckPool(2);
    CheckPool(5);  // more threads than this machine may have cores
}

TEST(WorkerPool, PartsSeeTheCallersWritesAndTheCallerSeesTheirs) {
    WorkerPool pool(3);
    std::vector<int> data(1000, 0);
    for (int round = 1; round <= 200; ++round) {
        auto fn = [&](int part, unsigned) {
            for (int i = part * 100; i < part * 100 + 100; ++i) {
                // Every element holds the round before this one.
                if (data[static_cast<std::size_t>(i)] != round - 1)
                    return;
                data[static_cast<std::size_t>(i)] = round;
            }
        };
        pool.Run(10, fn);
        for (int v : data)
            ASSERT_EQ(v, round);
    }
}

}  // namespace
}  // namespace zentorix
