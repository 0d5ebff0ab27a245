// The code page 949 tables (generated into Cp949Tables.cpp by
// scripts/gen_korean_tables.py from data/korean/cp949.txt).
#ifndef CHARSETKIT_SRC_KOREAN_CP949TABLES_H
#define CHARSETKIT_SRC_KOREAN_CP949TABLES_H

#include <cstdint>

namespace charsetkit {
namespace cp949 {

/// Lead bytes run from kLeadFirst to 0xFE, trail bytes from kTrailFirst to
/// 0xFE; kColumns trail values per lead.
constexpr unsigned kLeadFirst = 0x81;
constexpr unsigned kTrailFirst = 0x41;
constexpr unsigned kColumns = 0xFE - kTrailFirst + 1;
constexpr unsigned kRows = 0xFE - kLeadFirst + 1;

/// The Unicode code point of lead/trail at
/// [(lead - kLeadFirst) * kColumns + trail - kTrailFirst]; 0 where the pair
/// is no character. Every mapped code point is at least 0x80 and in the
/// Basic Multilingual Plane.
extern const std::uint16_t kCp949ToUnicode[kRows * kColumns];

/// Encoding in two levels: code point c has the code
/// kUnicodeToCp949Blocks[kUnicodeToCp949Index[c >> kBlockBits] * kBlockSize
/// + (c & (kBlockSize - 1))] (lead * 256 + trail), 0 when c has none. Only
/// code points from 0x80 to 0xFFFF are covered.
constexpr unsigned kBlockBits = 6;
constexpr unsigned kBlockSize = 1u << kBlockBits;
extern const std::uint16_t kUnicodeToCp949Index[0x10000 >> kBlockBits];
extern const std::uint16_t kUnicodeToCp949Blocks[];

} // namespace cp949
} // namespace charsetkit

#endif
