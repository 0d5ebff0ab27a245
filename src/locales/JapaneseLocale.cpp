#include <charsetkit/locales/JapaneseLocale.h>

#include "utilities/MissingInput.h"

#include <charsetkit/detectors/EucJpDetectorSM.h>
#include <charsetkit/detectors/JapaneseUtf8DetectorSM.h>
#include <charsetkit/detectors/JisDetectorSM.h>
#include <charsetkit/detectors/SjisDetectorSM.h>
#include <charsetkit/detectors/Utf8DetectorSM.h>
#include <charsetkit/encodings/AsciiEncoding.h>
#include <charsetkit/encodings/EucJpEncoding.h>
#include <charsetkit/encodings/JisEncoding.h>
#include <charsetkit/encodings/SjisEncoding.h>
#include <charsetkit/encodings/Utf8Encoding.h>
#include <charsetkit/traversal/AsciiTraverser.h>
#include <charsetkit/traversal/EucJpTraverser.h>
#include <charsetkit/traversal/JisTraverser.h>
#include <charsetkit/traversal/SjisTraverser.h>
#include <charsetkit/traversal/Utf8Traverser.h>

#include "detectors/StatelessDriver.h"
#include "detectors/Utf8Scan.h"
#include "locales/GenericDetection.h"
#include "utilities/Settings.h"

#include <new>

