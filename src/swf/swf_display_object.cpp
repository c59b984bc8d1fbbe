#include "swf_display_object.h"

#include "swf_movie.h"

namespace quib {

bool DisplayObject::ensureDefined(SwfFrame& frame) {
    SwfMovie& movie = frame.movie();
    if (m_defined) {
        if (m_definedIn == &movie && m_definedGeneration == movie.generation())
            return true;
        // Its defining tags went out with another movie; referencing them here would be dangling.
        movie.recordError("Oggetto già scritto in un altro filmato");
        return false;
    }
    if (!emitDefinition(frame))
        return false;
    m_defined = true;
    m_definedIn = &movie;
    m_definedGeneration = movie.generation();
    return true;
}

bool DisplayObject::placeOn(SwfFrame& frame) {
    if (!ensureDefined(frame))
        return false;
    placeCharacter(frame);
    return true;
}

void DisplayObject::placeCharacter(SwfFrame& frame) {
    auto place = std::make_unique<SwfPlaceObject2Tag>();
    place->hasCharacter = true;
    place->placedId = m_characterId;
    place->depth = m_layer;
    if (hasMatrix())
        place->matrix = matrix();
    SwfPlaceObject2Tag* raw = frame.append(std::move(place));
    frame.movie().addPlacement(m_characterId, raw, m_layer);
}

bool DisplayObject::removeFrom(SwfFrame& frame) {
    SwfMovie& movie = frame.movie();
    // Removing what is not on the stage would write a tag that ends nothing.
    if (!m_defined || !movie.hasOpenPlacement(m_characterId))
        return false;
    SwfRemoveObjectTag* raw = frame.append(std::make_unique<SwfRemoveObjectTag>(m_characterId, m_layer));
    return movie.attachRemoval(m_characterId, raw);
}

}  // namespace quib
