#include "default_buttons.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace quib {

namespace {

constexpr int kWidth = 60;
constexpr int kHeight = 24;
constexpr int kRadius = 6;

enum class Symbol { Left, Right, Jump };

void put(Bitmap32& image, int x, int y, uint8_t r, uint8_t g, uint8_t b) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height)
        return;
    uint8_t* p = image.pixel(x, y);
    p[0] = b, p[1] = g, p[2] = r, p[3] = 255;
}

// Distance outside the rounded rectangle (0 inside), for the corners.
double outsideRounded(int x, int y) {
    const double cx = std::clamp(double(x) + 0.5, double(kRadius), double(kWidth - kRadius));
    const double cy = std::clamp(double(y) + 0.5, double(kRadius), double(kHeight - kRadius));
    const double dx = double(x) + 0.5 - cx, dy = double(y) + 0.5 - cy;
    return std::max(0.0, std::sqrt(dx * dx + dy * dy) - kRadius);
}

// A filled triangle pointing left or right with its tip at tipX, centred on the button's middle row.
void arrow(Bitmap32& image, int tipX, bool pointsRight) {
    const int half = 6, length = 9;
    const int midY = kHeight / 2;
    for (int dy = -half; dy < half; ++dy) {
        const int reach = length - (std::abs(2 * dy + 1) * length) / (2 * half);
        const int base = pointsRight ? tipX - length + 1 : tipX + length - 1;
        for (int k = 0; k < reach; ++k)
            put(image, pointsRight ? base + k : base - k, midY + dy, 255, 255, 255);
    }
}

Bitmap32 button(Symbol symbol) {
    Bitmap32 image(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double out = outsideRounded(x, y);
            if (out > 0.5) {
                put(image, x, y, 255, 255, 255);
                continue;
            }
            // A vertical blue gradient with a darker rim.
            const bool rim =
                out > -0.5 && (outsideRounded(x - 1, y) > 0.5 || outsideRounded(x + 1, y) > 0.5 ||
                               outsideRounded(x, y - 1) > 0.5 || outsideRounded(x, y + 1) > 0.5);
            if (rim || x == 0 || y == 0 || x == kWidth - 1 || y == kHeight - 1) {
                put(image, x, y, 24, 56, 120);
                continue;
            }
            const int shade = 60 * y / kHeight;
            put(image, x, y, uint8_t(70 - shade / 2), uint8_t(130 - shade), uint8_t(220 - shade));
        }
    }
    switch (symbol) {
        case Symbol::Left:
            arrow(image, 26, false);
            break;
        case Symbol::Right:
            arrow(image, 34, true);
            break;
        case Symbol::Jump:
            arrow(image, 32, true);
            arrow(image, 40, true);
            for (int y = kHeight / 2 - 6; y < kHeight / 2 + 6; ++y)
                put(image, 42, y, 255, 255, 255);
            for (int y = kHeight / 2 - 6; y < kHeight / 2 + 6; ++y)
                put(image, 43, y, 255, 255, 255);
            break;
    }
    return image;
}

}  // namespace

ButtonImageSet defaultButtonImages() {
    ButtonImageSet set;
    set.images[ButtonImageSet::Previous] = button(Symbol::Left);
    set.images[ButtonImageSet::Next] = button(Symbol::Right);
    set.images[ButtonImageSet::Goto1] = button(Symbol::Jump);
    set.images[ButtonImageSet::Goto2] = set.images[ButtonImageSet::Goto1];
    return set;
}

}  // namespace quib
