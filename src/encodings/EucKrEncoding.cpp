#include <charsetkit/encodings/EucKrEncoding.h>

namespace charsetkit {

// The charset labels of the encoding; the first is the preferred name.
const char* const EucKrEncoding::ms_aliases[] = {
    "euc-kr",         "euc_kr",       "euckr",    "Extended_UNIX_Code_Packed_Format_for_Korean",
    "csEUCKR",        "x-EUC-KR",     "x-euc",    "ksc5601",
    "5601",           "ksc5601_1987", "ksc_5601", "ksc5601-1987",
    "ks_c_5601-1987", nullptr,
};

const char* EucKrEncoding::getDisplayName() const {
    return "Korean (EUC)";
}

const char* EucKrEncoding::getPreferedID() const {
    return ms_aliases[0];
}

const char* EucKrEncoding::getJavaName() const {
    return "EUC_KR";
}

bool EucKrEncoding::isAliasOrName(const char* name) const {
    return generalCheckAliases(name, ms_aliases);
}

bool EucKrEncoding::isStateful() const {
    return false;
}

} // namespace charsetkit
