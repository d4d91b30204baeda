#include "census/census_runner.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

namespace zentorix {

RunFigures RunOne(const CensusPlan& plan, std::uint64_t run) {
    auto world = std::make_unique<World>();
    Settings settings;
    BuildCensusStart(*world, settings, plan.parameters.start, plan.rules.at(plan.RuleOf(run)).text,
                     plan.SeedOf(run));
    return RunCensusExperiment(*world, settings, plan.parameters.limits);
}

void RunCensus(const CensusPlan& plan, int jobs, const std::vector<bool>& done,
               const CensusSink& sink) {
    const std::uint64_t runs = plan.Runs();
    const auto step = static_cast<std::uint64_t>(plan.parameters.shardCount);
    std::atomic<std::uint64_t> next{static_cast<std::uint64_t>(plan.parameters.shardIndex - 1)};
    std::atomic<bool> stop{false};
    std::mutex lock;
    std::exception_ptr failure;

    auto work = [&] {
        while (!stop.load()) {
            const std::uint64_t run = next.fetch_add(step);
            if (run >= runs)
                return;
            if (run < done.size() && done[run])
                continue;
            try {
                const RunFigures figures = RunOne(plan, run);
                const std::lock_guard guard(lock);
                if (!stop.load() && !sink(run, figures))
                    stop = true;
            } catch (...) {
                const std::lock_guard guard(lock);
                if (!failure)
                    failure = std::current_exception();
                stop = true;
            }
        }
    };
    const int threads = std::max(1, jobs);
    std::vector<std::thread> workers;
    for (int i = 1; i < threads; ++i)
        workers.emplace_back(work);
    work();
    for (std::thread& t : workers)
        t.join();
    if (failure)
        std::rethrow_exception(failure);
}

}  // namespace zentorix
