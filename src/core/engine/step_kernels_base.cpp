// The fast step's kernels for the baseline instruction set.
#include <immintrin.h>
#include <array>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "engine/step_kernels.h"

namespace zentorix::fast {

namespace baseline {
#define ZENTORIX_KERNEL_LANES 4
#include "engine/step_kernels_impl.h"
#undef ZENTORIX_KERNEL_LANES
}  // namespace baseline

const Kernels& BaselineKernels() {
    static constexpr Kernels kernels{
        baseline::BuildPlaneColumnImpl,    baseline::RunColumnsImpl,
        baseline::RunLifeColumnsImpl,      baseline::RunStateColumnsImpl,
        baseline::CompleteLifeColumnsImpl, baseline::PackLiveRunImpl};
    return kernels;
}

}  // namespace zentorix::fast
