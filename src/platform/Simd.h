#pragma once

// The import's few loops that look at many characters at once, and the one
// processor state they depend on. Each helper has a plain version, compiled on
// every build and tested against the vector one over the same inputs, and the
// version the build uses (SSE2 where the compiler targets it, which every
// x86-64 processor has; the plain one elsewhere). Every body line of every
// hand passes through these, so they are inline.

#include <QtGlobal>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// On x86 processors with AVX, code that leaves the upper halves of the vector
// registers dirty (some libraries a window program loads, Qt's drawing) makes
// every later SSE instruction pay for it until something clears them; the
// engine and the parser are SSE code, and on some processors that doubled the
// cost of parts of an import. Clears that state where the processor has it;
// does nothing elsewhere. Cheap enough to call before every file and query.
void ClearUpperVectorState();

// Where blanks and stops (a colon or a double quote) stand among eight UTF-16
// units: bit k is unit k.
struct TUnitMasks
{
    unsigned Blanks;
    unsigned Stops;
};

namespace SimdPlain {

inline TUnitMasks BlockMasks(const char16_t* units)
{
    TUnitMasks masks{0, 0};
    for (unsigned k = 0; k < 8; ++k) {
        masks.Blanks |= unsigned(units[k] == u' ') << k;
        masks.Stops |= unsigned(units[k] == u':' || units[k] == u'"') << k;
    }
    return masks;
}

// The first position from `at` on that holds a unit of U+0000..U+000D (every
// line break and the NUL are among them), or `size`. Four units a word.
inline qsizetype FindControlBreak(const char16_t* data, qsizetype at, qsizetype size)
{
    constexpr quint64 Ones = 0x0001000100010001ULL;
    constexpr quint64 HighBits = 0x8000800080008000ULL;
    while (size - at >= 4) {
        quint64 word;
        std::memcpy(&word, data + at, sizeof word);
        // Nonzero when some unit is below 14; a unit above such a one may
        // show falsely, which the unit-wise test below sorts out.
        if (((word - 14 * Ones) & ~word & HighBits) != 0)
            break;
        at += 4;
    }
    for (; at < size; ++at) {
        if (data[at] <= u'\r')
            return at;
    }
    return size;
}

// Copies the ASCII bytes from p on, each as one UTF-16 unit, to out, and
// returns where the first other byte (or end) is; out moves past what it wrote.
// out must have room for end - p units.
inline const unsigned char* WidenAscii(const unsigned char* p, const unsigned char* end, char16_t*& out)
{
    for (; p < end && *p < 0x80; ++p)
        *out++ = *p;
    return p;
}

} // namespace SimdPlain

#if defined(__SSE2__)
namespace SimdSse2 {

inline TUnitMasks BlockMasks(const char16_t* units)
{
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units));
    const __m128i blanks = _mm_cmpeq_epi16(block, _mm_set1_epi16(' '));
    const __m128i stops = _mm_or_si128(_mm_cmpeq_epi16(block, _mm_set1_epi16(':')),
                                       _mm_cmpeq_epi16(block, _mm_set1_epi16('"')));
    // Packed to a byte a unit: blanks in the low eight bits, stops in the high.
    const unsigned both = unsigned(_mm_movemask_epi8(_mm_packs_epi16(blanks, stops)));
    return {both & 0xFFu, both >> 8};
}

inline qsizetype FindControlBreak(const char16_t* data, qsizetype at, qsizetype size)
{
    const __m128i thirteen = _mm_set1_epi16(13);
    const __m128i zero = _mm_setzero_si128();
    while (size - at >= 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
        // A unit minus 13, floored at 0, is 0 exactly for the units up to 13.
        const int low = _mm_movemask_epi8(_mm_cmpeq_epi16(_mm_subs_epu16(units, thirteen), zero));
        if (low != 0)
            return at + std::countr_zero(static_cast<unsigned>(low)) / 2;
        at += 8;
    }
    for (; at < size; ++at) {
        if (data[at] <= u'\r')
            return at;
    }
    return size;
}

inline const unsigned char* WidenAscii(const unsigned char* p, const unsigned char* end, char16_t*& out)
{
    const __m128i zero = _mm_setzero_si128();
    while (end - p >= 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        // All sixteen are written; only the ASCII before the first other byte
        // counts. There is room: sixteen bytes are still to come.
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(chunk, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(chunk, zero));
        const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(chunk));
        if (high != 0) {
            const int ascii = std::countr_zero(high);
            out += ascii;
            return p + ascii;
        }
        p += 16;
        out += 16;
    }
    return SimdPlain::WidenAscii(p, end, out);
}

} // namespace SimdSse2
namespace Simd = SimdSse2;
#else
namespace Simd = SimdPlain;
#endif
