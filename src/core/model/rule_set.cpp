#include "model/rule_set.h"

namespace zentorix {

const std::array<PositionToken, kPositionCount> kPositionTokens = {{
    {"NW", -1, -1},   {"NN", 0, -1},    {"NE", 1, -1},   {"WW", -1, 0},   {"ME", 0, 0},
    {"EE", 1, 0},     {"SW", -1, 1},    {"SS", 0, 1},    {"SE", 1, 1},    {"2N2W", -2, -2},
    {"2N1W", -1, -2}, {"1N2W", -2, -1}, {"2N2N", 0, -2}, {"2N2E", 2, -2}, {"2N1E", 1, -2},
    {"1N2E", 2, -1},  {"2W2W", -2, 0},  {"2E2E", 2, 0},  {"2S2W", -2, 2}, {"2S1W", -1, 2},
    {"1S2W", -2, 1},  {"2S2S", 0, 2},   {"2S2E", 2, 2},  {"2S1E", 1, 2},  {"1S2E", 2, 1},
}};

}  // namespace zentorix
