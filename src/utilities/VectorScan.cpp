#include "utilities/VectorScan.h"

#include <atomic>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define CHARSETKIT_VECTOR_X86 1
#include <immintrin.h>
#elif defined(__aarch64__) && defined(__ARM_NEON)
#define CHARSETKIT_VECTOR_NEON 1
#include <arm_neon.h>
#endif

namespace charsetkit {
namespace detail {
namespace vector {

namespace {

constexpr bool isPlainAsciiByte(unsigned char b) {
    return b < 0x80 && b != 0x1B && b != 0x0E && b != 0x0F;
}

// ---------------------------------------------------------------- plain

/// True when some byte of `v` is zero (exact, no false answers).
constexpr bool hasZeroByte(std::uint64_t v) {
    return ((v - 0x0101010101010101ull) & ~v & 0x8080808080808080ull) != 0;
}

/// True when all eight bytes of `v` are plain ASCII.
constexpr bool allPlainAscii(std::uint64_t v) {
    return (v & 0x8080808080808080ull) == 0 && !hasZeroByte(v ^ 0x1B1B1B1B1B1B1B1Bull) &&
           !hasZeroByte(v ^ 0x0E0E0E0E0E0E0E0Eull) && !hasZeroByte(v ^ 0x0F0F0F0F0F0F0F0Full);
}

std::size_t plainAsciiRunPlain(const unsigned char* p, std::size_t n) {
    std::size_t i = 0;
    while (n - i >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, sizeof word);
        if (!allPlainAscii(word)) {
            break;
        }
        i += 8;
    }
    while (i < n && isPlainAsciiByte(p[i])) {
        ++i;
    }
    return i;
}

std::size_t runBelowPlain(const unsigned char* p, std::size_t n, unsigned char bound) {
    std::size_t i = 0;
    while (i < n && p[i] < bound) {
        ++i;
    }
    return i;
}

void rangeMasksPlain(const unsigned char* p, const ByteRanges& ranges, std::uint64_t* masks) {
    for (int r = 0; r < ranges.count; ++r) {
        const unsigned lo = ranges.lo[r];
        const unsigned span = static_cast<unsigned>(ranges.hi[r]) - lo;
        std::uint64_t mask = 0;
        for (unsigned k = 0; k < 64; ++k) {
            const std::uint64_t in = (static_cast<unsigned>(p[k]) - lo) <= span ? 1u : 0u;
            mask |= in << k;
        }
        masks[r] = mask;
    }
}

#if defined(CHARSETKIT_VECTOR_X86) || defined(CHARSETKIT_VECTOR_NEON)

/// `end` shortened, if need be, so that it does not cut a character: the
/// bytes before `end` are known to be valid except for a last character
/// that may be incomplete.
std::size_t characterBoundary(const unsigned char* p, std::size_t end) {
    for (std::size_t back = 1; back <= 3 && back <= end; ++back) {
        const unsigned char b = p[end - back];
        if (b < 0x80) {
            return end;
        }
        if (b >= 0xC0) {
            const std::size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
            return back >= length ? end : end - back;
        }
    }
    return end;
}

// The lookup check of pairs of bytes. For each byte and the byte before it,
// three tables indexed by the high nibble of the first, the low nibble of
// the first and the high nibble of the second give sets of faults; a fault
// present in all three is real. The faults (one bit each):
constexpr unsigned kTooShort = 0x01;  // a lead byte not followed by a continuation
constexpr unsigned kTooLong = 0x02;   // a continuation after a one-byte character
constexpr unsigned kOverlong3 = 0x04; // E0 80-9F
constexpr unsigned kOverlong4 = 0x08; // F0 80-8F
constexpr unsigned kOverlong2 = 0x10; // C0 or C1 with a continuation
constexpr unsigned kTooBig = 0x20;    // F8-FF (five- and six-byte forms, FE, FF)
constexpr unsigned kTwoConts = 0x80;  // a continuation after a continuation
// A continuation after a continuation is right exactly where the byte two
// before is a lead of three or more bytes or the byte three before one of
// four; that condition is computed apart and cancels kTwoConts.

constexpr unsigned char kFirstHigh[16] = {kTooLong,
                                          kTooLong,
                                          kTooLong,
                                          kTooLong,
                                          kTooLong,
                                          kTooLong,
                                          kTooLong,
                                          kTooLong,
                                          kTwoConts,
                                          kTwoConts,
                                          kTwoConts,
                                          kTwoConts,
                                          kTooShort | kOverlong2,
                                          kTooShort,
                                          kTooShort | kOverlong3,
                                          kTooShort | kOverlong4 | kTooBig};
constexpr unsigned char kAnyFirstLow = kTooShort | kTooLong | kTwoConts;
constexpr unsigned char kFirstLow[16] = {kAnyFirstLow | kOverlong2 | kOverlong3 | kOverlong4,
                                         kAnyFirstLow | kOverlong2,
                                         kAnyFirstLow,
                                         kAnyFirstLow,
                                         kAnyFirstLow,
                                         kAnyFirstLow,
                                         kAnyFirstLow,
                                         kAnyFirstLow,
                                         kAnyFirstLow | kTooBig,
                                         kAnyFirstLow | kTooBig,
                                         kAnyFirstLow | kTooBig,
                                         kAnyFirstLow | kTooBig,
                                         kAnyFirstLow | kTooBig,
                                         kAnyFirstLow | kTooBig,
                                         kAnyFirstLow | kTooBig,
                                         kAnyFirstLow | kTooBig};
constexpr unsigned char kAnyCont = kTooLong | kTwoConts | kOverlong2 | kTooBig;
constexpr unsigned char kSecondHigh[16] = {kTooShort,
                                           kTooShort,
                                           kTooShort,
                                           kTooShort,
                                           kTooShort,
                                           kTooShort,
                                           kTooShort,
                                           kTooShort,
                                           kAnyCont | kOverlong3 | kOverlong4,
                                           kAnyCont | kOverlong3,
                                           kAnyCont,
                                           kAnyCont,
                                           kTooShort,
                                           kTooShort,
                                           kTooShort,
                                           kTooShort};

#endif

#if defined(CHARSETKIT_VECTOR_X86)
// The vector tables are built from these, so that every level uses one
// definition.
constexpr char asChar(unsigned char b) {
    return static_cast<char>(b >= 0x80 ? static_cast<int>(b) - 256 : static_cast<int>(b));
}
#endif

std::size_t utf8CleanPrefixPlain(const unsigned char* p, std::size_t n) {
    // The plain level proves plain ASCII only; the machine reads the rest.
    return plainAsciiRunPlain(p, n);
}

#if defined(CHARSETKIT_VECTOR_X86)

// ---------------------------------------------------------------- SSE2

/// Bit i set when byte i of `v` is not plain ASCII.
inline unsigned notPlainMask16(__m128i v) {
    const __m128i esc = _mm_cmpeq_epi8(v, _mm_set1_epi8(0x1B));
    const __m128i shift = _mm_cmpeq_epi8(_mm_or_si128(v, _mm_set1_epi8(1)), _mm_set1_epi8(0x0F));
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(v, _mm_or_si128(esc, shift))));
}

/// Bit i set when byte i of `v` is not below `bound`.
inline unsigned notBelowMask16(__m128i v, __m128i boundLess1) {
    const __m128i below = _mm_cmpeq_epi8(_mm_min_epu8(v, boundLess1), v);
    return static_cast<unsigned>(_mm_movemask_epi8(below)) ^ 0xFFFFu;
}

template <class MaskOf>
std::size_t firstSet16(const unsigned char* p, std::size_t n, MaskOf maskOf) {
    std::size_t i = 0;
    for (; n - i >= 16; i += 16) {
        const unsigned mask = maskOf(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)));
        if (mask != 0) {
            return i + static_cast<std::size_t>(__builtin_ctz(mask));
        }
    }
    if (i == n) {
        return n;
    }
    // The last, partial step: the final 16 bytes, less those already seen.
    const std::size_t start = n - 16;
    unsigned mask = maskOf(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + start)));
    mask &= ~((1u << (i - start)) - 1u);
    return mask != 0 ? start + static_cast<std::size_t>(__builtin_ctz(mask)) : n;
}

