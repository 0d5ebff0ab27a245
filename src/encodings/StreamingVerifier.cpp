// Verification in pieces. Each encoding's machine reads the bytes as the
// encoding's verify() and getVerifiedLength() do, with the same shortcut over
// plain ASCII, which depends only on the bytes of the current piece: a run
// cut by a piece boundary is taken in two steps that leave the machine as
// one would.
#include <charsetkit/encodings/StreamingVerifier.h>

#include "detectors/JapaneseDrivers.h"
#include "encodings/VerifyRuns.h"
#include "utilities/AsciiRun.h"
#include "utilities/AsciiRunSkip.h"

#include <cstddef>
#include <type_traits>

namespace charsetkit {
namespace {

// ISO-2022-JP: the limits are checked after every byte; a skipped run in
// single-byte text counts its characters.
unsigned int runJis(JisDetectorSM& machine, const unsigned char* bytes, unsigned int length,
                    bool verifyCharacters, bool rejectRedundantEscapes, int escapeRunLimit) {
    for (unsigned int i = 0; i < length; ++i) {
        machine.JisDetectorSM::processByte(bytes[i], verifyCharacters);
        machine.AbstractStatefulDetectorSM::checkLimits(rejectRedundantEscapes, escapeRunLimit);
        if (machine.m_error) {
            return i;
        }
        if (machine.m_state == detail::jis_states::SingleByte) {
            const unsigned int skip = detail::plainAsciiRunToSkip(bytes, i + 1, length);
            detail::addJisCharacters(machine, skip);
            i += skip;
        }
    }
    return length;
}

// EUC-KR trail bytes in the code page 949 layout: 0x41-0x5A, 0x61-0x7A,
// 0x81-0xFE.
bool isEucKrTrail(unsigned char byte) {
    return (byte >= 0x41 && byte <= 0x5A) || (byte >= 0x61 && byte <= 0x7A) ||
           (byte >= 0x81 && byte <= 0xFE);
}

} // namespace

StreamingVerifier::StreamingVerifier(AbstractEncoding::EncodingID encoding, bool verifyCharacters,
                                     bool rejectRedundantEscapes, int escapeRunLimit)
    : m_encoding(encoding), m_verifyCharacters(verifyCharacters),
      m_rejectRedundantEscapes(rejectRedundantEscapes), m_escapeRunLimit(escapeRunLimit) {}

void StreamingVerifier::reset() {
    m_ascii = AsciiDetectorSM();
    m_utf8 = Utf8DetectorSM();
    m_eucJp = EucJpDetectorSM();
    m_sjis = SjisDetectorSM();
    m_jis = JisDetectorSM();
    m_inChar = false;
    m_failed = false;
    m_finished = false;
    m_failureOffset = 0;
    m_bytesFed = 0;
    m_koreanLead = false;
}

void StreamingVerifier::fail(std::uint64_t offset) {
    m_failed = true;
    m_failureOffset = offset;
}

unsigned int StreamingVerifier::runKorean(const unsigned char* bytes, unsigned int length) {
    unsigned int i = 0;
    if (m_koreanLead && length > 0) {
        // After a lead 0x81-0xFE: a trail ends the character, any other byte
        // breaks it.
        if (!isEucKrTrail(bytes[0])) {
            return 0;
        }
        m_koreanLead = false;
        i = 1;
    }
    while (i < length) {
        const unsigned char lead = bytes[i];
        if (lead < 0x7F) {
            ++i;
            continue;
        }
        // 0x7F, 0x80 and 0xFF begin nothing.
        if (lead <= 0x80 || lead == 0xFF) {
            return i;
        }
        if (i + 1 == length) {
            m_koreanLead = true;
            return length;
        }
        if (!isEucKrTrail(bytes[i + 1])) {
            return i + 1;
        }
        i += 2;
    }
    return length;
}

unsigned int StreamingVerifier::runMachines(const unsigned char* bytes, unsigned int length) {
    switch (m_encoding) {
    case AbstractEncoding::Ascii:
        return detail::verifyRunStateless(m_ascii, bytes, length, m_verifyCharacters);
    case AbstractEncoding::Utf8:
        return detail::verifyRunStateless(m_utf8, bytes, length, m_verifyCharacters);
    case AbstractEncoding::EucJp:
        return detail::verifyRunJapanese(m_eucJp, bytes, length, m_verifyCharacters);
    case AbstractEncoding::Sjis:
        return detail::verifyRunJapanese(m_sjis, bytes, length, m_verifyCharacters);
    case AbstractEncoding::Jis:
        return runJis(m_jis, bytes, length, m_verifyCharacters, m_rejectRedundantEscapes,
                      m_escapeRunLimit);
    case AbstractEncoding::EucKr:
        return runKorean(bytes, length);
    default:
        return 0;
    }
}

bool StreamingVerifier::inCharacter() const {
    switch (m_encoding) {
    case AbstractEncoding::Ascii:
        return m_ascii.m_inChar;
    case AbstractEncoding::Utf8:
        return m_utf8.m_inChar;
    case AbstractEncoding::EucJp:
        return m_eucJp.m_inChar;
    case AbstractEncoding::Sjis:
        return m_sjis.m_inChar;
    case AbstractEncoding::Jis:
        return m_jis.m_inChar;
    case AbstractEncoding::EucKr:
        return m_koreanLead;
    default:
        return false;
    }
}

unsigned int StreamingVerifier::findFailure(AbstractEncoding::EncodingID encoding,
                                            const char* buffer, unsigned int length,
                                            bool verifyCharacters, bool rejectRedundantEscapes,
                                            int escapeRunLimit, bool* verifies) {
    StreamingVerifier verifier(encoding, verifyCharacters, rejectRedundantEscapes, escapeRunLimit);
    const bool ok = verifier.feed(buffer, length, true);
    if (verifies != nullptr) {
        *verifies = ok;
    }
    if (ok) {
        return length;
    }
    // A refused null buffer has not failed; it answers 0.
    return static_cast<unsigned int>(verifier.failureOffset());
}

bool StreamingVerifier::feed(const char* piece, unsigned int length, bool last) {
    if (m_failed || m_finished || (piece == nullptr && length != 0)) {
        return false;
    }
    if (m_encoding < AbstractEncoding::Ascii || m_encoding > AbstractEncoding::EucKr) {
        fail(m_bytesFed);
        return false;
    }
    if (length > 0) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(piece);
        const unsigned int failedAt = runMachines(bytes, length);
        if (failedAt < length) {
            fail(m_bytesFed + failedAt);
            m_bytesFed += length;
            return false;
        }
        m_bytesFed += length;
    }
    if (!last) {
        return true;
    }
    m_finished = true;
    m_inChar = inCharacter();
    // The encodings that must end between characters: ISO-2022-JP in ASCII
    // or JIS-Roman, EUC-KR after a whole character.
    if ((m_encoding == AbstractEncoding::Jis && !m_jis.JisDetectorSM::isValidEndState()) ||
        (m_encoding == AbstractEncoding::EucKr && m_koreanLead)) {
        fail(m_bytesFed);
        return false;
    }
    return true;
}

} // namespace charsetkit
