#pragma once

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

namespace zentorix {

// A fixed set of threads that run the parts of one task together with the
// calling thread. Created once; a task neither allocates nor creates threads.
// Between tasks the workers spin briefly (back-to-back steps at full speed) and
// then sleep. The caller never waits for a worker that has not taken a part, so
// a worker that is slow to wake only means the caller does more of the work.
class WorkerPool {
  public:
    // `threads` counts the caller too; 0 or 1 gives a pool without workers.
    explicit WorkerPool(unsigned threads);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // Threads that share a task, the caller included.
    unsigned Size() const { return static_cast<unsigned>(workers_.size()) + 1; }

    // Runs fn(part, thread) for every part 0..parts-1 and returns when all are
    // done. `thread` is 0 for the caller and 1..Size()-1 for the workers, so a
    // part may keep per-thread data in a slot of its own. Parts run in any order
    // and on any thread. Only one thread may call Run at a time.
    template <typename Fn>
    void Run(int parts, Fn& fn) {
        RunParts(parts, &fn,
                 [](void* f, int part, unsigned thread) { (*static_cast<Fn*>(f))(part, thread); });
    }

  private:
    using PartFn = void (*)(void*, int, unsigned);
    void RunParts(int parts, void* context, PartFn fn);
    void WorkerLoop(unsigned thread);
    // Takes and runs parts of task `epoch` until none is left or the task is over.
    void TakeParts(std::uint32_t epoch, unsigned thread);

    std::vector<std::thread> workers_;
    std::uint32_t lastEpoch_ = 0;  // caller only
    // The current task: its number in the high half, the next part to take in
    // the low half (kClosed once the task is over). Taking a part is a
    // compare-and-swap on the whole, so a part can only be taken from the task
    // whose description the taker has read.
    std::atomic<std::uint64_t> state_{0xFFFFFFFFu};
    std::atomic<void*> context_{nullptr};
    std::atomic<PartFn> fn_{nullptr};
    std::atomic<int> parts_{0};
    std::atomic<int> done_{0};
    // The task number again, 32 bits wide for waiting on it.
    std::atomic<std::uint32_t> epoch_{0};
    std::atomic<int> workerSleepers_{0};
    std::atomic<int> callerSleepers_{0};
    std::atomic<bool> stopping_{false};
};

}  // namespace zentorix