std::size_t plainAsciiRunSse2(const unsigned char* p, std::size_t n) {
    if (n < 16) {
        return plainAsciiRunPlain(p, n);
    }
    return firstSet16(p, n, [](__m128i v) { return notPlainMask16(v); });
}

std::size_t runBelowSse2(const unsigned char* p, std::size_t n, unsigned char bound) {
    if (n < 16) {
        return runBelowPlain(p, n, bound);
    }
    const __m128i boundLess1 = _mm_set1_epi8(asChar(static_cast<unsigned char>(bound - 1)));
    return firstSet16(p, n, [boundLess1](__m128i v) { return notBelowMask16(v, boundLess1); });
}

std::size_t utf8CleanPrefixSse2(const unsigned char* p, std::size_t n) {
    // SSE2 has no byte shuffle for the lookup check: it proves plain ASCII
    // sixteen bytes at a time and leaves multi-byte text to the machine.
    return plainAsciiRunSse2(p, n);
}

/// Bit i set when byte i of `v` lies in [lo, lo + span].
inline unsigned inRangeMask16(__m128i v, __m128i lo, __m128i span) {
    const __m128i offset = _mm_sub_epi8(v, lo);
    return static_cast<unsigned>(
        _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(offset, span), offset)));
}

void rangeMasksSse2(const unsigned char* p, const ByteRanges& ranges, std::uint64_t* masks) {
    __m128i blocks[4];
    for (int b = 0; b < 4; ++b) {
        blocks[b] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * b));
    }
    for (int r = 0; r < ranges.count; ++r) {
        const __m128i lo = _mm_set1_epi8(asChar(ranges.lo[r]));
        const __m128i span =
            _mm_set1_epi8(asChar(static_cast<unsigned char>(ranges.hi[r] - ranges.lo[r])));
        std::uint64_t mask = 0;
        for (int b = 0; b < 4; ++b) {
            mask |= static_cast<std::uint64_t>(inRangeMask16(blocks[b], lo, span)) << (16 * b);
        }
        masks[r] = mask;
    }
}

