#include "null_backends.h"

#include <algorithm>

#include "cursor_rules.h"

namespace quib {

Status NullScreenGrabber::grab(const Rect& region, Bitmap24& out) {
    out = Bitmap24(std::max(region.width(), 0), std::max(region.height(), 0));
    return Status::failureText(m_reason);
}

ScreenCursor NullScreenGrabber::grabCursor() {
    return ScreenCursor{transparentCursorPicture(), Point{}};
}

}  // namespace quib
