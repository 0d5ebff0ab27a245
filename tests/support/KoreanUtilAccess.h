// Lets tests put another converter behind the KoreanUtil singleton, for
// instance one that is unavailable.
#ifndef CHARSETKIT_TESTS_SUPPORT_KOREANUTILACCESS_H
#define CHARSETKIT_TESTS_SUPPORT_KOREANUTILACCESS_H

#include <charsetkit/korean/KoreanUtil.h>

namespace charsetkit {

class KoreanConverter;

class KoreanUtilAccess {
public:
    /// Makes `converter` (null: none) serve the singleton's conversions and
    /// returns the converter it replaces. Not synchronised: call it only
    /// while no other thread uses KoreanUtil; `converter` must outlive its
    /// use.
    static const KoreanConverter* exchangeConverter(const KoreanConverter* converter) {
        KoreanUtil* const util = KoreanUtil::getInstance();
        const KoreanConverter* const previous = util->m_converter;
        util->m_converter = converter;
        return previous;
    }
};

} // namespace charsetkit

#endif