/// Bit i set when the top bit of byte i of `v` is set.
inline std::uint64_t topBits16(__m128i v) {
    return static_cast<std::uint32_t>(_mm_movemask_epi8(v));
}

// The byte classes of utf8Classes64 from signed comparisons: as signed
// bytes, 80-BF lie below -64, 80-DF below -32 and F0-FF above -17, and the
// sign marks 80-FF.
void utf8ClassesSse2(const unsigned char* p, std::uint64_t* masks) {
    for (int r = 0; r < 5; ++r) {
        masks[r] = 0;
    }
    for (int b = 0; b < 4; ++b) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * b));
        const std::uint64_t nonAscii = topBits16(v);
        const std::uint64_t belowC0 = topBits16(_mm_cmpgt_epi8(_mm_set1_epi8(-64), v));
        const std::uint64_t belowE0 = topBits16(_mm_cmpgt_epi8(_mm_set1_epi8(-32), v));
        const std::uint64_t controls = topBits16(_mm_and_si128(
            _mm_cmpgt_epi8(v, _mm_set1_epi8(0x0D)), _mm_cmpgt_epi8(_mm_set1_epi8(0x1C), v)));
        const std::uint64_t unusual =
            topBits16(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(-32)),
                                   _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8(-17)), v)));
        const int shift = 16 * b;
        masks[0] |= belowC0 << shift;
        masks[1] |= (belowE0 & ~belowC0) << shift;
        masks[2] |= (nonAscii & ~belowE0) << shift;
        masks[3] |= controls << shift;
        masks[4] |= unusual << shift;
    }
}

// ---------------------------------------------------------------- AVX2

#define CHARSETKIT_AVX2 __attribute__((target("avx2")))

CHARSETKIT_AVX2 inline unsigned notPlainMask32(__m256i v) {
    const __m256i esc = _mm256_cmpeq_epi8(v, _mm256_set1_epi8(0x1B));
    const __m256i shift =
        _mm256_cmpeq_epi8(_mm256_or_si256(v, _mm256_set1_epi8(1)), _mm256_set1_epi8(0x0F));
    return static_cast<unsigned>(
        _mm256_movemask_epi8(_mm256_or_si256(v, _mm256_or_si256(esc, shift))));
}

CHARSETKIT_AVX2 inline unsigned notBelowMask32(__m256i v, __m256i boundLess1) {
    const __m256i below = _mm256_cmpeq_epi8(_mm256_min_epu8(v, boundLess1), v);
    return ~static_cast<unsigned>(_mm256_movemask_epi8(below));
}

