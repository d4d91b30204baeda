// The fast step's kernels for the baseline instruction set.
#include <cstdint>

#include "engine/step_kernels.h"

namespace zentorix::fast {

namespace baseline {
#include "engine/step_kernels_impl.h"
}  // namespace baseline

const Kernels& BaselineKernels() {
    static constexpr Kernels kernels{baseline::BuildPlaneColumnImpl, baseline::RunColumnsImpl};
    return kernels;
}

}  // namespace zentorix::fast
