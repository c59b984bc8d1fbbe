#include "model/button_placement.h"

#include <algorithm>

namespace quib {

namespace {

constexpr int kGap = 6;

Size pictureSize(const ButtonImageSet& images, int kind) {
    const Bitmap32& picture = images.images[kind];
    return Size{std::max(picture.width, 1), std::max(picture.height, 1)};
}

bool overlaps(Point a, Size as, Point b, Size bs) {
    return a.x < b.x + bs.cx && b.x < a.x + as.cx && a.y < b.y + bs.cy && b.y < a.y + as.cy;
}

}  // namespace

Point gotoButtonBesideNext(const FrameElements& frame, int which, const ButtonImageSet& images, Size canvas) {
    const int kind = which == 0 ? ButtonImageSet::Goto1 : ButtonImageSet::Goto2;
    const Size size = pictureSize(images, kind);
    const Size nextSize = pictureSize(images, ButtonImageSet::Next);
    const NavButton& next = frame.nextButton;
    const NavButton& other = frame.gotoButtons[which == 0 ? 1 : 0];
    const Size otherSize = pictureSize(images, which == 0 ? ButtonImageSet::Goto2 : ButtonImageSet::Goto1);
    const int y = next.pos.y + (nextSize.cy - size.cy) / 2;

    // Leftwards from the Next button first, then rightwards, stepping past the other go-to button.
    for (int direction : {-1, 1}) {
        int x = direction < 0 ? next.pos.x - kGap - size.cx : next.pos.x + nextSize.cx + kGap;
        for (int step = 0; step < 2; ++step) {
            const Point at{x, y};
            if (other.visible && overlaps(at, size, other.pos, otherSize)) {
                x = direction < 0 ? other.pos.x - kGap - size.cx : other.pos.x + otherSize.cx + kGap;
                continue;
            }
            if (x >= 0 && x + size.cx <= canvas.cx)
                return Point{x, std::clamp(y, 0, std::max(canvas.cy - size.cy, 0))};
            break;
        }
    }
    return Point{std::clamp(next.pos.x, 0, std::max(canvas.cx - size.cx, 0)),
                 std::clamp(y, 0, std::max(canvas.cy - size.cy, 0))};
}

void placeNewGotoButton(FrameElements& frame, int which, const ButtonImageSet& images, Size canvas) {
    NavButton& button = frame.gotoButtons[which];
    if (button.visible && button.pos == Point{0, 0})
        button.pos = gotoButtonBesideNext(frame, which, images, canvas);
}

}  // namespace quib
