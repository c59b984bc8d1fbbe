#include "standard_cursors.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace quib {

namespace {

// 'X' outline (white), '.' body (black), ' ' transparent; rows of the 32 x 32 picture.
constexpr std::array<const char*, 21> kArrowRows = {
    "X",        "XX",        "X.X",        "X..X",        "X...X",        "X....X",        "X.....X",
    "X......X", "X.......X", "X........X", "X.........X", "X..........X", "X......XXXXXX", "X...X..X",
    "X..XX..X", "X.X  X..X", "XX   X..X",  "X     X..X",  "      X..X",   "       X..X",   "       XXX",
};

// Same convention as the arrow.
constexpr std::array<const char*, 22> kHandRows = {
    "     XX",           "    X..X",          "    X..X",          "    X..X",          "    X..X",
    "    X..XXX",        "    X..X..XXX",     "    X..X..X..XX",   "    X..X..X..X.X",  " XX X........X..X",
    "X..XX...........X", "X...X...........X", " X..............X", "  X.............X", "  X............X",
    "   X...........X",  "   X...........X",  "    X.........X",   "    X.........X",   "     X.......X",
    "     X.......X",    "     XXXXXXXXX",
};

// Black only; the outline comes from the sketch.
constexpr std::array<const char*, 10> kQuestionRows = {
    " .... ", "..  ..", "    ..", "   .. ", "  ..  ", "  ..  ", "      ", "  ..  ", "  ..  ", "",
};

// A 32 x 32 picture drawn as black ink, then outlined in white.
class Sketch {
public:
    void plot(int x, int y) {
        if (x >= 0 && y >= 0 && x < kSide && y < kSide)
            m_ink[size_t(y * kSide + x)] = Ink::Black;
    }
    void dot(int x, int y, int thickness) {
        for (int dy = 0; dy < thickness; ++dy)
            for (int dx = 0; dx < thickness; ++dx)
                plot(x + dx, y + dy);
    }
    void line(int x0, int y0, int x1, int y1, int thickness = 1) {
        const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
        const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
        int error = dx + dy;
        for (;;) {
            dot(x0, y0, thickness);
            if (x0 == x1 && y0 == y1)
                break;
            const int e2 = 2 * error;
            if (e2 >= dy)
                error += dy, x0 += sx;
            if (e2 <= dx)
                error += dx, y0 += sy;
        }
    }
    void triangle(Point a, Point b, Point c) {
        const auto side = [](Point p, Point q, int x, int y) {
            return (q.x - p.x) * (y - p.y) - (q.y - p.y) * (x - p.x);
        };
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) {
                const int s1 = side(a, b, x, y), s2 = side(b, c, x, y), s3 = side(c, a, x, y);
                if ((s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0))
                    plot(x, y);
            }
        }
    }
    void ring(int cx, int cy, int outer, int inner) {
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) {
                const int d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
                if (d <= outer * outer && d >= inner * inner)
                    plot(x, y);
            }
        }
    }
    // Rows in the arrow's convention, placed with their top-left at (left, top).
    template <size_t N>
    void art(const std::array<const char*, N>& rows, int left, int top) {
        for (size_t row = 0; row < N; ++row) {
            for (int x = 0; rows[row][x] != '\0'; ++x) {
                const int px = left + x, py = top + int(row);
                if (rows[row][x] == ' ' || px >= kSide || py >= kSide)
                    continue;
                m_ink[size_t(py * kSide + px)] = rows[row][x] == 'X' ? Ink::White : Ink::Black;
            }
        }
    }
    CursorPicture finish(Point hotSpot) const {
        CursorPicture cursor;
        cursor.image = Bitmap32(kSide, kSide);
        cursor.hotSpot = hotSpot;
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) {
                Ink ink = at(x, y);
                if (ink == Ink::None && touchesBlack(x, y))
                    ink = Ink::White;
                uint8_t* p = cursor.image.pixel(x, y);
                if (ink == Ink::None) {
                    p[0] = p[1] = p[2] = 1, p[3] = 0;
                } else {
                    p[0] = p[1] = p[2] = ink == Ink::White ? 255 : 0;
                    p[3] = 255;
                }
            }
        }
        return cursor;
    }

private:
    enum class Ink : uint8_t { None, Black, White };
    static constexpr int kSide = 32;
    Ink at(int x, int y) const {
        if (x < 0 || y < 0 || x >= kSide || y >= kSide)
            return Ink::None;
        return m_ink[size_t(y * kSide + x)];
    }
    bool touchesBlack(int x, int y) const {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (at(x + dx, y + dy) == Ink::Black)
                    return true;
        return false;
    }
    std::array<Ink, kSide * kSide> m_ink{};
};

