#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <filesystem>
#include <tuple>

#include "imagefilters/image_file.h"
#include "support/peak_memory.h"
#include "support/temp_dir.h"

namespace quib {

namespace {

namespace fs = std::filesystem;

class ShippedFilters : public ::testing::Test {
protected:
    void SetUp() override { table.loadFilters(QUIB_SHIPPED_FILTERS_DIR, DefaultFilterTools(), 1, true); }

    std::string path(const std::string& name) const { return temp.path(name); }
    void writeFile(const std::string& name, const std::vector<uint8_t>& bytes) const {
        test::writeBytes(path(name), bytes);
    }
    std::vector<uint8_t> readFile(const std::string& name) const { return test::readBytes(path(name)); }

    FilterTable table;
    test::TempDir temp;
};

// A screen-like picture: flat areas, a gradient and a few sharp edges.
Bitmap24 testPicture(int width, int height) {
    Bitmap24 picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = picture.pixel(x, y);
            p[0] = uint8_t(x * 255 / width);
            p[1] = uint8_t(y * 255 / height);
            p[2] = x < width / 2 ? 200 : 40;
        }
    return picture;
}

int maxDifference(const Bitmap24& a, const Bitmap24& b) {
    int worst = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i)
        worst = std::max(worst, std::abs(a.pixels[i] - b.pixels[i]));
    return worst;
}

// 2 x 2 with a four-colour table and colour 3 transparent. LZW with minimum code size 2: every
// pixel code is followed by a clear code, so each code stays 3 bits wide.
// Codes: clear(4) 0 clear 1 clear 2 clear 3 clear end(5), packed least significant bit first.
const std::vector<uint8_t> handWrittenGif = {
    'G', 'I', 'F', '8', '9', 'a', 2, 0, 2,    0,    0xF1, 0,    0,    255,  0,    0, 0,
    255, 0,   0,   0,   255, 9,   9, 9, 0x21, 0xF9, 4,    1,    0,    0,    3,    0, 0x2C,
    0,   0,   0,   0,   2,   0,   2, 0, 0,    2,    4,    0x04, 0x43, 0x71, 0x2C, 0, 0x3B};

void putBigEndian(std::vector<uint8_t>& b, size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        b[at + size_t(i)] = uint8_t(v >> (8 * (bytes - 1 - i)));
}

// The same file claiming another size, its header still well formed.
std::vector<uint8_t> claimingSize(std::vector<uint8_t> b, const std::string& type, uint32_t w, uint32_t h) {
    if (type == "png") {
        putBigEndian(b, 16, w, 4);
        putBigEndian(b, 20, h, 4);
        putBigEndian(b, 29, uint32_t(crc32(0, &b[12], 17)), 4);
    } else if (type == "gif") {
        b[6] = uint8_t(w), b[7] = uint8_t(w >> 8), b[8] = uint8_t(h), b[9] = uint8_t(h >> 8);
    } else if (type == "jpg") {
        for (size_t i = 2; i + 9 < b.size(); ++i)
            if (b[i] == 0xFF && b[i + 1] == 0xC0) {
                putBigEndian(b, i + 5, h, 2);
                putBigEndian(b, i + 7, w, 2);
                break;
            }
    }
    return b;
}

}  // namespace

TEST_F(ShippedFilters, PngRoundTripIsExactIncludingAlpha) {
    Bitmap32 picture = AddOpaqueAlpha(testPicture(37, 23));
    picture.pixel(3, 4)[3] = 0;
    picture.pixel(3, 4)[0] = picture.pixel(3, 4)[1] = picture.pixel(3, 4)[2] = 0;
    ASSERT_TRUE(SaveImageFile(table, path("a.png"), picture));
    const auto loaded = LoadImageFile(table, path("a.png"));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(*loaded, picture);
}

// BMP rows of an odd width are padded; JPEG only comes close.
TEST_F(ShippedFilters, BmpRoundTripIsExactAndJpegIsClose) {
    for (const auto& [name, width, height, tolerance] :
         {std::tuple{"a.BMP", 13, 7, 0}, std::tuple{"a.jpg", 64, 48, 39}}) {
        const Bitmap24 picture = testPicture(width, height);
        ASSERT_TRUE(SaveImageFile(table, path(name), picture));
        const auto loaded = LoadImageFile24(table, path(name));
        ASSERT_TRUE(loaded) << name;
        ASSERT_EQ(loaded->width, width);
        ASSERT_EQ(loaded->height, height);
        EXPECT_LE(maxDifference(*loaded, picture), tolerance) << name;
    }
}

