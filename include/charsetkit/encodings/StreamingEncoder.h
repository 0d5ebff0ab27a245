#ifndef CHARSETKIT_ENCODINGS_STREAMINGENCODER_H
#define CHARSETKIT_ENCODINGS_STREAMINGENCODER_H

#include <charsetkit/encodings/AbstractEncoding.h>

#include <cstdint>
#include <string>

namespace charsetkit {

/// Conversion of UTF-8 text into one encoding, fed in pieces.
///
/// feed() appends the converted text of each piece to `output` as far as the
/// piece completes characters, and holds back only a UTF-8 sequence the
/// piece leaves open (at most five bytes) until the next piece. For any
/// cutting of an input that converts, the bytes appended over all pieces
/// are exactly what the encoding's convertFromUtf8 gives for the whole input
/// at once. For ISO-2022-JP that includes the shift state: a set designated
/// in one piece stays in force into the next without a new escape, and the
/// return to ASCII (ESC ( B) that ends the text is written when the last
/// piece is fed; until then the stream may end in a double-byte set. A
/// sequence still open at the end of the last piece is dropped, as the whole
/// conversion drops it (EUC-KR refuses it instead, as its conversion does).
///
/// Failures. The whole conversion is all or nothing: it fails on invalid
/// UTF-8, on ESC, SO and SI (Japanese targets), on a character the target
/// has no code for, and always for Western, which offers no conversion from
/// UTF-8. A stream cannot take back what it has appended, so it reports the
/// failure at the piece where it is found instead: that feed returns false
/// and appends nothing of its piece, failureOffset() gives the absolute
/// offset in the stream of the character that does not convert (0 for
/// Western, whose first feed fails), and every later feed is refused. What
/// earlier pieces appended stays in `output`: a caller that needs the
/// all-or-nothing result discards it (or buffers the output until the last
/// piece succeeds).
///
/// Between pieces the encoder holds the open sequence and the ISO-2022-JP
/// shift state; its memory does not grow with the input. `output` is only
/// appended to. An identifier outside 1..6 fails like Western. One thread at
/// a time; the Japanese switches are read as each piece is converted.
class CHARSETKIT_EXPORT StreamingEncoder {
public:
    explicit StreamingEncoder(AbstractEncoding::EncodingID encoding);

    /// Converts the next piece, appending to `output`; `last` marks the final
    /// piece (it may be empty). Returns false when the stream fails here or
    /// has failed before, after the last piece, and for a null `piece` with
    /// a non-zero length (which is refused without changing anything).
    bool feed(const char* piece, unsigned int length, bool last, std::string& output);

    /// Starts a new stream into the same encoding.
    void reset();

    AbstractEncoding::EncodingID encoding() const { return m_encoding; }
    bool failed() const { return m_failed; }
    /// Where the character that failed the stream starts; 0 while not failed.
    std::uint64_t failureOffset() const { return m_failureOffset; }
    bool isFinished() const { return m_finished; }
    /// The bytes accepted by feed so far.
    std::uint64_t bytesFed() const { return m_bytesFed; }
    /// The bytes held back for the next piece (0 to 5).
    unsigned int heldBytes() const { return m_heldCount; }

private:
    bool convertSegment(const unsigned char* bytes, unsigned int length, std::uint64_t offset,
                        std::string& converted);
    void appendJis(const std::string& text, std::string& converted);
    void fail(std::uint64_t offset);

    AbstractEncoding::EncodingID m_encoding;
    unsigned char m_held[6] = {0, 0, 0, 0, 0, 0};
    unsigned int m_heldCount = 0;
    /// ISO-2022-JP: the set the text written so far ends in, its closing
    /// return to ASCII not yet written (0 ASCII, 1 katakana, 2 JIS X 0208,
    /// 3 JIS X 0212).
    int m_jisSet = 0;
    bool m_failed = false;
    std::uint64_t m_failureOffset = 0;
    bool m_finished = false;
    std::uint64_t m_bytesFed = 0;
};

} // namespace charsetkit

#endif
