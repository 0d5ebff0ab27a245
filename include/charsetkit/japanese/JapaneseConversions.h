#ifndef CHARSETKIT_JAPANESE_JAPANESECONVERSIONS_H
#define CHARSETKIT_JAPANESE_JAPANESECONVERSIONS_H

#include <charsetkit/encodings/AbstractEncoding.h>

#include <string>

namespace charsetkit {

/// The JIS code tables, the Japanese code arithmetic and validity checks, and
/// the conversion from UTF-8 into the Japanese encodings. Static functions and
/// constant data only; every function may be called from any thread.
///
/// Code values: a JIS X 0208 / JIS X 0212 code is row * 256 + cell in the
/// 7-bit form (0x21-0x7E each); a JIS X 0201 code is the katakana byte
/// 0xA1-0xDF; a JisExtra code is what sjisToJis computes for a code page 932
/// extension character (rows 0x2D, 0x79-0x7C, 0x93-0x97). 0 means "no
/// mapping" everywhere. Every lookup is a range check and one load.
class CHARSETKIT_EXPORT JapaneseConversions {
public:
    /// The JIS set a code belongs to.
    enum CharsetVersion : int {
        CharsetAscii = 0,
        CharsetJis0201 = 1,
        CharsetJis0208 = 2,
        CharsetJis0212 = 3
    };

    // Plain lookups; 0 when unmapped or out of range (negative codes included).
    static int jis0201ToUnicode(int code);
    static int unicodeToJis0201(int code);
    static int jis0212ToUnicode(int code);
    static int unicodeToJis0212(int code);
    /// JIS X 0208, falling back on the code page 932 extensions while
    /// JapaneseLocale::getSupportSjisExtensions() is true (read at each call).
    static int jis0208ToUnicode(int code);
    static int unicodeToJis0208(int code);

    /// As the plain lookups, but never 0: an unmapped code sets `unmapped`
    /// (never clears it) and gives U+30FB when `useReplacement` is true, or
    /// the code OR its set's tag (0xFA0000 JIS X 0201, 0xFB0000 JIS X 0208,
    /// 0xFC0000 JIS X 0212) otherwise.
    static int jis0201ToUnicodeFix(int code, bool useReplacement, bool& unmapped);
    static int jis0208ToUnicodeFix(int code, bool useReplacement, bool& unmapped);
    static int jis0212ToUnicodeFix(int code, bool useReplacement, bool& unmapped);

    /// The JIS code of a Shift_JIS pair (no validation; signed arithmetic).
    static int sjisToJis(int lead, int trail);
    /// The Shift_JIS pair of a JIS row and cell (8-bit arithmetic, wrapping).
    static void jisToSjis(unsigned char row, unsigned char cell, unsigned char& lead,
                          unsigned char& trail);
    /// True when the ISO-2022-JP pair names a character of JIS X 0212
    /// (`supplementary`) or JIS X 0208 (with the extensions while enabled).
    static bool verifyJis(unsigned char first, unsigned char second, bool supplementary);
    /// As verifyJis for an EUC-JP pair (both bytes with the high bit set).
    static bool verifyEuc(unsigned char first, unsigned char second, bool supplementary);
    /// True when the Shift_JIS pair names a JIS X 0208 or extension character.
    static bool verifySjis(unsigned char lead, unsigned char trail);
    /// The JIS code of one complete UTF-8 sequence of `length` bytes (1 to 6),
    /// looked up in JIS X 0208 (with extensions), JIS X 0212 and JIS X 0201
    /// katakana in that order; `set` receives the set found. 0 when unmapped
    /// (`set` untouched). A length outside 1..6 reads nothing and gives 0.
    static int utf8ToJis(const unsigned char* sequence, int length, CharsetVersion& set);
    /// True when utf8ToJis of the same sequence is not 0.
    static bool verifyUtf8(const unsigned char* sequence, int length);

    /// Converts UTF-8 into EUC-JP, Shift_JIS or ISO-2022-JP (`target` EucJp,
    /// Sjis or Jis), all or nothing: true with `result` replaced by the whole
    /// text, or false with `result` untouched (invalid UTF-8, ESC/SO/SI,
    /// characters beyond the BMP or without a code in the target, or an
    /// unsupported target). A sequence cut short at the end is dropped.
    static bool utf8ToJapanese(const char* buffer, unsigned int length,
                               AbstractEncoding::EncodingID target, std::string& result);

    // The eight code tables. Entry i of a ...ConversionTable holds the value
    // mapped from key ...BottomIndex + i, or 0. Constant data.
    static const int ms_Jis0201ToUnicodeBottomIndex;
    static const int ms_Jis0201ToUnicodeTopIndex;
    static const int ms_Jis0201ToUnicodeConversionTable[];
    static const int ms_UnicodeToJis0201BottomIndex;
    static const int ms_UnicodeToJis0201TopIndex;
    static const int ms_UnicodeToJis0201ConversionTable[];
    static const int ms_Jis0208ToUnicodeBottomIndex;
    static const int ms_Jis0208ToUnicodeTopIndex;
    static const int ms_Jis0208ToUnicodeConversionTable[];
    static const int ms_UnicodeToJis0208BottomIndex;
    static const int ms_UnicodeToJis0208TopIndex;
    static const int ms_UnicodeToJis0208ConversionTable[];
    static const int ms_Jis0212ToUnicodeBottomIndex;
    static const int ms_Jis0212ToUnicodeTopIndex;
    static const int ms_Jis0212ToUnicodeConversionTable[];
    static const int ms_UnicodeToJis0212BottomIndex;
    static const int ms_UnicodeToJis0212TopIndex;
    static const int ms_UnicodeToJis0212ConversionTable[];
    static const int ms_JisExtraToUnicodeBottomIndex;
    static const int ms_JisExtraToUnicodeTopIndex;
    static const int ms_JisExtraToUnicodeConversionTable[];
    static const int ms_UnicodeToJisExtraBottomIndex;
    static const int ms_UnicodeToJisExtraTopIndex;
    static const int ms_UnicodeToJisExtraConversionTable[];

protected:
    /// The lookup rule over one table: 0 outside [bottom, top], else the entry.
    static int convert(int code, const int* const table, int bottom, int top);
    /// The replacement rule of the ...Fix lookups.
    static int fixUnmapped(int code, bool useReplacement, int tag);
};

} // namespace charsetkit

#endif
