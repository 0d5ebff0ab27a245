#include <charsetkit/encodings/JisEncoding.h>

namespace charsetkit {

// The charset labels of the encoding; the first is the preferred name.
const char* const JisEncoding::ms_aliases[] = {
    "iso-2022-jp",
    "csISO2022JP",
    nullptr,
};

const char* JisEncoding::getDisplayName() const {
    return "Japanese (JIS)";
}

const char* JisEncoding::getPreferedID() const {
    return ms_aliases[0];
}

const char* JisEncoding::getJavaName() const {
    return "ISO2022JP";
}

bool JisEncoding::isAliasOrName(const char* name) const {
    return generalCheckAliases(name, ms_aliases);
}

bool JisEncoding::isStateful() const {
    return true;
}

} // namespace charsetkit
