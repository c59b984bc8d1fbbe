#pragma once

#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "swf/swf_bitmap.h"
#include "swf/swf_movie.h"
#include "swf/swf_stream.h"
#include "swf/swf_tags.h"
#include "swf_test_decoder.h"

namespace swftest {

// A folder of its own under the system's temporary folder, removed with the object.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quib-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~TempDir() {
        std::error_code error;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, error);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

inline std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return out.good();
}

inline std::vector<uint8_t> streamBytes(const quib::SwfStream& s) {
    std::vector<uint8_t> out;
    s.writeTo(out);
    return out;
}

inline std::vector<uint8_t> writeMovie(quib::SwfMovie& movie) {
    std::vector<uint8_t> out;
    quib::Status status = movie.write(out);
    EXPECT_TRUE(status.ok()) << status.message();
    return out;
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
    for (int i = 0; i < colors; ++i) {
        b.colors.push_back(uint8_t(i * 10));
        b.colors.push_back(uint8_t(i * 20));
        b.colors.push_back(uint8_t(i * 30));
        b.colors.push_back(uint8_t(255 - i));
    }
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
