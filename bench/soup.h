#pragma once

#include <cstdint>

#include "model/world.h"

namespace zentorix::bench {

// A square field of the given side, each cell alive with even odds, the same
// cells for the same seed: the random soup every benchmark runs on.
inline void FillSoup(World& world, int side, std::uint64_t seed = 2026) {
    world.SetFieldWidth(side);
    world.SetFieldHeight(side);
    world.Random.FixSeed(seed);
    for (int x = 1; x <= side; ++x)
        for (int y = 1; y <= side; ++y)
            world.MainField.at(x, y) = world.Random.Below(2);
}

}  // namespace zentorix::bench
