// The states of JisDetectorSM, named after what the machine has read. The
// public m_state field holds these numbers; the machine and the code that
// drives it without virtual calls name them here.
#ifndef CHARSETKIT_SRC_DETECTORS_JISSTATES_H
#define CHARSETKIT_SRC_DETECTORS_JISSTATES_H

namespace charsetkit {
namespace detail {
namespace jis_states {

enum : int {
    AsciiDesignated = 0,   // ESC ( B
    SingleByte = 1,        // a character in ASCII or JIS-Roman mode (initial)
    RomanDesignated = 2,   // ESC ( J
    Unused = 3,            // never entered; read like SingleByte
    KanaDesignated = 4,    // ESC ( I
    Jis1978Designated = 5, // ESC $ @
    Jis1983Designated = 6, // ESC $ B
    Jis0212Designated = 7, // ESC $ ( D
    KanaChar = 8,          // a katakana byte read
    Jis1978Char = 9,       // a 1978 character completed
    Jis1983Char = 10,      // a 1983 character completed
    Jis0212Char = 11,      // a JIS X 0212 character completed
    Jis1978First = 12,     // first byte of a 1978 character read
    Jis1983First = 13,     // first byte of a 1983 character read
    Jis0212First = 14,     // first byte of a JIS X 0212 character read
    Esc = 15,              // ESC read
    EscDollar = 16,        // ESC $ read
    EscParen = 17,         // ESC ( read
    EscDollarParen = 18,   // ESC $ ( read
    BadEsc = 19,           // failed on the byte after ESC
    BadEscSecond = 20,     // failed on the byte after ESC $ or ESC (
    BadEscThird = 21       // failed on the byte after ESC $ (
};

/// Whether the machine, in `state`, reads a plain ASCII byte as a character
/// of single-byte text that moves it to SingleByte: ASCII and Roman mode
/// (SingleByte and the never-entered Unused included) and the failure states
/// after a bad escape, which read like SingleByte.
constexpr bool readsSingleByteText(int state) {
    return (state >= AsciiDesignated && state <= Unused) ||
           (state >= BadEsc && state <= BadEscThird);
}

} // namespace jis_states
} // namespace detail
} // namespace charsetkit

#endif
