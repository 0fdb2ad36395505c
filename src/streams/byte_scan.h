// The scan for the next byte that matters in a run of plain text: one pass
// over the bytes looking for either of two values, sixteen at a time where
// the processor has the vector instructions for it.
#pragma once

#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pellimar {

// The first byte in [from, to) equal to a or b, or `to` when none is.
inline const std::uint8_t* FindEither(const std::uint8_t* from, const std::uint8_t* to, std::uint8_t a, std::uint8_t b)
{
#if defined(__SSE2__)
    const __m128i wantA = _mm_set1_epi8(static_cast<char>(a));
    const __m128i wantB = _mm_set1_epi8(static_cast<char>(b));
    const auto hitsIn = [&](const std::uint8_t* at) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        return _mm_or_si128(_mm_cmpeq_epi8(bytes, wantA), _mm_cmpeq_epi8(bytes, wantB));
    };
    // Thirty-two bytes a round while no byte matches, which is most rounds.
    while (to - from >= 32) {
        const __m128i first = hitsIn(from);
        const __m128i second = hitsIn(from + 16);
        if (_mm_movemask_epi8(_mm_or_si128(first, second)) != 0) {
            const auto low = static_cast<unsigned>(_mm_movemask_epi8(first));
            const auto high = static_cast<unsigned>(_mm_movemask_epi8(second));
            return from + std::countr_zero(low | high << 16);
        }
        from += 32;
    }
    while (to - from >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const __m128i hits = _mm_or_si128(_mm_cmpeq_epi8(bytes, wantA), _mm_cmpeq_epi8(bytes, wantB));
        const auto mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
        if (mask != 0)
            return from + std::countr_zero(mask);
        from += 16;
    }
#endif
    while (from != to && *from != a && *from != b)
        ++from;
    return from;
}

// The first byte in [from, to) equal to `wanted`, or `to` when none is. Inline
// rather than memchr: the runs it looks through are mostly a few dozen bytes,
// where a library call costs more than the scan.
inline const std::uint8_t* FindByte(const std::uint8_t* from, const std::uint8_t* to, std::uint8_t wanted)
{
    if (from >= to)
        return to;
#if defined(__SSE2__)
    const __m128i want = _mm_set1_epi8(static_cast<char>(wanted));
    while (to - from >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, want)));
        if (mask != 0)
            return from + std::countr_zero(mask);
        from += 16;
    }
#endif
    while (from != to && *from != wanted)
        ++from;
    return from;
}

}  // namespace pellimar
