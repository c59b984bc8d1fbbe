#include <gtest/gtest.h>

#include "render/render_progress_texts.h"

using quib::RenderProgressTexts;

TEST(RenderProgressTexts, ElapsedAndRemainingInMinutesAndSeconds) {
    RenderProgressTexts texts;
    texts.setRange(0, 40);
    texts.setPosition(0, 5000);
    EXPECT_EQ(texts.remainingText(), "");
    texts.setPosition(10, 5000 + 75000);
    EXPECT_EQ(texts.percentText(), "25%");
    EXPECT_EQ(texts.elapsedText(), "1 min, 15 secs");
    EXPECT_EQ(texts.remainingText(), "3 min, 45 secs");
}
