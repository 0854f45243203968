#include <gtest/gtest.h>

#include "runtime/text.h"

namespace rt {
namespace {

TEST(ByteBuffers, LengthLeftConcatBlank) {
    const ByteBuffer b{1, 0, 2};
    EXPECT_EQ(ByteLength(b), 3);
    EXPECT_EQ(LeftBytes(b, 2), (ByteBuffer{1, 0}));
    EXPECT_EQ(LeftBytes(b, 9), b);
    EXPECT_EQ(LeftBytes(b, 0), ByteBuffer{});
    EXPECT_EQ(ConcatBytes(b, ByteBuffer{}, ByteBuffer{9}), (ByteBuffer{1, 0, 2, 9}));
    EXPECT_EQ(BlankBytes(3), (ByteBuffer{0, 0, 0}));
    EXPECT_EQ(BlankBytes(-1), ByteBuffer{});
    EXPECT_EQ(BlankText(3), "   ");
    EXPECT_EQ(BlankText(0), "");
    EXPECT_EQ(BitOr(1, 2), 3);
    EXPECT_EQ(BitOr(1, 2, 8, 8), 11);
}

TEST(FindBytes, ExactMatchesIncludingZeroBytes) {
    const ByteBuffer b{0, 1, 0, 1, 0};
    EXPECT_EQ(FindBytes(b, ByteBuffer{1, 0}), 2);
    EXPECT_EQ(FindBytes(b, ByteBuffer{1, 0}, 3), 4);
    EXPECT_EQ(FindBytes(b, ByteBuffer{1, 0}, 0), 2);
    EXPECT_EQ(FindBytes(b, ByteBuffer{1, 0}, 5), -1);
    EXPECT_EQ(FindBytes(b, ByteBuffer{2}), -1);
    EXPECT_EQ(FindBytes(b, ByteBuffer{}), -1);
    EXPECT_EQ(FindBytes(ByteBuffer{}, ByteBuffer{1}), -1);
    EXPECT_EQ(FindBytes(ByteBuffer{1}, ByteBuffer{1, 1}), -1);
}

TEST(ReadBytesValue, TypesAndPadding) {
    const ByteBuffer b{0x04, 0x03, 0x02, 0x01, 0xFF};
    EXPECT_EQ(std::get<std::int32_t>(ReadBytesValue(b, 3)), 0x01020304);
    EXPECT_EQ(std::get<std::uint8_t>(ReadBytesValue(b, 1, 5)), 0xFF);
    EXPECT_EQ(std::get<std::int16_t>(ReadBytesValue(b, 2, 4)), static_cast<std::int16_t>(0xFF01));
    // Fewer bytes than the type needs: zero padding.
    EXPECT_EQ(std::get<std::int32_t>(ReadBytesValue(b, 3, 4)), 0xFF01);
    EXPECT_EQ(std::get<std::int64_t>(ReadBytesValue(b, 4)), 0xFF01020304LL);
    EXPECT_EQ(std::get<bool>(ReadBytesValue(b, 7)), true);
    EXPECT_EQ(std::get<double>(ReadBytesValue(ToBytes(2.5), 6)), 2.5);
    EXPECT_EQ(std::get<float>(ReadBytesValue(ToBytes(2.5f), 5)), 2.5f);
    EXPECT_EQ(std::get<DateTime>(ReadBytesValue(ToBytes(3.0), 8)).days, 3.0);
    EXPECT_EQ(std::get<std::uintptr_t>(ReadBytesValue(b, 9)), 0x01020304u);
    EXPECT_EQ(std::get<Text>(ReadBytesValue(ByteBuffer{'h', 'i', 0, 'x'}, 10)), "hi");
    EXPECT_EQ(std::get<Text>(ReadBytesValue(ByteBuffer{'h', 'i'}, 10)), "hi");
}

TEST(ReadBytesValue, PositionOutsideGivesZero) {
    const ByteBuffer b{1, 2};
    EXPECT_EQ(std::get<std::int32_t>(ReadBytesValue(b, 3, 0)), 0);
    EXPECT_EQ(std::get<std::int32_t>(ReadBytesValue(b, 3, 3)), 0);
    EXPECT_EQ(std::get<Text>(ReadBytesValue(b, 10, 3)), "");
    EXPECT_EQ(std::get<std::int32_t>(ReadBytesValue(ByteBuffer{}, 3)), 0);
}

TEST(ReadBytesValue, PositionVariableAdvances) {
    const ByteBuffer b{1, 0, 2, 0, 'a', 0, 'b'};
    int pos = 1;
    EXPECT_EQ(std::get<std::int16_t>(ReadBytesValue(b, 2, &pos)), 1);
    EXPECT_EQ(pos, 3);
    EXPECT_EQ(std::get<std::int16_t>(ReadBytesValue(b, 2, &pos)), 2);
    EXPECT_EQ(pos, 5);
    EXPECT_EQ(std::get<Text>(ReadBytesValue(b, 10, &pos)), "a");
    EXPECT_EQ(pos, 7);
    // Runs past the end: the value is padded and the position becomes -1.
    EXPECT_EQ(std::get<std::int16_t>(ReadBytesValue(b, 2, &pos)), 'b');
    EXPECT_EQ(pos, -1);
    EXPECT_EQ(std::get<std::int16_t>(ReadBytesValue(b, 2, &pos)), 0);
    EXPECT_EQ(pos, -1);
}

}  // namespace
}  // namespace rt
