// Whether a JIS code is mapped, answered from bitmaps generated into
// JisTables.cpp by scripts/gen_jis_tables.py: the inline per-character checks
// of the whole-buffer verification and detection drivers. Each answer equals
// the one JapaneseConversions::verifyJis, verifyEuc and verifySjis give.
#ifndef CHARSETKIT_SRC_JAPANESE_JISVALIDITY_H
#define CHARSETKIT_SRC_JAPANESE_JISVALIDITY_H

#include <cstdint>

#include "utilities/Settings.h"

namespace charsetkit {
namespace detail {

constexpr unsigned kJisMappedFirstRow = 0x21;
constexpr unsigned kJisMappedRows = 0x97 - 0x21 + 1;
constexpr unsigned kJisMappedRowBytes = 12;

/// One bit per code of rows 0x21-0x97, cells 0x21-0x7E: row r takes
/// kJisMappedRowBytes bytes from (r - 0x21) * kJisMappedRowBytes, cell c is
/// bit (c - 0x21) % 8 of byte (c - 0x21) / 8 of the row. kJisMapped0208Extra
/// is JIS X 0208 with the code page 932 extensions.
extern const std::uint8_t kJisMapped0208[kJisMappedRows * kJisMappedRowBytes];
extern const std::uint8_t kJisMapped0208Extra[kJisMappedRows * kJisMappedRowBytes];
extern const std::uint8_t kJisMapped0212[kJisMappedRows * kJisMappedRowBytes];

/// Whether `bitmap` maps row/cell; any value outside the rows and cells of
/// the bitmaps is unmapped (unsigned wrap-around sends values below 0x21
/// there too).
inline bool jisMapped(const std::uint8_t* bitmap, unsigned row, unsigned cell) {
    const unsigned r = row - kJisMappedFirstRow;
    const unsigned c = cell - 0x21u;
    if (r >= kJisMappedRows || c >= 94u) {
        return false;
    }
    return ((bitmap[r * kJisMappedRowBytes + (c >> 3)] >> (c & 7u)) & 1u) != 0;
}

/// The JIS X 0208 bitmap in force now: with the extensions while the code
/// page 932 switch is on, read at every call.
inline const std::uint8_t* jis0208Bitmap() {
    return settings::supportSjisExtensions() ? kJisMapped0208Extra : kJisMapped0208;
}

/// As JapaneseConversions::verifyJis.
inline bool jisPairMapped(unsigned char first, unsigned char second, bool supplementary) {
    return jisMapped(supplementary ? kJisMapped0212 : jis0208Bitmap(), first, second);
}

/// As JapaneseConversions::verifyEuc: the bytes less 0x80 are the row and
/// cell (a byte below 0x80 on either side leaves no mapped code).
inline bool eucPairMapped(unsigned char first, unsigned char second, bool supplementary) {
    return jisMapped(supplementary ? kJisMapped0212 : jis0208Bitmap(),
                     static_cast<unsigned>(first) - 0x80u, static_cast<unsigned>(second) - 0x80u);
}

/// As JapaneseConversions::verifySjis: lead 0x81-0x9F and 0xE0-0xFC, trail
/// 0x40-0xFC but 0x7F, then the row and cell the pair names.
inline bool sjisPairMapped(unsigned char lead, unsigned char trail) {
    const bool validLead = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
    const bool validTrail = trail >= 0x40 && trail <= 0xFC && trail != 0x7F;
    if (!validLead || !validTrail) {
        return false;
    }
    const unsigned l = lead;
    const unsigned t = trail;
    const unsigned pairRow = (l - (l >= 0xA0u ? 0xB0u : 0x70u)) * 2u;
    unsigned row;
    unsigned cell;
    if (t < 0x9Fu) {
        row = pairRow - 1u;
        cell = t <= 0x7Fu ? t - 0x1Fu : t - 0x20u;
    } else {
        row = pairRow;
        cell = t - 0x7Eu;
    }
    return jisMapped(jis0208Bitmap(), row, cell);
}

} // namespace detail
} // namespace charsetkit

#endif
