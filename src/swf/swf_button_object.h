#pragma once

#include <array>
#include <optional>

#include "swf_actions.h"
#include "swf_display_object.h"
#include "swf_records.h"

namespace quib {

// A button with four state objects (up, over, down, hit; the same object may fill all four) and one
// conditional action. Every placement defines a new button character carrying the pending action,
// so the action must be set again before each placement.
class ButtonObject : public DisplayObject {
public:
    enum State { Up = 0, Over = 1, Down = 2, Hit = 3 };

    ButtonObject() = default;
    // Same object for all four states.
    explicit ButtonObject(DisplayObject* all) { setStates(all, all, all, all); }
    void setStates(DisplayObject* up, DisplayObject* over, DisplayObject* down, DisplayObject* hit);
    DisplayObject* state(State s) const { return m_states[s]; }

    // Replaces any pending action with the source's actions under the condition code (1..9).
    void setAction(const ActionSource& source, int conditionCode);
    void setAction(const ActionSource& source, ButtonCondition condition) {
        setAction(source, int(condition));
    }
    bool hasPendingAction() const { return m_pending.has_value(); }

    bool placeOn(SwfFrame& frame) override;
    // Positioned by its up-state object.
    bool hasMatrix() const override;
    SwfMatrix matrix() const override;

protected:
    // Defines the state objects (once each); the button character itself is made per placement.
    bool emitDefinition(SwfFrame& frame) override;

private:
    std::array<DisplayObject*, 4> m_states{};
    std::optional<SwfButtonCondAction> m_pending;
};

}  // namespace quib
