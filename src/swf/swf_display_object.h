#pragma once

#include <cstdint>

#include "swf_records.h"

namespace quib {

class SwfFrame;
class SwfMovie;

// Anything that can be placed on a frame. Its defining tags are emitted on first use; every
// placement then gets its own depth when the movie is written, ordered by layer.
class DisplayObject {
public:
    virtual ~DisplayObject() = default;

    uint16_t layer() const { return m_layer; }
    void setLayer(uint16_t layer) { m_layer = layer; }
    bool isDefined() const { return m_defined; }
    // Id of the current definition; 0 before the object is defined.
    uint16_t characterId() const { return m_characterId; }

    virtual bool placeOn(SwfFrame& frame);
    virtual bool removeFrom(SwfFrame& frame);
    virtual bool hasMatrix() const { return false; }
    virtual SwfMatrix matrix() const { return SwfMatrix(); }

    // Emits the defining tags into the frame unless already done for this movie. False on failure.
    bool ensureDefined(SwfFrame& frame);

protected:
    // Appends the defining tags and sets the character id; false (with the movie's error set) on failure.
    virtual bool emitDefinition(SwfFrame& frame) = 0;
    // The PlaceObject2 of one placement, recorded in the movie's placement index.
    void placeCharacter(SwfFrame& frame);
    void setCharacterId(uint16_t id) { m_characterId = id; }

private:
    uint16_t m_layer = 1;
    bool m_defined = false;
    uint16_t m_characterId = 0;
    const SwfMovie* m_definedIn = nullptr;
    uint64_t m_definedGeneration = 0;
};

}  // namespace quib
