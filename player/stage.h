#pragma once

#include <cstdint>
#include <map>

#include "movie_data.h"

namespace quib::player {

struct PlacedObject {
    uint16_t characterId = 0;
    Transform matrix;
};

// The display list: what is on the screen, by depth, and the background colour.
class Stage {
public:
    void clear();
    void apply(const PlaceCommand& place);
    void apply(const RemoveCommand& remove);
    void setBackground(Rgba color) { m_background = color; }

    const std::map<uint16_t, PlacedObject>& objects() const { return m_objects; }
    const PlacedObject* at(uint16_t depth) const;
    Rgba background() const { return m_background; }

private:
    std::map<uint16_t, PlacedObject> m_objects;
    Rgba m_background{255, 255, 255, 255};
};

}  // namespace quib::player
