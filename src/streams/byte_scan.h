// The scan for the next byte that matters in a run of plain text: one pass
// over the bytes looking for either of two values, sixteen at a time where
// the processor has the vector instructions for it, and for codes thirty-two
// at a time where it has AVX2, which is asked at run time.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <iterator>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
// Marks a function built for processors with AVX2, to be called only where
// WideScansAvailable() said so.
#define PELLIMAR_WIDE_SCANS [[gnu::target("avx2")]]
#else
#define PELLIMAR_WIDE_SCANS
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

// As FindEither, for a code's "<": where the bytes after the match were
// looked at in the same round, `close` is set to the first `closer` among
// them, or stays null when none of them is one and the caller must look
// further. Codes are short, so the ">" is mostly found without a scan of its
// own.
inline const std::uint8_t* FindEitherThenCloser(const std::uint8_t* from, const std::uint8_t* to, std::uint8_t a,
                                                std::uint8_t b, std::uint8_t closer, const std::uint8_t*& close)
{
    close = nullptr;
#if defined(__SSE2__)
    const __m128i wantA = _mm_set1_epi8(static_cast<char>(a));
    const __m128i wantB = _mm_set1_epi8(static_cast<char>(b));
    const __m128i wantCloser = _mm_set1_epi8(static_cast<char>(closer));
    const auto hitsIn = [&](__m128i bytes) {
        return _mm_or_si128(_mm_cmpeq_epi8(bytes, wantA), _mm_cmpeq_epi8(bytes, wantB));
    };
    const auto closersIn = [&](__m128i bytes) {
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wantCloser)));
    };
    // Bits above `at` only: 2u << 31 wraps to 0, which leaves none.
    const auto after = [](unsigned mask, int at) { return mask & ~((2u << at) - 1); };
    while (to - from >= 32) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 16));
        const auto hits = static_cast<unsigned>(_mm_movemask_epi8(hitsIn(low))) |
                          static_cast<unsigned>(_mm_movemask_epi8(hitsIn(high))) << 16;
        if (hits != 0) {
            const int at = std::countr_zero(hits);
            if (const unsigned closers = after(closersIn(low) | closersIn(high) << 16, at); closers != 0)
                close = from + std::countr_zero(closers);
            return from + at;
        }
        from += 32;
    }
    while (to - from >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const auto hits = static_cast<unsigned>(_mm_movemask_epi8(hitsIn(bytes)));
        if (hits != 0) {
            const int at = std::countr_zero(hits);
            if (const unsigned closers = after(closersIn(bytes), at); closers != 0)
                close = from + std::countr_zero(closers);
            return from + at;
        }
        from += 16;
    }
#else
    (void)closer;
#endif
    while (from < to && *from != a && *from != b)
        ++from;
    return from < to ? from : to;
}

// Whether this processor has the 32-byte compares (AVX2) of the wide scans,
// and they have not been turned off. Asked of the processor once.
bool WideScansAvailable();
// Turns the wide scans off or on again, so that the 16-byte scans can be
// checked on a processor that has both.
void TurnOffWideScans(bool off);

// As FindEither, thirty-two bytes a compare: only where
// WideScansAvailable().
PELLIMAR_WIDE_SCANS inline const std::uint8_t* FindEitherWide(const std::uint8_t* from, const std::uint8_t* to,
                                                             std::uint8_t a, std::uint8_t b)
{
#if defined(__x86_64__) || defined(__i386__)
    const __m256i wantA = _mm256_set1_epi8(static_cast<char>(a));
    const __m256i wantB = _mm256_set1_epi8(static_cast<char>(b));
    while (to - from >= 32) {
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from));
        const auto hits = static_cast<unsigned>(
            _mm256_movemask_epi8(_mm256_or_si256(_mm256_cmpeq_epi8(bytes, wantA), _mm256_cmpeq_epi8(bytes, wantB))));
        if (hits != 0)
            return from + std::countr_zero(hits);
        from += 32;
    }
#endif
    return FindEither(from, to, a, b);
}

// The three bytes FindEitherThenCloserWide looks for, each spread over 32,
// kept where a scan reads them rather than made again at every scan, which
// a call between two scans would otherwise have it do.
struct alignas(32) SpreadBytes {
    std::uint8_t a[32];
    std::uint8_t b[32];
    std::uint8_t closer[32];

