#include "engine/landscape.h"

#include <algorithm>

namespace zentorix {

namespace {

// Sets every mark of -3..EX by -3..EY from the layer (1 where it holds a value
// above 0), or clears them all when `active` is false.
void PresetMarks(MarkField& marks, const StateField& layer, int ex, int ey, bool active) {
    for (int x = -3; x <= ex; ++x) {
        std::uint8_t* m = marks.Column(x) - marks.Low();
        const std::int32_t* l = layer.Column(x) - layer.Low();
        for (int y = -3; y <= ey; ++y)
            m[y] = active && l[y] > 0 ? 1 : 0;
    }
}

void Sprinkle(StateField& field, RandomSource& random, const World& world, int intensity,
              std::uint32_t range) {
    random.Reseed();
    for (int x = -2; x <= world.FieldWidth(); ++x)
        for (int y = -2; y <= world.FieldHeight(); ++y)
            if (random.Below(range) < static_cast<std::uint32_t>(intensity))
                field.at(x, y) = 1;
}

}  // namespace

EternalPresets AdvanceEternalPhases(World& world, const Settings& s) {
    LandscapePhases& ph = world.Landscape;
    EternalPresets presets;
    if (s.EternalLifeOn) {
        presets.bornFromLayer =
            LayerActive(s.EternalLifePeriod, s.EternalLifeIntensity, ph.EternalLifePhase);
        ph.EternalLifePhase =
            ph.EternalLifePhase < s.EternalLifePeriod ? ph.EternalLifePhase + 1 : 1;
    }
    ph.EternalDeadActive = false;
    if (s.EternalDeadOn) {
        presets.diedFromLayer =
            LayerActive(s.EternalDeadPeriod, s.EternalDeadIntensity, ph.EternalDeadPhase);
        ph.EternalDeadPhase =
            ph.EternalDeadPhase < s.EternalDeadPeriod ? ph.EternalDeadPhase + 1 : 1;
        ph.EternalDeadActive =
            LayerActive(s.EternalDeadPeriod, s.EternalDeadIntensity, ph.EternalDeadPhase);
    }
    return presets;
}

void ApplyEternalLayers(World& world, const Settings& s) {
    const int ex = world.ExtentX(), ey = world.ExtentY();
    const EternalPresets presets = AdvanceEternalPhases(world, s);
    PresetMarks(world.BornMarks, world.EternalLifeField, ex, ey, presets.bornFromLayer);
    PresetMarks(world.DiedMarks, world.EternalDeadField, ex, ey, presets.diedFromLayer);
}

bool RandomFillDue(const World& world, const Settings& s) {
    // A period of 0 from an old file counts as 1.
    const int period = std::max(1, static_cast<int>(s.RandomFillPeriod));
    return s.AnyRandomFill() && world.Counters.Generation % period == 0;
}

void ApplyRandomFills(World& world, const Settings& s) {
    if (!RandomFillDue(world, s))
        return;
    const int intensity = s.RandomFillIntensity;
    if (s.MainFillRandom)
        Sprinkle(world.MainField, world.Random, world, intensity, 100000);
    if (s.EtenalLifeFillRandom)
        Sprinkle(world.EternalLifeField, world.Random, world, intensity, 1000000);
    if (s.EtenalDeadFillRandom)
        Sprinkle(world.EternalDeadField, world.Random, world, intensity, 1000000);
    if (s.OtherRealFillRandom)
        Sprinkle(world.OtherRealityField, world.Random, world, intensity, 1000000);
}

}  // namespace zentorix
