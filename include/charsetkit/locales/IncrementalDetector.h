#ifndef CHARSETKIT_LOCALES_INCREMENTALDETECTOR_H
#define CHARSETKIT_LOCALES_INCREMENTALDETECTOR_H

#include <charsetkit/detectors/EucJpDetectorSM.h>
#include <charsetkit/detectors/JapaneseUtf8DetectorSM.h>
#include <charsetkit/detectors/JisDetectorSM.h>
#include <charsetkit/detectors/SjisDetectorSM.h>
#include <charsetkit/detectors/Utf8DetectorSM.h>
#include <charsetkit/encodings/AbstractEncoding.h>
#include <charsetkit/locales/AbstractLocale.h>

#include <cstdint>
#include <vector>

namespace charsetkit {

/// A locale's detection (AbstractLocale::detectAndVerifyEncoding) over a
/// buffer that arrives in pieces.
///
/// Fed every piece of a buffer in order, the last one with `last` set, it
/// gives in encodings() exactly what the locale's detectAndVerifyEncoding
/// gives for the whole buffer with the same four parameters: Ascii for plain
/// ASCII, the one encoding of an early decision, the encodings left at the
/// end, or nothing. It holds only its machines and a few flags between
/// pieces, never the bytes, so its memory does not grow with the input.
///
/// isDecided() turns true as soon as no further byte can change the answer:
/// at the early decision (one machine confirmed, none inside a character,
/// `scanToEnd` false), when every machine has failed, and for the Korean
/// locale only once the EUC-KR check has failed as well (that check reads
/// the whole buffer). A caller may stop feeding then; encodings() holds the
/// final answer. Before that, encodings() is empty and candidatesSoFar()
/// gives a provisional answer.
///
/// The locale's identifier, its restricted-UTF-8 choice and the process-wide
/// supported-encodings setting are read when the detector is built; the
/// Japanese switches are read at every byte, as the machines always do. A
/// locale identifier outside 1..3 detects nothing but plain ASCII. The
/// detector keeps pointers to its own machines, so it cannot be copied. One
/// thread at a time.
class CHARSETKIT_EXPORT IncrementalDetector {
public:
    IncrementalDetector(const AbstractLocale& locale, bool verifyCharacters,
                        bool rejectRedundantEscapes, int escapeRunLimit, bool scanToEnd);
    IncrementalDetector(const IncrementalDetector&) = delete;
    IncrementalDetector& operator=(const IncrementalDetector&) = delete;
    ~IncrementalDetector() = default;

    /// Reads the next piece; `last` marks the final one (it may be empty).
    /// Returns isDecided(). Pieces fed once the answer is decided are not
    /// read; after the last piece every call is refused and returns true. A
    /// null `piece` with a non-zero length is refused (nothing is read and
    /// `last` is not taken) and returns false unless the answer is decided.
    bool feed(const char* piece, unsigned int length, bool last);

    /// True once the answer cannot change: decided early, or the last piece
    /// was fed.
    bool isDecided() const { return m_decided; }
    /// True once the last piece was fed.
    bool isFinished() const { return m_finished; }
    /// The answer, in the order detectAndVerifyEncoding gives it; empty until
    /// isDecided(). The reference stays valid as long as the detector.
    const std::vector<AbstractEncoding::EncodingID>& encodings() const { return m_answer; }
    /// The encodings the bytes seen so far leave possible when more bytes
    /// follow: the answer once decided; otherwise Ascii while every byte was
    /// plain ASCII, else the surviving machines that are confirmed or stand
    /// inside a character (a character or escape sequence cut off by the end
    /// of the bytes seen so far, or ISO-2022-JP not yet back in ASCII, rules
    /// nothing out), followed by EucKr for the Korean locale unless the
    /// EUC-KR check failed (a lead byte at the end passes). Replaces the
    /// content of `out`.
    void candidatesSoFar(std::vector<AbstractEncoding::EncodingID>& out) const;
    /// Bytes fed so far, counting those fed after the answer was decided.
    std::uint64_t bytesFed() const { return m_bytesFed; }

private:
    void runMachines(const unsigned char* bytes, unsigned int length);
    void checkEucKr(const unsigned char* bytes, unsigned int length);
    void settleIfDecided();
    void finish();

    bool m_verifyCharacters;
    bool m_rejectRedundantEscapes;
    int m_escapeRunLimit;
    bool m_scanToEnd;

    JisDetectorSM m_jis;
    SjisDetectorSM m_sjis;
    EucJpDetectorSM m_eucJp;
    Utf8DetectorSM m_utf8;
    JapaneseUtf8DetectorSM m_restrictedUtf8;
    /// The machines still running, in order of preference.
    AbstractDetectorSM* m_machines[4] = {nullptr, nullptr, nullptr, nullptr};
    int m_machineCount = 0;

    /// The machines take part (all locales but Korean under LocalOnly or an
    /// unknown setting).
    bool m_useMachines = false;
    /// The machines have an answer of their own: an early decision, or
    /// every machine failed.
    bool m_machinesSettled = false;
    /// The early decision, when there was one.
    AbstractEncoding::EncodingID m_earlyDecision = static_cast<AbstractEncoding::EncodingID>(0);

    /// The Korean locale's whole-buffer EUC-KR check takes part.
    bool m_useEucKr = false;
    bool m_eucKrFailed = false;
    /// The last byte read by the EUC-KR check opened a two-byte character.
    bool m_eucKrLead = false;

    /// No byte so far was 0x80 or above, ESC, SO or SI.
    bool m_plainSoFar = true;
    bool m_decided = false;
    bool m_finished = false;
    std::uint64_t m_bytesFed = 0;
    std::vector<AbstractEncoding::EncodingID> m_answer;
};

} // namespace charsetkit

#endif
