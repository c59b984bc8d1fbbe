#include <gtest/gtest.h>

#include "base/bitmap.h"
#include "base/byte_stream.h"
#include "base/zlib_util.h"

using namespace quib;

namespace {
std::vector<uint8_t> archived(const std::string& s) {
    std::vector<uint8_t> out;
    ByteWriter(out).archiveString(s);
    return out;
}
}  // namespace

TEST(ArchiveString, LengthPrefixFormsByLength) {
    EXPECT_EQ(archived("abc"), (std::vector<uint8_t>{3, 'a', 'b', 'c'}));
    auto at254 = archived(std::string(254, 'x'));
    EXPECT_EQ(at254[0], 254);
    EXPECT_EQ(at254.size(), 255u);
    auto at255 = archived(std::string(255, 'x'));
    EXPECT_EQ((std::vector<uint8_t>(at255.begin(), at255.begin() + 3)),
              (std::vector<uint8_t>{0xFF, 0xFF, 0x00}));
    auto big = archived(std::string(0x10000, 'y'));
    EXPECT_EQ((std::vector<uint8_t>(big.begin(), big.begin() + 7)),
              (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}));
    for (const auto& s : {std::string("abc"), std::string(255, 'x'), std::string(0xFFFD, 'z'),
                          std::string(0xFFFE, 'q'), std::string(0x10000, 'y')}) {
        auto bytes = archived(s);
        ByteReader r(bytes);
        EXPECT_EQ(r.archiveString(), s);
        EXPECT_TRUE(r.atEnd());
    }
}

TEST(ArchiveString, TruncatedInputThrows) {
    // Text shorter than its length, a huge wide length, a long form without its u32.
    for (const std::vector<uint8_t>& bytes :
         {std::vector<uint8_t>{5, 'a', 'b'},
          std::vector<uint8_t>{0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a'},
          std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 1}}) {
        ByteReader r(bytes);
        EXPECT_THROW(r.archiveString(), FormatError);
    }
}

TEST(ClipboardString, CountsTerminatorAndKeepsAnyText) {
    std::vector<uint8_t> out;
    ByteWriter w(out);
    w.clipboardString("è");
    w.clipboardString("Ωmega");
    EXPECT_EQ((std::vector<uint8_t>(out.begin(), out.begin() + 6)),
              (std::vector<uint8_t>{2, 0, 0, 0, 0xE8, 0}));
    ByteReader r(out);
    EXPECT_EQ(r.clipboardString(), "è");
    EXPECT_EQ(r.clipboardString(), "Ωmega");
    EXPECT_TRUE(r.atEnd());
}

TEST(PictureBytes, RejectsNegativeAndOverflowingSizes) {
    EXPECT_EQ(pictureBytes(1920, 1080, 3), size_t(1920 * 1080 * 3));
    EXPECT_EQ(pictureBytes(0, 5, 4), size_t(0));
    EXPECT_FALSE(pictureBytes(-1, 5, 3));
    EXPECT_FALSE(pictureBytes(0x7FFFFFFF, 0x7FFFFFFF, 3));
}

TEST(Zlib, RoundTripAndDamagedStream) {
    std::vector<uint8_t> picture(300 * 200 * 3);
    for (size_t i = 0; i < picture.size(); ++i)
        picture[i] = uint8_t(i / 97);
    auto packed = zlibCompress(picture.data(), picture.size(), 9, pictureStreamBound(300, 200));
    ASSERT_TRUE(packed);
    std::vector<uint8_t> back(picture.size());
    EXPECT_EQ(zlibUncompress(packed->data(), packed->size(), back.data(), back.size()), picture.size());
    EXPECT_EQ(back, picture);
    (*packed)[packed->size() / 2] ^= 0x55;
    packed->resize(packed->size() - 4);
    EXPECT_FALSE(zlibUncompress(packed->data(), packed->size(), back.data(), back.size()));
    EXPECT_EQ(pictureStreamBound(100, 10), size_t(3312));
}
