#include "engine/other_reality.h"

#include "engine/generation_step.h"

namespace zentorix {

namespace {
constexpr std::int32_t kOtherRealityAgeLimit = 255;
}

namespace reference {

void OtherRealityStep(World& world) {
    const RuleSet& rules = world.Rules[2];
    const int W = world.FieldWidth(), H = world.FieldHeight();
    const int EX = world.ExtentX(), EY = world.ExtentY();
    StateField& R = world.OtherRealityField;
    MarkField& B = world.OtherBornMarks;
    MarkField& D = world.OtherDiedMarks;

    // The outermost columns and rows are updated but never evaluated; clearing
    // their marks too keeps a size change from leaving stale marks there.
    B.FillRect(-3, -3, EX, EY, 0);
    D.FillRect(-3, -3, EX, EY, 0);

    for (int x = -2; x <= W; ++x) {
        for (int y = -2; y <= H; ++y) {
            std::int64_t liveSum = 0, firstStateSum = 0;
            for (int dx = -1; dx <= 1; ++dx) {
                for (int dy = -1; dy <= 1; ++dy) {
                    const std::int32_t v = R.at(x + dx, y + dy);
                    if (v >= 1)
                        liveSum += rules.Weight(dx, dy);
                    if (v == 1)
                        firstStateSum += rules.Weight(dx, dy);
                }
            }
            const std::int64_t sum = rules.History ? firstStateSum : liveSum;
            std::uint8_t& born = B.at(x, y);
            for (std::int32_t entry : rules.BirthList) {
                if (born == 1)
                    break;
                if (entry == sum)
                    born = 1;
            }
            if (R.at(x, y) > 0) {
                std::uint8_t& died = D.at(x, y);
                died = 1;
                for (std::int32_t entry : rules.SurvivalList) {
                    if (died != 1)
                        break;
                    if (entry == sum)
                        died = 0;
                }
            }
        }
    }

    for (int x = -3; x <= EX; ++x) {
        for (int y = -3; y <= EY; ++y) {
            const std::int32_t cur = R.at(x, y);
            const std::uint8_t b = B.at(x, y);
            std::uint8_t& d = D.at(x, y);
            const std::int32_t n = rules.History ? NextHistoryState(cur, b, d, rules.HistoryRange)
                                                 : NextAge(cur, b, d, kOtherRealityAgeLimit);
            R.at(x, y) = n;
        }
    }
}

}  // namespace reference

}  // namespace zentorix
