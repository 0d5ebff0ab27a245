#ifndef CHARSETKIT_DETECTORS_JISDETECTORSM_H
#define CHARSETKIT_DETECTORS_JISDETECTORSM_H

#include <charsetkit/detectors/AbstractStatefulDetectorSM.h>

namespace charsetkit {

/// ISO-2022-JP with JIS X 0212. States (m_state):
///  0 ASCII just designated (ESC ( B)        11 a JIS X 0212 character completed
///  1 single-byte text (initial)             12 first byte of a 1978 character
///  2 JIS-Roman just designated (ESC ( J)    13 first byte of a 1983 character
///  3 never entered; read like 1             14 first byte of a JIS X 0212 character
///  4 katakana just designated (ESC ( I)     15 ESC read
///  5 JIS X 0208-1978 designated (ESC $ @)   16 ESC $ read
///  6 JIS X 0208-1983 designated (ESC $ B)   17 ESC ( read
///  7 JIS X 0212 designated (ESC $ ( D)      18 ESC $ ( read
///  8 a katakana byte read                   19 failed on the byte after ESC
///  9 a 1978 character completed             20 failed after ESC $ or ESC (
/// 10 a 1983 character completed             21 failed after ESC $ (
/// The text may end only in states 0 to 3.
class CHARSETKIT_EXPORT JisDetectorSM final : public AbstractStatefulDetectorSM {
public:
    JisDetectorSM() = default;
    void processByte(unsigned char byte, bool verifyCharacters) override;
    bool convertToUtf8(const char* buffer, unsigned int length, std::string& result, bool& unmapped,
                       bool useReplacement) override;
    bool isValidEndState() override;
    AbstractEncoding::EncodingID getEncodingID() override;

    /// Records a completed designation escape and moves to `state`.
    void designate(int state);
    /// Sets m_error, moves to `state` and clears m_inChar.
    void fail(int state);
    /// True for a byte allowed in a double-byte character: 0x21-0x7E, and
    /// 0x93-0x97 while the extended range is enabled.
    bool isValidJisByte(unsigned char byte) const;

    int m_state = 1;
    /// The state number of the last completed designation (the set in force).
    int m_designation = 1;
    unsigned char m_firstByte = 0;
};

} // namespace charsetkit

#endif
