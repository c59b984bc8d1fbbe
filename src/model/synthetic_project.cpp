#include "synthetic_project.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "cursors/standard_cursors.h"

namespace quib {

namespace {

struct Painter {
    Bitmap24& image;
    void fill(int left, int top, int right, int bottom, uint32_t rgbColour) {
        left = std::max(left, 0), top = std::max(top, 0);
        right = std::min(right, image.width), bottom = std::min(bottom, image.height);
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                uint8_t* p = image.pixel(x, y);
                p[0] = blueOf(rgbColour), p[1] = greenOf(rgbColour), p[2] = redOf(rgbColour);
            }
        }
    }
};

// A small deterministic generator, so that generated projects are the same on every run.
struct Lcg {
    uint32_t state;
    uint32_t next() { return state = state * 1664525u + 1013904223u; }
    int range(int low, int high) { return low + int(next() >> 8) % std::max(high - low, 1); }
};

// Rows of short dark runs that look like lines of text.
void textLines(Painter& p, int left, int top, int right, int bottom, uint32_t seed) {
    Lcg rng{seed};
    for (int y = top; y + 8 <= bottom; y += 14) {
        int x = left;
        const int lineEnd = right - rng.range(0, (right - left) / 3 + 1);
        while (x < lineEnd) {
            const int word = rng.range(12, 48);
            p.fill(x, y, std::min(x + word, lineEnd), y + 8, rgb(40, 40, 48));
            x += word + 6;
        }
    }
}

void drawScreen(Bitmap24& image, int frame) {
    Painter p{image};
    const int cx = image.width, cy = image.height;
    p.fill(0, 0, cx, cy, rgb(58, 110, 165));         // desktop
    p.fill(0, cy - 28, cx, cy, rgb(200, 200, 200));  // task bar
    const int wl = cx / 10, wt = cy / 10, wr = cx - cx / 10, wb = cy - cy / 6;
    p.fill(wl, wt, wr, wb, rgb(236, 233, 216));     // window
    p.fill(wl, wt, wr, wt + 22, rgb(10, 36, 106));  // title bar
    p.fill(wl + 4, wt + 6, wl + 4 + (wr - wl) / 3, wt + 14, rgb(230, 230, 240));
    p.fill(wl, wt + 22, wr, wt + 42, rgb(212, 208, 200));  // menu bar
    const int menuItems = std::clamp((wr - wl - 8) / 60, 1, 6);
    for (int m = 0; m < menuItems; ++m)
        p.fill(wl + 8 + m * 60, wt + 28, wl + 48 + m * 60, wt + 36, rgb(30, 30, 30));
    const int highlighted = frame % menuItems;  // the menu item under the cursor
    p.fill(wl + 4 + highlighted * 60, wt + 24, wl + 52 + highlighted * 60, wt + 40, rgb(49, 106, 197));
    const int dl = wl + 12, dt = wt + 52, dr = wr - 12, db = wb - 12;
    p.fill(dl, dt, dr, db, rgb(255, 255, 255));  // document area
    textLines(p, dl + 10, dt + 10, dr - 10, db - 40, 12345u);
    // The line being typed grows from frame to frame.
    const int typed = std::min(dr - dl - 20, 24 + frame * 18);
    textLines(p, dl + 10, db - 30, dl + 10 + typed, db - 18, 777u + uint32_t(frame / 8));
    // A clock in the task bar.
    p.fill(cx - 60, cy - 22, cx - 60 + (frame % 10) * 5 + 5, cy - 8, rgb(20, 20, 20));
}

}  // namespace

bool buildSyntheticProject(CQuibDoc& doc, int cx, int cy, int frameCount) {
    if (cx <= 0 || cy <= 0 || frameCount < 0 || doc.frameCount() != 0)
        return false;
    doc.InitNewProject();
    doc.frameSize = doc.backgroundSize = Size{cx, cy};
    doc.currentImage = Bitmap24(cx, cy);
    doc.titles.enabled = 1;
    doc.titles.rect = Rect{20, 8, std::min(cx - 20, 420), 36};
    doc.titles.font.logFont.height = -18;
    doc.titles.font.logFont.weight = 700;
    doc.titles.font.color = rgb(255, 255, 255);
    doc.titles.font.align = uint32_t(TextAlign::Left);
    const CursorPicture arrow = standardArrowCursor();
    const Bitmap32& next = doc.buttonImages.images[ButtonImageSet::Next];
    const Bitmap32& prev = doc.buttonImages.images[ButtonImageSet::Previous];
    for (int k = 0; k < frameCount; ++k) {
        drawScreen(doc.currentImage, k);
        Frame& f = doc.currentFrame;
        f = Frame();
        CQuibDoc::SetCursorImageFromHandle(f, arrow);
        f.cursorVisible = 1;
        f.cursorPos = Point{cx / 10 + 20 + (k % std::clamp((cx - cx / 5 - 8) / 60, 1, 6)) * 60,
                            cy / 10 + 30 + (k % 3) * 4};
        f.textBox.visible = 1;
        f.textBox.rect = Rect{cx / 2, cy / 2, cx * 9 / 10, cy * 3 / 4};
        f.textBox.calloutName = "Fumetto a sinistra";
        f.textBox.font.logFont.height = -14;
        f.textBox.text = "Passo " + std::to_string(k + 1) + ": scegliete il menu indicato.";
        f.textBox.font.color = rgb(0, 0, 0);
        f.nextButton.visible = k + 1 < frameCount;
        f.nextButton.pos = Point{cx - next.width - 4, cy - next.height - 4};
        f.prevButton.visible = k > 0;
        f.prevButton.pos = Point{f.nextButton.pos.x - prev.width - 4, cy - prev.height - 4};
        if (k == frameCount - 1 && k > 0) {
            f.gotoButtons[0].visible = 1;
            f.gotoButtons[0].pos = Point{4, cy - 28};
            f.gotoButtons[0].targetOffset = -k;  // back to the first frame
        }
        f.displayTime = 2000;
        f.title = "Frame " + std::to_string(k + 1);
        if (!doc.AppendCapturedFrame())
            return false;
    }
    doc.SelectFrame(0, true);
    return true;
}

}  // namespace quib
