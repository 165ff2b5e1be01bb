#pragma once

#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Vectorised scans for the tag search, sixteen bytes at a time, without a call
// per position.

#if defined(__SSE2__)
namespace byte_scan {

// A mask of the bytes of the sixteen at Text that equal C; letters of either
// case when C is a small letter.
inline __m128i matching(const char* Text, char C)
{
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Text));
    if (C >= 'a' && C <= 'z')
        return _mm_cmpeq_epi8(_mm_or_si128(chunk, _mm_set1_epi8(0x20)), _mm_set1_epi8(C));
    return _mm_cmpeq_epi8(chunk, _mm_set1_epi8(C));
}

} // namespace byte_scan
#endif

// Calls Found(position) for each byte of [From, Size) equal to A or B, in
// order, until Found returns true; returns that position, or Size when it never did.
template <class Callback>
size_t scanForBytes(const char* Text, size_t From, size_t Size, char A, char B, Callback&& Found)
{
    size_t at = From;
#if defined(__SSE2__)
    const __m128i a = _mm_set1_epi8(A);
    const __m128i b = _mm_set1_epi8(B);
    for (; at + 16 <= Size; at += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Text + at));
        unsigned mask =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, a), _mm_cmpeq_epi8(chunk, b))));
        while (mask) {
            const size_t hit = at + static_cast<size_t>(__builtin_ctz(mask));
            if (Found(hit))
                return hit;
            mask &= mask - 1;
        }
    }
#endif
    for (; at < Size; ++at)
        if ((Text[at] == A || Text[at] == B) && Found(at))
            return at;
    return Size;
}

// Calls Found(position) for each position of [From, Last] that holds First,
// followed by Second, with Third at Offset bytes from it (Second and Third
// given as small letters match either case), in order, until Found returns
// true; returns that position, or Last + 1 when it never did. Text must hold
// Last + Offset + 1 bytes.
template <class Callback>
size_t scanForTriple(const char* Text, size_t From, size_t Last, char First, char Second, char Third, size_t Offset,
                     Callback&& Found)
{
    size_t at = From;
#if defined(__SSE2__)
    for (; at + 16 <= Last + 1; at += 16) {
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(
            byte_scan::matching(Text + at, First), _mm_and_si128(byte_scan::matching(Text + at + 1, Second),
                                                                 byte_scan::matching(Text + at + Offset, Third)))));
        while (mask) {
            const size_t hit = at + static_cast<size_t>(__builtin_ctz(mask));
            if (Found(hit))
                return hit;
            mask &= mask - 1;
        }
    }
#endif
    for (; at <= Last; ++at)
        if (Text[at] == First && Found(at))
            return at;
    return Last + 1;
}

// The first byte equal to C in [At, End), or End.
inline const char* findByte(const char* At, const char* End, char C)
{
#if defined(__SSE2__)
    const __m128i c = _mm_set1_epi8(C);
    for (; End - At >= 16; At += 16) {
        const auto mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(At)), c)));
        if (mask)
            return At + __builtin_ctz(mask);
    }
#endif
    while (At < End && *At != C)
        ++At;
    return At;
}

// Whether the Size bytes at A and B are equal, eight at a time.
inline bool sameBytes(const char* A, const char* B, size_t Size)
{
    size_t i = 0;
    for (; i + 8 <= Size; i += 8) {
        unsigned long long a = 0, b = 0;
        std::memcpy(&a, A + i, 8);
        std::memcpy(&b, B + i, 8);
        if (a != b)
            return false;
    }
    for (; i < Size; ++i)
        if (A[i] != B[i])
            return false;
    return true;
}
