#include <charsetkit/locales/AbstractLocale.h>

#include <charsetkit/detectors/AbstractDetectorSM.h>
#include <charsetkit/locales/JapaneseLocale.h>
#include <charsetkit/locales/KoreanLocale.h>
#include <charsetkit/locales/Utf8Locale.h>

#include "detectors/JapaneseDrivers.h"
#include "detectors/StatelessDriver.h"
#include "detectors/Utf8Scan.h"
#include "locales/DetectionStart.h"
#include "locales/GenericDetection.h"
#include "locales/SharedAsciiRun.h"
#include "utilities/Settings.h"

#include <cstddef>
#include <cstring>
#include <new>
#include <typeinfo>

namespace charsetkit {

namespace {

// Room for the machines of one detection run. The library's locales run at
// most four; machines beyond this many in a caller's array are not run.
constexpr std::size_t kMaxDetectors = 8;

} // namespace

AbstractLocale::~AbstractLocale() = default;

AbstractEncoding::EncodingID AbstractLocale::getExportedEncoding() {
    return m_exportedEncoding;
}

void AbstractLocale::setExportedEncoding(AbstractEncoding::EncodingID encoding) {
    m_exportedEncoding = encoding;
}

void AbstractLocale::useRestrictiveUtf8(bool restrictive) {
    m_restrictiveUtf8 = restrictive;
}

void AbstractLocale::setSupportedEncodings(SupportedEncodings supported) {
    settings::g_supportedEncodings.store(static_cast<int>(supported), std::memory_order_relaxed);
}

AbstractLocale::SupportedEncodings AbstractLocale::getSupportedEncodings() {
    return static_cast<SupportedEncodings>(settings::supportedEncodings());
}

AbstractLocale* AbstractLocale::getLocaleForName(const char* name) {
    if (name == nullptr) {
        return nullptr;
    }
    // Whole names, compared byte for byte: "JP" or "utf-8" name no locale.
    if (std::strcmp(name, "Japanese") == 0 || std::strcmp(name, "jp") == 0) {
        return new (std::nothrow) JapaneseLocale();
    }
    if (std::strcmp(name, "Korean") == 0 || std::strcmp(name, "ko-Kr") == 0) {
        return new (std::nothrow) KoreanLocale();
    }
    if (std::strcmp(name, "Utf8") == 0 || std::strcmp(name, "utf8") == 0) {
        return new (std::nothrow) Utf8Locale();
    }
    return nullptr;
}

AbstractLocale* AbstractLocale::getLocaleForId(eLocalIds id) {
    // Taken as unsigned, so that negative values fall out with the large ones.
    switch (static_cast<unsigned int>(id)) {
    case eUtf8:
        return new (std::nothrow) Utf8Locale();
    case eJapanese:
        return new (std::nothrow) JapaneseLocale();
    case eKorean:
        return new (std::nothrow) KoreanLocale();
    default:
        return nullptr;
    }
}

void AbstractLocale::removeFromArray(AbstractDetectorSM** detectors, int index) {
    if (detectors == nullptr || index < 0) {
        return;
    }
    const auto at = static_cast<std::size_t>(index);
    // An index at or past the terminator names no machine: nothing moves.
    for (std::size_t i = 0; i <= at; ++i) {
        if (detectors[i] == nullptr) {
            return;
        }
    }
    for (std::size_t i = at; detectors[i] != nullptr; ++i) {
        detectors[i] = detectors[i + 1];
    }
}

namespace detail {

namespace {

/// Reads the rest of the buffer, from `pos`, with the one machine left,
/// through its direct driver when its class has one, and reports it as the
/// loop would at the end. False when the class has no such driver.
bool finishAlone(AbstractDetectorSM& machine, const unsigned char* bytes, std::size_t pos,
                 std::size_t length, bool verifyCharacters, bool rejectRedundantEscapes,
                 int escapeRunLimit, std::vector<AbstractEncoding::EncodingID>* encodings,
                 bool machinesArePrivate) {
    const char* const rest = reinterpret_cast<const char*>(bytes + pos);
    const auto restLength = static_cast<unsigned int>(length - pos);
    const std::type_info& type = typeid(machine);
    const bool utf8Structure = type == typeid(Utf8DetectorSM) ||
                               (type == typeid(JapaneseUtf8DetectorSM) && !verifyCharacters);
    if (machinesArePrivate && utf8Structure && !machine.m_inChar) {
        // Between characters: the vector check gives the machine's verdict
        // and end state; the machine has seen a multi-byte character once a
        // byte above 0x7F has been read whole.
        const Utf8ScanResult scan = scanUtf8(bytes + pos, length - pos);
        if (!scan.failed && !scan.endsInsideCharacter &&
            (machine.m_confirmed || asciiRunLength(bytes + pos, length - pos) < length - pos)) {
            encodings->push_back(machine.getEncodingID());
        }
        return true;
    }
    if (type == typeid(Utf8DetectorSM)) {
        runStatelessFast(static_cast<Utf8DetectorSM&>(machine), rest, restLength, verifyCharacters);
    } else if (type == typeid(JapaneseUtf8DetectorSM)) {
        runStatelessFast(static_cast<JapaneseUtf8DetectorSM&>(machine), rest, restLength,
                         verifyCharacters);
    } else if (type == typeid(SjisDetectorSM)) {
        runJapaneseStatelessFast(static_cast<SjisDetectorSM&>(machine), rest, restLength,
                                 verifyCharacters);
    } else if (type == typeid(EucJpDetectorSM)) {
        runJapaneseStatelessFast(static_cast<EucJpDetectorSM&>(machine), rest, restLength,
                                 verifyCharacters);
    } else if (type == typeid(JisDetectorSM)) {
        runJisFast(static_cast<JisDetectorSM&>(machine), rest, restLength, verifyCharacters,
                   rejectRedundantEscapes, escapeRunLimit);
    } else {
        return false;
    }
    if (machine.m_confirmed && !machine.m_error && !machine.m_inChar && machine.isValidEndState()) {
        encodings->push_back(machine.getEncodingID());
    }
    return true;
}

} // namespace

void detectWithMachines(const char* buffer, unsigned int length, bool verifyCharacters,
                        bool rejectRedundantEscapes, int escapeRunLimit, bool scanToEnd,
                        AbstractDetectorSM* const* detectors,
                        std::vector<AbstractEncoding::EncodingID>* encodings,
                        bool machinesArePrivate) {
    // Nothing before the first byte that is not plain ASCII is shown to the
    // machines.
    std::size_t pos = 0;
    if (!detail::startDetection(buffer, length, encodings, pos)) {
        return;
    }

    // The working copy: failed machines leave it, the caller's array stays.
    AbstractDetectorSM* working[kMaxDetectors + 1] = {};
    std::size_t alive = 0;
    if (detectors != nullptr) {
        while (alive < kMaxDetectors && detectors[alive] != nullptr) {
            working[alive] = detectors[alive];
            ++alive;
        }
    }

    const auto* bytes = reinterpret_cast<const unsigned char*>(buffer);
    for (; pos < length; ++pos) {
        // One machine left and every byte to be read: its own driver reads
        // the rest without a virtual call per byte.
        if (scanToEnd && alive == 1 &&
            finishAlone(*working[0], bytes, pos, length, verifyCharacters, rejectRedundantEscapes,
                        escapeRunLimit, encodings, machinesArePrivate)) {
            return;
        }
        // A plain ASCII run that every machine reads as single-byte
        // characters is shown to them as its last byte only.
        pos = detail::lastByteToShow(working, alive, bytes, pos, length);
        const unsigned char byte = bytes[pos];
        std::size_t confirmed = 0;
        std::size_t confirmedAt = 0;
        std::size_t inChar = 0;
        std::size_t i = 0;
        while (i < alive) {
            AbstractDetectorSM* machine = working[i];
            machine->processByte(byte, verifyCharacters);
            machine->checkLimits(rejectRedundantEscapes, escapeRunLimit);
            if (machine->m_error) {
                // The next machine moves into slot i and is looked at next.
                for (std::size_t k = i; k < alive; ++k) {
                    working[k] = working[k + 1];
                }
                --alive;
                continue;
            }
            if (machine->m_confirmed) {
                ++confirmed;
                confirmedAt = i;
            }
            if (machine->m_inChar) {
                ++inChar;
            }
            ++i;
        }
        // One machine alone has seen a typical character and none is in the
        // middle of one: the bytes have become unambiguous.
        if (!scanToEnd && inChar == 0 && confirmed == 1) {
            encodings->push_back(working[confirmedAt]->getEncodingID());
            return;
        }
        if (alive == 0) {
            return;
        }
    }

    // End of the buffer: report every machine that has seen a typical
    // character and may stop where it is, in the caller's order.
    for (std::size_t i = 0; i < alive; ++i) {
        AbstractDetectorSM* machine = working[i];
        if (machine->m_confirmed && !machine->m_error && !machine->m_inChar &&
            machine->isValidEndState()) {
            encodings->push_back(machine->getEncodingID());
        }
    }
}

} // namespace detail

void AbstractLocale::genericEncodingDetect(const char* buffer, unsigned int length,
                                           bool verifyCharacters, bool rejectRedundantEscapes,
                                           int escapeRunLimit, bool scanToEnd,
                                           AbstractDetectorSM* const* detectors,
                                           std::vector<AbstractEncoding::EncodingID>* encodings) {
    // The caller's machines: their fields are left as byte-by-byte reading
    // leaves them.
    detail::detectWithMachines(buffer, length, verifyCharacters, rejectRedundantEscapes,
                               escapeRunLimit, scanToEnd, detectors, encodings, false);
}

} // namespace charsetkit
