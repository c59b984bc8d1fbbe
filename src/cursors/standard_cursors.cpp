#include "standard_cursors.h"

#include <array>

namespace quib {

namespace {

// 'X' outline (white), '.' body (black), ' ' transparent; rows of the 32 x 32 picture.
constexpr std::array<const char*, 21> kArrowRows = {
    "X",        "XX",        "X.X",        "X..X",        "X...X",        "X....X",        "X.....X",
    "X......X", "X.......X", "X........X", "X.........X", "X..........X", "X......XXXXXX", "X...X..X",
    "X..XX..X", "X.X  X..X", "XX   X..X",  "X     X..X",  "      X..X",   "       X..X",   "       XXX",
};

}  // namespace

CursorPicture standardArrowCursor() {
    CursorPicture cursor;
    cursor.image = Bitmap32(32, 32);  // all bytes zero: fully transparent
    cursor.hotSpot = Point{0, 0};
    for (size_t y = 0; y < kArrowRows.size(); ++y) {
        for (int x = 0; kArrowRows[y][x] != '\0'; ++x) {
            const char c = kArrowRows[y][x];
            if (c == ' ')
                continue;
            uint8_t* p = cursor.image.pixel(x, int(y));
            const uint8_t level = c == 'X' ? 255 : 0;
            p[0] = p[1] = p[2] = level;
            p[3] = 255;
        }
    }
    return cursor;
}

}  // namespace quib
