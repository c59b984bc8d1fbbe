#pragma once

#include <cstdint>
#include <vector>

namespace quib {

class SwfStream;

// One action of the three the movies use.
struct SwfAction {
    enum Code : uint8_t { Play = 0x06, Stop = 0x07, GotoFrame = 0x81 };
    Code code = Play;
    uint16_t frame = 0;  // GotoFrame only, 0-based

    void encode(SwfStream& out) const;
};

// An ordered action list; encoding ends it with the byte 0.
using SwfActionList = std::vector<SwfAction>;
void encodeActionList(const SwfActionList& actions, SwfStream& out);

// What a button or a frame does: adds its actions to a button's conditional record or to a DoAction.
class ActionSource {
public:
    virtual ~ActionSource() = default;
    virtual void appendActions(SwfActionList& actions) const = 0;
};

class PlayActionSource final : public ActionSource {
public:
    void appendActions(SwfActionList& actions) const override;
};

class StopActionSource final : public ActionSource {
public:
    void appendActions(SwfActionList& actions) const override;
};

class GotoFrameActionSource final : public ActionSource {
public:
    explicit GotoFrameActionSource(uint16_t frame) : m_frame(frame) {}
    uint16_t frame() const { return m_frame; }
    void appendActions(SwfActionList& actions) const override;

private:
    uint16_t m_frame;
};

// Button condition codes 1..9; the value is the 16-bit condition field, its first written byte in
// the low 8 bits. Codes outside 1..9 give 0.
enum class ButtonCondition : int {
    OverDownToIdle = 1,
    IdleToOverDown = 2,
    OutDownToIdle = 3,
    OutDownToOverDown = 4,
    OverDownToOutDown = 5,
    OverDownToOverUp = 6,  // released inside: the click
    OverUpToOverDown = 7,
    OverUpToIdle = 8,
    IdleToOverUp = 9,
};
uint16_t buttonConditionBits(int code);
inline uint16_t buttonConditionBits(ButtonCondition c) {
    return buttonConditionBits(int(c));
}

}  // namespace quib
