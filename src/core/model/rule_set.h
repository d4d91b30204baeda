#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace zentorix {

// A birth or survival list never holds more sums than this.
inline constexpr int kMaxListEntries = 1023;

// Index of the neighbourhood position (dx, dy), dx and dy in -2..2.
constexpr int PositionIndex(int dx, int dy) {
    return (dy + 2) * 5 + (dx + 2);
}
inline constexpr int kPositionCount = 25;
inline constexpr int kCentre = PositionIndex(0, 0);

struct PositionToken {
    std::string_view name;
    int dx;
    int dy;
};

// The 25 position tokens in the order rule text writes them: the inner ring
// first, then the outer ring.
extern const std::array<PositionToken, kPositionCount> kPositionTokens;
// Number of inner-ring entries at the head of kPositionTokens.
inline constexpr int kInnerTokenCount = 9;

// The position reflected through the centre (ME is its own partner).
constexpr int SymmetricPartner(int index) {
    return kPositionCount - 1 - index;
}
constexpr bool IsInnerRing(int index) {
    const int dx = index % 5 - 2, dy = index / 5 - 2;
    return dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1;
}

// The whole rule of the automaton.
struct RuleSet {
    std::array<std::int32_t, kPositionCount> Weights{};  // by PositionIndex
    bool Extended = false;                               // the outer ring counts
    std::int32_t ExtendedValue = 0;                      // last "EX" value
    bool History = false;                                // multi-state mode
    std::int32_t HistoryRange = 0;                       // states including 0
    std::vector<std::int32_t> BirthList;                 // sums that give birth
    std::vector<std::int32_t> SurvivalList;              // sums a live cell survives with
    bool DelayOn = false;                                // held for the editor only
    std::int32_t DelayValue = -1;

    std::int32_t Weight(int dx, int dy) const { return Weights[PositionIndex(dx, dy)]; }
    int BirthCount() const { return static_cast<int>(BirthList.size()); }
    int SurvivalCount() const { return static_cast<int>(SurvivalList.size()); }
    // Appends a sum unless the list is full; gives false when it was dropped.
    static bool AddSum(std::vector<std::int32_t>& list, std::int32_t sum) {
        if (static_cast<int>(list.size()) >= kMaxListEntries)
            return false;
        list.push_back(sum);
        return true;
    }
    // The neighbourhood radius the step uses: 2 with the outer ring, else 1.
    int Radius() const { return Extended ? 2 : 1; }

    bool operator==(const RuleSet&) const = default;
};

}  // namespace zentorix
