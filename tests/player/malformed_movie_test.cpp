#include <gtest/gtest.h>

#include "base/byte_stream.h"
#include "movie_decoder.h"
#include "swf_builder.h"

using namespace quib::player;
using namespace swftest;
using quib::FormatError;

namespace {

Bytes richMovie() {
    MovieBuilder b(60, 40);
    b.background(10, 20, 30);
    b.bitmap32(1, 2, 2, {{255, 0, 0, 255}, {0, 128, 0, 128}, {0, 0, 0, 0}, {255, 255, 255, 255}});
    b.bitmap8(2, 3, 2, {{0, 0, 0, 0}, {255, 0, 0, 255}}, {1, 0, 1, 0, 1, 0});
    b.bitmapRect(3, 0, 0, 9, 9, 1, 2, 2);
    b.bitmapRect(4, 5, 5, 20, 20, 2, 3, 2, false);
    b.solidRect(5, 0, 0, 9, 9, {1, 2, 3, 255});
    b.button(6, 5, {{SwfAction::GotoFrame, 2}, {SwfAction::Play}});
    b.place(1, 3);
    b.place(2, 4, 3, 3);
    b.showFrame();
    b.place(3, 6, 20, 20);
    b.doAction({{SwfAction::Stop}});
    b.showFrame();
    b.remove(3, 1);
    b.showFrame();
    return b.finish();
}

std::string errorOf(const Bytes& bytes) {
    try {
        decodeMovie(bytes);
    } catch (const FormatError& e) {
        return e.what();
    }
    return {};
}

}  // namespace

// Sets the header's length field to the bytes there are, so only the named damage is wrong.
Bytes withHonestLength(Bytes bytes) {
    if (bytes.size() >= 8)
        for (int i = 0; i < 4; ++i)
            bytes[size_t(4 + i)] = uint8_t(bytes.size() >> (8 * i));
    return bytes;
}

Bytes oneFrameWith(void (*define)(MovieBuilder&), int width = 10) {
    MovieBuilder b(width, 10);
    if (define)
        define(b);
    b.showFrame();
    return b.finish();
}

// Loading names the problem too.
TEST(MalformedMovie, DamageIsAnErrorThatNamesIt) {
    const Bytes good = richMovie();
    Bytes longerThanData = good, wrongSignature = good;
    longerThanData.pop_back();
    wrongSignature[0] = 'G';
    // The End tag replaced by a long header claiming more than there is.
    Bytes tagPastEnd = oneFrameWith(nullptr);
    tagPastEnd.resize(tagPastEnd.size() - 2);
    tagPastEnd.insert(tagPastEnd.end(), {0x3F, 0x02, 0x00, 0x10, 0x00, 0x00});
    MovieBuilder noFrames(10, 10);
    const struct {
        const char* name;
        Bytes bytes;
        const char* says;  // a part of the message, or "" for any message
    } cases[] = {
        {"header of 0 bytes", {}, ""},
        {"header of 3 bytes", Bytes(good.begin(), good.begin() + 3), ""},
        {"header of 7 bytes", Bytes(good.begin(), good.begin() + 7), ""},
        {"header of 8 bytes", withHonestLength(Bytes(good.begin(), good.begin() + 8)), ""},
        {"header of 12 bytes", withHonestLength(Bytes(good.begin(), good.begin() + 12)), ""},
        {"length beyond the data", longerThanData, "troncato"},
        {"signature", wrongSignature, ""},
        {"tag past the end", withHonestLength(tagPastEnd), "oltre la fine"},
        {"60000 x 60000 bitmap over a few bytes", oneFrameWith([](MovieBuilder& b) {
             b.bitmapTag(1, 5, 60000, 60000, 0, compressed(Bytes(16, 0)), true);
         }),
         "troppo grande"},
        {"bitmap data one byte short", oneFrameWith([](MovieBuilder& b) {
             b.bitmapTag(1, 5, 4, 4, 0, compressed(Bytes(4 * 4 * 4 - 1, 0)), true);
         }),
         "danneggiati"},
        {"bad zlib data", oneFrameWith([](MovieBuilder& b) {
             b.bitmapTag(1, 5, 2, 2, 0, Bytes{0x78, 0x9C, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x12}, true);
         }),
         "danneggiati"},
        {"bitmap format 7",
         oneFrameWith([](MovieBuilder& b) { b.bitmapTag(1, 7, 2, 2, 0, compressed(Bytes(16, 0)), true); }),
         ""},
        {"no frames", noFrames.finish(), ""},
        {"empty frame size", oneFrameWith(nullptr, 0), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string error = errorOf(c.bytes);
        EXPECT_FALSE(error.empty());
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
        MovieData movie;
        std::string loadError;
        EXPECT_FALSE(loadMovieBytes(c.bytes, movie, loadError));
        EXPECT_TRUE(loadError.starts_with("Formato del file inaspettato.")) << loadError;
    }
}
