#include <gtest/gtest.h>

#include "render/render_progress_texts.h"

using quib::RenderProgressTexts;

TEST(RenderProgressTexts, EmptyRangeShowsHundredPercent) {
    RenderProgressTexts texts;
    texts.setRange(0, 0);
    texts.setPosition(0, 1000);
    EXPECT_EQ(texts.percentText(), "100%");
    EXPECT_EQ(texts.elapsedText(), "0 secs");
}

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

TEST(RenderProgressTexts, UnderAMinuteInSecondsAndDurations) {
    RenderProgressTexts texts;
    texts.setRange(0, 4);
    texts.setPosition(0, 0);
    texts.setPosition(1, 2500);
    EXPECT_EQ(texts.elapsedText(), "2 secs");
    EXPECT_EQ(texts.remainingText(), "7 secs");
    texts.setPosition(4, 9000);
    EXPECT_EQ(texts.percentText(), "100%");
    EXPECT_EQ(RenderProgressTexts::durationText(59.9), "59 secs");
    EXPECT_EQ(RenderProgressTexts::durationText(60.0), "1 min, 0 secs");
    EXPECT_EQ(RenderProgressTexts::durationText(3725.0), "62 min, 5 secs");
}
