// Where verification fails, for every encoding. Each scan reads the buffer
// as that encoding's verify() does, with the same machine and flags, and
// stops at the byte that sets the machine's error. The stateless machines
// and the Japanese ones accept a buffer that ends inside a character, so
// every prefix before that byte verifies; EUC-KR and ISO-2022-JP accept a
// prefix only where it may end, so their scans remember the last such place.
#include <charsetkit/encodings/AbstractEncoding.h>

#include <charsetkit/detectors/AsciiDetectorSM.h>
#include <charsetkit/detectors/EucJpDetectorSM.h>
#include <charsetkit/detectors/JisDetectorSM.h>
#include <charsetkit/detectors/SjisDetectorSM.h>
#include <charsetkit/detectors/Utf8DetectorSM.h>

#include "detectors/JapaneseDrivers.h"
#include "detectors/SjisBlocks.h"
#include "encodings/EncodingLabels.h"
#include "encodings/VerifyRuns.h"
#include "utilities/AsciiRun.h"
#include "utilities/AsciiRunSkip.h"

#include <cstddef>

namespace charsetkit {
namespace {

// ISO-2022-JP: a prefix verifies when no byte of it failed and the machine
// may end where it stands. Inside a skipped ASCII run the machine stays in
// single-byte text, so the end of the run is the last place worth keeping.
unsigned int jisVerifiedLength(const unsigned char* bytes, unsigned int length,
                               bool verifyCharacters, bool rejectRedundantEscapes,
                               int escapeRunLimit) {
    JisDetectorSM machine;
    unsigned int verified = 0;
    for (unsigned int i = 0; i < length; ++i) {
        machine.JisDetectorSM::processByte(bytes[i], verifyCharacters);
        machine.AbstractStatefulDetectorSM::checkLimits(rejectRedundantEscapes, escapeRunLimit);
        if (machine.m_error) {
            return verified;
        }
        if (machine.m_state == detail::jis_states::SingleByte) {
            const unsigned int skip = detail::plainAsciiRunToSkip(bytes, i + 1, length);
            detail::addJisCharacters(machine, skip);
            i += skip;
        }
        if (machine.JisDetectorSM::isValidEndState()) {
            verified = i + 1;
        }
    }
    return verified;
}

// EUC-KR trail bytes in the code page 949 layout: 0x41-0x5A, 0x61-0x7A,
// 0x81-0xFE.
bool isEucKrTrail(unsigned char byte) {
    return (byte >= 0x41 && byte <= 0x5A) || (byte >= 0x61 && byte <= 0x7A) ||
           (byte >= 0x81 && byte <= 0xFE);
}

// EUC-KR: bytes below 0x7F stand alone; any other byte must be a lead
// (0x81-0xFE) followed by a trail. A buffer verifies only between
// characters, so the failure is at the start of the character that breaks.
unsigned int eucKrVerifiedLength(const unsigned char* bytes, unsigned int length) {
    unsigned int i = 0;
    while (i < length) {
        const unsigned char lead = bytes[i];
        if (lead < 0x7F) {
            ++i;
            continue;
        }
        if (length - i < 2 || lead <= 0x80 || lead == 0xFF || !isEucKrTrail(bytes[i + 1])) {
            return i;
        }
        i += 2;
    }
    return length;
}

} // namespace

const char* const* AbstractEncoding::getLabels(EncodingID id) {
    return detail::labelsForId(id);
}

unsigned int AbstractEncoding::getVerifiedLength(EncodingID id, const char* buffer,
                                                 unsigned int length, bool verifyCharacters,
                                                 bool rejectRedundantEscapes, int escapeRunLimit) {
    if (buffer == nullptr) {
        return 0;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer);
    switch (id) {
    case Ascii: {
        AsciiDetectorSM machine;
        return detail::verifyRunStateless(machine, bytes, length, verifyCharacters);
    }
    case Utf8: {
        Utf8DetectorSM machine;
        return detail::verifyRunStateless(machine, bytes, length, verifyCharacters);
    }
    case EucJp: {
        EucJpDetectorSM machine;
        return detail::verifyRunJapanese(machine, bytes, length, verifyCharacters);
    }
    case Sjis:
        return static_cast<unsigned int>(
            detail::sjis::verifiedPrefix(bytes, length, verifyCharacters));
    case Jis:
        return jisVerifiedLength(bytes, length, verifyCharacters, rejectRedundantEscapes,
                                 escapeRunLimit);
    case EucKr:
        return eucKrVerifiedLength(bytes, length);
    default:
        return 0;
    }
}

} // namespace charsetkit
