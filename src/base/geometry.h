#pragma once

#include <cstdint>
#include <utility>

namespace quib {

// Coordinates and offsets read from files are kept within this range, so that sums and
// differences of a few of them, and their twips, never overflow 32 bits.
inline constexpr int32_t kMaxFileCoordinate = int32_t(1) << 24;

inline int32_t clampCoordinate(int64_t v) {
    return int32_t(v < -kMaxFileCoordinate  ? -kMaxFileCoordinate
                   : v > kMaxFileCoordinate ? kMaxFileCoordinate
                                            : v);
}

// A 64-bit value saturated into 32 bits.
inline int32_t saturate32(int64_t v) {
    return int32_t(v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : v);
}

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int32_t cx = 0;
    int32_t cy = 0;
    bool isEmpty() const { return cx <= 0 || cy <= 0; }
    friend bool operator==(const Size&, const Size&) = default;
};

// Windows-style rectangle: right and bottom are exclusive.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    // Saturated: a rectangle may span the whole 32-bit range.
    int32_t width() const { return saturate32(int64_t(right) - left); }
    int32_t height() const { return saturate32(int64_t(bottom) - top); }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    Rect normalized() const {
        Rect r = *this;
        if (r.left > r.right)
            std::swap(r.left, r.right);
        if (r.top > r.bottom)
            std::swap(r.top, r.bottom);
        return r;
    }
    Rect intersected(const Rect& o) const {
        Rect r{left > o.left ? left : o.left, top > o.top ? top : o.top, right < o.right ? right : o.right,
               bottom < o.bottom ? bottom : o.bottom};
        if (r.isEmpty())
            return Rect{};
        return r;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace quib
