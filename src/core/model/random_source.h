#pragma once

#include <chrono>
#include <cstdint>

namespace zentorix {

// The uniform source behind random fills. The program reseeds it from the clock
// before every fill; tests and the batch program fix a seed, after which the
// reseeds keep the one reproducible sequence going.
class RandomSource {
  public:
    void FixSeed(std::uint64_t seed) {
        fixed_ = true;
        state_ = seed;
    }
    bool IsFixed() const { return fixed_; }

    void Reseed() {
        if (!fixed_)
            state_ = static_cast<std::uint64_t>(
                std::chrono::steady_clock::now().time_since_epoch().count());
    }

    // A uniform integer in 0..n-1 (n >= 1).
    std::uint32_t Below(std::uint32_t n) {
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(Next32()) * n) >> 32);
    }

  private:
    // splitmix64: small, fast and good enough for sprinkling cells.
    std::uint32_t Next32() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
    }

    bool fixed_ = false;
    std::uint64_t state_ = 0x5EED;
};

}  // namespace zentorix
