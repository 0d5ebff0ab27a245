#ifndef CHARSETKIT_DETECTORS_UTF8DETECTORSM_H
#define CHARSETKIT_DETECTORS_UTF8DETECTORSM_H

#include <charsetkit/detectors/AbstractStatelessDetectorSM.h>

namespace charsetkit {

/// UTF-8 in its 31-bit form (sequences of one to six bytes). Fails on ESC,
/// SO and SI, on 0x80-0xC1, 0xFE and 0xFF where a character must start, on a
/// non-continuation byte inside a sequence and on the overlong forms E0 80-9F,
/// F0 80-8F, F8 80-87 and FC 80-83. Surrogates and values above U+10FFFF pass.
class CHARSETKIT_EXPORT Utf8DetectorSM : public AbstractStatelessDetectorSM {
public:
    Utf8DetectorSM() = default;

    void processByte(unsigned char byte, bool verifyCharacters) override;
    AbstractEncoding::EncodingID getEncodingID() override;
    /// Accepts or refuses one complete character; this machine accepts all.
    virtual bool verifyChar(const unsigned char* bytes, int length);

    /// Byte length of the character being read; 0 between characters.
    int m_expectedLength = 0;
    /// Bytes of that character read so far, lead byte included.
    int m_receivedLength = 0;
    /// Length of the character the last byte completed or broke (0 after an
    /// invalid lead byte).
    int m_lastCharLength = 0;
    /// The lead byte was E0, F0, F8 or FC: the second byte decides whether
    /// the form is overlong.
    bool m_checkOverlong = false;
    /// The bytes of the character being read, lead byte first.
    unsigned char m_charBytes[6] = {0, 0, 0, 0, 0, 0};
};

} // namespace charsetkit

#endif
