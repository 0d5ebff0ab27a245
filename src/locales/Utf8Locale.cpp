#include <charsetkit/locales/Utf8Locale.h>

#include "utilities/MissingInput.h"

#include <charsetkit/detectors/Utf8DetectorSM.h>
#include <charsetkit/encodings/AsciiEncoding.h>
#include <charsetkit/encodings/Utf8Encoding.h>
#include <charsetkit/traversal/AsciiTraverser.h>

#include "detectors/Utf8Scan.h"

#include "locales/GenericDetection.h"

#include <new>

namespace charsetkit {

Utf8Locale::Utf8Locale() = default;

Utf8Locale::~Utf8Locale() = default;

const char* Utf8Locale::getName() const {
    return "Utf8";
}

const char* Utf8Locale::getShortName() const {
    return "utf8";
}

AbstractLocale::eLocalIds Utf8Locale::getID() const {
    return eUtf8;
}

AbstractEncoding::EncodingID Utf8Locale::getEncoding(const char* name) const {
    if (name == nullptr) {
        return static_cast<AbstractEncoding::EncodingID>(0);
    }
    if (AsciiEncoding().isAliasOrName(name)) {
        return AbstractEncoding::Ascii;
    }
    // UTF-8 is this locale's own encoding, whatever the supported-encodings
    // setting says.
    if (Utf8Encoding().isAliasOrName(name)) {
        return AbstractEncoding::Utf8;
    }
    return static_cast<AbstractEncoding::EncodingID>(0);
}

void Utf8Locale::detectAndVerifyEncoding(const char* buffer, unsigned int length,
                                         bool verifyCharacters, bool rejectRedundantEscapes,
                                         int escapeRunLimit, bool scanToEnd,
                                         std::vector<AbstractEncoding::EncodingID>* encodings) {
    if (encodings == nullptr) {
        return;
    }
    Utf8DetectorSM utf8;
    AbstractDetectorSM* const detectors[2] = {&utf8, nullptr};
    detail::detectWithMachines(buffer, length, verifyCharacters, rejectRedundantEscapes,
                               escapeRunLimit, scanToEnd, detectors, encodings, true);
}

// In UTF-8 every byte below 0x80 is a character of its own, so stopping at
// every byte never splits an ASCII-range character from its context.
AbstractTraverser* Utf8Locale::getHtmlSafeEncodingTraverser() const {
    return new (std::nothrow) AsciiTraverser();
}

AbstractTraverser* Utf8Locale::getHtmlSafeEncodingTraverser(
    const std::vector<const AbstractEncoding*>& /*encodings*/) const {
    return new (std::nothrow) AsciiTraverser();
}

bool Utf8Locale::verifyUtf8(const char* buffer, unsigned int length, bool /*verifyCharacters*/,
                            bool /*restrictive*/) {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    // Structure only: the UTF-8 locale looks no character up in any table.
    return detail::isUtf8Structure(buffer, length);
}

} // namespace charsetkit
