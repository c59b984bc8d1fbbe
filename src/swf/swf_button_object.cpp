#include "swf_button_object.h"

#include "swf_movie.h"

namespace quib {

void ButtonObject::setStates(DisplayObject* up, DisplayObject* over, DisplayObject* down,
                             DisplayObject* hit) {
    m_states = {up, over, down, hit};
}

void ButtonObject::setAction(const ActionSource& source, int conditionCode) {
    SwfButtonCondAction record;
    record.conditions = buttonConditionBits(conditionCode);
    source.appendActions(record.actions);
    m_pending = std::move(record);
}

bool ButtonObject::hasMatrix() const {
    return m_states[Up] && m_states[Up]->hasMatrix();
}

SwfMatrix ButtonObject::matrix() const {
    return m_states[Up] ? m_states[Up]->matrix() : SwfMatrix();
}

bool ButtonObject::emitDefinition(SwfFrame& frame) {
    for (size_t i = 0; i < m_states.size(); ++i) {
        if (!m_states[i]) {
            frame.movie().recordError("Pulsante senza immagine");
            return false;
        }
        bool seen = false;
        for (size_t j = 0; j < i; ++j)
            seen = seen || m_states[j] == m_states[i];
        if (!seen && !m_states[i]->ensureDefined(frame))
            return false;
    }
    return true;
}

bool ButtonObject::placeOn(SwfFrame& frame) {
    if (!ensureDefined(frame))
        return false;
    SwfMovie& movie = frame.movie();
    uint16_t id = movie.takeCharacterId();
    if (id == 0)
        return false;
    auto button = std::make_unique<SwfDefineButton2Tag>(id);
    for (int s = Up; s <= Hit; ++s) {
        SwfButtonRecord record;
        record.stateUp = s == Up;
        record.stateOver = s == Over;
        record.stateDown = s == Down;
        record.stateHitTest = s == Hit;
        record.characterId = m_states[s]->characterId();
        record.placeDepth = 1;
        button->records.push_back(record);
    }
    if (m_pending) {
        button->actions.push_back(std::move(*m_pending));
        m_pending.reset();
    }
    frame.append(std::move(button));
    setCharacterId(id);
    placeCharacter(frame);
    return true;
}

}  // namespace quib
