#include "stage.h"

namespace quib::player {

void Stage::clear() {
    m_objects.clear();
    m_background = Rgba{255, 255, 255, 255};
}

void Stage::apply(const PlaceCommand& place) {
    auto it = m_objects.find(place.depth);
    if (!place.move || it == m_objects.end()) {
        // A new placement; a move of an empty depth only counts when it names a character.
        if (!place.characterId)
            return;
        m_objects[place.depth] = PlacedObject{*place.characterId, place.matrix.value_or(Transform())};
        return;
    }
    if (place.characterId)
        it->second.characterId = *place.characterId;
    if (place.matrix)
        it->second.matrix = *place.matrix;
}

void Stage::apply(const RemoveCommand& remove) {
    m_objects.erase(remove.depth);
}

const PlacedObject* Stage::at(uint16_t depth) const {
    auto it = m_objects.find(depth);
    return it == m_objects.end() ? nullptr : &it->second;
}

}  // namespace quib::player
