#pragma once

#include <QRect>
#include <Qt>
#include <cstdint>

#include "base/geometry.h"

class QPainter;

namespace quib {

class CQuibDoc;

// The elements of a frame the editor can select, in the order presses are offered to them.
// A kind's selection bit is 1 << kind.
enum class ElementKind { Cursor = 0, PrevButton, NextButton, Goto1, Goto2, TextBox, Title, FrameImage };
inline constexpr int kElementKindCount = 8;

inline constexpr uint32_t selectionBit(ElementKind kind) {
    return 1u << int(kind);
}
inline constexpr ElementKind kindAt(int index) {
    return ElementKind(index);
}

// Where a point lies on a tracker: one of the eight resize handles or the body.
enum class TrackerPart { None, TopLeft, TopRight, BottomRight, BottomLeft, Top, Right, Bottom, Left, Middle };

// Geometry, hit rules and drawing of the rectangle tracker of one element kind. Everything is in
// canvas coordinates.
class ElementTracker {
public:
    static constexpr int HandleSize = 7;   // resize handles sit outside the rectangle
    static constexpr int BorderWidth = 4;  // the hatched band around a selected element
    // A point more than this far inside the frame image does not take hold of it.
    static constexpr int FrameImageGrip = 4;

    explicit ElementTracker(ElementKind kind = ElementKind::Cursor) : m_kind(kind) {}

    ElementKind kind() const { return m_kind; }
    uint32_t bit() const { return selectionBit(m_kind); }
    bool canResize() const { return m_kind == ElementKind::TextBox || m_kind == ElementKind::Title; }
    // The hint the views get after the element moved or changed size.
    int changeHint() const;

    // The element's rectangle on the canvas.
    Rect rect(const CQuibDoc& doc) const;
    // Writes a new rectangle into the working copy: the position only, unless the kind resizes.
    void setRect(CQuibDoc& doc, const Rect& rect) const;
    // Whether the element shows on the current frame (the title: whether titles are on).
    bool isShown(const CQuibDoc& doc) const;
    // Whether a press can take hold of it: shown, and for the text box a callout is chosen.
    bool isSelectable(const CQuibDoc& doc) const;

    // Which part of the tracker point falls on; handles count only on a selected resizable element.
    TrackerPart hitTest(const CQuibDoc& doc, Point point, bool selected) const {
        return hitTestShown(doc, rect(doc), point, selected);
    }
    // The same on a zoomed view: shown is the element's rectangle and point the pointer, both in
    // view pixels, so that handles and bands keep their size on screen at every zoom.
    TrackerPart hitTestShown(const CQuibDoc& doc, const Rect& shown, Point point, bool selected) const;
    // The area a tracker may paint around the rectangle.
    QRect paintArea(const Rect& rect) const;

    // Draws the tracker around rect. The cursor shows a thin frame, or a hatched inside with
    // corner marks when selected; the others a hatched border, with handles when they resize.
    void draw(QPainter& painter, const Rect& rect, bool selected) const;

    // The mouse cursor shape over a part.
    static Qt::CursorShape cursorShape(TrackerPart part);
    // The handle rectangle of a part (empty for the body).
    static QRect handleRect(const Rect& rect, TrackerPart part);
    // rect with the edges of part moved by (dx, dy); the right edge never goes left of the left
    // edge, nor the bottom above the top.
    static Rect resized(const Rect& rect, TrackerPart part, int dx, int dy);
    // Moves rect (without changing its size) so that it lies inside a canvas of size, checking
    // the bottom, the top, the left and the right edge in that order.
    static Rect keptInside(const Rect& rect, Size canvas);
    // Clamps each edge into the canvas, for a rectangle being resized.
    static Rect clampedInside(const Rect& rect, Size canvas);

private:
    ElementKind m_kind;
};

// The smallest rectangle holding both (a rectangle without area still counts by its corners).
Rect unitedRect(const Rect& a, const Rect& b);
QRect toQRect(const Rect& rect);

}  // namespace quib
