// The fast step's kernels built for AVX2, used when the processor has it. All
// standard headers come before the target switch so that none of their inline
// functions is compiled for the wider set.
#include <immintrin.h>
#include <array>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "engine/step_kernels.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define ZENTORIX_HAVE_AVX2_KERNELS 1
#endif

namespace zentorix::fast {

#ifdef ZENTORIX_HAVE_AVX2_KERNELS

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2,bmi,bmi2,popcnt"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2,bmi,bmi2,popcnt")
#endif

namespace avx2 {
#define ZENTORIX_KERNEL_LANES 8
#include "engine/step_kernels_impl.h"
#undef ZENTORIX_KERNEL_LANES
}  // namespace avx2

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

const Kernels* Avx2Kernels() {
    static constexpr Kernels kernels{avx2::BuildPlaneColumnImpl,    avx2::RunColumnsImpl,
                                     avx2::RunLifeColumnsImpl,      avx2::RunStateColumnsImpl,
                                     avx2::CompleteLifeColumnsImpl, avx2::PackLiveRunImpl};
    return &kernels;
}

#else

const Kernels* Avx2Kernels() {
    return nullptr;
}

#endif

}  // namespace zentorix::fast