CHARSETKIT_AVX2 inline __m256i load32(const unsigned char* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

template <class MaskOf>
CHARSETKIT_AVX2 std::size_t firstSet32(const unsigned char* p, std::size_t n, MaskOf maskOf) {
    std::size_t i = 0;
    // Four steps at a time while nothing is found; the step that finds
    // something is then looked at alone.
    for (; n - i >= 128; i += 128) {
        if ((maskOf(load32(p + i)) | maskOf(load32(p + i + 32)) | maskOf(load32(p + i + 64)) |
             maskOf(load32(p + i + 96))) != 0) {
            break;
        }
    }
    for (; n - i >= 32; i += 32) {
        const unsigned mask = maskOf(load32(p + i));
        if (mask != 0) {
            return i + static_cast<std::size_t>(__builtin_ctz(mask));
        }
    }
    if (i == n) {
        return n;
    }
    const std::size_t start = n - 32;
    const unsigned seen = static_cast<unsigned>(i - start);
    unsigned mask = maskOf(load32(p + start));
    mask &= ~((1u << seen) - 1u);
    return mask != 0 ? start + static_cast<std::size_t>(__builtin_ctz(mask)) : n;
}

CHARSETKIT_AVX2 std::size_t plainAsciiRunAvx2(const unsigned char* p, std::size_t n) {
    if (n < 32) {
        return plainAsciiRunSse2(p, n);
    }
    return firstSet32(p, n, [](__m256i v) CHARSETKIT_AVX2 { return notPlainMask32(v); });
}

CHARSETKIT_AVX2 std::size_t runBelowAvx2(const unsigned char* p, std::size_t n,
                                         unsigned char bound) {
    if (n < 32) {
        return runBelowSse2(p, n, bound);
    }
    const __m256i boundLess1 = _mm256_set1_epi8(asChar(static_cast<unsigned char>(bound - 1)));
    return firstSet32(
        p, n, [boundLess1](__m256i v) CHARSETKIT_AVX2 { return notBelowMask32(v, boundLess1); });
}

CHARSETKIT_AVX2 inline __m256i table32(const unsigned char (&t)[16]) {
    return _mm256_setr_epi8(asChar(t[0]), asChar(t[1]), asChar(t[2]), asChar(t[3]), asChar(t[4]),
                            asChar(t[5]), asChar(t[6]), asChar(t[7]), asChar(t[8]), asChar(t[9]),
                            asChar(t[10]), asChar(t[11]), asChar(t[12]), asChar(t[13]),
                            asChar(t[14]), asChar(t[15]), asChar(t[0]), asChar(t[1]), asChar(t[2]),
                            asChar(t[3]), asChar(t[4]), asChar(t[5]), asChar(t[6]), asChar(t[7]),
                            asChar(t[8]), asChar(t[9]), asChar(t[10]), asChar(t[11]), asChar(t[12]),
                            asChar(t[13]), asChar(t[14]), asChar(t[15]));
}

/// Non-zero when the 32 bytes at `at` break a rule, given the three bytes
/// before them (readable at at - 3).
CHARSETKIT_AVX2 inline bool utf8BlockFails(const unsigned char* at) {
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i input = load32(at);
    const __m256i prev1 = load32(at - 1);
    const __m256i prev2 = load32(at - 2);
    const __m256i prev3 = load32(at - 3);
    const __m256i firstHigh = _mm256_shuffle_epi8(
        table32(kFirstHigh), _mm256_and_si256(_mm256_srli_epi16(prev1, 4), nibble));
    const __m256i firstLow =
        _mm256_shuffle_epi8(table32(kFirstLow), _mm256_and_si256(prev1, nibble));
    const __m256i secondHigh = _mm256_shuffle_epi8(
        table32(kSecondHigh), _mm256_and_si256(_mm256_srli_epi16(input, 4), nibble));
    const __m256i faults = _mm256_and_si256(_mm256_and_si256(firstHigh, firstLow), secondHigh);
    // 0x80 set where the byte must be the third or fourth of a character.
    const __m256i third = _mm256_subs_epu8(prev2, _mm256_set1_epi8(0x60));
    const __m256i fourth = _mm256_subs_epu8(prev3, _mm256_set1_epi8(0x70));
    const __m256i mustContinue =
        _mm256_and_si256(_mm256_or_si256(third, fourth), _mm256_set1_epi8(asChar(0x80)));
    const __m256i esc = _mm256_cmpeq_epi8(input, _mm256_set1_epi8(0x1B));
    const __m256i shift =
        _mm256_cmpeq_epi8(_mm256_or_si256(input, _mm256_set1_epi8(1)), _mm256_set1_epi8(0x0F));
    const __m256i all =
        _mm256_or_si256(_mm256_xor_si256(faults, mustContinue), _mm256_or_si256(esc, shift));
    return _mm256_testz_si256(all, all) == 0;
}

/// True when the bytes before `end` leave a character unfinished.
inline bool endsInsideCharacter(const unsigned char* p, std::size_t end) {
    return p[end - 1] >= 0xC0 || p[end - 2] >= 0xE0 || p[end - 3] >= 0xF0;
}

/// True when the 128 bytes from `i` (i >= 3) are plain ASCII after a
/// complete character: mark-up is mostly long stretches of them.
CHARSETKIT_AVX2 inline bool fourPlainBlocks(const unsigned char* p, std::size_t i) {
    const __m256i b0 = load32(p + i);
    const __m256i b1 = load32(p + i + 32);
    const __m256i b2 = load32(p + i + 64);
    const __m256i b3 = load32(p + i + 96);
    const __m256i any = _mm256_or_si256(_mm256_or_si256(b0, b1), _mm256_or_si256(b2, b3));
    return _mm256_movemask_epi8(any) == 0 && !endsInsideCharacter(p, i) &&
           (notPlainMask32(b0) | notPlainMask32(b1) | notPlainMask32(b2) | notPlainMask32(b3)) == 0;
}

CHARSETKIT_AVX2 std::size_t utf8CleanPrefixAvx2(const unsigned char* p, std::size_t n) {
    if (n < 32) {
        return plainAsciiRunSse2(p, n);
    }
    // The first block is checked from a copy that has three plain bytes
    // before it, so that no load starts before the buffer.
    unsigned char first[35] = {};
    std::memcpy(first + 3, p, 32);
    if (utf8BlockFails(first + 3)) {
        return plainAsciiRunAvx2(p, n);
    }
    std::size_t i = 32;
    while (n - i >= 32) {
        if (n - i >= 128 && fourPlainBlocks(p, i)) {
            i += 128;
            continue;
        }
        const __m256i input = load32(p + i);
        if (_mm256_movemask_epi8(input) == 0) {
            // All below 0x80: right unless a character is cut off before it
            // or a control byte is among them.
            if (endsInsideCharacter(p, i) || notPlainMask32(input) != 0) {
                break;
            }
        } else if (utf8BlockFails(p + i)) {
            break;
        }
        i += 32;
    }
    return characterBoundary(p, i);
}

CHARSETKIT_AVX2 void rangeMasksAvx2(const unsigned char* p, const ByteRanges& ranges,
                                    std::uint64_t* masks) {
    const __m256i low = load32(p);
    const __m256i high = load32(p + 32);
    for (int r = 0; r < ranges.count; ++r) {
        const __m256i lo = _mm256_set1_epi8(asChar(ranges.lo[r]));
        const __m256i span =
            _mm256_set1_epi8(asChar(static_cast<unsigned char>(ranges.hi[r] - ranges.lo[r])));
        const __m256i offsetLow = _mm256_sub_epi8(low, lo);
        const __m256i offsetHigh = _mm256_sub_epi8(high, lo);
        const auto inLow = static_cast<std::uint32_t>(
            _mm256_movemask_epi8(_mm256_cmpeq_epi8(_mm256_min_epu8(offsetLow, span), offsetLow)));
        const auto inHigh = static_cast<std::uint32_t>(
            _mm256_movemask_epi8(_mm256_cmpeq_epi8(_mm256_min_epu8(offsetHigh, span), offsetHigh)));
        masks[r] = static_cast<std::uint64_t>(inHigh) << 32 | inLow;
    }
}

/// Bit i set when the top bit of byte i of low:high is set.
CHARSETKIT_AVX2 inline std::uint64_t signMask64(__m256i low, __m256i high) {
    return static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(high)))
               << 32 |
           static_cast<std::uint32_t>(_mm256_movemask_epi8(low));
}

