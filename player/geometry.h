#pragma once

#include <cmath>

namespace quib::player {

struct PointF {
    double x = 0;
    double y = 0;
    PointF operator+(PointF o) const { return {x + o.x, y + o.y}; }
    PointF operator-(PointF o) const { return {x - o.x, y - o.y}; }
    PointF& operator+=(PointF o) {
        x += o.x, y += o.y;
        return *this;
    }
    friend bool operator==(const PointF&, const PointF&) = default;
};

// Right and bottom are exclusive.
struct RectF {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    double width() const { return right - left; }
    double height() const { return bottom - top; }
    bool contains(PointF p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    friend bool operator==(const RectF&, const RectF&) = default;
};

// An affine map: x' = m11 x + m21 y + dx, y' = m12 x + m22 y + dy. a * b applies a, then b.
struct Transform {
    double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;

    static Transform translation(double x, double y) { return {1, 0, 0, 1, x, y}; }
    static Transform scaling(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }

    PointF map(PointF p) const { return {m11 * p.x + m21 * p.y + dx, m12 * p.x + m22 * p.y + dy}; }
    Transform operator*(const Transform& b) const {
        return {m11 * b.m11 + m12 * b.m21, m11 * b.m12 + m12 * b.m22,      m21 * b.m11 + m22 * b.m21,
                m21 * b.m12 + m22 * b.m22, dx * b.m11 + dy * b.m21 + b.dx, dx * b.m12 + dy * b.m22 + b.dy};
    }
    double determinant() const { return m11 * m22 - m12 * m21; }
    // Nothing sensible maps back through a flat transform; invertible tells whether this one is.
    Transform inverted(bool* invertible = nullptr) const {
        const double det = determinant();
        const bool ok = std::isfinite(det) && std::fabs(det) > 1e-12;
        if (invertible)
            *invertible = ok;
        if (!ok)
            return {};
        return {m22 / det,
                -m12 / det,
                -m21 / det,
                m11 / det,
                (m21 * dy - m22 * dx) / det,
                (m12 * dx - m11 * dy) / det};
    }
    friend bool operator==(const Transform&, const Transform&) = default;
};

}  // namespace quib::player
