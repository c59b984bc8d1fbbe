#include "qt_screen_grabber.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "capture/capture_messages.h"
#include "capture/cursor_rules.h"

namespace quib {

namespace {
Rect toRect(const QRect& r) {
    return Rect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}
}  // namespace

Status QtScreenGrabber::grab(const Rect& region, Bitmap24& out) {
    QScreen* screen = QGuiApplication::primaryScreen();
    const int w = region.width();
    const int h = region.height();
    if (!screen || w <= 0 || h <= 0)
        return Status::failureText(captureText::ScreenReadFailed);
    if (!pictureBytes(w, h, 3))
        return Status::failureText(captureText::RegionTooLarge);
    const QImage image =
        screen->grabWindow(0, region.left, region.top, w, h).toImage().convertToFormat(QImage::Format_RGB888);
    if (image.isNull())
        return Status::failureText(captureText::ScreenReadFailed);
    if (out.width != w || out.height != h)
        out = Bitmap24(w, h);
    std::fill(out.pixels.begin(), out.pixels.end(), uint8_t(0));
    const int rows = std::min(h, image.height());
    const int cols = std::min(w, image.width());
    for (int y = 0; y < rows; ++y) {
        const uchar* src = image.constScanLine(y);
        uint8_t* dst = out.pixel(0, y);
        for (int x = 0; x < cols; ++x) {
            dst[3 * x] = src[3 * x + 2];
            dst[3 * x + 1] = src[3 * x + 1];
            dst[3 * x + 2] = src[3 * x];
        }
    }
    return Status::success();
}

ScreenCursor QtScreenGrabber::grabCursor() {
    ScreenCursor cursor;
    cursor.picture = transparentCursorPicture();
    const QPoint pos = QCursor::pos();
    cursor.screenPos = Point{pos.x(), pos.y()};
    return cursor;
}

Size QtScreenGrabber::screenSize() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return Size{};
    return Size{screen->geometry().width(), screen->geometry().height()};
}

WindowAtPoint QtScreenGrabber::windowAt(Point screenPoint) {
    const PickedWindow picked = pickWindowAt(listWindows(), screenPoint, screenSize());
    WindowAtPoint result;
    result.window = picked.id;
    result.region = picked.region;
    result.frame = picked.region;
    return result;
}

std::vector<WindowNode> QtScreenGrabber::listWindows() {
    std::vector<WindowNode> windows;
    uint32_t id = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        ++id;
        if (widget->isVisible())
            windows.push_back(WindowNode{id, toRect(widget->frameGeometry()), {}});
    }
    return windows;
}

}  // namespace quib
