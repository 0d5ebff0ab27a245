// The UTF-8 form of every JIS X 0208 character, generated into JisTables.cpp
// by scripts/gen_jis_tables.py for the whole-buffer decoders.
#ifndef CHARSETKIT_SRC_JAPANESE_JISUTF8TABLE_H
#define CHARSETKIT_SRC_JAPANESE_JISUTF8TABLE_H

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

} // namespace detail
} // namespace charsetkit

#endif
