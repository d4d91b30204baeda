#pragma once

#include "model/settings.h"
#include "model/world.h"

namespace zentorix {

// True when a layer of the given period and intensity acts at this phase.
inline bool LayerActive(int period, int intensity, int phase) {
    return period - intensity < phase && phase <= period;
}

// Which marks the Eternal layers preset in a generation: from the layer (1
// where it holds a value above 0), or else all 0.
struct EternalPresets {
    bool bornFromLayer = false;
    bool diedFromLayer = false;
};

// The phase part of ApplyEternalLayers: advances the phases, decides
// EternalDeadActive and tells which presets apply, without touching the marks.
EternalPresets AdvanceEternalPhases(World& world, const Settings& settings);

// Presets the born and died marks from the Eternal Life and Eternal Dead Fields
// in their period/intensity rhythm and decides whether Eternal Dead kills this
// generation. Runs first in every step.
void ApplyEternalLayers(World& world, const Settings& settings);

// Sprinkles cells into the Main Field and the three layers every RandomFillPeriod
// generations, as the four switches say.
void ApplyRandomFills(World& world, const Settings& settings);
// Whether ApplyRandomFills sprinkles (or draws random numbers) this generation.
bool RandomFillDue(const World& world, const Settings& settings);

}  // namespace zentorix
