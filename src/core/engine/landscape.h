#pragma once

#include "model/settings.h"
#include "model/world.h"

namespace zentorix {

// True when a layer of the given period and intensity acts at this phase.
inline bool LayerActive(int period, int intensity, int phase) {
    return period - intensity < phase && phase <= period;
}

// Presets the born and died marks from the Eternal Life and Eternal Dead Fields
// in their period/intensity rhythm and decides whether Eternal Dead kills this
// generation. Runs first in every step.
void ApplyEternalLayers(World& world, const Settings& settings);

// Sprinkles cells into the Main Field and the three layers every RandomFillPeriod
// generations, as the four switches say.
void ApplyRandomFills(World& world, const Settings& settings);

}  // namespace zentorix