/// 0xFF in each byte of `v` that is one of the controls 0E-1B.
CHARSETKIT_AVX2 inline __m256i controlsAvx2(__m256i v) {
    return _mm256_and_si256(_mm256_cmpgt_epi8(v, _mm256_set1_epi8(0x0D)),
                            _mm256_cmpgt_epi8(_mm256_set1_epi8(0x1C), v));
}

/// The top bit set in each byte of `v` that is E0 or F0-FF (above -17 as a
/// signed byte, and negative).
CHARSETKIT_AVX2 inline __m256i unusualLeadsAvx2(__m256i v) {
    return _mm256_or_si256(_mm256_cmpeq_epi8(v, _mm256_set1_epi8(-32)),
                           _mm256_and_si256(_mm256_cmpgt_epi8(v, _mm256_set1_epi8(-17)), v));
}

// As utf8ClassesSse2, 32 bytes at a time.
CHARSETKIT_AVX2 void utf8ClassesAvx2(const unsigned char* p, std::uint64_t* masks) {
    const __m256i low = load32(p);
    const __m256i high = load32(p + 32);
    const __m256i c0 = _mm256_set1_epi8(-64);
    const __m256i e0 = _mm256_set1_epi8(-32);
    const std::uint64_t nonAscii = signMask64(low, high);
    const std::uint64_t belowC0 =
        signMask64(_mm256_cmpgt_epi8(c0, low), _mm256_cmpgt_epi8(c0, high));
    const std::uint64_t belowE0 =
        signMask64(_mm256_cmpgt_epi8(e0, low), _mm256_cmpgt_epi8(e0, high));
    masks[0] = belowC0;
    masks[1] = belowE0 & ~belowC0;
    masks[2] = nonAscii & ~belowE0;
    masks[3] = signMask64(controlsAvx2(low), controlsAvx2(high));
    masks[4] = signMask64(unusualLeadsAvx2(low), unusualLeadsAvx2(high));
}

