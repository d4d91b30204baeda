#include "model/world.h"

#include <algorithm>

namespace zentorix {

void World::SetFieldWidth(int w) {
    fieldWidth_ = std::clamp(w, kMinFieldSize, kMaxFieldSize);
}
void World::SetFieldHeight(int h) {
    fieldHeight_ = std::clamp(h, kMinFieldSize, kMaxFieldSize);
}

StateField& World::LayerField(Layer layer) {
    switch (layer) {
        case Layer::EternalLife:
            return EternalLifeField;
        case Layer::EternalDead:
            return EternalDeadField;
        case Layer::OtherReality:
            return OtherRealityField;
        case Layer::Main:
            break;
    }
    return MainField;
}

const StateField& World::LayerField(Layer layer) const {
    return const_cast<World*>(this)->LayerField(layer);
}

}  // namespace zentorix
