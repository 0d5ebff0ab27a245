#include <charsetkit/locales/KoreanLocale.h>

#include "utilities/MissingInput.h"

#include <charsetkit/detectors/Utf8DetectorSM.h>
#include <charsetkit/encodings/AsciiEncoding.h>
#include <charsetkit/encodings/EucKrEncoding.h>
#include <charsetkit/encodings/Utf8Encoding.h>
#include <charsetkit/korean/KoreanUtil.h>
#include <charsetkit/traversal/AsciiTraverser.h>
#include <charsetkit/traversal/EucKrTraverser.h>
#include <charsetkit/traversal/Utf8Traverser.h>

#include "detectors/Utf8Scan.h"
#include "locales/DetectionStart.h"
#include "locales/GenericDetection.h"
#include "utilities/Settings.h"

#include <new>

namespace charsetkit {

namespace {

// The whole-buffer EUC-KR check. It is not a detector machine: the limits,
// verifyCharacters and scanToEnd do not apply to it.
bool isEucKr(const char* buffer, unsigned int length) {
    KoreanUtil* const korean = KoreanUtil::getInstance();
    return korean != nullptr &&
           korean->isEucKrCharSet(reinterpret_cast<const unsigned char*>(buffer), length);
}

} // namespace

KoreanLocale::KoreanLocale() {
    m_exportedEncoding = AbstractEncoding::EucKr;
}

KoreanLocale::~KoreanLocale() = default;

const char* KoreanLocale::getName() const {
    return "Korean";
}

const char* KoreanLocale::getShortName() const {
    return "ko-Kr";
}

AbstractLocale::eLocalIds KoreanLocale::getID() const {
    return eKorean;
}

AbstractEncoding::EncodingID KoreanLocale::getEncoding(const char* name) const {
    if (name == nullptr) {
        return static_cast<AbstractEncoding::EncodingID>(0);
    }
    if (AsciiEncoding().isAliasOrName(name)) {
        return AbstractEncoding::Ascii;
    }
    const int supported = settings::supportedEncodings();
    // "x-euc", shared with EUC-JP, ends here: this locale means EUC-KR.
    if ((supported == LocalOnly || supported == LocalAndUtf8) &&
        EucKrEncoding().isAliasOrName(name)) {
        return AbstractEncoding::EucKr;
    }
    if ((supported == Utf8Only || supported == LocalAndUtf8) &&
        Utf8Encoding().isAliasOrName(name)) {
        return AbstractEncoding::Utf8;
    }
    return static_cast<AbstractEncoding::EncodingID>(0);
}

void KoreanLocale::detectAndVerifyEncoding(const char* buffer, unsigned int length,
                                           bool verifyCharacters, bool rejectRedundantEscapes,
                                           int escapeRunLimit, bool scanToEnd,
                                           std::vector<AbstractEncoding::EncodingID>* encodings) {
    // Plain ASCII is ASCII under every setting.
    std::size_t prefix = 0;
    if (!detail::startDetection(buffer, length, encodings, prefix)) {
        return;
    }

    Utf8DetectorSM utf8;
    AbstractDetectorSM* const detectors[2] = {&utf8, nullptr};
    // The UTF-8 run starts after the ASCII prefix, which the generic
    // detection would skip again; the EUC-KR check judges the whole buffer.
    const char* const rest = buffer + prefix;
    const auto restLength = static_cast<unsigned int>(length - prefix);
    switch (settings::supportedEncodings()) {
    case LocalOnly:
        if (isEucKr(buffer, length)) {
            encodings->push_back(AbstractEncoding::EucKr);
        }
        break;
    case Utf8Only:
        detail::detectWithMachines(rest, restLength, verifyCharacters, rejectRedundantEscapes,
                                   escapeRunLimit, scanToEnd, detectors, encodings, true);
        break;
    case LocalAndUtf8:
        detail::detectWithMachines(rest, restLength, verifyCharacters, rejectRedundantEscapes,
                                   escapeRunLimit, scanToEnd, detectors, encodings, true);
        if (isEucKr(buffer, length)) {
            encodings->push_back(AbstractEncoding::EucKr);
        }
        break;
    default:
        break;
    }
}

AbstractTraverser* KoreanLocale::getHtmlSafeEncodingTraverser() const {
    return new (std::nothrow) EucKrTraverser();
}

AbstractTraverser* KoreanLocale::getHtmlSafeEncodingTraverser(
    const std::vector<const AbstractEncoding*>& encodings) const {
    if (encodings.empty()) {
        return new (std::nothrow) EucKrTraverser();
    }
    // Several candidates, or one that is not Korean text: no traverser of
    // this locale is known to be safe, and the caller must choose.
    if (encodings.size() != 1 || encodings.front() == nullptr) {
        return nullptr;
    }
    const char* const name = encodings.front()->getPreferedID();
    if (name == nullptr) {
        return nullptr;
    }
    if (AsciiEncoding().isAliasOrName(name)) {
        return new (std::nothrow) AsciiTraverser();
    }
    if (EucKrEncoding().isAliasOrName(name)) {
        return new (std::nothrow) EucKrTraverser();
    }
    if (Utf8Encoding().isAliasOrName(name)) {
        return new (std::nothrow) Utf8Traverser();
    }
    return nullptr;
}

bool KoreanLocale::verifyUtf8(const char* buffer, unsigned int length, bool /*verifyCharacters*/,
                              bool /*restrictive*/) {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    // The plain UTF-8 machine accepts every complete character: the
    // structure alone decides.
    return detail::isUtf8Structure(buffer, length);
}

} // namespace charsetkit
