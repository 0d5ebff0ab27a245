#include <charsetkit/encodings/AbstractEncoding.h>

#include <charsetkit/utilities/StringUtils.h>

namespace charsetkit {

AbstractEncoding::~AbstractEncoding() = default;

bool AbstractEncoding::isKindOfUtf8() const {
    return false;
}

bool AbstractEncoding::isAscii() const {
    return false;
}

bool AbstractEncoding::generalCheckAliases(const char* name, const char* const* aliases) {
    if (aliases == nullptr || name == nullptr) {
        return false;
    }
    for (; *aliases != nullptr; ++aliases) {
        if (StringUtils::compareCaseNotInline(*aliases, name) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace charsetkit
