#pragma once

#include <memory>
#include <vector>

#include "base/geometry.h"
#include "shapes/shape.h"

namespace quib {

class ShapeEditHistory;

// Handles of a shape's frame: the sides combine into the corners (5 top-left, 10 bottom-right).
namespace handle {
inline constexpr int kMove = 0;
inline constexpr int kLeft = 1;
inline constexpr int kRight = 2;
inline constexpr int kTop = 4;
inline constexpr int kBottom = 8;
inline constexpr int kRotate = 16;
}  // namespace handle

// Pixel centre of the rotation handle: on the ellipse of 0.375 times the frame's size round its
// centre, at angle (radians, y pointing up).
Point rotationHandleCentre(const Rect& frame, double angle);
// Pixel centres of the eight sizing handles with their codes.
std::vector<std::pair<int, Point>> sizingHandles(const Rect& frame);
// The handle of the shape's frame under the pixel point: a sizing or rotation handle, 0 within
// 3 pixels of the outline, or -1.
int transformHandleAt(const Shape& shape, int px, int py, int w, int h, double rotation);

// Keys held when a transform drag starts.
struct TransformKeys {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// One drag of the transform tool over the selected shapes: moving (handle 0), scaling from a side
// or corner with the opposite one fixed, or rotating round the frame's centre. Shift scales
// proportionally and turns each shape round its own centre, Alt scales about each shape's own
// centre, Ctrl with Shift changes every keyframe instead of the current points. The first step
// writes the undo records, one "Trasforma Forme" step in all.
class ShapeTransform {
public:
    using Shapes = std::vector<std::unique_ptr<Shape>>;

    ShapeTransform(Shapes& shapes, ShapeEditHistory& history, const Rect& frame, int code, PointD start,
                   int w, int h, TransformKeys keys, int time = 0);

    // Moves the pointer to u; false when the step changed nothing.
    bool dragTo(PointD u);
    // Stores the current points into the keyframe at the time (the end of the drag).
    void finish();

    int code() const { return m_code; }
    bool started() const { return m_recorded; }
    // The pointer's angle round the pivot at the last rotation step.
    double angle() const { return m_angle; }

private:
    void record();
    template <typename Change>
    void changeSelected(Change change);
    bool scale(PointD u);
    void rotate(PointD u);

    Shapes& m_shapes;
    ShapeEditHistory& m_history;
    int m_code;
    int m_w, m_h, m_time;
    bool m_proportional, m_ownCentre, m_allKeyframes;
    PointD m_pivot;
    PointD m_last;
    double m_angle = 0;
    bool m_recorded = false;
};

}  // namespace quib
