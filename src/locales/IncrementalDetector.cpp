#include <charsetkit/locales/IncrementalDetector.h>

#include "utilities/MissingInput.h"

namespace charsetkit {

namespace {

// A byte that the plain-ASCII opening of detection skips: below 0x80 and
// none of ESC, SO and SI.
bool isPlainByte(unsigned char byte) {
    return byte < 0x80 && byte != 0x1B && byte != 0x0E && byte != 0x0F;
}

// A byte that may follow an EUC-KR lead byte (the code page 949 layout).
bool isEucKrTrail(unsigned char byte) {
    return (byte >= 0x41 && byte <= 0x5A) || (byte >= 0x61 && byte <= 0x7A) ||
           (byte >= 0x81 && byte <= 0xFE);
}

} // namespace

IncrementalDetector::IncrementalDetector(const AbstractLocale& locale, bool verifyCharacters,
                                         bool rejectRedundantEscapes, int escapeRunLimit,
                                         bool scanToEnd)
    : m_verifyCharacters(verifyCharacters), m_rejectRedundantEscapes(rejectRedundantEscapes),
      m_escapeRunLimit(escapeRunLimit), m_scanToEnd(scanToEnd) {
    const AbstractLocale::SupportedEncodings supported = AbstractLocale::getSupportedEncodings();
    const bool local =
        supported == AbstractLocale::LocalOnly || supported == AbstractLocale::LocalAndUtf8;
    const bool utf8 =
        supported == AbstractLocale::Utf8Only || supported == AbstractLocale::LocalAndUtf8;
    switch (locale.getID()) {
    case AbstractLocale::eJapanese:
        // ISO-2022-JP, Shift_JIS, EUC-JP, then UTF-8, as the locale orders them;
        // an unknown setting leaves no machine, so any byte that is not plain
        // ASCII ends detection with nothing.
        m_useMachines = true;
        if (local) {
            m_machines[m_machineCount++] = &m_jis;
            m_machines[m_machineCount++] = &m_sjis;
            m_machines[m_machineCount++] = &m_eucJp;
        }
        if (utf8) {
            m_machines[m_machineCount++] = locale.usesRestrictiveUtf8()
                                               ? static_cast<AbstractDetectorSM*>(&m_restrictedUtf8)
                                               : static_cast<AbstractDetectorSM*>(&m_utf8);
        }
        break;
    case AbstractLocale::eKorean:
        m_useMachines = utf8;
        if (utf8) {
            m_machines[m_machineCount++] = &m_utf8;
        }
        m_useEucKr = local;
        break;
    case AbstractLocale::eUtf8:
        m_useMachines = true;
        m_machines[m_machineCount++] = &m_utf8;
        break;
    default:
        break;
    }
}

bool IncrementalDetector::feed(const char* piece, unsigned int length, bool last) {
    if (m_finished) {
        return true;
    }
    if (detail::isMissingInput(piece, length)) {
        return m_decided;
    }
    m_bytesFed += length;
    if (!m_decided && length != 0) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(piece);
        unsigned int start = 0;
        if (m_plainSoFar) {
            while (start < length && isPlainByte(bytes[start])) {
                ++start;
            }
            if (start < length) {
                m_plainSoFar = false;
            }
        }
        if (m_useEucKr) {
            // The EUC-KR check reads every byte, the plain ASCII opening included.
            checkEucKr(bytes, length);
        }
        if (!m_plainSoFar && m_useMachines && !m_machinesSettled) {
            // The machines start at the first byte that is not plain ASCII.
            runMachines(bytes + start, length - start);
        }
        settleIfDecided();
    }
    if (last) {
        m_finished = true;
        if (!m_decided) {
            finish();
        }
    }
    return m_decided;
}