#undef CHARSETKIT_AVX2

#endif // CHARSETKIT_VECTOR_X86

#if defined(CHARSETKIT_VECTOR_NEON)

// ---------------------------------------------------------------- NEON

/// 0xFF in each byte of `v` that is not plain ASCII.
inline uint8x16_t notPlainNeon(uint8x16_t v) {
    const uint8x16_t high = vcgeq_u8(v, vdupq_n_u8(0x80));
    const uint8x16_t esc = vceqq_u8(v, vdupq_n_u8(0x1B));
    const uint8x16_t shift = vceqq_u8(vorrq_u8(v, vdupq_n_u8(1)), vdupq_n_u8(0x0F));
    return vorrq_u8(high, vorrq_u8(esc, shift));
}

/// The index of the first 0xFF byte of `flags` (16 when there is none).
inline std::size_t firstFlagged(uint8x16_t flags) {
    const uint8x8_t nibbles = vshrn_n_u16(vreinterpretq_u16_u8(flags), 4);
    const std::uint64_t bits = vget_lane_u64(vreinterpret_u64_u8(nibbles), 0);
    return bits == 0 ? 16 : static_cast<std::size_t>(__builtin_ctzll(bits)) / 4;
}

template <class FlagsOf>
std::size_t firstFlaggedNeon(const unsigned char* p, std::size_t n, FlagsOf flagsOf) {
    std::size_t i = 0;
    for (; n - i >= 16; i += 16) {
        const uint8x16_t flags = flagsOf(vld1q_u8(p + i));
        if (vmaxvq_u8(flags) != 0) {
            return i + firstFlagged(flags);
        }
    }
    if (i == n) {
        return n;
    }
    const std::size_t start = n - 16;
    const std::size_t seen = i - start;
    const uint8x16_t flags = flagsOf(vld1q_u8(p + start));
    unsigned char lanes[16];
    vst1q_u8(lanes, flags);
    for (std::size_t k = seen; k < 16; ++k) {
        if (lanes[k] != 0) {
            return start + k;
        }
    }
    return n;
}

std::size_t plainAsciiRunNeon(const unsigned char* p, std::size_t n) {
    if (n < 16) {
        return plainAsciiRunPlain(p, n);
    }
    return firstFlaggedNeon(p, n, [](uint8x16_t v) { return notPlainNeon(v); });
}

std::size_t runBelowNeon(const unsigned char* p, std::size_t n, unsigned char bound) {
    if (n < 16) {
        return runBelowPlain(p, n, bound);
    }
    const uint8x16_t limit = vdupq_n_u8(bound);
    return firstFlaggedNeon(p, n, [limit](uint8x16_t v) { return vcgeq_u8(v, limit); });
}

