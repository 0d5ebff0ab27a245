#include <charsetkit/encodings/EucJpEncoding.h>

namespace charsetkit {

// The charset labels of the encoding; the first is the preferred name.
const char* const EucJpEncoding::ms_aliases[] = {
    "euc-jp",
    "Extended_UNIX_Code_Packed_Format_for_Japanese",
    "csEUCPkdFmtJapanese",
    "x-euc-jp",
    "x-euc",
    nullptr,
};

const char* EucJpEncoding::getDisplayName() const {
    return "Japanese (EUC)";
}

const char* EucJpEncoding::getPreferedID() const {
    return ms_aliases[0];
}

const char* EucJpEncoding::getJavaName() const {
    return "EUC_JP";
}

bool EucJpEncoding::isAliasOrName(const char* name) const {
    return generalCheckAliases(name, ms_aliases);
}

bool EucJpEncoding::isStateful() const {
    return false;
}

} // namespace charsetkit