void IncrementalDetector::runMachines(const unsigned char* bytes, unsigned int length) {
    for (unsigned int i = 0; i < length; ++i) {
        int confirmed = 0;
        int inChar = 0;
        AbstractDetectorSM* lastConfirmed = nullptr;
        int index = 0;
        while (index < m_machineCount) {
            AbstractDetectorSM* machine = m_machines[index];
            machine->processByte(bytes[i], m_verifyCharacters);
            machine->checkLimits(m_rejectRedundantEscapes, m_escapeRunLimit);
            if (machine->m_error) {
                // The next machine takes the failed one's place in this pass.
                for (int k = index; k + 1 < m_machineCount; ++k) {
                    m_machines[k] = m_machines[k + 1];
                }
                m_machines[--m_machineCount] = nullptr;
                continue;
            }
            if (machine->m_confirmed) {
                ++confirmed;
                lastConfirmed = machine;
            }
            if (machine->m_inChar) {
                ++inChar;
            }
            ++index;
        }
        if (!m_scanToEnd && inChar == 0 && confirmed == 1) {
            m_earlyDecision = lastConfirmed->getEncodingID();
            m_machinesSettled = true;
            return;
        }
        if (m_machineCount == 0) {
            m_machinesSettled = true;
            return;
        }
    }
}

void IncrementalDetector::checkEucKr(const unsigned char* bytes, unsigned int length) {
    for (unsigned int i = 0; i < length && !m_eucKrFailed; ++i) {
        const unsigned char byte = bytes[i];
        if (m_eucKrLead) {
            // After a lead byte: the trail closes the character; any other
            // byte fails the check.
            m_eucKrLead = false;
            m_eucKrFailed = !isEucKrTrail(byte);
        } else if (byte < 0x7F) {
            // A single-byte character.
        } else if (byte <= 0x80 || byte == 0xFF) {
            m_eucKrFailed = true;
        } else {
            m_eucKrLead = true;
        }
    }
}

void IncrementalDetector::settleIfDecided() {
    if (m_plainSoFar) {
        return;
    }
    if (m_useMachines && !m_machinesSettled) {
        return;
    }
    if (m_useEucKr && !m_eucKrFailed) {
        return;
    }
    m_answer.clear();
    if (m_useMachines && m_earlyDecision != 0) {
        m_answer.push_back(m_earlyDecision);
    }
    m_decided = true;
}

void IncrementalDetector::finish() {
    m_answer.clear();
    if (m_plainSoFar) {
        m_answer.push_back(AbstractEncoding::Ascii);
    } else {
        if (m_useMachines) {
            if (m_earlyDecision != 0) {
                m_answer.push_back(m_earlyDecision);
            } else if (!m_machinesSettled) {
                for (int i = 0; i < m_machineCount; ++i) {
                    AbstractDetectorSM* machine = m_machines[i];
                    if (machine->m_confirmed && !machine->m_inChar && machine->isValidEndState()) {
                        m_answer.push_back(machine->getEncodingID());
                    }
                }
            }
        }
        // A lead byte without its trail at the very end fails the check.
        if (m_useEucKr && !m_eucKrFailed && !m_eucKrLead) {
            m_answer.push_back(AbstractEncoding::EucKr);
        }
    }
    m_decided = true;
}

void IncrementalDetector::candidatesSoFar(std::vector<AbstractEncoding::EncodingID>& out) const {
    out.clear();
    if (m_decided) {
        out = m_answer;
        return;
    }
    if (m_plainSoFar) {
        out.push_back(AbstractEncoding::Ascii);
        return;
    }
    if (m_useMachines && !m_machinesSettled) {
        for (int i = 0; i < m_machineCount; ++i) {
            AbstractDetectorSM* machine = m_machines[i];
            if (machine->m_confirmed || machine->m_inChar) {
                out.push_back(machine->getEncodingID());
            }
        }
    } else if (m_useMachines && m_earlyDecision != 0) {
        out.push_back(m_earlyDecision);
    }
    if (m_useEucKr && !m_eucKrFailed) {
        out.push_back(AbstractEncoding::EucKr);
    }
}

} // namespace charsetkit