namespace charsetkit {

JapaneseLocale::JapaneseLocale() {
    m_exportedEncoding = AbstractEncoding::Sjis;
}

JapaneseLocale::~JapaneseLocale() = default;

const char* JapaneseLocale::getName() const {
    return "Japanese";
}

const char* JapaneseLocale::getShortName() const {
    return "jp";
}

AbstractLocale::eLocalIds JapaneseLocale::getID() const {
    return eJapanese;
}

AbstractEncoding::EncodingID JapaneseLocale::getEncoding(const char* name) const {
    if (name == nullptr) {
        return static_cast<AbstractEncoding::EncodingID>(0);
    }
    if (AsciiEncoding().isAliasOrName(name)) {
        return AbstractEncoding::Ascii;
    }
    const int supported = settings::supportedEncodings();
    if (supported == LocalOnly || supported == LocalAndUtf8) {
        if (JisEncoding().isAliasOrName(name)) {
            return AbstractEncoding::Jis;
        }
        if (SjisEncoding().isAliasOrName(name)) {
            return AbstractEncoding::Sjis;
        }
        // "x-euc", shared with EUC-KR, ends here: this locale means EUC-JP.
        if (EucJpEncoding().isAliasOrName(name)) {
            return AbstractEncoding::EucJp;
        }
    }
    if (supported == Utf8Only || supported == LocalAndUtf8) {
        if (Utf8Encoding().isAliasOrName(name)) {
            return AbstractEncoding::Utf8;
        }
    }
    return static_cast<AbstractEncoding::EncodingID>(0);
}

void JapaneseLocale::detectAndVerifyEncoding(const char* buffer, unsigned int length,
                                             bool verifyCharacters, bool rejectRedundantEscapes,
                                             int escapeRunLimit, bool scanToEnd,
                                             std::vector<AbstractEncoding::EncodingID>* encodings) {
    if (encodings == nullptr) {
        return;
    }
    JisDetectorSM jis;
    SjisDetectorSM sjis;
    EucJpDetectorSM eucJp;
    Utf8DetectorSM utf8;
    JapaneseUtf8DetectorSM restrictedUtf8;
    AbstractDetectorSM* const utf8Machine =
        m_restrictiveUtf8 ? static_cast<AbstractDetectorSM*>(&restrictedUtf8) : &utf8;

    // Read the setting once, so that one run sees one consistent choice.
    AbstractDetectorSM* detectors[5] = {};
    switch (settings::supportedEncodings()) {
    case LocalOnly:
        detectors[0] = &jis;
        detectors[1] = &sjis;
        detectors[2] = &eucJp;
        break;
    case Utf8Only:
        detectors[0] = utf8Machine;
        break;
    case LocalAndUtf8:
        detectors[0] = &jis;
        detectors[1] = &sjis;
        detectors[2] = &eucJp;
        detectors[3] = utf8Machine;
        break;
    default:
        break;
    }
    detail::detectWithMachines(buffer, length, verifyCharacters, rejectRedundantEscapes,
                               escapeRunLimit, scanToEnd, detectors, encodings, true);
}

AbstractTraverser* JapaneseLocale::getHtmlSafeEncodingTraverser() const {
    return new (std::nothrow) JisTraverser();
}

AbstractTraverser* JapaneseLocale::getHtmlSafeEncodingTraverser(
    const std::vector<const AbstractEncoding*>& encodings) const {
    if (encodings.empty()) {
        return new (std::nothrow) JisTraverser();
    }
    if (encodings.size() == 1) {
        const AbstractEncoding* const encoding = encodings.front();
        const char* const name = encoding != nullptr ? encoding->getPreferedID() : nullptr;
        if (name == nullptr) {
            return new (std::nothrow) JisTraverser();
        }
        if (AsciiEncoding().isAliasOrName(name)) {
            return new (std::nothrow) AsciiTraverser();
        }
        if (JisEncoding().isAliasOrName(name)) {
            return new (std::nothrow) JisTraverser();
        }
        if (SjisEncoding().isAliasOrName(name)) {
            return new (std::nothrow) SjisTraverser();
        }
        if (EucJpEncoding().isAliasOrName(name)) {
            return new (std::nothrow) EucJpTraverser();
        }
        if (Utf8Encoding().isAliasOrName(name)) {
            return new (std::nothrow) Utf8Traverser();
        }
        // Not a Japanese encoding (EUC-KR, say): the ISO-2022-JP traverser
        // never stops inside an escape sequence or a shifted stretch.
        return new (std::nothrow) JisTraverser();
    }
    // Several candidates: if ISO-2022-JP is among them its escape sequences
    // must be honoured; otherwise every byte is a stop.
    const JisEncoding jisEncoding;
    for (const AbstractEncoding* encoding : encodings) {
        if (encoding != nullptr && jisEncoding.isAliasOrName(encoding->getPreferedID())) {
            return new (std::nothrow) JisTraverser();
        }
    }
    return new (std::nothrow) AsciiTraverser();
}

bool JapaneseLocale::verifyUtf8(const char* buffer, unsigned int length, bool verifyCharacters,
                                bool restrictive) {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    // The direct driver answers as the machine's own verify() would, without
    // a virtual call per byte.
    if ((m_restrictiveUtf8 || restrictive) && verifyCharacters) {
        JapaneseUtf8DetectorSM machine;
        return detail::runStatelessFast(machine, buffer, length, verifyCharacters);
    }
    // Without the look-up both machines judge the structure alone.
    return detail::isUtf8Structure(buffer, length);
}

void JapaneseLocale::setSupportSingleByteKana(bool support) {
    settings::g_supportSingleByteKana.store(support, std::memory_order_relaxed);
}

bool JapaneseLocale::getSupportSingleByteKana() {
    return settings::supportSingleByteKana();
}

void JapaneseLocale::setSupportSupplementaryKanji(bool support) {
    settings::g_supportSupplementaryKanji.store(support, std::memory_order_relaxed);
}

bool JapaneseLocale::getSupportSupplementaryKanji() {
    return settings::supportSupplementaryKanji();
}

void JapaneseLocale::setSupportSjisExtensions(bool support) {
    settings::g_supportSjisExtensions.store(support, std::memory_order_relaxed);
}

bool JapaneseLocale::getSupportSjisExtensions() {
    return settings::supportSjisExtensions();
}

void JapaneseLocale::setSupportJisExtendedRange(bool support) {
    settings::g_supportJisExtendedRange.store(support, std::memory_order_relaxed);
}

bool JapaneseLocale::getSupportJisExtendedRange() {
    return settings::supportJisExtendedRange();
}

} // namespace charsetkit
