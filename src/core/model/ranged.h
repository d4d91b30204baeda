#pragma once

#include <algorithm>
#include <cstdint>

namespace zentorix {

// An integer setting held by a bounded control (an up-down, a track bar, a list):
// assigning a value keeps it within the control's range, as the control would.
template <int Min, int Max, int Default>
class Ranged {
    static_assert(Min <= Default && Default <= Max);

  public:
    static constexpr int kMin = Min;
    static constexpr int kMax = Max;
    static constexpr int kDefault = Default;

    constexpr Ranged() = default;
    constexpr Ranged(std::int64_t v) : value_(Clamp(v)) {}  // NOLINT: implicit on purpose
    constexpr Ranged& operator=(std::int64_t v) {
        value_ = Clamp(v);
        return *this;
    }
    constexpr operator int() const { return value_; }  // NOLINT
    constexpr int Value() const { return value_; }

  private:
    static constexpr int Clamp(std::int64_t v) {
        return static_cast<int>(std::clamp<std::int64_t>(v, Min, Max));
    }
    int value_ = Default;
};

}  // namespace zentorix