inline bool utf8BlockFailsNeon(const unsigned char* at) {
    const uint8x16_t nibble = vdupq_n_u8(0x0F);
    const uint8x16_t input = vld1q_u8(at);
    const uint8x16_t prev1 = vld1q_u8(at - 1);
    const uint8x16_t prev2 = vld1q_u8(at - 2);
    const uint8x16_t prev3 = vld1q_u8(at - 3);
    const uint8x16_t firstHigh = vqtbl1q_u8(vld1q_u8(kFirstHigh), vshrq_n_u8(prev1, 4));
    const uint8x16_t firstLow = vqtbl1q_u8(vld1q_u8(kFirstLow), vandq_u8(prev1, nibble));
    const uint8x16_t secondHigh = vqtbl1q_u8(vld1q_u8(kSecondHigh), vshrq_n_u8(input, 4));
    const uint8x16_t faults = vandq_u8(vandq_u8(firstHigh, firstLow), secondHigh);
    const uint8x16_t third = vqsubq_u8(prev2, vdupq_n_u8(0x60));
    const uint8x16_t fourth = vqsubq_u8(prev3, vdupq_n_u8(0x70));
    const uint8x16_t mustContinue = vandq_u8(vorrq_u8(third, fourth), vdupq_n_u8(0x80));
    const uint8x16_t esc = vceqq_u8(input, vdupq_n_u8(0x1B));
    const uint8x16_t shift = vceqq_u8(vorrq_u8(input, vdupq_n_u8(1)), vdupq_n_u8(0x0F));
    const uint8x16_t all = vorrq_u8(veorq_u8(faults, mustContinue), vorrq_u8(esc, shift));
    return vmaxvq_u8(all) != 0;
}

std::size_t utf8CleanPrefixNeon(const unsigned char* p, std::size_t n) {
    if (n < 16) {
        return plainAsciiRunPlain(p, n);
    }
    unsigned char first[19] = {};
    std::memcpy(first + 3, p, 16);
    if (utf8BlockFailsNeon(first + 3)) {
        return plainAsciiRunNeon(p, n);
    }
    std::size_t i = 16;
    for (; n - i >= 16; i += 16) {
        const uint8x16_t input = vld1q_u8(p + i);
        if (vmaxvq_u8(input) < 0x80) {
            if (p[i - 1] >= 0xC0 || p[i - 2] >= 0xE0 || p[i - 3] >= 0xF0 ||
                vmaxvq_u8(notPlainNeon(input)) != 0) {
                break;
            }
            continue;
        }
        if (utf8BlockFailsNeon(p + i)) {
            break;
        }
    }
    return characterBoundary(p, i);
}

/// Bit i set where byte i of `flags` is 0xFF (each byte 0 or 0xFF).
inline unsigned movemaskNeon(uint8x16_t flags) {
    static const unsigned char kWeights[16] = {1, 2, 4, 8, 16, 32, 64, 128,
                                               1, 2, 4, 8, 16, 32, 64, 128};
    const uint8x16_t weighted = vandq_u8(flags, vld1q_u8(kWeights));
    const uint8x8_t halves = vpadd_u8(vget_low_u8(weighted), vget_high_u8(weighted));
    const uint8x8_t quarters = vpadd_u8(halves, halves);
    const uint8x8_t bytes = vpadd_u8(quarters, quarters);
    return static_cast<unsigned>(vget_lane_u8(bytes, 0)) |
           static_cast<unsigned>(vget_lane_u8(bytes, 1)) << 8;
}

void rangeMasksNeon(const unsigned char* p, const ByteRanges& ranges, std::uint64_t* masks) {
    uint8x16_t blocks[4];
    for (int b = 0; b < 4; ++b) {
        blocks[b] = vld1q_u8(p + 16 * b);
    }
    for (int r = 0; r < ranges.count; ++r) {
        const uint8x16_t lo = vdupq_n_u8(ranges.lo[r]);
        const uint8x16_t span = vdupq_n_u8(static_cast<unsigned char>(ranges.hi[r] - ranges.lo[r]));
        std::uint64_t mask = 0;
        for (int b = 0; b < 4; ++b) {
            const uint8x16_t in = vcleq_u8(vsubq_u8(blocks[b], lo), span);
            mask |= static_cast<std::uint64_t>(movemaskNeon(in)) << (16 * b);
        }
        masks[r] = mask;
    }
}

#endif // CHARSETKIT_VECTOR_NEON

