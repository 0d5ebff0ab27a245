#include <charsetkit/encodings/SjisEncoding.h>

namespace charsetkit {

// The charset labels of the encoding; the first is the preferred name.
const char* const SjisEncoding::ms_aliases[] = {
    "shift_jis",  "shift-jis", "csShiftJIS", "csWindows31J", "ms_Kanji",
    "x-ms-cp932", "x-sjis",    "sjis",       nullptr,
};

const char* SjisEncoding::getDisplayName() const {
    return "Japanese (Shift-JIS)";
}

const char* SjisEncoding::getPreferedID() const {
    return ms_aliases[0];
}

const char* SjisEncoding::getJavaName() const {
    return "SJIS";
}

bool SjisEncoding::isAliasOrName(const char* name) const {
    return generalCheckAliases(name, ms_aliases);
}

bool SjisEncoding::isStateful() const {
    return false;
}

} // namespace charsetkit
