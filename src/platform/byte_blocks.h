#pragma once
// Sixteen bytes at a time, for the searches that run over every line of a build log: the compiler's
// vector extension (SSE2 on x86, plain words elsewhere) and the one step it has no spelling for,
// turning a comparison into one bit per byte.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vivo::platform {

using ByteBlock = unsigned char __attribute__((vector_size(16)));
inline constexpr std::size_t kByteBlock = sizeof(ByteBlock);

// The 16 bytes at `at`, which need no alignment.
inline ByteBlock LoadByteBlock(const unsigned char* at) {
    ByteBlock block;
    std::memcpy(&block, at, kByteBlock);
    return block;
}

// Bit i set where byte i of a comparison's result is set (all ones), from the top bit of each byte
// gathered by one multiplication per eight bytes: for processors without an instruction for it.
inline std::uint32_t ByteBlockBitsByWords(ByteBlock hits) {
    using Words = std::uint64_t __attribute__((vector_size(16)));
    const auto words = reinterpret_cast<Words>(hits);
    constexpr std::uint64_t kTop = 0x8080808080808080u;
    constexpr std::uint64_t kGather = 0x0002040810204081u;
    const auto half = [](std::uint64_t word) {
        std::uint64_t top = word & kTop;
        if constexpr (std::endian::native == std::endian::big) top = __builtin_bswap64(top);
        return static_cast<std::uint32_t>((top * kGather) >> 56);
    };
    return half(words[0]) | half(words[1]) << 8;
}

// The same, by the processor's own instruction where it has one.
inline std::uint32_t ByteBlockBits(ByteBlock hits) {
#if defined(__SSE2__)
    return static_cast<std::uint32_t>(_mm_movemask_epi8(reinterpret_cast<__m128i>(hits)));
#else
    return ByteBlockBitsByWords(hits);
#endif
}

// Calls `each(position)` for every position of a text of `size` bytes where a test holds, in order,
// until `each` returns false. The test at a position reads `reach` bytes beyond it; `bitsAt(at)` makes
// it for the 16 positions from `at` at once (one bit each), `holdsAt(i)` for one position, used where
// the text is shorter than a block and its reach. The last block overlaps the one before it rather
// than leaving a tail.
template <class BitsAt, class HoldsAt, class Each>
void ForEachHit(std::size_t size, std::size_t reach, BitsAt&& bitsAt, HoldsAt&& holdsAt, Each&& each) {
    if (size < kByteBlock + reach) {
        for (std::size_t i = 0; i + reach < size; ++i) {
            if (holdsAt(i) && !each(i)) return;
        }
        return;
    }
    const auto eachOf = [&each](std::size_t base, std::uint32_t hits) {
        for (; hits != 0; hits &= hits - 1) {
            if (!each(base + static_cast<std::size_t>(std::countr_zero(hits)))) return false;
        }
        return true;
    };
    std::size_t i = 0;
    for (; i + kByteBlock + reach <= size; i += kByteBlock) {
        if (!eachOf(i, bitsAt(i))) return;
    }
    if (i + reach >= size) return;
    // The last block ends where the text's last test does; its positions before `i` are done already.
    const std::size_t base = size - reach - kByteBlock;
    eachOf(base, bitsAt(base) >> (i - base) << (i - base));
}

}  // namespace vivo::platform
