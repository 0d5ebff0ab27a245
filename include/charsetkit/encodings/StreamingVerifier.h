#ifndef CHARSETKIT_ENCODINGS_STREAMINGVERIFIER_H
#define CHARSETKIT_ENCODINGS_STREAMINGVERIFIER_H

#include <charsetkit/detectors/AsciiDetectorSM.h>
#include <charsetkit/detectors/EucJpDetectorSM.h>
#include <charsetkit/detectors/JisDetectorSM.h>
#include <charsetkit/detectors/SjisDetectorSM.h>
#include <charsetkit/detectors/Utf8DetectorSM.h>
#include <charsetkit/encodings/AbstractEncoding.h>

#include <cstdint>

namespace charsetkit {

/// Verification of one encoding's text, fed in pieces, that tells where it
/// breaks.
///
/// Whatever the cutting, the stream verifies (every feed returns true and
/// the last one has been fed) exactly when the encoding's verify() of the
/// whole input with the same flags is true. When it does not:
///  - failureOffset() is the absolute offset of the byte on which
///    verification breaks: the byte that the encoding's machine cannot take
///    (for ISO-2022-JP, the byte that sets the error, not the last place the
///    text could have ended; for EUC-KR, a byte that cannot begin a
///    character or the byte after a lead that cannot end it). That byte lies
///    in the piece whose feed first returned false.
///  - failureOffset() equals bytesFed() when the input fails by its end
///    alone: ISO-2022-JP text that does not end in ASCII or JIS-Roman, and
///    EUC-KR text that ends after a lead byte.
///
/// endsInsideCharacter() tells, once the last piece has been fed, whether
/// the input ends inside a multi-byte character (or an ISO-2022-JP escape
/// sequence). verify() accepts that for Western, UTF-8, Shift_JIS and
/// EUC-JP, which suits buffers that are pieces of a longer text; a caller
/// that holds a whole input refuses it.
///
/// The verifier holds the state of one machine; its memory does not grow
/// with the input and feed() allocates nothing. An identifier outside 1..6
/// fails at offset 0 on the first feed. One thread at a time; separate
/// verifiers are independent.
class CHARSETKIT_EXPORT StreamingVerifier {
public:
    /// `verifyCharacters`, `rejectRedundantEscapes` and `escapeRunLimit` mean
    /// what they mean to verify() (the defaults are those of
    /// EncodingSniffer::Options).
    explicit StreamingVerifier(AbstractEncoding::EncodingID encoding, bool verifyCharacters = false,
                               bool rejectRedundantEscapes = false, int escapeRunLimit = 3);
    /// Verifies the next piece; `last` marks the final piece (it may be
    /// empty). Returns false when verification breaks in this piece or has
    /// broken before, after the last piece, and for a null `piece` with a
    /// non-zero length (which is refused without changing anything).
    bool feed(const char* piece, unsigned int length, bool last);

    /// The whole-buffer answer: the offset of the byte on which verify() of
    /// the buffer with the same flags breaks, as failureOffset() gives it
    /// (`length` when the buffer fails by its end alone), or `length` when
    /// it verifies; `verifies` (when given) tells the two apart. A null
    /// `buffer` with a non-zero length and an identifier outside 1..6 give
    /// 0 and do not verify. Thread-safe.
    static unsigned int findFailure(AbstractEncoding::EncodingID encoding, const char* buffer,
                                    unsigned int length, bool verifyCharacters,
                                    bool rejectRedundantEscapes, int escapeRunLimit,
                                    bool* verifies = nullptr);

    /// Starts a new stream with the same encoding and flags.
    void reset();

    AbstractEncoding::EncodingID encoding() const { return m_encoding; }
    bool failed() const { return m_failed; }
    /// Where verification broke (see above); 0 while not failed.
    std::uint64_t failureOffset() const { return m_failureOffset; }
    /// After the last piece: the input ends inside a character.
    bool endsInsideCharacter() const { return m_finished && m_inChar; }
    bool isFinished() const { return m_finished; }
    /// The bytes accepted by feed so far.
    std::uint64_t bytesFed() const { return m_bytesFed; }

private:
    // Each returns the index of the byte that breaks verification, or
    // `length` when none does.
    unsigned int runMachines(const unsigned char* bytes, unsigned int length);
    unsigned int runKorean(const unsigned char* bytes, unsigned int length);
    bool inCharacter() const;
    void fail(std::uint64_t offset);

    AbstractEncoding::EncodingID m_encoding;
    bool m_verifyCharacters;
    bool m_rejectRedundantEscapes;
    int m_escapeRunLimit;
    // The machine of the encoding (the others stay unused).
    AsciiDetectorSM m_ascii;
    Utf8DetectorSM m_utf8;
    EucJpDetectorSM m_eucJp;
    SjisDetectorSM m_sjis;
    JisDetectorSM m_jis;
    bool m_inChar = false;
    bool m_failed = false;
    bool m_finished = false;
    std::uint64_t m_failureOffset = 0;
    std::uint64_t m_bytesFed = 0;
    /// EUC-KR: a lead byte waits for its trail.
    bool m_koreanLead = false;
};

} // namespace charsetkit

#endif
