// Lookups over the JIS code tables (the tables themselves are generated into
// JisTables.cpp), the Shift_JIS <-> JIS arithmetic, the per-character validity
// checks of the Japanese detectors and the lookup of one UTF-8 character in
// the JIS sets. The conversion from UTF-8 into the Japanese encodings lives in
// JapaneseTranscoder.cpp.
#include <charsetkit/japanese/JapaneseConversions.h>

#include "utilities/Settings.h"

#include <cstddef>
#include <cstdint>

namespace charsetkit {

namespace {

// Value of a character that has no Unicode mapping when the caller asked for
// a replacement: U+30FB KATAKANA MIDDLE DOT.
constexpr int kReplacementCharacter = 0x30FB;

// Tags ORed onto an unmapped code so that it reaches the UTF-8 output as a
// five-byte sequence that still names the code and its set.
constexpr int kTagJis0201 = 0xFA0000;
constexpr int kTagJis0208 = 0xFB0000;
constexpr int kTagJis0212 = 0xFC0000;

// Payload bits of the first byte of a UTF-8 sequence, by sequence length 1-6.
constexpr std::uint32_t kUtf8FirstByteMask[6] = {0x7F, 0x1F, 0x0F, 0x07, 0x03, 0x01};

// Every mapped Unicode value lies in the Basic Multilingual Plane.
constexpr std::uint32_t kLastTableCodePoint = 0xFFFF;

} // namespace

int JapaneseConversions::convert(int code, const int* const table, int bottom, int top) {
    if (code < bottom || code > top) {
        return 0;
    }
    // code - bottom lies in [0, top - bottom]: no overflow, a valid index.
    return table[static_cast<std::size_t>(code - bottom)];
}

int JapaneseConversions::fixUnmapped(int code, bool useReplacement, int tag) {
    if (useReplacement) {
        return kReplacementCharacter;
    }
    // Only the low 16 bits carry the code, so that a stray negative or
    // oversized argument cannot spill into the tag or the sign.
    return (code & 0xFFFF) | tag;
}

// --- Plain lookups -----------------------------------------------------------

int JapaneseConversions::jis0201ToUnicode(int code) {
    return convert(code, ms_Jis0201ToUnicodeConversionTable, ms_Jis0201ToUnicodeBottomIndex,
                   ms_Jis0201ToUnicodeTopIndex);
}

int JapaneseConversions::unicodeToJis0201(int code) {
    return convert(code, ms_UnicodeToJis0201ConversionTable, ms_UnicodeToJis0201BottomIndex,
                   ms_UnicodeToJis0201TopIndex);
}

int JapaneseConversions::jis0212ToUnicode(int code) {
    return convert(code, ms_Jis0212ToUnicodeConversionTable, ms_Jis0212ToUnicodeBottomIndex,
                   ms_Jis0212ToUnicodeTopIndex);
}

int JapaneseConversions::unicodeToJis0212(int code) {
    return convert(code, ms_UnicodeToJis0212ConversionTable, ms_UnicodeToJis0212BottomIndex,
                   ms_UnicodeToJis0212TopIndex);
}

// JIS X 0208 first; the code page 932 extensions only while the Shift_JIS
// extensions switch is on, read at every call so that a change applies to the
// next lookup.
int JapaneseConversions::jis0208ToUnicode(int code) {
    const int result = convert(code, ms_Jis0208ToUnicodeConversionTable,
                               ms_Jis0208ToUnicodeBottomIndex, ms_Jis0208ToUnicodeTopIndex);
    if (result != 0 || !settings::supportSjisExtensions()) {
        return result;
    }
    return convert(code, ms_JisExtraToUnicodeConversionTable, ms_JisExtraToUnicodeBottomIndex,
                   ms_JisExtraToUnicodeTopIndex);
}

// The JIS X 0208 code wins for the nine code points that also have an
// extension code, so they always encode to their standard code.
int JapaneseConversions::unicodeToJis0208(int code) {
    const int result = convert(code, ms_UnicodeToJis0208ConversionTable,
                               ms_UnicodeToJis0208BottomIndex, ms_UnicodeToJis0208TopIndex);
    if (result != 0 || !settings::supportSjisExtensions()) {
        return result;
    }
    return convert(code, ms_UnicodeToJisExtraConversionTable, ms_UnicodeToJisExtraBottomIndex,
                   ms_UnicodeToJisExtraTopIndex);
}

// --- Lookups that never give 0 -------------------------------------------------

int JapaneseConversions::jis0201ToUnicodeFix(int code, bool useReplacement, bool& unmapped) {
    const int result = jis0201ToUnicode(code);
    if (result != 0) {
        return result;
    }
    unmapped = true;
    return fixUnmapped(code, useReplacement, kTagJis0201);
}

int JapaneseConversions::jis0208ToUnicodeFix(int code, bool useReplacement, bool& unmapped) {
    const int result = jis0208ToUnicode(code);
    if (result != 0) {
        return result;
    }
    unmapped = true;
    return fixUnmapped(code, useReplacement, kTagJis0208);
}

int JapaneseConversions::jis0212ToUnicodeFix(int code, bool useReplacement, bool& unmapped) {
    const int result = jis0212ToUnicode(code);
    if (result != 0) {
        return result;
    }
    unmapped = true;
    return fixUnmapped(code, useReplacement, kTagJis0212);
}

// --- Shift_JIS arithmetic ----------------------------------------------------

// Lead bytes 0x81-0x9F give rows 0x21-0x5E, lead bytes 0xE0-0xFC rows
// 0x5F-0x98; each lead byte covers two rows, the trail byte tells which.
// The comparisons are signed; the arithmetic is done modulo 2^32 so that no
// argument can overflow, which for byte arguments is plain signed arithmetic.
int JapaneseConversions::sjisToJis(int lead, int trail) {
    const std::uint32_t offset = lead >= 0xA0 ? 0xB0u : 0x70u;
    const std::uint32_t s1 = static_cast<std::uint32_t>(lead);
    const std::uint32_t s2 = static_cast<std::uint32_t>(trail);
    std::uint32_t row;
    std::uint32_t cell;
    if (trail < 0x9F) {
        // First row of the pair: trail 0x40-0x7E and 0x80-0x9E (0x7F unused).
        row = (s1 - offset) * 2u - 1u;
        cell = trail <= 0x7F ? s2 - 0x1Fu : s2 - 0x20u;
    } else {
        // Second row of the pair: trail 0x9F-0xFC.
        row = (s1 - offset) * 2u;
        cell = s2 - 0x7Eu;
    }
    return static_cast<int>(row * 256u + cell);
}

// The exact inverse of sjisToJis for every row it produces from a valid pair,
// rows 0x93-0x97 of the IBM extensions included.
void JapaneseConversions::jisToSjis(unsigned char row, unsigned char cell, unsigned char& lead,
                                    unsigned char& trail) {
    const int j1 = row;
    const int j2 = cell;
    lead = static_cast<unsigned char>(((j1 + 1) >> 1) + (j1 < 0x5F ? 0x70 : 0xB0));
    if ((j1 & 1) != 0) {
        trail = static_cast<unsigned char>(j2 + (j2 <= 0x5F ? 0x1F : 0x20));
    } else {
        trail = static_cast<unsigned char>(j2 + 0x7E);
    }
}

// --- Per-character validity --------------------------------------------------

bool JapaneseConversions::verifyJis(unsigned char first, unsigned char second, bool supplementary) {
    const int code = first * 256 + second;
    return (supplementary ? jis0212ToUnicode(code) : jis0208ToUnicode(code)) != 0;
}

// A byte below 0xA1 in either place gives a code outside every table's rows.
bool JapaneseConversions::verifyEuc(unsigned char first, unsigned char second, bool supplementary) {
    const int code = first * 256 + second - 0x8080;
    return (supplementary ? jis0212ToUnicode(code) : jis0208ToUnicode(code)) != 0;
}

// A Shift_JIS pair can name only JIS X 0208 and extension characters; the
// user-defined lead bytes 0xF0-0xF9 give rows that no table maps. The byte
// ranges are checked first because the arithmetic alone would accept some
// pairs that are not Shift_JIS: trail 0x7F computes the same code as 0x80,
// and lead bytes 0xC1-0xDF (single-byte katakana) compute rows 0x21-0x5E.
bool JapaneseConversions::verifySjis(unsigned char lead, unsigned char trail) {
    const bool validLead = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
    const bool validTrail = trail >= 0x40 && trail <= 0xFC && trail != 0x7F;
    return validLead && validTrail && jis0208ToUnicode(sjisToJis(lead, trail)) != 0;
}

// --- UTF-8 to JIS ------------------------------------------------------------

// The caller has recognised a complete sequence of `length` bytes; the bytes
// themselves are not checked. Code points beyond the BMP have no JIS code.
int JapaneseConversions::utf8ToJis(const unsigned char* sequence, int length, CharsetVersion& set) {
    if (length < 1 || length > 6) {
        return 0;
    }
    std::uint32_t codePoint = sequence[0] & kUtf8FirstByteMask[length - 1];
    for (int i = 1; i < length; ++i) {
        codePoint = (codePoint << 6) | (sequence[i] & 0x3Fu);
    }
    if (codePoint > kLastTableCodePoint) {
        return 0;
    }
    const int unicode = static_cast<int>(codePoint);

    // With the extensions on, the 280 code points that have both an extension
    // code and a JIS X 0212 code come out as their extension code.
    int code = unicodeToJis0208(unicode);
    if (code != 0) {
        set = CharsetJis0208;
        return code;
    }
    code = unicodeToJis0212(unicode);
    if (code != 0) {
        set = CharsetJis0212;
        return code;
    }
    code = unicodeToJis0201(unicode);
    if (code != 0) {
        set = CharsetJis0201;
    }
    return code;
}

bool JapaneseConversions::verifyUtf8(const unsigned char* sequence, int length) {
    CharsetVersion ignored = CharsetAscii;
    return utf8ToJis(sequence, length, ignored) != 0;
}

} // namespace charsetkit
