// The output side of the conversion from UTF-8 into EUC-JP, Shift_JIS or
// ISO-2022-JP. One buffer lives on the stack for one conversion: it collects
// the encoded bytes and, for ISO-2022-JP, tracks the designated set and writes
// the escape sequences that switch between sets.
#ifndef CHARSETKIT_SRC_JAPANESE_JAPANESEOUTPUTBUFFER_H
#define CHARSETKIT_SRC_JAPANESE_JAPANESEOUTPUTBUFFER_H

#include <charsetkit/encodings/AbstractEncoding.h>
#include <charsetkit/japanese/JapaneseConversions.h>

#include "utilities/ByteSink.h"
#include "utilities/Utf8BlockShape.h"

#include <cstddef>
#include <string>

namespace charsetkit {

class JapaneseOutputBuffer {
public:
    using CharsetVersion = JapaneseConversions::CharsetVersion;

    /// An ISO-2022-JP designation sequence.
    struct EscapeSequence {
        unsigned char length;
        char bytes[4];
    };
    /// The designation of each set, indexed by CharsetVersion: ESC ( B,
    /// ESC ( I, ESC $ B and ESC $ ( D.
    static constexpr EscapeSequence ms_escapeSequences[4] = {
        {3, {'\x1B', '(', 'B', '\0'}},
        {3, {'\x1B', '(', 'I', '\0'}},
        {3, {'\x1B', '$', 'B', '\0'}},
        {4, {'\x1B', '$', '(', 'D'}},
    };

    /// True for the targets this buffer can write: EucJp, Sjis and Jis.
    static bool isSupportedTarget(AbstractEncoding::EncodingID target) {
        return target == AbstractEncoding::EucJp || target == AbstractEncoding::Sjis ||
               target == AbstractEncoding::Jis;
    }

    /// A buffer for `target` (one of the supported targets) with room
    /// reserved for `expectedLength` bytes. It starts in ASCII. appendDirect
    /// reads its input as `scan` says (the result is the same either way).
    JapaneseOutputBuffer(AbstractEncoding::EncodingID target, std::size_t expectedLength,
                         detail::BlockScan scan = detail::BlockScan::best());

    /// Writes one ASCII byte. In ISO-2022-JP a designated JIS set is left
    /// first with ESC ( B, so control bytes and line ends are always ASCII.
    void appendByte(unsigned char byte) {
        if (m_current != JapaneseConversions::CharsetAscii) {
            leaveToAscii();
        }
        m_sink.putByte(byte);
    }

    /// Writes, from index `i` on, the characters whose code no switch
    /// changes (plain ASCII and well-formed two- and three-byte UTF-8 with a
    /// code in the direct table that the target can write), as appendByte
    /// and appendJis would, and returns the index of the first byte it
    /// leaves to the caller. Cuts nothing short: it stops before any
    /// character it cannot take whole.
    std::size_t appendDirect(const unsigned char* bytes, std::size_t i, std::size_t length);

    /// Writes one character of `set`: a JIS X 0201 katakana (row 0, cell
    /// 0xA1-0xDF) or a JIS X 0208 / JIS X 0212 character (row and cell
    /// 0x21-0x7E; JIS X 0208 includes the extension rows 0x2D and 0x79-0x7C).
    /// ISO-2022-JP gets a designation first when `set` differs from the
    /// current one. Returns false and writes nothing when the target has no
    /// form for the character: JIS X 0212 in Shift_JIS, or a row or cell
    /// outside the ranges above.
    bool appendJis(unsigned char row, unsigned char cell, CharsetVersion set);

    /// Writes the designation sequence of `set`; the current set is left
    /// to the caller.
    void appendEscape(CharsetVersion set);

    /// Ends the text (ISO-2022-JP returns to ASCII) and hands over the bytes.
    /// The buffer is empty afterwards.
    std::string finish();

    CharsetVersion current() const { return m_current; }

private:
    void leaveToAscii();
    template <AbstractEncoding::EncodingID Target>
    std::size_t appendDirectTo(const unsigned char* bytes, std::size_t i, std::size_t length);
    template <AbstractEncoding::EncodingID Target>
    std::size_t appendBlocksTo(const unsigned char* bytes, std::size_t i, std::size_t length,
                               std::size_t& stop);
    template <AbstractEncoding::EncodingID Target>
    std::size_t appendCharactersTo(const unsigned char* bytes, std::size_t i, std::size_t length,
                                   std::size_t stop);

    AbstractEncoding::EncodingID m_target;
    detail::BlockScan m_scan;
    CharsetVersion m_current = JapaneseConversions::CharsetAscii;
    std::string m_output;
    detail::ByteSink m_sink;
};

namespace detail {

/// JapaneseConversions::utf8ToJapanese with its direct writing reading the
/// input as `scan` says.
bool utf8ToJapanese(const char* buffer, unsigned int length, AbstractEncoding::EncodingID target,
                    std::string& result, BlockScan scan);

} // namespace detail

} // namespace charsetkit

#endif
