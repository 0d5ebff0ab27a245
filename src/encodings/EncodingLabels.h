// The charset labels of every encoding, in one table the encodings and the
// public label listing share. Each list is null-terminated and starts with
// the preferred charset name; lookups compare without regard to ASCII case.
#ifndef CHARSETKIT_SRC_ENCODINGS_ENCODINGLABELS_H
#define CHARSETKIT_SRC_ENCODINGS_ENCODINGLABELS_H

namespace charsetkit {
namespace detail {

inline constexpr const char* kWesternLabels[] = {
    "iso-8859-1",
    "us-ascii",
    "iso8859-1",
    "ascii",
    "iso_8859-1",
    "ANSI_X3.4-1968",
    "iso-ir-6",
    "ANSI_X3.4-1986",
    "ISO_646.irv:1991",
    "ISO646-US",
    "us",
    "IBM367",
    "cp367",
    "csASCII",
    "latin1",
    "iso_8859-1:1987",
    "iso-ir-100",
    "ibm819",
    "cp819",
    "Windows-1252",
    "x-ansi",
    nullptr,
};

inline constexpr const char* kUtf8Labels[] = {
    "utf-8", "utf8", "unicode-1-1-utf-8", "unicode-2-0-utf-8", "x-unicode-2-0-utf-8", nullptr,
};

inline constexpr const char* kEucJpLabels[] = {
    "euc-jp",
    "Extended_UNIX_Code_Packed_Format_for_Japanese",
    "csEUCPkdFmtJapanese",
    "x-euc-jp",
    "x-euc",
    nullptr,
};

inline constexpr const char* kSjisLabels[] = {
    "shift_jis",  "shift-jis", "csShiftJIS", "csWindows31J", "ms_Kanji",
    "x-ms-cp932", "x-sjis",    "sjis",       nullptr,
};

inline constexpr const char* kJisLabels[] = {"iso-2022-jp", "csISO2022JP", nullptr};

inline constexpr const char* kEucKrLabels[] = {
    "euc-kr",         "euc_kr",       "euckr",    "Extended_UNIX_Code_Packed_Format_for_Korean",
    "csEUCKR",        "x-EUC-KR",     "x-euc",    "ksc5601",
    "5601",           "ksc5601_1987", "ksc_5601", "ksc5601-1987",
    "ks_c_5601-1987", nullptr,
};

/// The label list of encoding identifier 1-6, or null for any other value.
constexpr const char* const* labelsForId(int id) {
    switch (id) {
    case 1:
        return kWesternLabels;
    case 2:
        return kUtf8Labels;
    case 3:
        return kEucJpLabels;
    case 4:
        return kSjisLabels;
    case 5:
        return kJisLabels;
    case 6:
        return kEucKrLabels;
    default:
        return nullptr;
    }
}

} // namespace detail
} // namespace charsetkit

#endif
