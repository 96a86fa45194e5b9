#include "platform/byte_blocks.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

namespace vivo::platform {
namespace {

// The gathered bits are what the searches take positions from: both ways of making them must agree
// with the bytes, whichever the product's processor uses.
TEST(ByteBlocks, BitsFollowTheBytesInOrder) {
    std::mt19937 random(16);
    for (int n = 0; n < 2000; ++n) {
        std::array<unsigned char, kByteBlock> bytes;
        std::uint32_t expected = 0;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            bytes[i] = random() % 3 == 0 ? 'x' : static_cast<unsigned char>(random());
            if (bytes[i] == 'x') expected |= std::uint32_t{1} << i;
        }
        const auto hits = reinterpret_cast<ByteBlock>(LoadByteBlock(bytes.data()) == 'x');
        ASSERT_EQ(ByteBlockBits(hits), expected);
        ASSERT_EQ(ByteBlockBitsByWords(hits), expected);
    }
}

}  // namespace
}  // namespace vivo::platform
