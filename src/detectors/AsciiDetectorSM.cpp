#include <charsetkit/detectors/AsciiDetectorSM.h>

namespace charsetkit {

void AsciiDetectorSM::processByte(unsigned char byte, bool /*verifyCharacters*/) {
    // ESC, SO and SI belong to ISO-2022 text; every other byte, 0x80-0xFF
    // included, is Western text.
    if (byte == 0x1B || byte == 0x0E || byte == 0x0F) {
        m_error = true;
    } else {
        m_confirmed = true;
    }
}

AbstractEncoding::EncodingID AsciiDetectorSM::getEncodingID() {
    return AbstractEncoding::Ascii;
}

} // namespace charsetkit