    SpreadBytes(std::uint8_t first, std::uint8_t second, std::uint8_t third)
    {
        std::fill(std::begin(a), std::end(a), first);
        std::fill(std::begin(b), std::end(b), second);
        std::fill(std::begin(closer), std::end(closer), third);
    }
};

// As FindEitherThenCloser, thirty-two bytes a compare: only where
// WideScansAvailable(). Plain text is scanned in half the instructions.
PELLIMAR_WIDE_SCANS inline const std::uint8_t* FindEitherThenCloserWide(const std::uint8_t* from,
                                                                        const std::uint8_t* to,
                                                                        const SpreadBytes& wanted,
                                                                        const std::uint8_t*& close)
{
#if defined(__x86_64__) || defined(__i386__)
    while (to - from >= 32) {
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from));
        const auto hits = static_cast<unsigned>(_mm256_movemask_epi8(
            _mm256_or_si256(_mm256_cmpeq_epi8(bytes, _mm256_load_si256(reinterpret_cast<const __m256i*>(wanted.a))),
                            _mm256_cmpeq_epi8(bytes, _mm256_load_si256(reinterpret_cast<const __m256i*>(wanted.b))))));
        if (hits != 0) {
            const int at = std::countr_zero(hits);
            // Bits above `at` only: 2u << 31 wraps to 0, which leaves none.
            const unsigned closers = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(
                                         bytes, _mm256_load_si256(reinterpret_cast<const __m256i*>(wanted.closer))))) &
                                     ~((2u << at) - 1);
            close = closers != 0 ? from + std::countr_zero(closers) : nullptr;
            return from + at;
        }
        from += 32;
    }
#endif
    return FindEitherThenCloser(from, to, wanted.a[0], wanted.b[0], wanted.closer[0], close);
}

PELLIMAR_WIDE_SCANS inline const std::uint8_t* FindEitherThenCloserWide(const std::uint8_t* from,
                                                                        const std::uint8_t* to, std::uint8_t a,
                                                                        std::uint8_t b, std::uint8_t closer,
                                                                        const std::uint8_t*& close)
{
    return FindEitherThenCloserWide(from, to, SpreadBytes(a, b, closer), close);
}

// The first byte in [from, to) equal to a, b or c, or `to` when none is.
inline const std::uint8_t* FindAnyOfThree(const std::uint8_t* from, const std::uint8_t* to, std::uint8_t a,
                                          std::uint8_t b, std::uint8_t c)
{
    if (from >= to)
        return to;
#if defined(__SSE2__)
    const __m128i wantA = _mm_set1_epi8(static_cast<char>(a));
    const __m128i wantB = _mm_set1_epi8(static_cast<char>(b));
    const __m128i wantC = _mm_set1_epi8(static_cast<char>(c));
    while (to - from >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, wantA), _mm_cmpeq_epi8(bytes, wantB)),
                                          _mm_cmpeq_epi8(bytes, wantC));
        const auto mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
        if (mask != 0)
            return from + std::countr_zero(mask);
        from += 16;
    }
#endif
    while (from != to && *from != a && *from != b && *from != c)
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

// Line ends in [from, to): every CR, and every LF that does not follow a
// CR (`before` is the byte before `from`, 0 for none).
inline std::int64_t CountLineEndBytes(const std::uint8_t* from, const std::uint8_t* to, std::uint8_t before)
{
    std::int64_t ends = 0;
    if (from == to)
        return 0;
    ends += *from == '\r' || (*from == '\n' && before != '\r');
    ++from;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (to - from >= 16) {
        // Each lane counts to at most 255 before the sums are taken.
        const std::ptrdiff_t rounds = std::min<std::ptrdiff_t>((to - from) / 16, 255);
        const std::uint8_t* const stop = from + 16 * rounds;
        __m128i counts = _mm_setzero_si128();
        for (; from != stop; from += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
            const __m128i previous = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from - 1));
            const __m128i afterCr = _mm_cmpeq_epi8(previous, cr);
            const __m128i lineEnds =
                _mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_andnot_si128(afterCr, _mm_cmpeq_epi8(bytes, lf)));
            counts = _mm_sub_epi8(counts, lineEnds);
        }
        const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
        ends += _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8));
    }
#endif
    for (; from != to; ++from)
        ends += *from == '\r' || (*from == '\n' && from[-1] != '\r');
    return ends;
}

}  // namespace pellimar
