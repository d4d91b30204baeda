#include "engine/worker_pool.h"

namespace zentorix {

namespace {

constexpr std::uint64_t kClosed = 0xFFFFFFFFu;

// About a hundred microseconds: long enough to bridge back-to-back steps, short
// enough not to hold a core while the run waits for its timer.
constexpr int kSpinRounds = 4096;

inline void CpuRelax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

// Waits until `value` differs from `old` and gives the new value: spins first,
// then sleeps. `sleepers` tells the other side that a wake-up call is needed.
template <typename T>
T AwaitChange(const std::atomic<T>& value, T old, std::atomic<int>& sleepers) {
    for (int i = 0; i < kSpinRounds; ++i) {
        const T now = value.load(std::memory_order_acquire);
        if (now != old)
            return now;
        CpuRelax();
    }
    for (;;) {
        sleepers.fetch_add(1, std::memory_order_seq_cst);
        T now = value.load(std::memory_order_seq_cst);
        if (now == old) {
            value.wait(old, std::memory_order_seq_cst);
            now = value.load(std::memory_order_acquire);
        }
        sleepers.fetch_sub(1, std::memory_order_relaxed);
        if (now != old)
            return now;
    }
}

}  // namespace

WorkerPool::WorkerPool(unsigned threads) {
    const unsigned workers = threads > 1 ? threads - 1 : 0;
    workers_.reserve(workers);
    for (unsigned t = 1; t <= workers; ++t)
        workers_.emplace_back([this, t] { WorkerLoop(t); });
}

WorkerPool::~WorkerPool() {
    stopping_.store(true, std::memory_order_seq_cst);
    epoch_.fetch_add(1, std::memory_order_seq_cst);
    epoch_.notify_all();
    for (std::thread& t : workers_)
        t.join();
}

void WorkerPool::RunParts(int parts, void* context, PartFn fn) {
    if (parts <= 0)
        return;
    if (workers_.empty() || parts == 1) {
        for (int p = 0; p < parts; ++p)
            fn(context, p, 0);
        return;
    }
    // The previous task is closed, so nobody can take a part while the
    // description changes; the release store of the count orders the closing
    // before it for any worker that reads the new count.
    context_.store(context, std::memory_order_relaxed);
    fn_.store(fn, std::memory_order_relaxed);
    done_.store(0, std::memory_order_relaxed);
    parts_.store(parts, std::memory_order_release);
    const std::uint32_t epoch = ++lastEpoch_;
    state_.store(static_cast<std::uint64_t>(epoch) << 32, std::memory_order_seq_cst);
    epoch_.store(epoch, std::memory_order_seq_cst);
    if (workerSleepers_.load(std::memory_order_seq_cst) > 0)
        epoch_.notify_all();

    TakeParts(epoch, 0);

    int done = done_.load(std::memory_order_acquire);
    while (done != parts)
        done = AwaitChange(done_, done, callerSleepers_);
    state_.store((static_cast<std::uint64_t>(epoch) << 32) | kClosed, std::memory_order_seq_cst);
}

void WorkerPool::TakeParts(std::uint32_t epoch, unsigned thread) {
    std::uint64_t state = state_.load(std::memory_order_acquire);
    for (;;) {
        if (state >> 32 != epoch)
            return;
        const std::uint64_t part = state & kClosed;
        const int parts = parts_.load(std::memory_order_acquire);
        if (part == kClosed || part >= static_cast<std::uint64_t>(parts))
            return;
        if (!state_.compare_exchange_weak(state, state + 1, std::memory_order_acq_rel,
                                          std::memory_order_acquire))
            continue;
        // The part is ours, so the task cannot end before we report it done and
        // its description stays as it was read.
        fn_.load(std::memory_order_relaxed)(context_.load(std::memory_order_relaxed),
                                            static_cast<int>(part), thread);
        if (done_.fetch_add(1, std::memory_order_seq_cst) + 1 == parts &&
            callerSleepers_.load(std::memory_order_seq_cst) > 0)
            done_.notify_all();
        state = state_.load(std::memory_order_acquire);
    }
}

void WorkerPool::WorkerLoop(unsigned thread) {
    std::uint32_t seen = 0;
    for (;;) {
        seen = AwaitChange(epoch_, seen, workerSleepers_);
        if (stopping_.load(std::memory_order_seq_cst))
            return;
        TakeParts(seen, thread);
    }
}

}  // namespace zentorix
