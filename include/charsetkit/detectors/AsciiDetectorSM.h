#ifndef CHARSETKIT_DETECTORS_ASCIIDETECTORSM_H
#define CHARSETKIT_DETECTORS_ASCIIDETECTORSM_H

#include <charsetkit/detectors/AbstractStatelessDetectorSM.h>

namespace charsetkit {

/// Western text: fails on ESC (0x1B), SO (0x0E) and SI (0x0F) and confirms
/// every other byte, 0x80-0xFF included. Never inside a character.
class CHARSETKIT_EXPORT AsciiDetectorSM final : public AbstractStatelessDetectorSM {
public:
    AsciiDetectorSM() = default;
    void processByte(unsigned char byte, bool verifyCharacters) override;
    AbstractEncoding::EncodingID getEncodingID() override;
};

} // namespace charsetkit

#endif
