#include <gtest/gtest.h>

#include "base/byte_stream.h"
#include "frame_dump.h"
#include "movie_decoder.h"
#include "movie_player.h"
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
    b.button(6, 5, actions({action::gotoFrame(2), action::play()}));
    b.place(1, 3);
    b.place(2, 4, 3, 3);
    b.showFrame();
    b.place(3, 6, 20, 20);
    b.doAction(actions({action::stop()}));
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

// Everything a player does with a movie, to show that a decoded movie never crashes it.
void exercise(const MovieData& decoded) {
    auto movie = std::make_shared<const MovieData>(decoded);
    MoviePlayer p(movie);
    Picture img(30, 20);
    for (int i = 0; i < 5; ++i) {
        p.render(img);
        p.click(PointF{25 * Twips, 25 * Twips});
        p.advance();
    }
    p.gotoFrame(0);
    p.render(img);
}

}  // namespace

TEST(MalformedMovie, TruncatedHeaderIsAnError) {
    Bytes good = richMovie();
    for (size_t n : {0, 3, 7, 8, 10, 12}) {
        Bytes cut(good.begin(), good.begin() + long(n));
        // keep the length field honest so that only the header itself is short
        if (n >= 8)
            for (int i = 0; i < 4; ++i)
                cut[size_t(4 + i)] = uint8_t(n >> (8 * i));
        EXPECT_FALSE(errorOf(cut).empty()) << n;
    }
}

TEST(MalformedMovie, LengthFieldBeyondTheDataIsAnError) {
    Bytes bytes = richMovie();
    bytes.pop_back();
    EXPECT_NE(errorOf(bytes).find("troncato"), std::string::npos);
}

TEST(MalformedMovie, WrongSignatureIsAnError) {
    Bytes bytes = richMovie();
    bytes[0] = 'G';
    EXPECT_FALSE(errorOf(bytes).empty());
}

TEST(MalformedMovie, TagLengthPastTheEndIsAnError) {
    MovieBuilder b(10, 10);
    b.showFrame();
    Bytes bytes = b.finish();
    // replace the End tag by a long header claiming more than there is
    bytes.resize(bytes.size() - 2);
    for (uint8_t v : {0x3F, 0x02, 0x00, 0x10, 0x00, 0x00})
        bytes.push_back(v);
    for (int i = 0; i < 4; ++i)
        bytes[size_t(4 + i)] = uint8_t(bytes.size() >> (8 * i));
    EXPECT_NE(errorOf(bytes).find("oltre la fine"), std::string::npos) << errorOf(bytes);
}

TEST(MalformedMovie, BitmapTooLargeForItsDataIsAnError) {
    MovieBuilder b(10, 10);
    // 60000 x 60000 pixels declared over a handful of bytes
    b.bitmapTag(1, 5, 60000, 60000, 0, compressed(Bytes(16, 0)), true);
    b.showFrame();
    EXPECT_NE(errorOf(b.finish()).find("troppo grande"), std::string::npos);
}

TEST(MalformedMovie, BitmapDataShorterThanDeclaredIsAnError) {
    MovieBuilder b(10, 10);
    b.bitmapTag(1, 5, 4, 4, 0, compressed(Bytes(4 * 4 * 4 - 1, 0)), true);
    b.showFrame();
    EXPECT_NE(errorOf(b.finish()).find("danneggiati"), std::string::npos);
}

TEST(MalformedMovie, BadZlibDataIsAnError) {
    MovieBuilder b(10, 10);
    b.bitmapTag(1, 5, 2, 2, 0, Bytes{0x78, 0x9C, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x12}, true);
    b.showFrame();
    EXPECT_NE(errorOf(b.finish()).find("danneggiati"), std::string::npos);
}

TEST(MalformedMovie, UnknownBitmapFormatIsAnError) {
    MovieBuilder b(10, 10);
    b.bitmapTag(1, 7, 2, 2, 0, compressed(Bytes(16, 0)), true);
    b.showFrame();
    EXPECT_FALSE(errorOf(b.finish()).empty());
}

TEST(MalformedMovie, MovieWithoutFramesIsAnError) {
    MovieBuilder b(10, 10);
    EXPECT_FALSE(errorOf(b.finish()).empty());
}

TEST(MalformedMovie, EmptyFrameSizeIsAnError) {
    MovieBuilder b(0, 10);
    b.showFrame();
    EXPECT_FALSE(errorOf(b.finish()).empty());
}

TEST(MalformedMovie, LoadMovieBytesNamesTheProblem) {
    MovieData movie;
    std::string error;
    EXPECT_FALSE(loadMovieBytes(Bytes{'F', 'W', 'S'}, movie, error));
    EXPECT_TRUE(error.starts_with("Formato del file inaspettato."));
}

TEST(MalformedMovie, EveryTruncationIsRejectedWithoutCrashing) {
    Bytes good = richMovie();
    ASSERT_NO_THROW(exercise(decodeMovie(good)));
    for (size_t n = 0; n < good.size(); ++n) {
        Bytes cut(good.begin(), good.begin() + long(n));
        if (n >= 8)
            for (int i = 0; i < 4; ++i)
                cut[size_t(4 + i)] = uint8_t(n >> (8 * i));
        try {
            exercise(decodeMovie(cut));
        } catch (const FormatError&) {
        }
    }
}

TEST(MalformedMovie, CorruptedBytesNeverCrash) {
    Bytes good = richMovie();
    for (size_t i = 8; i < good.size(); ++i) {
        for (uint8_t value : {uint8_t(0x00), uint8_t(0xFF), uint8_t(good[i] ^ 0x55)}) {
            Bytes bad = good;
            bad[i] = value;
            try {
                exercise(decodeMovie(bad));
            } catch (const FormatError&) {
            }
        }
    }
}
