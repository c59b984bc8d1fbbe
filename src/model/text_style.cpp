#include "model/text_style.h"

#include "model/frame.h"

namespace quib {

namespace {

TextFont sansSerif(int pixels, int weight, uint32_t colour) {
    TextFont font;
    font.logFont.setFace("DejaVu Sans");
    font.logFont.height = -pixels;
    font.logFont.weight = weight;
    font.color = colour;
    font.align = uint32_t(TextAlign::Left);
    return font;
}

}  // namespace

TextFont TextStyle::standardTextFont() {
    return sansSerif(13, 400, kCalloutTextColour);  // 10 points
}

TextFont TextStyle::standardTitleFont() {
    return sansSerif(19, 700, rgb(0, 0, 0));  // 14 points, bold
}

void applyTextStyle(FrameElements& frame, const TextStyle& style) {
    frame.textBox.font = style.font;
    if (!style.calloutName.empty())
        frame.textBox.calloutName = style.calloutName;
}

}  // namespace quib
