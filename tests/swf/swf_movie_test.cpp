#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "swf/swf_button_object.h"
#include "swf/swf_shape_object.h"
#include "swf_test_helpers.h"

using namespace quib;

namespace {

// The size is written in twips, twenty to a pixel.
TEST(SwfMovieHeader, IsTwentyOneBytesWrittenByHand) {
    SwfMovie movie;
    movie.setWidth(640);
    movie.setHeight(480);
    movie.setFrameRate(10);
    movie.frame(0);
    std::vector<uint8_t> bytes = swftest::writeMovie(movie);
    const std::vector<uint8_t> expected = {
        'F',  'W',  'S',  4,    25,   0,    0,    0,           // signature, version, length
        0x78, 0x00, 0x06, 0x40, 0x00, 0x00, 0x12, 0xC0, 0x00,  // RECT, 15 bits, 12800 x 9600
        0,    10,   1,    0,                                   // rate 10.0, one frame
        0x40, 0x00, 0x00, 0x00};                               // ShowFrame, End
    EXPECT_EQ(bytes, expected);
}

TEST(SwfMovieDepths, LayerChangedBetweenPlacementsSortsEachPlacementByItsOwnLayer) {
    SwfMovie movie;
    ShapeObject a(0, 0, 1, 1), b(0, 0, 1, 1);
    a.setLayer(50);
    b.setLayer(60);
    movie.frame(0).place(a);
    movie.frame(0).place(b);
    movie.frame(1).remove(a);
    a.setLayer(70);
    movie.frame(1).place(a);
    // Asked for, the sorting is traced on stderr.
    ::setenv("QUIB_DEBUG_SWF", "1", 1);
    testing::internal::CaptureStderr();
    swftest::Movie m = swftest::writeAndDecode(movie);
    ::unsetenv("QUIB_DEBUG_SWF");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Depth sorting: 3 shapes\nDepth sorting: complete\n");
    std::vector<uint16_t> depths;
    for (const swftest::Tag* place : swftest::tagsWithCode(m, 26))
        depths.push_back(swftest::parsePlaceObject2(*place).depth);
    EXPECT_EQ(depths, (std::vector<uint16_t>{0, 1, 2}));  // a at 50, b at 60, a at 70
}

// Ids stop before 65535; every write, even a refused one, starts the count again, and an object
// placed before a write is refused after it instead of dangling.
TEST(SwfMovieCharacterIds, StopBefore65535AndEveryWriteRestartsTheCount) {
    SwfMovie movie;
    for (int i = 1; i <= 65534; ++i)
        ASSERT_EQ(movie.takeCharacterId(), i);
    EXPECT_EQ(movie.takeCharacterId(), 0);
    swftest::expectRefused(movie);
    EXPECT_EQ(movie.takeCharacterId(), 1);

    SwfMovie again;
    ShapeObject shape(0, 0, 1, 1);
    again.frame(0).place(shape);
    swftest::writeMovie(again);
    EXPECT_FALSE(again.frame(0).place(shape));
    swftest::expectRefused(again);
}

// A size above 16383 pixels, a rate above one byte, a frame beyond the count field: refused, and
// nothing is written.
TEST(SwfMovieLimits, ValuesBeyondTheirFieldsAreRefused) {
    struct Case {
        const char* what;
        std::function<void(SwfMovie&)> build;
    };
    const Case cases[] = {
        {"width 16384", [](SwfMovie& m) { m.setWidth(16384); }},
        {"rate 256", [](SwfMovie& m) { m.setFrameRate(256); }},
        {"frame 70000",
         [](SwfMovie& m) {
             m.frame(70000).setBackgroundColor(0, 0, 0);
             EXPECT_EQ(m.frameCount(), 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SwfMovie movie;
        c.build(movie);
        movie.frame(0);
        swftest::expectRefused(movie);
    }
    SwfMovie largest;
    largest.setWidth(16383);
    largest.setHeight(16383);
    largest.setFrameRate(255);
    largest.frame(0);
    swftest::Movie m = swftest::writeAndDecode(largest);
    EXPECT_EQ(m.header.rectBits, 20);
    EXPECT_EQ(m.header.xMax, 16383 * 20);
    EXPECT_EQ(m.header.yMax, 16383 * 20);
    EXPECT_EQ(m.header.rate, 255);
}

// A saved file equals the buffer and leaves no temporary beside it; a refused movie leaves the old
// file whole; a missing folder is reported as such.
TEST(SwfMovieFile, SavedWholeOrNotAtAll) {
    swftest::TempDir dir;
    const auto filesInDir = [&] { return std::distance(std::filesystem::directory_iterator(dir.dir()), {}); };
    const std::string target = dir.path("movie.swf");
    swftest::writeBytes(target, {'o', 'l', 'd'});
    SwfMovie refused;
    refused.setFrameRate(1000);
    refused.frame(0);
    EXPECT_FALSE(refused.writeFile(target).ok());
    EXPECT_EQ(swftest::readBytes(target), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(filesInDir(), 1);

    SwfMovie a, b;
    for (SwfMovie* movie : {&a, &b}) {
        movie->setWidth(300);
        movie->setHeight(200);
        movie->frame(0).setBackgroundColor(255, 0, 0);
        movie->frame(3);
    }
    ASSERT_TRUE(a.writeFile(target).ok());
    EXPECT_EQ(swftest::readBytes(target), swftest::writeMovie(b));
    EXPECT_EQ(filesInDir(), 1);

    SwfMovie movie;
    movie.frame(0);
    Status status = movie.writeFile(dir.path("missing/movie.swf"));
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(status.stringId(), str::CannotCreateFile);
}

// A side longer than one edge holds (65535 twips) is drawn in several edges; a rectangle wider than
// 65535 pixels is refused.
TEST(SwfMovieLimits, LongSidesAreSplitIntoEdgesThatFit) {
    SwfMovie movie;
    ShapeObject wide(0, 0, 65535, 10);
    EXPECT_FALSE(movie.frame(0).place(wide));
    swftest::expectRefused(movie);

    ShapeObject largest(0, 0, 16382, 0);
    largest.setLineWidth(0);
    movie.frame(0).place(largest);
    const swftest::Movie m = swftest::writeAndDecode(movie);
    const swftest::DefineShape3 shape = swftest::parseDefineShape3(*swftest::tagsWithCode(m, 32).at(0));
    int64_t across = 0, back = 0;
    for (const swftest::ShapeRecord& r : shape.records) {
        if (r.kind != swftest::ShapeRecord::Edge || r.dy != 0)
            continue;
        EXPECT_LE(std::abs(r.dx), 65535);
        (r.dx > 0 ? across : back) += r.dx;
    }
    EXPECT_EQ(across, 16383 * 20);
    EXPECT_EQ(back, -16383 * 20);
}

// Removing what is not placed is refused and writes nothing; the frame of a refused removal still
// counts.
TEST(SwfMoviePlacement, PlaceAndRemoveBytesByHand) {
    SwfMovie movie;
    ShapeObject shape(0, 0, 1, 1);
    shape.setLayer(3);
    EXPECT_FALSE(movie.frame(0).remove(shape));
    movie.frame(0).place(shape);
    EXPECT_TRUE(movie.frame(1).remove(shape));
    EXPECT_FALSE(movie.frame(2).remove(shape));
    const swftest::Movie m = swftest::writeAndDecode(movie);
    EXPECT_EQ(m.header.frameCount, 3);
    ASSERT_EQ(swftest::tagsWithCode(m, 5).size(), 1u);
    // flags: has character; depth 0; id 1
    EXPECT_EQ(swftest::tagsWithCode(m, 26).at(0)->body, (std::vector<uint8_t>{0x02, 0, 0, 1, 0}));
    EXPECT_EQ(swftest::tagsWithCode(m, 5).at(0)->body, (std::vector<uint8_t>{1, 0, 0, 0}));
}

}  // namespace
