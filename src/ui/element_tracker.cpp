#include "element_tracker.h"

#include <QPainter>
#include <algorithm>

#include "model/doc_observer.h"
#include "model/quib_doc.h"

namespace quib {

namespace {
const NavButton* button(const CQuibDoc& doc, ElementKind kind) {
    const FrameElements& f = doc.currentFrame;
    switch (kind) {
        case ElementKind::PrevButton:
            return &f.prevButton;
        case ElementKind::NextButton:
            return &f.nextButton;
        case ElementKind::Goto1:
            return &f.gotoButtons[0];
        case ElementKind::Goto2:
            return &f.gotoButtons[1];
        default:
            return nullptr;
    }
}

NavButton* button(CQuibDoc& doc, ElementKind kind) {
    return const_cast<NavButton*>(button(std::as_const(doc), kind));
}

const Bitmap32& buttonPicture(const CQuibDoc& doc, ElementKind kind) {
    switch (kind) {
        case ElementKind::NextButton:
            return doc.buttonImages.images[ButtonImageSet::Next];
        case ElementKind::Goto1:
            return doc.buttonImages.images[ButtonImageSet::Goto1];
        case ElementKind::Goto2:
            return doc.buttonImages.images[ButtonImageSet::Goto2];
        default:
            return doc.buttonImages.images[ButtonImageSet::Previous];
    }
}

Rect sized(Point at, int width, int height) {
    return Rect{at.x, at.y, at.x + width, at.y + height};
}

const QBrush& hatchBrush() {
    static const QBrush brush(Qt::black, Qt::BDiagPattern);
    return brush;
}
}  // namespace

Rect unitedRect(const Rect& a, const Rect& b) {
    return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

QRect toQRect(const Rect& rect) {
    return QRect(rect.left, rect.top, rect.width(), rect.height());
}

int ElementTracker::changeHint() const {
    switch (m_kind) {
        case ElementKind::Cursor:
            return hint::Cursor;
        case ElementKind::PrevButton:
            return hint::TextBoxRect;
        case ElementKind::Title:
            return hint::TitleOrFramePosition;
        case ElementKind::FrameImage:
            return hint::TitleOrImagePosition;
        default:
            return hint::Buttons;  // Next, Goto 1, Goto 2 and the text box
    }
}

Rect ElementTracker::rect(const CQuibDoc& doc) const {
    const FrameElements& f = doc.currentFrame;
    switch (m_kind) {
        case ElementKind::Cursor:
            return sized(f.cursorPos, f.cursorWidth, f.cursorHeight);
        case ElementKind::TextBox:
            return f.textBox.rect;
        case ElementKind::Title:
            return doc.titles.rect;
        case ElementKind::FrameImage:
            return sized(doc.frameOrigin, doc.frameSize.cx, doc.frameSize.cy);
        default: {
            const Bitmap32& picture = buttonPicture(doc, m_kind);
            return sized(button(doc, m_kind)->pos, picture.width, picture.height);
        }
    }
}

void ElementTracker::setRect(CQuibDoc& doc, const Rect& rect) const {
    FrameElements& f = doc.currentFrame;
    const Point at{rect.left, rect.top};
    switch (m_kind) {
        case ElementKind::Cursor:
            f.cursorPos = at;
            break;
        case ElementKind::TextBox:
            f.textBox.rect = rect;
            break;
        case ElementKind::Title:
            doc.titles.rect = rect;
            break;
        case ElementKind::FrameImage:
            doc.frameOrigin = at;
            break;
        default:
            button(doc, m_kind)->pos = at;
            break;
    }
}

bool ElementTracker::isShown(const CQuibDoc& doc) const {
    if (!doc.isValidIndex(doc.currentFrameIndex))
        return false;
    const FrameElements& f = doc.currentFrame;
    switch (m_kind) {
        case ElementKind::Cursor:
            return f.cursorVisible != 0;
        case ElementKind::TextBox:
            return f.textBox.visible != 0;
        case ElementKind::Title:
            return doc.titles.enabled != 0;
        case ElementKind::FrameImage:
            return !doc.frameSize.isEmpty();
        default:
            return button(doc, m_kind)->visible != 0;
    }
}

bool ElementTracker::isSelectable(const CQuibDoc& doc) const {
    if (!isShown(doc))
        return false;
    // A text box without a callout draws nothing, so there is nothing to take hold of.
    return m_kind != ElementKind::TextBox || !doc.currentFrame.textBox.calloutName.empty();
}

TrackerPart ElementTracker::hitTestShown(const CQuibDoc& doc, const Rect& r, Point point,
                                         bool selected) const {
    if (!isSelectable(doc))
        return TrackerPart::None;
    const QPoint p(point.x, point.y);
    if (canResize() && selected) {
        for (TrackerPart part :
             {TrackerPart::TopLeft, TrackerPart::TopRight, TrackerPart::BottomRight, TrackerPart::BottomLeft,
              TrackerPart::Top, TrackerPart::Right, TrackerPart::Bottom, TrackerPart::Left})
            if (handleRect(r, part).contains(p))
                return part;
    }
    // Everything but the cursor has its hatched band outside, and the band takes hold too.
    const int band = m_kind == ElementKind::Cursor ? 0 : BorderWidth;
    const Rect outer{r.left - band, r.top - band, r.right + band, r.bottom + band};
    if (!outer.contains(point))
        return TrackerPart::None;
    if (m_kind == ElementKind::FrameImage) {
        // The picture usually fills the canvas: only its rim grips it, so that presses inside it
        // can clear the selection.
        const int inset = FrameImageGrip + 1;
        const Rect inner{r.left + inset, r.top + inset, r.right - inset, r.bottom - inset};
        if (inner.contains(point))
            return TrackerPart::None;
    }
    return TrackerPart::Middle;
}

QRect ElementTracker::paintArea(const Rect& rect) const {
    const int margin = m_kind == ElementKind::Cursor ? 1 : HandleSize + 1;
    return toQRect(rect).adjusted(-margin, -margin, margin, margin);
}

QRect ElementTracker::handleRect(const Rect& r, TrackerPart part) {
    const int s = HandleSize;
    const int cx = r.left + r.width() / 2 - s / 2;
    const int cy = r.top + r.height() / 2 - s / 2;
    switch (part) {
        case TrackerPart::TopLeft:
            return QRect(r.left - s, r.top - s, s, s);
        case TrackerPart::TopRight:
            return QRect(r.right, r.top - s, s, s);
        case TrackerPart::BottomRight:
            return QRect(r.right, r.bottom, s, s);
        case TrackerPart::BottomLeft:
            return QRect(r.left - s, r.bottom, s, s);
        case TrackerPart::Top:
            return QRect(cx, r.top - s, s, s);
        case TrackerPart::Right:
            return QRect(r.right, cy, s, s);
        case TrackerPart::Bottom:
            return QRect(cx, r.bottom, s, s);
        case TrackerPart::Left:
            return QRect(r.left - s, cy, s, s);
        default:
            return QRect();
    }
}

void ElementTracker::draw(QPainter& painter, const Rect& r, bool selected) const {
    painter.save();
    const QRect box = toQRect(r);
    if (m_kind == ElementKind::Cursor) {
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box.adjusted(-1, -1, 0, 0));
        if (selected) {
            painter.fillRect(box, hatchBrush());
            const int s = 3;
            for (QPoint corner : {box.topLeft(), QPoint(box.right() - s + 1, box.top()),
                                  QPoint(box.left(), box.bottom() - s + 1),
                                  QPoint(box.right() - s + 1, box.bottom() - s + 1)})
                painter.fillRect(QRect(corner, QSize(s, s)), Qt::black);
        }
        painter.restore();
        return;
    }
    // A white band under the hatch keeps the border visible on dark pictures.
    const int b = BorderWidth;
    const QRect outer = box.adjusted(-b, -b, b, b);
    const QRect bands[4] = {QRect(outer.left(), outer.top(), outer.width(), b),
                            QRect(outer.left(), box.bottom() + 1, outer.width(), b),
                            QRect(outer.left(), box.top(), b, box.height()),
                            QRect(box.right() + 1, box.top(), b, box.height())};
    for (const QRect& band : bands) {
        painter.fillRect(band, Qt::white);
        painter.fillRect(band, hatchBrush());
    }
    if (canResize() && selected) {
        for (TrackerPart part :
             {TrackerPart::TopLeft, TrackerPart::TopRight, TrackerPart::BottomRight, TrackerPart::BottomLeft,
              TrackerPart::Top, TrackerPart::Right, TrackerPart::Bottom, TrackerPart::Left})
            painter.fillRect(handleRect(r, part), Qt::black);
    }
    painter.restore();
}

Qt::CursorShape ElementTracker::cursorShape(TrackerPart part) {
    switch (part) {
        case TrackerPart::TopLeft:
        case TrackerPart::BottomRight:
            return Qt::SizeFDiagCursor;
        case TrackerPart::TopRight:
        case TrackerPart::BottomLeft:
            return Qt::SizeBDiagCursor;
        case TrackerPart::Top:
        case TrackerPart::Bottom:
            return Qt::SizeVerCursor;
        case TrackerPart::Left:
        case TrackerPart::Right:
            return Qt::SizeHorCursor;
        case TrackerPart::Middle:
            return Qt::SizeAllCursor;
        default:
            return Qt::ArrowCursor;
    }
}

Rect ElementTracker::resized(const Rect& rect, TrackerPart part, int dx, int dy) {
    Rect r = rect;
    switch (part) {
        case TrackerPart::TopLeft:
            r.left += dx, r.top += dy;
            break;
        case TrackerPart::TopRight:
            r.right += dx, r.top += dy;
            break;
        case TrackerPart::BottomRight:
            r.right += dx, r.bottom += dy;
            break;
        case TrackerPart::BottomLeft:
            r.left += dx, r.bottom += dy;
            break;
        case TrackerPart::Top:
            r.top += dy;
            break;
        case TrackerPart::Right:
            r.right += dx;
            break;
        case TrackerPart::Bottom:
            r.bottom += dy;
            break;
        case TrackerPart::Left:
            r.left += dx;
            break;
        case TrackerPart::Middle:
            r = Rect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
            break;
        case TrackerPart::None:
            break;
    }
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    return r;
}

Rect ElementTracker::keptInside(const Rect& rect, Size canvas) {
    Rect r = rect;
    auto shift = [&r](int dx, int dy) { r = Rect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; };
    if (r.bottom > canvas.cy)
        shift(0, canvas.cy - r.bottom);
    if (r.top < 0)
        shift(0, -r.top);
    if (r.left < 0)
        shift(-r.left, 0);
    if (r.right > canvas.cx)
        shift(canvas.cx - r.right, 0);
    return r;
}

Rect ElementTracker::clampedInside(const Rect& rect, Size canvas) {
    Rect r = rect;
    r.left = std::clamp(r.left, 0, std::max(canvas.cx, 0));
    r.right = std::clamp(r.right, r.left, std::max(canvas.cx, r.left));
    r.top = std::clamp(r.top, 0, std::max(canvas.cy, 0));
    r.bottom = std::clamp(r.bottom, r.top, std::max(canvas.cy, r.top));
    return r;
}

}  // namespace quib
