#pragma once

#include <QtGlobal>

#include <array>
#include <cstdint>
#include <cstring>

// Many bytes at a time, for the two loops that run over a whole language file
// at every lookup: the key search and the UTF-8 check. Written once, over the
// compiler's generic vector types with nothing but equality tests and bit
// operations, and built twice: with 16-byte lanes (SSE2, NEON) for every
// processor, and on x86-64 also with 32-byte lanes for those that have AVX2.
// The wide build must only ever run inside a function compiled for AVX2;
// without it the compiler takes 32-byte vectors apart byte by byte.
namespace vectorlanes {

using Lanes16 = unsigned char __attribute__((vector_size(16)));
using Lanes32 = unsigned char __attribute__((vector_size(32)));

template<typename Lanes>
inline constexpr qsizetype Width = sizeof(Lanes);

template<typename Lanes>
[[gnu::always_inline]] inline Lanes load(const void* p)
{
    Lanes lanes;
    std::memcpy(&lanes, p, sizeof lanes);
    return lanes;
}

template<typename Lanes>
[[gnu::always_inline]] inline Lanes splat(unsigned char byte)
{
    return Lanes{} + byte;
}

// True when any lane of a comparison's result is set.
template<typename Mask>
[[gnu::always_inline]] inline bool any(Mask mask)
{
    std::array<std::uint64_t, sizeof(Mask) / sizeof(std::uint64_t)> words;
    std::memcpy(words.data(), &mask, sizeof mask);
    std::uint64_t all = 0;
    for (const std::uint64_t word : words)
        all |= word;
    return all != 0;
}

} // namespace vectorlanes

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define TAVENDEL_WIDE_LANES 1
#define TAVENDEL_TARGET_AVX2 [[gnu::target("avx2")]]

namespace vectorlanes {
inline bool hasWideLanes()
{
    return __builtin_cpu_supports("avx2");
}
} // namespace vectorlanes
#else
#define TAVENDEL_WIDE_LANES 0
#endif
