#include <gtest/gtest.h>

#include "base/byte_stream.h"
#include "movie_decoder.h"
#include "swf_builder.h"

using namespace quib::player;
using namespace swftest;
using quib::FormatError;

namespace {

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
    const Bytes good = oneFrameWith(nullptr);
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
        {"header of 3 bytes", Bytes(good.begin(), good.begin() + 3), ""},
        {"header of 8 bytes", withHonestLength(Bytes(good.begin(), good.begin() + 8)), ""},
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