TEST_F(ShippedFilters, ReadsAHandWrittenEightBitBottomUpBmpAndGif) {
    // 3 x 2, 8 bits with a two-colour table; rows of 3 bytes padded to 4, bottom row first.
    std::vector<uint8_t> bmp = {
        'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 62, 0,  0,  0, 40, 0,  0,  0, 3, 0, 0, 0,
        2,   0,   0, 0, 1, 0, 8, 0, 0, 0, 0,  0,  0,  0, 0,  0,  0,  0, 0, 0, 0, 0,
        0,   0,   2, 0, 0, 0, 0, 0, 0, 0, 10, 20, 30, 0, 40, 50, 60, 0, 1, 1, 1, 0,  // bottom row
        0,   1,   0, 0};                                                             // top row
    writeFile("hand.bmp", bmp);
    const auto loaded = LoadImageFile(table, path("hand.bmp"));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->width, 3);
    EXPECT_EQ(loaded->pixels, (std::vector<uint8_t>{10, 20, 30, 255, 40, 50, 60, 255, 10, 20, 30, 255,
                                                    40, 50, 60, 255, 40, 50, 60, 255, 40, 50, 60, 255}));
    writeFile("hand.gif", handWrittenGif);
    const auto gif = LoadImageFile(table, path("hand.gif"));
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->pixels,
              (std::vector<uint8_t>{0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 255, 0, 0, 0, 0}));
}

TEST_F(ShippedFilters, MalformedFilesFailCleanly) {
    const Bitmap24 picture = testPicture(40, 30);
    for (const char* name : {"t.png", "t.jpg", "t.bmp"})
        ASSERT_TRUE(SaveImageFile(table, path(name), picture));
    writeFile("t.gif", handWrittenGif);
    for (const char* name : {"t.png", "t.jpg", "t.bmp", "t.gif"}) {
        const std::vector<uint8_t> bytes = readFile(name);
        // Data that ends early is lost data, never a picture padded with grey. (A PNG cut inside
        // its closing 12-byte chunk only still holds every pixel.)
        const size_t nearEnd = bytes.size() - (std::string(name) == "t.png" ? 13 : 3);
        for (size_t keep : {size_t(0), size_t(10), size_t(30), bytes.size() / 2, nearEnd}) {
            writeFile(std::string("cut_") + name,
                      std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(keep)));
            EXPECT_FALSE(LoadImageFile(table, path(std::string("cut_") + name)))
                << name << " cut to " << keep;
        }
    }
    // A BMP header claiming a huge picture over a few bytes of data.
    std::vector<uint8_t> huge = {'B', 'M',  0,    0, 0, 0,    0,    0, 0, 0, 54, 0,  0, 0, 40, 0, 0,
                                 0,   0xFF, 0x7F, 0, 0, 0xFF, 0x7F, 0, 0, 1, 0,  24, 0, 0, 0,  0, 0};
    huge.resize(60, 0);
    writeFile("huge.bmp", huge);
    EXPECT_FALSE(LoadImageFile(table, path("huge.bmp")));
    writeFile("text.gif", {'h', 'e', 'l', 'l', 'o'});
    EXPECT_FALSE(LoadImageFile(table, path("text.gif")));
    EXPECT_FALSE(LoadImageFile(table, path("missing.png")));
    // Only regular files are read: a pipe without a writer is refused at once.
    ASSERT_EQ(::mkfifo(path("pipe.png").c_str(), 0600), 0);
    EXPECT_FALSE(LoadImageFile(table, path("pipe.png")));
}

TEST_F(ShippedFilters, SizesTheBytesCannotFillAreRefusedBeforeAllocating) {
    const Bitmap24 picture = testPicture(40, 30);
    for (const char* name : {"t.png", "t.jpg"})
        ASSERT_TRUE(SaveImageFile(table, path(name), picture));
    writeFile("t.gif", handWrittenGif);
    struct Case {
        std::string type;
        size_t keep;  // bytes kept: headers only, or the whole small file
        uint32_t width, height;
    };
    const std::vector<Case> cases = {{"png", 270, 16384, 16384},
                                     {"gif", 0, 32767, 8192},
                                     {"jpg", 0, 32767, 8192},
                                     {"png", 0, 16384, 16384}};
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = claimingSize(readFile("t." + c.type), c.type, c.width, c.height);
        if (c.keep)
            bytes.resize(c.keep);
        writeFile("forged." + c.type, bytes);
        const auto run =
            test::runInChild([&] { return LoadImageFile(table, path("forged." + c.type)).has_value(); });
        ASSERT_TRUE(run.finished) << c.type;
        EXPECT_FALSE(run.result) << c.type;
        EXPECT_LT(run.peakGrowthKb, 64 * 1024) << c.type << " claiming " << c.width << " x " << c.height;
    }
}

// Saving to a missing folder or as a type that is only read fails too.
TEST_F(ShippedFilters, FailedSaveLeavesTheExistingFileAndNoLeftovers) {
    for (const char* name : {"no/such/folder.png", "no/such/folder.bmp", "no/such/folder.jpg", "a.gif"})
        EXPECT_FALSE(SaveImageFile(table, path(name), testPicture(2, 2))) << name;
    const Bitmap24 picture = testPicture(5, 5);
    ASSERT_TRUE(SaveImageFile(table, path("keep.png"), picture));
    const auto sizeBefore = fs::file_size(path("keep.png"));
    Bitmap32 tooWide;
    tooWide.width = 40000;  // refused by the plug-in
    tooWide.height = 1;
    tooWide.pixels.resize(40000 * 4);
    EXPECT_FALSE(SaveImageFile(table, path("keep.png"), tooWide));
    EXPECT_EQ(fs::file_size(path("keep.png")), sizeBefore);
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.dir()), fs::directory_iterator()), 1);
    const auto loaded = LoadImageFile24(table, path("keep.png"));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(*loaded, picture);
}

}  // namespace quib