CursorPicture upArrow() {
    Sketch s;
    s.triangle({8, 1}, {1, 8}, {15, 8});
    s.line(7, 8, 7, 21, 3);
    return s.finish({8, 1});
}

CursorPicture hand() {
    Sketch s;
    s.art(kHandRows, 0, 0);
    return s.finish({5, 1});
}

CursorPicture textBeam() {
    Sketch s;
    s.line(2, 1, 4, 1), s.line(6, 1, 8, 1);
    s.line(5, 2, 5, 17);
    s.line(2, 18, 4, 18), s.line(6, 18, 8, 18);
    return s.finish({5, 9});
}

CursorPicture help() {
    Sketch s;
    s.art(kArrowRows, 0, 0);
    s.art(kQuestionRows, 14, 1);
    return s.finish({0, 0});
}

CursorPicture cross() {
    Sketch s;
    s.line(10, 1, 10, 19);
    s.line(1, 10, 19, 10);
    return s.finish({10, 10});
}

CursorPicture move() {
    Sketch s;
    s.line(10, 2, 10, 18, 1), s.line(2, 10, 18, 10, 1);
    s.triangle({10, 1}, {7, 4}, {13, 4}), s.triangle({10, 19}, {7, 16}, {13, 16});
    s.triangle({1, 10}, {4, 7}, {4, 13}), s.triangle({19, 10}, {16, 7}, {16, 13});
    return s.finish({10, 10});
}

CursorPicture resizeWestEast() {
    Sketch s;
    s.line(4, 8, 18, 8);
    s.triangle({1, 8}, {5, 4}, {5, 12}), s.triangle({21, 8}, {17, 4}, {17, 12});
    return s.finish({11, 8});
}

CursorPicture resizeNorthSouth() {
    Sketch s;
    s.line(8, 4, 8, 18);
    s.triangle({8, 1}, {4, 5}, {12, 5}), s.triangle({8, 21}, {4, 17}, {12, 17});
    return s.finish({8, 11});
}

CursorPicture resizeDiagonal(bool northWest) {
    Sketch s;
    const auto px = [northWest](int x) { return northWest ? x : 18 - x; };
    s.line(px(3), 3, px(15), 15);
    s.triangle({px(1), 1}, {px(7), 1}, {px(1), 7});
    s.triangle({px(17), 17}, {px(11), 17}, {px(17), 11});
    return s.finish({9, 9});
}

CursorPicture notAllowed() {
    Sketch s;
    s.ring(10, 10, 9, 7);
    s.line(4, 4, 15, 15, 2);
    return s.finish({10, 10});
}

void hourglass(Sketch& s, int left, int top, int scale) {
    const int w = 6 * scale, h = 11 * scale;
    s.line(left, top, left + w, top), s.line(left, top + h, left + w, top + h);
    s.triangle({left + 1, top + 1}, {left + w - 1, top + 1}, {left + w / 2, top + h / 2});
    s.triangle({left + w / 2, top + h / 2}, {left + 1, top + h - 1}, {left + w - 1, top + h - 1});
}

CursorPicture wait() {
    Sketch s;
    hourglass(s, 1, 1, 2);
    return s.finish({7, 12});
}

CursorPicture workingInBackground() {
    Sketch s;
    s.art(kArrowRows, 0, 0);
    hourglass(s, 14, 12, 1);
    return s.finish({0, 0});
}

}  // namespace

CursorPicture standardArrowCursor() {
    Sketch s;
    s.art(kArrowRows, 0, 0);
    return s.finish({0, 0});
}

std::vector<StandardCursor> standardCursors() {
    return {
        {32512, 151, "Selezione normale", standardArrowCursor()},
        {32516, 13, "Selezione alternativa", upArrow()},
        {32649, 14, "Selezione collegamento", hand()},
        {32513, 153, "Selezione testo", textBeam()},
        {32651, 20, "Selezione Guida", help()},
        {32515, 12, "Selezione di precisione", cross()},
        {32646, 21, "Sposta", move()},
        {32644, 160, "Ridimensiona orizzontale", resizeWestEast()},
        {32645, 17, "Ridimensiona verticale", resizeNorthSouth()},
        {32642, 156, "Ridimensiona diagonale 1", resizeDiagonal(true)},
        {32643, 158, "Ridimensiona diagonale 2", resizeDiagonal(false)},
        {32648, 18, "Non disponibile", notAllowed()},
        {32514, 155, "Occupato", wait()},
        {32650, 19, "Esecuzione in background", workingInBackground()},
    };
}

}  // namespace quib
