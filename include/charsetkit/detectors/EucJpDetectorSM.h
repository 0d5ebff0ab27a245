#ifndef CHARSETKIT_DETECTORS_EUCJPDETECTORSM_H
#define CHARSETKIT_DETECTORS_EUCJPDETECTORSM_H

#include <charsetkit/detectors/AbstractStatelessDetectorSM.h>

namespace charsetkit {

/// EUC-JP. States (m_state): 0 after a one-byte character (initial), 1 after
/// the first byte of a JIS X 0208 pair, 2 after such a pair, 3 after 0x8E,
/// 4 after a half-width katakana, 5 after 0x8F, 6 after the first byte of a
/// JIS X 0212 pair, 7 after such a three-byte character.
/// convertToUtf8 appends the text as UTF-8 and always returns true; from the
/// first invalid byte on, the rest of the input is read as ISO-8859-1.
class CHARSETKIT_EXPORT EucJpDetectorSM final : public AbstractStatelessDetectorSM {
public:
    EucJpDetectorSM() = default;
    void processByte(unsigned char byte, bool verifyCharacters) override;
    bool convertToUtf8(const char* buffer, unsigned int length, std::string& result, bool& unmapped,
                       bool useReplacement) override;
    AbstractEncoding::EncodingID getEncodingID() override;

    int m_state = 0;
    unsigned char m_firstByte = 0;
};

} // namespace charsetkit

#endif
