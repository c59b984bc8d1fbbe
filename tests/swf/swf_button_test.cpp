#include <gtest/gtest.h>

#include "swf/swf_button_object.h"
#include "swf/swf_shape_object.h"
#include "swf_test_helpers.h"

using namespace quib;

namespace {

struct ButtonFixture {
    SwfMovie movie;
    swftest::TestBitmap picture = swftest::argbBitmap(8, 6, true);
    BitmapObject face{movie, 0, 0, 7, 5, picture.description};
    ButtonObject button{&face};
    ButtonFixture() { button.setLayer(110); }
};

// The low byte comes first in the file, as the button body written by hand below shows.
TEST(SwfButtonConditions, EachCodeSetsItsBit) {
    const uint16_t expected[] = {0, 0x0100, 0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
    for (int code = 0; code <= 9; ++code)
        EXPECT_EQ(buttonConditionBits(code), expected[code]) << code;
    EXPECT_EQ(buttonConditionBits(10), 0);
    EXPECT_EQ(buttonConditionBits(-1), 0);
}

TEST(SwfButtonRecords, BodyBytesByHand) {
    ButtonFixture f;
    f.button.setAction(StopActionSource(), 6);
    f.movie.frame(0).place(f.button);
    swftest::Movie m = swftest::writeAndDecode(f.movie);
    const std::vector<uint8_t> record = {0x00, 2, 0, 1, 0, 0x00, 0x04};
    std::vector<uint8_t> expected = {3, 0, 0, 31, 0};
    for (uint8_t state : {0x01, 0x02, 0x04, 0x08}) {
        expected.push_back(state);
        expected.insert(expected.end(), record.begin() + 1, record.end());
    }
    expected.push_back(0);
    expected.insert(expected.end(), {0, 0, 0x08, 0x00, 0x07, 0x00});
    EXPECT_EQ(swftest::tagsWithCode(m, 34).at(0)->body, expected);
}

TEST(SwfButtonRecords, SizeOfANonLastConditionRecordCoversItsBytesPlusTwo) {
    SwfDefineButton2Tag tag(9);
    tag.records.push_back({false, false, false, true, 4, 1, SwfMatrix()});
    tag.actions.push_back({0x08, {{SwfAction::GotoFrame, 3}}});
    tag.actions.push_back({0x80, {{SwfAction::Play, 0}}});
    auto b = swftest::parseDefineButton2(swftest::encodeAndDecodeTag(tag));
    ASSERT_EQ(b.conditions.size(), 2u);
    // conditions 2 + GotoFrame 5 + end 1, plus 2
    EXPECT_EQ(b.conditions[0].size, 10);
    EXPECT_EQ(b.conditions[1].size, 0);
    EXPECT_EQ(b.conditions[1].conditionBytes[0], 0x80);
}

TEST(SwfButtonPlacement, MissingStateIsRefused) {
    SwfMovie movie;
    ButtonObject button;
    EXPECT_FALSE(movie.frame(0).place(button));
    swftest::expectRefused(movie);
}

}  // namespace
