#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "swf/swf_bitmap.h"
#include "swf/swf_movie.h"
#include "swf/swf_stream.h"
#include "swf/swf_tags.h"
#include "swf_test_decoder.h"

namespace swftest {

using quib::test::readBytes;
using quib::test::TempDir;
using quib::test::writeBytes;

inline std::vector<uint8_t> streamBytes(const quib::SwfStream& s) {
    std::vector<uint8_t> out;
    s.writeTo(out);
    return out;
}

// count bytes of bytes from offset on.
inline std::vector<uint8_t> bytesAt(const std::vector<uint8_t>& bytes, size_t offset, size_t count) {
    return std::vector<uint8_t>(bytes.begin() + std::ptrdiff_t(offset),
                                bytes.begin() + std::ptrdiff_t(offset + count));
}

inline std::vector<uint8_t> writeMovie(quib::SwfMovie& movie) {
    std::vector<uint8_t> out;
    quib::Status status = movie.write(out);
    EXPECT_TRUE(status.ok()) << status.message();
    return out;
}

// The movie refuses to be written, says why and writes nothing.
inline void expectRefused(quib::SwfMovie& movie) {
    std::vector<uint8_t> out;
    const quib::Status status = movie.write(out);
    EXPECT_FALSE(status.ok());
    EXPECT_FALSE(status.message().empty());
    EXPECT_TRUE(out.empty());
}

inline Movie writeAndDecode(quib::SwfMovie& movie) {
    return decodeMovie(writeMovie(movie));
}

// Encodes one tag alone (header + body) and decodes it back.
inline Tag encodeAndDecodeTag(const quib::SwfTag& tag) {
    quib::SwfStream s;
    quib::encodeTag(tag, s);
    std::vector<uint8_t> bytes = streamBytes(s);
    BitReader in = readerOf(bytes);
    Tag out = readTag(in);
    EXPECT_TRUE(in.atEnd());
    return out;
}

// Pixel storage and description of a 32-bit bitmap; pixel i of the rows holds bytes from `seed`.
struct TestBitmap {
    std::vector<uint8_t> pixels;
    std::vector<uint8_t> colors;
    quib::SwfBitmapDescription description;
};

inline TestBitmap argbBitmap(int width, int height, bool hasAlpha, uint32_t seed = 1) {
    TestBitmap b;
    b.pixels.resize(size_t(width) * size_t(height) * 4);
    uint32_t x = seed;
    for (size_t i = 0; i < b.pixels.size(); i += 4) {
        x = x * 1103515245u + 12345u;
        b.pixels[i] = 255;
        b.pixels[i + 1] = uint8_t(x >> 16);
        b.pixels[i + 2] = uint8_t(x >> 8);
        b.pixels[i + 3] = uint8_t(x >> 24);
    }
    b.description.format = quib::SwfBitmapDescription::Argb32;
    b.description.width = width;
    b.description.height = height;
    b.description.hasAlpha = hasAlpha;
    b.description.pixels = b.pixels;
    b.description.level = 9;
    return b;
}

inline TestBitmap indexedBitmap(int width, int height, int colors, bool hasAlpha) {
    TestBitmap b;
    size_t row = (size_t(width) + 3) / 4 * 4;
    b.pixels.assign(row * size_t(height), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.pixels[size_t(y) * row + size_t(x)] = uint8_t((x + y) % colors);
    for (int i = 0; i < colors; ++i)
        b.colors.insert(b.colors.end(),
                        {uint8_t(i * 10), uint8_t(i * 20), uint8_t(i * 30), uint8_t(255 - i)});
    b.description.format = quib::SwfBitmapDescription::ColorMapped8;
    b.description.width = width;
    b.description.height = height;
    b.description.colorCount = colors;
    b.description.hasAlpha = hasAlpha;
    b.description.pixels = b.pixels;
    b.description.colorTable = b.colors;
    b.description.level = 9;
    return b;
}

inline std::vector<const Tag*> tagsWithCode(const Movie& movie, int code) {
    std::vector<const Tag*> out;
    for (const Tag& t : movie.tags)
        if (t.code == code)
            out.push_back(&t);
    return out;
}

}  // namespace swftest
