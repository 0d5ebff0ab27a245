// The tables of the whole-buffer conversions, generated into JisTables.cpp by
// scripts/gen_jis_tables.py: the UTF-8 form of every JIS X 0208 character,
// and the code of every code point whose code no switch changes.
#ifndef CHARSETKIT_SRC_JAPANESE_JISDIRECTTABLES_H
#define CHARSETKIT_SRC_JAPANESE_JISDIRECTTABLES_H

#include <cstdint>

namespace charsetkit {
namespace detail {

/// Entry (row - 0x21) * 94 + (cell - 0x21) holds the UTF-8 bytes of the JIS
/// X 0208 character row/cell (byte k in bits 8k-8k+7) and their count (2 or
/// 3) in bits 24-31; 0 where the standard set maps nothing (the code page 932
/// extensions are not included).
extern const std::uint32_t kJis0208Utf8[94 * 94];

/// The entry for row/cell in 0x21-0x7E each.
inline std::uint32_t jis0208Utf8(unsigned row, unsigned cell) {
    return kJis0208Utf8[(row - 0x21) * 94 + (cell - 0x21)];
}

/// The code of code point c < 0x10000 in two levels: block c >> 6 of
/// kUnicodeToJisIndex names the block of 64 entries in kUnicodeToJisBlocks.
/// An entry is a JIS X 0208 code (0x2121-0x7E7E), 0x8000 | a JIS X 0212 code,
/// or a JIS X 0201 katakana byte (0xA1-0xDF); 0 when the code point has no
/// code or its code depends on the code page 932 extensions switch.
extern const std::uint16_t kUnicodeToJisIndex[1024];
extern const std::uint16_t kUnicodeToJisBlocks[];

constexpr unsigned kJis0212Flag = 0x8000;

inline unsigned unicodeToJisDirect(std::uint32_t c) {
    return kUnicodeToJisBlocks[kUnicodeToJisIndex[c >> 6] * 64u + (c & 63u)];
}

/// The Shift_JIS code (lead byte * 256 + trail byte) of each code point that
/// kUnicodeToJisBlocks gives a JIS X 0208 code, in blocks numbered as there;
/// 0 for every other code point.
extern const std::uint16_t kUnicodeToSjisBlocks[];

inline unsigned unicodeToSjisDirect(std::uint32_t c) {
    return kUnicodeToSjisBlocks[kUnicodeToJisIndex[c >> 6] * 64u + (c & 63u)];
}

} // namespace detail
} // namespace charsetkit

#endif
