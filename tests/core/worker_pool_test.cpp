#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "engine/worker_pool.h"

namespace zentorix {
namespace {

// Many tasks of varying size back to back and with pauses (so that the workers
// fall asleep in between): every part runs exactly once, on a valid thread, and
// is finished when Run returns. 5 threads may be more than this machine's cores.
TEST(WorkerPool, EveryPartRunsOnceWhateverTheThreadCount) {
    for (unsigned threads : {0u, 1u, 2u, 5u}) {
        WorkerPool pool(threads);
        ASSERT_EQ(pool.Size(), std::max(threads, 1u));
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
                    << threads << " threads, task " << task << " part " << p;
            if (task % 100 == 99)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        EXPECT_FALSE(badThread) << threads;
    }
}

TEST(WorkerPool, PartsSeeTheCallersWritesAndTheCallerSeesTheirs) {
    WorkerPool pool(3);
    std::vector<int> data(1000, 0);
    for (int round = 1; round <= 200; ++round) {
        // Every element holds the round before this one, or the part stops short.
        auto fn = [&](int part, unsigned) {
            for (int i = part * 100; i < part * 100 + 100; ++i) {
                if (data[static_cast<std::size_t>(i)] != round - 1)
                    return;
                data[static_cast<std::size_t>(i)] = round;
            }
        };
        pool.Run(10, fn);
        ASSERT_EQ(data, std::vector<int>(1000, round));
    }
}

}  // namespace
}  // namespace zentorix
