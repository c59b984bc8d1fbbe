#pragma once

// The picture and cursor the test portal sends, shared with the tests that check what arrives.

#include <spa/buffer/meta.h>
#include <spa/param/video/raw.h>

#include <cstddef>
#include <cstdint>

#include "../test_screen_pattern.h"

namespace quib::testing {

inline constexpr int kTestCursorSide = 24;
inline constexpr int kTestCursorX = 100, kTestCursorY = 60;
inline constexpr int kTestHotSpotX = 3, kTestHotSpotY = 5;
inline constexpr size_t kTestCursorMetaSize =
    sizeof(spa_meta_cursor) + sizeof(spa_meta_bitmap) + size_t(kTestCursorSide) * kTestCursorSide * 4;

// The cursor: its left half opaque in colours of its own, its right half transparent. Blue,
// green, red, alpha.
inline void testCursorPixel(int x, int y, uint8_t bgra[4]) {
    const bool opaque = x < kTestCursorSide / 2;
    bgra[0] = opaque ? uint8_t(20 + x * 8) : 0;
    bgra[1] = opaque ? uint8_t(30 + y * 8) : 0;
    bgra[2] = opaque ? 200 : 0;
    bgra[3] = opaque ? 255 : 0;
}

// BGRx rows of width * 4 bytes; with the cursor drawn in when it is not sent apart.
inline void fillTestPicture(uint8_t* pixels, int width, int height, bool cursorDrawnIn) {
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = pixels + (size_t(y) * width + x) * 4;
            testScreenColour(x, y, p);
            p[3] = 255;
            const int cx = x - (kTestCursorX - kTestHotSpotX), cy = y - (kTestCursorY - kTestHotSpotY);
            if (cursorDrawnIn && cx >= 0 && cy >= 0 && cx < kTestCursorSide && cy < kTestCursorSide) {
                uint8_t c[4];
                testCursorPixel(cx, cy, c);
                if (c[3] != 0)
                    p[0] = c[0], p[1] = c[1], p[2] = c[2];
            }
        }
    }
}

inline void fillTestCursorMeta(spa_meta_cursor* meta) {
    meta->id = 1;
    meta->flags = 0;
    meta->position = {kTestCursorX, kTestCursorY};
    meta->hotspot = {kTestHotSpotX, kTestHotSpotY};
    meta->bitmap_offset = sizeof(spa_meta_cursor);
    auto* bitmap = reinterpret_cast<spa_meta_bitmap*>(reinterpret_cast<uint8_t*>(meta) + meta->bitmap_offset);
    bitmap->format = SPA_VIDEO_FORMAT_BGRA;
    bitmap->size = {uint32_t(kTestCursorSide), uint32_t(kTestCursorSide)};
    bitmap->stride = kTestCursorSide * 4;
    bitmap->offset = sizeof(spa_meta_bitmap);
    uint8_t* pixels = reinterpret_cast<uint8_t*>(bitmap) + bitmap->offset;
    for (int y = 0; y < kTestCursorSide; ++y)
        for (int x = 0; x < kTestCursorSide; ++x)
            testCursorPixel(x, y, pixels + (size_t(y) * kTestCursorSide + x) * 4);
}

}  // namespace quib::testing