Level detectLevel() {
#if defined(CHARSETKIT_VECTOR_X86)
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? kAvx2 : kSse2;
#elif defined(CHARSETKIT_VECTOR_NEON)
    return kNeon;
#else
    return kPlain;
#endif
}

// 0 until the first call has looked at the processor.
std::atomic<int> g_level{0};

} // namespace

bool isAvailable(Level level) {
    switch (level) {
    case kPlain:
        return true;
#if defined(CHARSETKIT_VECTOR_X86)
    case kSse2:
        return true;
    case kAvx2:
        return bestLevel() == kAvx2;
#endif
#if defined(CHARSETKIT_VECTOR_NEON)
    case kNeon:
        return true;
#endif
    default:
        return false;
    }
}

Level bestLevel() {
    int level = g_level.load(std::memory_order_relaxed);
    if (level == 0) {
        level = detectLevel();
        g_level.store(level, std::memory_order_relaxed);
    }
    return static_cast<Level>(level);
}

std::size_t plainAsciiRunLength(Level level, const unsigned char* p, std::size_t n) {
    switch (level) {
#if defined(CHARSETKIT_VECTOR_X86)
    case kAvx2:
        return plainAsciiRunAvx2(p, n);
    case kSse2:
        return plainAsciiRunSse2(p, n);
#endif
#if defined(CHARSETKIT_VECTOR_NEON)
    case kNeon:
        return plainAsciiRunNeon(p, n);
#endif
    default:
        return plainAsciiRunPlain(p, n);
    }
}

std::size_t runBelow(Level level, const unsigned char* p, std::size_t n, unsigned char bound) {
    if (bound == 0) {
        return 0;
    }
    switch (level) {
#if defined(CHARSETKIT_VECTOR_X86)
    case kAvx2:
        return runBelowAvx2(p, n, bound);
    case kSse2:
        return runBelowSse2(p, n, bound);
#endif
#if defined(CHARSETKIT_VECTOR_NEON)
    case kNeon:
        return runBelowNeon(p, n, bound);
#endif
    default:
        return runBelowPlain(p, n, bound);
    }
}

std::size_t utf8CleanPrefix(Level level, const unsigned char* p, std::size_t n) {
    switch (level) {
#if defined(CHARSETKIT_VECTOR_X86)
    case kAvx2:
        return utf8CleanPrefixAvx2(p, n);
    case kSse2:
        return utf8CleanPrefixSse2(p, n);
#endif
#if defined(CHARSETKIT_VECTOR_NEON)
    case kNeon:
        return utf8CleanPrefixNeon(p, n);
#endif
    default:
        return utf8CleanPrefixPlain(p, n);
    }
}

void utf8Classes64(Level level, const unsigned char* p, std::uint64_t* masks) {
    switch (level) {
#if defined(CHARSETKIT_VECTOR_X86)
    case kAvx2:
        utf8ClassesAvx2(p, masks);
        return;
    case kSse2:
        utf8ClassesSse2(p, masks);
        return;
#endif
    default: {
        // The same ranges, through the range scan of the level.
        static constexpr ByteRanges kClasses = {
            {0x80, 0xC0, 0xE0, 0x0E}, {0xBF, 0xDF, 0xFF, 0x1B}, 4};
        static constexpr ByteRanges kUnusualLeads = {{0xE0, 0xF0, 0, 0}, {0xE0, 0xFF, 0, 0}, 2};
        rangeMasks64(level, p, kClasses, masks);
        std::uint64_t unusual[4] = {0, 0, 0, 0};
        rangeMasks64(level, p, kUnusualLeads, unusual);
        masks[4] = unusual[0] | unusual[1];
    }
    }
}

void rangeMasks64(Level level, const unsigned char* p, const ByteRanges& ranges,
                  std::uint64_t* masks) {
    switch (level) {
#if defined(CHARSETKIT_VECTOR_X86)
    case kAvx2:
        rangeMasksAvx2(p, ranges, masks);
        return;
    case kSse2:
        rangeMasksSse2(p, ranges, masks);
        return;
#endif
#if defined(CHARSETKIT_VECTOR_NEON)
    case kNeon:
        rangeMasksNeon(p, ranges, masks);
        return;
#endif
    default:
        rangeMasksPlain(p, ranges, masks);
    }
}

} // namespace vector
} // namespace detail
} // namespace charsetkit
