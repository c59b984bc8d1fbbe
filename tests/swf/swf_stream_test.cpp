#include <gtest/gtest.h>

#include "base/byte_stream.h"
#include "swf_test_helpers.h"

using namespace quib;
using swftest::streamBytes;

namespace {

TEST(SwfBitCount, FollowsTheVariableWidthRuleAndSignedFieldsUseTheLargestMagnitude) {
    EXPECT_EQ(swfBitCount(0, 0), 0);
    EXPECT_EQ(swfBitCount(0, 1), 1);
    EXPECT_EQ(swfBitCount(1, 1), 2);
    EXPECT_EQ(swfBitCount(256, 0), 9);
    EXPECT_EQ(swfBitCount(16384, 1), 16);
    // Signed fields use the largest magnitude.
    EXPECT_EQ(swfSignedBits({0, 0}), 1);
    EXPECT_EQ(swfSignedBits({1, -8}), 5);
    EXPECT_EQ(swfSignedBits({65536, 0}), 18);
    EXPECT_EQ(swfUnsignedBits(0), 0);
    EXPECT_EQ(swfUnsignedBits(2), 2);
}

TEST(SwfStreamBits, WritesMostSignificantBitFirstAndPadsWithZeros) {
    SwfStream s;
    s.writeBits(0b101, 3);
    s.writeBits(0, 0);
    s.writeBits(0b11, 2);
    s.align();
    s.writeBits(0xABCD, 16);
    s.writeBits(1, 1);
    EXPECT_EQ(s.length(), 4u);
    EXPECT_EQ(streamBytes(s), (std::vector<uint8_t>{0xB8, 0xAB, 0xCD, 0x80}));
}

class BodyTag final : public SwfTag {
public:
    explicit BodyTag(size_t n) : m_n(n) {}
    uint16_t code() const override { return 12; }
    void encodeBody(SwfStream& out) const override {
        for (size_t i = 0; i < m_n; ++i)
            out.writeU8(uint8_t(i));
    }

private:
    size_t m_n;
};

// A body of up to 62 bytes keeps its length in the code word; from 63 on a u32 length follows.
TEST(SwfTagHeader, ShortFormUpTo62BytesLongFormFrom63) {
    for (size_t n : {size_t(62), size_t(63)}) {
        SCOPED_TRACE(n);
        SwfStream s;
        encodeTag(BodyTag(n), s);
        std::vector<uint8_t> bytes = streamBytes(s);
        const bool longForm = n == 63;
        ASSERT_EQ(bytes.size(), n + (longForm ? 6 : 2));
        ByteReader in(bytes);
        EXPECT_EQ(in.u16(), 12 * 64 + (longForm ? 63 : n));
        if (longForm) {
            EXPECT_EQ(in.u32(), 63u);
        }
        EXPECT_EQ(in.u8(), 0);  // the body's first byte
    }
}

}  // namespace
