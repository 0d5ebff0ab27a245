#ifndef CHARSETKIT_DETECTORS_SJISDETECTORSM_H
#define CHARSETKIT_DETECTORS_SJISDETECTORSM_H

#include <charsetkit/detectors/AbstractStatelessDetectorSM.h>

namespace charsetkit {

/// Shift_JIS. States (m_state): 0 after a one-byte character (initial),
/// 1 after a single-byte katakana, 2 after a lead byte, 3 failed on a lead
/// byte, 4 failed on a trail byte, 5 after a complete double-byte character.
/// convertToUtf8 appends the text as UTF-8 and always returns true; from the
/// first invalid byte on, the rest of the input is read as ISO-8859-1.
class CHARSETKIT_EXPORT SjisDetectorSM final : public AbstractStatelessDetectorSM {
public:
    SjisDetectorSM() = default;
    void processByte(unsigned char byte, bool verifyCharacters) override;
    bool convertToUtf8(const char* buffer, unsigned int length, std::string& result, bool& unmapped,
                       bool useReplacement) override;
    AbstractEncoding::EncodingID getEncodingID() override;

    int m_state = 0;
    unsigned char m_firstByte = 0;
};

} // namespace charsetkit

#endif
