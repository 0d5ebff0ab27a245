#ifndef CHARSETKIT_ENCODINGS_STREAMINGDECODER_H
#define CHARSETKIT_ENCODINGS_STREAMINGDECODER_H

#include <charsetkit/encodings/AbstractEncoding.h>

#include <cstdint>
#include <string>

namespace charsetkit {

/// Conversion of one encoding's text to UTF-8, fed in pieces.
///
/// feed() appends the UTF-8 of each piece to `output` as far as the piece
/// completes characters, and holds back only the bytes of a character or
/// escape sequence that the piece leaves open (at most three bytes) until
/// the next piece. Whatever the cutting, the bytes appended over all pieces
/// are exactly what the encoding's convertToUtf8 gives for the whole input
/// at once:
///  - Western and UTF-8 are copied unchanged.
///  - EUC-JP, Shift_JIS and ISO-2022-JP: the character set designated by an
///    ISO-2022-JP escape stays in force across pieces; from the first byte
///    that does not fit the encoding on, the rest of the stream, later
///    pieces included, reads as ISO-8859-1 (the bytes of the character it
///    interrupted included); unmapped characters become U+30FB or the tagged
///    code as `useReplacement` asks, and set unmapped(). A character still
///    open when the last piece ends is dropped.
///  - EUC-KR converts all or nothing, like its convertToUtf8. The stream
///    fails when it meets a character that does not convert (a lead byte
///    without its trail at the end included): that feed returns false and
///    appends nothing of its piece, failureOffset() gives the absolute offset
///    of that character in the stream, and every later feed is refused. What
///    earlier pieces appended stays in `output`; a caller that needs the
///    all-or-nothing result discards it.
///
/// Between pieces the decoder holds the open bytes and a few flags; its
/// memory does not grow with the input. `output` is only appended to. An
/// identifier outside 1..6 fails at offset 0 on the first feed. One thread
/// at a time; the Japanese switches are read as each piece is converted.
class CHARSETKIT_EXPORT StreamingDecoder {
public:
    explicit StreamingDecoder(AbstractEncoding::EncodingID encoding, bool useReplacement = false);

    /// Converts the next piece, appending to `output`; `last` marks the final
    /// piece (it may be empty). Returns false when the stream fails here or
    /// has failed before, after the last piece, and for a null `piece` with
    /// a non-zero length (which is refused without changing anything).
    bool feed(const char* piece, unsigned int length, bool last, std::string& output);

    /// Starts a new stream in the same encoding.
    void reset();

    AbstractEncoding::EncodingID encoding() const { return m_encoding; }
    bool failed() const { return m_failed; }
    /// Where the character that failed the stream starts; 0 while not failed.
    std::uint64_t failureOffset() const { return m_failureOffset; }
    /// A character without a Unicode mapping was met (Japanese encodings).
    bool unmapped() const { return m_unmapped; }
    bool isFinished() const { return m_finished; }
    /// The bytes accepted by feed so far.
    std::uint64_t bytesFed() const { return m_bytesFed; }
    /// The bytes held back for the next piece (0 to 3).
    unsigned int heldBytes() const { return m_heldCount; }

private:
    bool feedJapanese(const unsigned char* bytes, unsigned int length, std::string& output);
    int convertJapanese(const unsigned char* bytes, unsigned int length, std::string& output);
    bool feedKorean(const unsigned char* bytes, unsigned int length, bool last,
                    std::string& output);
    bool convertKorean(const unsigned char* bytes, unsigned int length, std::uint64_t offset,
                       std::string& converted);
    void hold(const unsigned char* bytes, unsigned int count);
    void fail(std::uint64_t offset);

    AbstractEncoding::EncodingID m_encoding;
    bool m_useReplacement;
    unsigned char m_held[4] = {0, 0, 0, 0};
    unsigned int m_heldCount = 0;
    /// ISO-2022-JP: the designation in force where the held bytes start.
    int m_designation = 1;
    /// A byte did not fit the Japanese encoding: the rest is ISO-8859-1.
    bool m_latin1 = false;
    bool m_failed = false;
    std::uint64_t m_failureOffset = 0;
    bool m_unmapped = false;
    bool m_finished = false;
    std::uint64_t m_bytesFed = 0;
};

} // namespace charsetkit

#endif
