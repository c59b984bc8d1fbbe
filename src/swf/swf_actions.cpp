#include "swf_actions.h"

#include "swf_stream.h"

namespace quib {

void SwfAction::encode(SwfStream& out) const {
    out.writeU8(code);
    if (code == GotoFrame) {
        out.writeU16(2);
        out.writeU16(frame);
    }
}

void encodeActionList(const SwfActionList& actions, SwfStream& out) {
    for (const SwfAction& a : actions)
        a.encode(out);
    out.writeU8(0);
}

void PlayActionSource::appendActions(SwfActionList& actions) const {
    actions.push_back({SwfAction::Play, 0});
}

void StopActionSource::appendActions(SwfActionList& actions) const {
    actions.push_back({SwfAction::Stop, 0});
}

void GotoFrameActionSource::appendActions(SwfActionList& actions) const {
    actions.push_back({SwfAction::GotoFrame, m_frame});
}

uint16_t buttonConditionBits(int code) {
    // Low byte = first byte in the file.
    switch (code) {
        case 1:
            return 0x0100;
        case 2:
            return 0x80;
        case 3:
            return 0x40;
        case 4:
            return 0x20;
        case 5:
            return 0x10;
        case 6:
            return 0x08;
        case 7:
            return 0x04;
        case 8:
            return 0x02;
        case 9:
            return 0x01;
        default:
            return 0;
    }
}

}  // namespace quib
