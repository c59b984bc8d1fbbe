#include <gtest/gtest.h>

#include <string>

#include "base/zlib_util.h"
#include "model/project_file.h"
#include "model_test_util.h"
#include "support/peak_memory.h"

namespace quib {
namespace {

using namespace test;

std::vector<uint8_t> storeBytes(CQuibDoc& doc, bool compressed = false, const std::string& path = "") {
    NullProgress progress;
    doc.compressedSave = compressed;
    auto bytes = ProjectFile::store(doc, path, progress);
    doc.compressedSave = false;
    return bytes;
}

Status loadBytes(const std::vector<uint8_t>& bytes, CQuibDoc& doc, const std::string& path = "",
                 ProjectFileHeader* header = nullptr) {
    NullProgress progress;
    return ProjectFile::load(bytes, doc, path, progress, header);
}

// A project with a background picture, its own text style, a cursor and texts in both string
// forms; every other field is in the file written by hand below, read and written again.
void makeRichProject(CQuibDoc& doc) {
    makeProject(doc, 3, Size{7, 5});
    doc.backgroundSize = Size{9, 8};
    doc.backgroundImage = solidImage(doc.backgroundSize, 1, 2, 3);
    doc.frameOrigin = Point{2, 3};
    doc.settings.frameRate = 12;
    doc.settings.textStyle.font.logFont.height = -20;
    doc.settings.textStyle.calloutName = "Nuvola";
    doc.titles.enabled = 1;
    doc.frames[1].setCursorImage(oddCursor(4, 2));
    doc.frames[1].textBox = TextBox{1, Rect{5, 6, 70, 80}, "riga uno\r\nriga due", "Fumetto", TextFont{}};
    doc.frames[2].textBox.text = "こんにちは、世界";
    doc.frames[2].title = "タイトル";
}

// The normal variant keeps the streams as they are; the compressed one restores every picture,
// and the next ordinary save writes the normal variant again. Pending edits are stored first.
TEST(ProjectFileRoundTrip, BothVariantsKeepEveryFieldOrAnEmptyProjectTheTextStyleOptionalSettingsAlone) {
    for (bool compressed : {false, true}) {
        SCOPED_TRACE(compressed);
        CQuibDoc doc;
        makeRichProject(doc);
        doc.currentFrame.title = "edited";
        doc.currentImage = solidImage(doc.frameSize, 77, 77, 77);
        doc.elementsChanged = doc.imageChanged = true;
        const auto bytes = storeBytes(doc, compressed);
        CQuibDoc loaded;
        ProjectFileHeader header;
        ASSERT_TRUE(loadBytes(bytes, loaded, "", &header));
        EXPECT_EQ(header.compressed, compressed);
        // Every field read back is written again as it was.
        EXPECT_EQ(storeBytes(loaded, compressed), bytes);
        EXPECT_EQ(loaded.frames[0].title, "edited");
        EXPECT_EQ(storedFramePicture(loaded, 0).pixels, solidImage(doc.frameSize, 77, 77, 77).pixels);
        EXPECT_EQ(loaded.currentFrameIndex, 0);
        EXPECT_FALSE(loaded.compressedSave);
        CQuibDoc empty, loadedEmpty;
        empty.InitNewProject();
        ASSERT_TRUE(loadBytes(storeBytes(empty, compressed), loadedEmpty));
        EXPECT_EQ(loadedEmpty.frameCount(), 0);
        EXPECT_EQ(loadedEmpty.currentFrameIndex, -1);
        EXPECT_EQ(loadedEmpty.settings.outputType, OutputType::Html5);
        if (compressed) {
            EXPECT_EQ(storeBytes(loaded)[6], 0);
            // A settings-only load skips the frames, and the text style stored after them.
            CQuibDoc settings;
            settings.settingsOnly = true;
            ASSERT_TRUE(loadBytes(bytes, settings));
            EXPECT_EQ(settings.frameCount(), 0);
            ProjectSettings expected = doc.settings;
            expected.textStyle = TextStyle{};
            EXPECT_EQ(settings.settings, expected);
            EXPECT_EQ(settings.titles, doc.titles);
            continue;
        }
        // The text style block is optional: cut off, or never written, it leaves the standard style.
        for (size_t cut : {size_t(1), size_t(80)}) {
            SCOPED_TRACE(cut);
            CQuibDoc shorter;
            ASSERT_TRUE(loadBytes(std::vector<uint8_t>(bytes.begin(), bytes.end() - long(cut)), shorter));
            EXPECT_EQ(shorter.settings.textStyle, TextStyle{});
            EXPECT_EQ(shorter.frames[1].elements(), doc.frames[1].elements());
        }
    }
}

// The block of the standard text style that ends every file: magic, version, font, empty name.
constexpr size_t kStandardStyleBlock = 4 + 4 + 68 + 1;

// Threes survive in the first frame and come back as fours later.
TEST(CompressedVariant, MarksEqualPixelsAndNudgesRealThreesAndTakesDamagedStreams) {
    CQuibDoc doc;
    makeProject(doc, 3, Size{4, 1});
    // Frame 1 keeps one pixel, changes one and has 3,3,3 changed and unchanged; frame 2 equals it.
    for (const auto& [i, pixels] :
         {std::pair<int, std::vector<uint8_t>>{0, {3, 3, 3, 9, 9, 9, 5, 6, 7, 3, 3, 3}},
          {1, {3, 3, 3, 8, 9, 9, 3, 3, 3, 3, 3, 3}},
          {2, {3, 3, 3, 8, 9, 9, 3, 3, 3, 3, 3, 3}}}) {
        doc.SelectFrame(i, false);
        doc.currentImage.pixels = pixels;
        doc.imageChanged = true;
    }
    doc.SelectFrame(0, true);
    const auto bytes = storeBytes(doc, true);
    // The image streams come last before the style block, each a u32 length and its bytes.
    RawBytes streams;
    for (const std::vector<uint8_t>& stored : {std::vector<uint8_t>{3, 3, 3, 9, 9, 9, 5, 6, 7, 3, 3, 3},
                                               std::vector<uint8_t>{4, 4, 4, 8, 9, 9, 4, 4, 4, 4, 4, 4},
                                               std::vector<uint8_t>{4, 4, 4, 3, 3, 3, 4, 4, 4, 4, 4, 4}}) {
        const auto stream = *zlibCompress(stored.data(), stored.size(), 9);
        streams.u32(uint32_t(stream.size())).raw(stream);
    }
    ASSERT_GT(bytes.size(), streams.b.size() + kStandardStyleBlock);
    EXPECT_EQ(std::vector<uint8_t>(bytes.end() - long(streams.b.size() + kStandardStyleBlock),
                                   bytes.end() - long(kStandardStyleBlock)),
              streams.b);
    CQuibDoc loaded;
    ASSERT_TRUE(loadBytes(bytes, loaded));
    EXPECT_EQ(storedFramePicture(loaded, 0).pixels,
              (std::vector<uint8_t>{3, 3, 3, 9, 9, 9, 5, 6, 7, 3, 3, 3}));
    EXPECT_EQ(storedFramePicture(loaded, 1).pixels,
              (std::vector<uint8_t>{4, 4, 4, 8, 9, 9, 4, 4, 4, 4, 4, 4}));
    EXPECT_EQ(storedFramePicture(loaded, 2).pixels,
              (std::vector<uint8_t>{4, 4, 4, 8, 9, 9, 4, 4, 4, 4, 4, 4}));
    // A damaged image stream is not reported.
    doc.frames[1].imageData = std::vector<uint8_t>{0x78, 0x01, 0xFF, 0xFF};
    CQuibDoc damaged;
    EXPECT_TRUE(loadBytes(storeBytes(doc, true), damaged));
    EXPECT_EQ(damaged.frameCount(), 3);
}

std::vector<uint8_t> handWrittenFile() {
    const std::vector<uint8_t> pixels = {1, 2, 3, 4, 5, 6};  // 2 x 1
    const auto stream = *zlibCompress(pixels.data(), pixels.size(), 1);
    RawBytes f;
    f.raw({'R', 'P', 'B', 'Q'}).u16(0x0100).u32(0).u32(1);
    f.u32(2).u32(1).u32(2).u32(1).u32(0).u32(0);  // background, frame size, origin
    f.u32(0);                                     // no background picture
    f.text("..\\out\\film.swf").text("swf").u32(10).u32(30).u32(1);
    f.u32(2).raw({255, 0, 0, 0, 0, 128, 255, 0});  // two palette entries
    f.u32(1).u32(1).raw({9, 8, 7, 255});           // Previous 1 x 1
    f.u32(0).u32(0).u32(0).u32(0).u32(0).u32(0);   // Next, Goto 1, Goto 2 empty
    f.u32(1).font(20, "Arial", 0x0000FF, 2).u32(5).u32(6).u32(105).u32(46);
    f.u32(1).u32(7).u32(8).u32(2).u32(1).raw({1, 1, 1, 0, 10, 20, 30, 255});
    f.u32(uint32_t(stream.size())).raw(stream);
    f.u32(1).u32(1).u32(2).u32(3).u32(4).text("Ciao").text("Nuvola").font(12, "Tahoma", 0xFFFFFFFF, 3);
    f.u32(1).u32(40).u32(41).u32(0).u32(42).u32(43);
    f.u32(1).u32(44).u32(45).u32(uint32_t(-1)).u32(0).u32(46).u32(47).u32(2);
    f.u32(1500);
    // title in the wide form: 0xFF, 0xFFFE, 2 characters, UTF-16LE
    f.u8(0xFF).u16(0xFFFE).u8(2).raw({0x53, 0x30, 0x93, 0x30});
    return f.b;
}

TEST(ProjectFileLayout, ReadsAndWritesAFileWrittenByHand) {
    CQuibDoc doc;
    ASSERT_TRUE(loadBytes(handWrittenFile(), doc, "/p/q/demo.qbk"));
    EXPECT_EQ(doc.backgroundSize, (Size{2, 1}));
    EXPECT_EQ(doc.frameSize, (Size{2, 1}));
    EXPECT_TRUE(doc.backgroundImage.isNull());
    EXPECT_EQ(doc.settings.outputFileName, "/p/out/film.swf");
    EXPECT_EQ(doc.settings.frameRate, 10u);
    EXPECT_EQ(doc.settings.cursorSmoothness, 30u);
    EXPECT_EQ(doc.settings.paletteCount, 2);
    EXPECT_EQ(doc.settings.palette[1], (PaletteEntry{0, 128, 255, 0}));
    EXPECT_EQ(doc.buttonImages.images[0].pixels, (std::vector<uint8_t>{9, 8, 7, 255}));
    EXPECT_TRUE(doc.buttonImages.images[1].isNull());
    auto font = [](int32_t height, const char* face, uint32_t color, uint32_t align) {
        TextFont f{LogFont{height, 0, 0, 0, 700, 1}, color, align};
        f.logFont.setFace(face);
        return f;
    };
    EXPECT_EQ(doc.titles, (TitleSettings{1, font(20, "Arial", 0x0000FF, 2), Rect{5, 6, 105, 46}}));
    ASSERT_EQ(doc.frameCount(), 1);
    const FrameElements frame{
        Point{7, 8},
        2,
        1,
        TextBox{1, Rect{1, 2, 3, 4}, "Ciao", "Nuvola", font(12, "Tahoma", 0xFFFFFFFF, 3)},
        1500,
        NavButton{1, Point{40, 41}, 0},
        NavButton{0, Point{42, 43}, 0},
        1,
        {NavButton{1, Point{44, 45}, -1}, NavButton{0, Point{46, 47}, 2}},
        "こん"};
    EXPECT_EQ(doc.frames[0].elements(), frame);
    EXPECT_EQ(doc.frames[0].cursorPixels, (std::vector<uint8_t>{1, 1, 1, 0, 10, 20, 30, 255}));
    EXPECT_EQ(doc.currentImage.pixels, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
    // Written again, it is the same file, with the standard text style after it.
    RawBytes expected{handWrittenFile()};
    expected.raw({'Q', 'S', 'T', 'Y'}).u32(1).font(uint32_t(-13), "DejaVu Sans", 0xFFFFFFFF, 0, 400, 0).u8(0);
    EXPECT_EQ(storeBytes(doc, false, "/p/q/demo.qbk"), expected.b);
}

class MalformedFile : public ::testing::Test {
protected:
    void SetUp() override {
        makeProject(open, 2);
        snapshot = storeBytes(open);
    }
    // The open project stays as it was, to the last byte.
    void expectRejected(const std::vector<uint8_t>& bytes) {
        EXPECT_EQ(loadBytes(bytes, open).message(), "Formato del file inaspettato.");
        EXPECT_EQ(storeBytes(open), snapshot);
    }
    CQuibDoc open;
    std::vector<uint8_t> snapshot;
};

// Offsets in handWrittenFile().
constexpr size_t kFrameCountAt = 10;
constexpr size_t kBackgroundLengthAt = 38;
constexpr size_t kPaletteCountAt = 42 + 16 + 4 + 12;

// Fields out of their range: each case patches u32 values at offsets of handWrittenFile().
TEST_F(MalformedFile, FieldsOutOfRange) {
    // The cursor size 2 x 1 follows the title rectangle.
    const auto hand = handWrittenFile();
    const std::vector<uint8_t> cursorSize = {2, 0, 0, 0, 1, 0, 0, 0, 1, 1, 1, 0};
    const auto cursor = std::search(hand.begin(), hand.end(), cursorSize.begin(), cursorSize.end());
    ASSERT_NE(cursor, hand.end());
    const size_t cursorAt = size_t(cursor - hand.begin());
    struct Case {
        const char* what;
        std::vector<std::pair<size_t, uint32_t>> patches;
    };
    const Case cases[] = {
        {"wrong magic", {{0, 'X'}}},
        {"wrong version", {{4, 0x0101}}},
        {"frame count larger than the bytes that remain", {{kFrameCountAt, 0x7FFFFFFF}}},
        {"palette count 257", {{kPaletteCountAt, 257}}},
        {"overflowing cursor size", {{cursorAt, 0x40000000}, {cursorAt + 4, 0x40000000}}},
        {"cursor that fits in size_t, not in the file", {{cursorAt, 1000}, {cursorAt + 4, 1000}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto b = handWrittenFile();
        for (const auto& [at, value] : c.patches)
            putU32(b, at, value);
        expectRejected(b);
    }
}

TEST_F(MalformedFile, EveryEarlyEnd) {
    const auto full = handWrittenFile();
    for (size_t n = 0; n < full.size(); ++n) {
        SCOPED_TRACE(n);
        expectRejected(std::vector<uint8_t>(full.begin(), full.begin() + long(n)));
    }
}

// b with the stream whose u32 length is at lengthAt replaced by a stream of `length` zero bytes.
std::vector<uint8_t> withStream(const std::vector<uint8_t>& b, size_t lengthAt, uint32_t length) {
    const size_t oldLength = b[lengthAt];
    std::vector<uint8_t> out(b.begin(), b.begin() + long(lengthAt));
    RawBytes stream;
    stream.u32(length).zeros(length);
    out.insert(out.end(), stream.b.begin(), stream.b.end());
    out.insert(out.end(), b.begin() + long(lengthAt + 4 + oldLength), b.end());
    return out;
}

// A 2 x 1 picture's streams may hold (2 * 1 * 330) / 100 + 12 = 18 bytes; a 12-byte stream cannot
// fill a 10000 x 10000 background.
TEST_F(MalformedFile, StreamsLongerThanTheirBoundOrTooShortForTheirSize) {
    auto b = handWrittenFile();
    const std::vector<uint8_t> cursor = {1, 1, 1, 0, 10, 20, 30, 255};
    auto it = std::search(b.begin(), b.end(), cursor.begin(), cursor.end());
    ASSERT_NE(it, b.end());
    expectRejected(withStream(b, size_t(it - b.begin()) + cursor.size(), 19));
    ASSERT_EQ(b[kBackgroundLengthAt], 0);
    expectRejected(withStream(b, kBackgroundLengthAt, 19));
    putU32(b, 14, 10000);
    putU32(b, 18, 10000);
    expectRejected(withStream(b, kBackgroundLengthAt, 12));
    // A compressed file's single image stream comes last before the style block: lengthened past
    // the bound.
    CQuibDoc doc;
    makeProject(doc, 1, Size{2, 1});
    auto c = storeBytes(doc, true);
    const std::vector<uint8_t> pixels(6, 10);
    const size_t lengthAt =
        c.size() - kStandardStyleBlock - 4 - zlibCompress(pixels.data(), pixels.size(), 9)->size();
    putU32(c, lengthAt, 19);
    c.resize(lengthAt + 4 + 19, 0);
    expectRejected(c);
}

constexpr size_t kBackgroundSizeAt = 14;
constexpr size_t kFrameSizeAt = 22;

// A project without frames never allocates its frame and may claim any size.
TEST_F(MalformedFile, SizesTheStreamsCannotFillAreRefused) {
    struct Case {
        const char* what;
        int frames;
        std::vector<size_t> sizesAt;  // each patched to 16384 x 10922
        bool accepted;
    };
    for (const Case& c : {Case{"frame", 2, {kFrameSizeAt}, false},
                          Case{"canvas without background", 2, {kBackgroundSizeAt}, false},
                          Case{"no frames", 0, {kFrameSizeAt, kBackgroundSizeAt}, true}}) {
        SCOPED_TRACE(c.what);
        CQuibDoc doc;
        makeProject(doc, c.frames, Size{2, 1});
        auto b = storeBytes(doc);
        for (size_t at : c.sizesAt) {
            putU32(b, at, 16384);
            putU32(b, at + 4, 10922);
        }
        CQuibDoc loaded;
        const auto run =
            runInChild([&] { return loadBytes(b, loaded).ok() && loaded.currentImage.isNull(); });
        EXPECT_TRUE(run.finished);
        EXPECT_EQ(run.result, c.accepted);
        EXPECT_LT(run.peakGrowthKb, 64 * 1024);
        if (!c.accepted)
            expectRejected(b);
    }
}

}  // namespace
}  // namespace quib
