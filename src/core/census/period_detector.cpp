#include "census/period_detector.h"

#include <algorithm>

#include "engine/step_engine.h"

namespace zentorix {

namespace {

std::uint64_t Mix(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// The live cells of a run of bit-plane generations whose writes wait: reading
// them leaves the grids unwritten. Null when the grids must be read.
const fast::BitPlane* WaitingLiveCells(const World& world, bool states) {
    return !states && world.StepCaches ? world.StepCaches->WaitingLiveCells(world) : nullptr;
}

bool LiveBit(const fast::BitPlane& plane, int x, int y) {
    const int at = y - plane.firstRow;
    return ((*plane.At(at >> 6, x) >> (at & 63)) & 1) != 0;
}

}  // namespace

PeriodDetector::PeriodDetector(const World& world, const Settings& settings, StepForm form,
                               int maxPeriod)
    : maxPeriod_(std::max(1, maxPeriod)) {
    // The cells the step writes: the torus 0..W by 0..H, the plane 1..W+1 by
    // 1..H+1. The plane's margins are never written, so they never differ.
    const bool torus = form == StepForm::Torus;
    firstX_ = torus ? 0 : 1;
    firstY_ = torus ? 0 : 1;
    lastX_ = torus ? world.FieldWidth() : world.ExtentX();
    lastY_ = torus ? world.FieldHeight() : world.ExtentY();
    states_ = world.Rules[0].History || (settings.OtherRealityOn && world.Rules[1].History);
    const std::size_t cells = static_cast<std::size_t>(lastX_ - firstX_ + 1) *
                              static_cast<std::size_t>(lastY_ - firstY_ + 1);
    coefficients_.resize(2 * cells);
    std::uint64_t state = 0x43454E535553ULL;
    for (std::uint32_t& c : coefficients_)
        c = static_cast<std::uint32_t>(Mix(state)) | 1;
    ring_.assign(static_cast<std::size_t>(maxPeriod_), 0);
    // The start is the first field a later one may repeat.
    ring_[0] = Hash(world);
    filled_ = 1;
    next_ = 1 % maxPeriod_;
}

std::uint64_t PeriodDetector::Hash(const World& world) const {
    // Two 32-bit sums with their own coefficients make the 64-bit hash: 32-bit
    // lanes vectorise twice as wide as 64-bit ones.
    const int rows = lastY_ - firstY_ + 1;
    const std::uint32_t* c = coefficients_.data();
    std::uint32_t low = 0, high = 0;
    const fast::BitPlane* planes = WaitingLiveCells(world, states_);
    for (int x = firstX_; x <= lastX_; ++x, c += 2 * rows) {
        const std::uint32_t* second = c + rows;
        if (planes) {
            // The live cells only, word by word.
            const int first = firstY_ - planes->firstRow, last = lastY_ - planes->firstRow;
            for (int k = first >> 6; k <= last >> 6; ++k) {
                std::uint64_t word = *planes->At(k, x);
                if (k == first >> 6)
                    word &= ~std::uint64_t{0} << (first & 63);
                if (k == last >> 6 && (last & 63) != 63)
                    word &= (std::uint64_t{1} << ((last & 63) + 1)) - 1;
                for (; word != 0; word &= word - 1) {
                    const int y = 64 * k + __builtin_ctzll(word) - first;
                    low += c[y];
                    high += second[y];
                }
            }
            continue;
        }
        const std::int32_t* column = world.MainField.Column(x) + (firstY_ - world.MainField.Low());
        if (states_) {
            for (int y = 0; y < rows; ++y) {
                const auto v = static_cast<std::uint32_t>(column[y]);
                low += c[y] * v;
                high += second[y] * v;
            }
        } else {
            for (int y = 0; y < rows; ++y) {
                const std::uint32_t live = 0u - static_cast<std::uint32_t>(column[y] > 0);
                low += c[y] & live;
                high += second[y] & live;
            }
        }
    }
    const LandscapePhases& p = world.Landscape;
    std::uint64_t phases = static_cast<std::uint32_t>(p.EternalLifePhase);
    phases = phases * 0x100000001B3ULL + static_cast<std::uint32_t>(p.EternalDeadPhase);
    phases = phases * 0x100000001B3ULL + (p.EternalDeadActive ? 1 : 0);
    return ((std::uint64_t{high} << 32) | low) ^ (phases * 0x9E3779B97F4A7C15ULL);
}

void PeriodDetector::Capture(const World& world, std::vector<std::int32_t>& into) const {
    into.clear();
    const fast::BitPlane* planes = WaitingLiveCells(world, states_);
    for (int x = firstX_; x <= lastX_; ++x) {
        if (planes) {
            for (int y = firstY_; y <= lastY_; ++y)
                into.push_back(LiveBit(*planes, x, y) ? 1 : 0);
            continue;
        }
        const std::int32_t* column = world.MainField.Column(x) + (firstY_ - world.MainField.Low());
        for (int y = 0; y <= lastY_ - firstY_; ++y)
            into.push_back(states_ ? column[y] : (column[y] > 0 ? 1 : 0));
    }
    into.push_back(world.Landscape.EternalLifePhase);
    into.push_back(world.Landscape.EternalDeadPhase);
    into.push_back(world.Landscape.EternalDeadActive ? 1 : 0);
}

bool PeriodDetector::SameAsAnchor(const World& world) const {
    Capture(world, scratch_);
    return scratch_ == anchor_;
}

int PeriodDetector::Observe(const World& world) {
    const std::uint64_t h = Hash(world);
    if (anchored_) {
        ++sinceAnchor_;
        if (h == anchorHash_ && SameAsAnchor(world))
            return sinceAnchor_;
        if (sinceAnchor_ >= maxPeriod_)
            anchored_ = false;  // the hashes met by chance
    }
    if (!anchored_) {
        for (int k = 0; k < filled_; ++k)
            if (ring_[static_cast<std::size_t>(k)] == h) {
                anchored_ = true;
                anchorHash_ = h;
                sinceAnchor_ = 0;
                Capture(world, anchor_);
                break;
            }
    }
    ring_[static_cast<std::size_t>(next_)] = h;
    next_ = (next_ + 1) % maxPeriod_;
    filled_ = std::min(filled_ + 1, maxPeriod_);
    return 0;
}

}  // namespace zentorix
