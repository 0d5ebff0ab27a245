// Every locale under every supported-encodings setting and switch. Input:
// byte 0 picks the settings (see ScopedSettings); byte 1 the locale (bits
// 0-2, identifiers 0-7 so that unknown ones are tried), verifyCharacters,
// rejectRedundantEscapes, scanToEnd, restrictive UTF-8, the escape-run limit
// (bits 7 and the next byte's low bit); byte 2 the label length; then the
// label and the buffer. Invariants: only identifiers 1-3 give a locale, with
// that identifier and is found again by its name and short name; a missing
// buffer is refused; detection reports valid identifiers without repeats, and
// after a whole scan each reported encoding verifies the buffer; a label
// maps to 0 or to an encoding that owns it; the traversers the locale hands
// out stay inside the buffer.
#include <charsetkit/charsetkit.h>

#include "FuzzCheck.h"
#include "FuzzSettings.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using namespace charsetkit;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    const fuzzing::ScopedSettings settings(data[0]);
    const std::uint8_t flags = data[1];
    const int id = flags & 0x07;
    const bool verifyCharacters = (flags & 0x08) != 0;
    const bool rejectRedundant = (flags & 0x10) != 0;
    const bool scanToEnd = (flags & 0x20) != 0;
    const bool restrictive = (flags & 0x40) != 0;
    const int escapeRunLimit = (flags >> 7) | ((data[0] >> 5) & 0x06);
    const std::size_t labelLength = data[2] % 32 < size - 3 ? data[2] % 32 : size - 3;
    const std::string label(reinterpret_cast<const char*>(data + 3), labelLength);
    const std::size_t offset = 3 + labelLength;
    // An exact-size copy, so that a read past the end is caught.
    const std::vector<char> bytes(data + offset, data + size);
    const char* buffer = bytes.empty() ? label.c_str() : bytes.data();
    const auto length = static_cast<unsigned int>(bytes.size());

    std::unique_ptr<AbstractLocale> locale(
        AbstractLocale::getLocaleForId(static_cast<AbstractLocale::eLocalIds>(id)));
    if (id < 1 || id > 3) {
        FUZZ_CHECK(locale == nullptr);
        return 0;
    }
    FUZZ_CHECK(locale != nullptr && locale->getID() == id);
    const std::unique_ptr<AbstractLocale> byName(
        AbstractLocale::getLocaleForName(locale->getName()));
    FUZZ_CHECK(byName != nullptr && byName->getID() == id);
    const std::unique_ptr<AbstractLocale> byShortName(
        AbstractLocale::getLocaleForName(locale->getShortName()));
    FUZZ_CHECK(byShortName != nullptr && byShortName->getID() == id);
    locale->useRestrictiveUtf8(restrictive);

    EncodingFromId registry;
    std::vector<AbstractEncoding::EncodingID> found(1, AbstractEncoding::Sjis);
    locale->detectAndVerifyEncoding(buffer, length, verifyCharacters, rejectRedundant,
                                    escapeRunLimit, scanToEnd, &found);
    std::vector<const AbstractEncoding*> encodings;
    for (std::size_t i = 0; i < found.size(); ++i) {
        FUZZ_CHECK(found[i] >= AbstractEncoding::Ascii && found[i] <= AbstractEncoding::EucKr);
        for (std::size_t j = 0; j < i; ++j) {
            FUZZ_CHECK(found[i] != found[j]);
        }
        const AbstractEncoding* encoding = registry.getEncodingForID(found[i]);
        FUZZ_CHECK(encoding != nullptr);
        encodings.push_back(encoding);
        if (scanToEnd) {
            FUZZ_CHECK(encoding->verify(buffer, length, verifyCharacters, rejectRedundant,
                                        escapeRunLimit));
        }
    }
    static_cast<void>(locale->verifyUtf8(buffer, length, verifyCharacters, restrictive));
    // A missing buffer behind a length is refused, and leaves no answer.
    if (length != 0) {
        std::vector<AbstractEncoding::EncodingID> none(1, AbstractEncoding::Sjis);
        locale->detectAndVerifyEncoding(nullptr, length, verifyCharacters, rejectRedundant,
                                        escapeRunLimit, scanToEnd, &none);
        FUZZ_CHECK(none.empty());
        FUZZ_CHECK(!locale->verifyUtf8(nullptr, length, verifyCharacters, restrictive));
    }

    const AbstractEncoding::EncodingID named = locale->getEncoding(label.c_str());
    if (named != 0) {
        const AbstractEncoding* encoding = registry.getEncodingForID(named);
        FUZZ_CHECK(encoding != nullptr && encoding->isAliasOrName(label.c_str()));
    }
    FUZZ_CHECK(locale->getEncoding(nullptr) == 0);
    locale->setExportedEncoding(named);
    FUZZ_CHECK(locale->getExportedEncoding() == named);

    const int walkLength = static_cast<int>(length);
    std::unique_ptr<AbstractTraverser> safe(locale->getHtmlSafeEncodingTraverser());
    FUZZ_CHECK(safe != nullptr);
    fuzzing::walkTraverser(*safe, buffer, walkLength);
    std::unique_ptr<AbstractTraverser> chosen(locale->getHtmlSafeEncodingTraverser(encodings));
    if (chosen != nullptr) {
        fuzzing::walkTraverser(*chosen, buffer, walkLength);
    }
    return 0;
}
