#pragma once

#include "model/world.h"

namespace zentorix {

// One generation of the Other Reality Field under rule set 2: inner 3x3 only, ages
// up to 255, no landscape, no torus; the margins take part.
void OtherRealityStep(World& world);

namespace reference {
// The Other Reality step in its plain, literal form: the oracle of the
// one above.
void OtherRealityStep(World& world);
}  // namespace reference

}  // namespace zentorix
