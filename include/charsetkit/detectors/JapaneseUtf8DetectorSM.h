#ifndef CHARSETKIT_DETECTORS_JAPANESEUTF8DETECTORSM_H
#define CHARSETKIT_DETECTORS_JAPANESEUTF8DETECTORSM_H

#include <charsetkit/detectors/Utf8DetectorSM.h>

namespace charsetkit {

/// The restricted UTF-8 machine: as Utf8DetectorSM, but when processByte is
/// called with verifyCharacters true, a complete character passes only if it
/// has a code in JIS X 0208 (with the extension codes while they are
/// enabled), JIS X 0212 or the JIS X 0201 katakana.
class CHARSETKIT_EXPORT JapaneseUtf8DetectorSM final : public Utf8DetectorSM {
public:
    JapaneseUtf8DetectorSM() = default;
    bool verifyChar(const unsigned char* bytes, int length) override;
};

} // namespace charsetkit

#endif
