#include <gtest/gtest.h>

#include <string>

#include "palette/palette_file.h"
#include "support/bytes_and_pictures.h"

namespace quib {

namespace {

std::vector<uint8_t> bytesOf(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

Palette samplePalette(int count) {
    Palette p;
    p.count = count;
    for (int i = 0; i < count; ++i)
        p.entries[size_t(i)] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7), 255};
    return p;
}

// A RIFF "PAL " file built from the layout: header, optional extra chunk, then the data chunk.
std::vector<uint8_t> riffPalette(uint16_t count, int entriesWritten, bool extraChunk = false) {
    test::RawBytes data;
    data.u16(0x300).u16(count);
    for (int i = 0; i < entriesWritten; ++i)
        data.u8(uint8_t(i)).u8(uint8_t(i + 1)).u8(uint8_t(i + 2)).u8(7);
    test::RawBytes body;
    body.chars("PAL ");
    if (extraChunk)
        body.chars("LIST").u32(3).chars("abc").u8(0);  // odd size, padded
    body.chars("data").u32(uint32_t(data.b.size())).raw(data.b);
    return test::RawBytes().chars("RIFF").u32(uint32_t(body.b.size())).raw(body.b).b;
}

}  // namespace

TEST(JascPalette, WritesHeaderCountAndOneLinePerEntryAndReadsItBackExactly) {
    Palette p;
    p.count = 2;
    p.entries[0] = {1, 2, 3, 0};
    p.entries[1] = {255, 128, 0, 0};
    EXPECT_EQ(WriteJascPalette(p), "JASC-PAL\n0100\n2\n1 2 3\n255 128 0\n");
    const Palette original = samplePalette(256);
    Palette loaded;
    ASSERT_TRUE(ReadPaletteFile(bytesOf(WriteJascPalette(original)), loaded).ok());
    Palette expected = original;  // without the fourth byte
    for (PaletteEntry& e : expected.entries)
        e.flags = 0;
    EXPECT_EQ(loaded, expected);
}

// The reader takes what it can: any spacing, the fourth byte kept, at most 256 entries, nothing for a
// negative count, earlier values where a number cannot be read, what was read of a short file.
TEST(JascPalette, HandWrittenFilesAreReadLeniently) {
    std::string above256 = "JASC-PAL\n0100\n300\n";
    for (int i = 0; i < 300; ++i)
        above256 += "1 2 3\n";
    Palette spaced;
    spaced.entries[0].flags = 9;
    const Palette sample = samplePalette(5);
    Palette unparsable = samplePalette(3);
    unparsable.entries[0] = {9, 9, 9, 255};
    unparsable.entries[1].red = 8;
    const struct {
        const char* text;
        Palette before;
        int count;
        std::vector<PaletteEntry> entries;  // the first ones after reading
    } cases[] = {
        {"JASC-PAL\r\n0100\r\n2\r\n10  20\t30\r\n40 50 60\r\n",
         spaced,
         2,
         {{10, 20, 30, 9}, {40, 50, 60, 0}}},
        {above256.c_str(), Palette{}, 256, {{1, 2, 3, 0}}},
        {"JASC-PAL\n0100\n-4\n1 2 3\n", sample, 0, {sample.entries[0]}},
        {"JASC-PAL\n0100\n3\n9 9 9\n8 x 8\n7 7 7\n",
         samplePalette(3),
         3,
         {unparsable.entries[0], unparsable.entries[1], unparsable.entries[2]}},
        {"JASC-PAL\n0100\n2\n5 6", Palette{}, 2, {{5, 6, 0, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Palette p = c.before;
        ASSERT_TRUE(ReadPaletteFile(bytesOf(c.text), p).ok());
        EXPECT_EQ(p.count, c.count);
        for (size_t i = 0; i < c.entries.size(); ++i)
            EXPECT_EQ(p.entries[i], c.entries[i]) << i;
    }
}

TEST(RiffPalette, HandWrittenFileGivesOpaqueEntriesAndMalformedOnesAreUnknownFormatAndLeaveThePaletteAlone) {
    const Palette before = samplePalette(4);
    auto patched = [](size_t at, const char* four) {
        auto bytes = riffPalette(3, 3);
        std::memcpy(bytes.data() + at, four, 4);
        return bytes;
    };
    // A count larger than the chunk, another form, no data chunk, no RIFF file at all.
    for (const auto& bytes : {riffPalette(10, 5), patched(8, "WAVE"), patched(12, "junk"), bytesOf("GIF89a"),
                              std::vector<uint8_t>{}}) {
        Palette p = before;
        const Status s = ReadPaletteFile(bytes, p);
        EXPECT_EQ(s.stringId(), str::UnknownFileFormat);
        EXPECT_EQ(s.message(), "Formato di file sconosciuto");
        EXPECT_EQ(p, before);
    }
    Palette hand;
    ASSERT_TRUE(ReadPaletteFile(riffPalette(3, 3, true), hand).ok());
    EXPECT_EQ(hand.count, 3);
    EXPECT_EQ(hand.entries[0], (PaletteEntry{0, 1, 2, 255}));
    EXPECT_EQ(hand.entries[2], (PaletteEntry{2, 3, 4, 255}));
}

}  // namespace quib
