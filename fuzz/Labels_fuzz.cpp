// Charset labels and locale names. The input is split at its first NUL into
// two strings. Invariants: the case-blind comparison is zero exactly when
// the strings match after folding A-Z, agrees in sign with a plain fold-and-
// compare and is antisymmetric; an encoding owns a label exactly when it owns
// the label in other letter case; a locale maps a label to 0 or to an
// encoding that owns it, and under LocalAndUtf8 to whatever it maps it to
// under a narrower setting; only the six locale names give a locale.
#include <charsetkit/charsetkit.h>

#include "FuzzCheck.h"
#include "FuzzSettings.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

using namespace charsetkit;

namespace {

int sign(int value) {
    return (value > 0) - (value < 0);
}

unsigned char fold(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

int foldedCompare(const std::string& a, const std::string& b) {
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        const int difference =
            fold(static_cast<unsigned char>(a[i])) - fold(static_cast<unsigned char>(b[i]));
        if (difference != 0) {
            return sign(difference);
        }
    }
    return sign(static_cast<int>(a.size() > b.size()) - static_cast<int>(a.size() < b.size()));
}

std::string swapCase(const std::string& text) {
    std::string result = text;
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        } else if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return result;
}

bool isLocaleName(const std::string& name) {
    static const char* const names[] = {"Japanese", "jp", "Korean", "ko-Kr", "Utf8", "utf8"};
    for (const char* candidate : names) {
        if (name == candidate) {
            return true;
        }
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string a = input.substr(0, split);
    const std::string b = split == std::string::npos ? std::string() : input.substr(split + 1);
    const std::string bLabel = b.substr(0, b.find('\0'));

    const int ab = StringUtils::compareCaseNotInline(a.c_str(), bLabel.c_str());
    const int ba = StringUtils::compareCaseNotInline(bLabel.c_str(), a.c_str());
    FUZZ_CHECK(sign(ab) == foldedCompare(a, bLabel));
    FUZZ_CHECK(sign(ab) == -sign(ba));
    FUZZ_CHECK(StringUtils::compareCaseNotInline(a.c_str(), a.c_str()) == 0);
    FUZZ_CHECK(StringUtils::compareCaseNotInline(a.c_str(), swapCase(a).c_str()) == 0);
    FUZZ_CHECK(StringUtils::compareCaseNotInline(a.c_str(), nullptr) != 0);
    FUZZ_CHECK(StringUtils::compareCaseNotInline(nullptr, a.c_str()) != 0);

    EncodingFromId registry;
    const std::string swapped = swapCase(a);
    for (int id = AbstractEncoding::Ascii; id <= AbstractEncoding::EucKr; ++id) {
        const AbstractEncoding* encoding =
            registry.getEncodingForID(static_cast<AbstractEncoding::EncodingID>(id));
        FUZZ_CHECK(encoding->isAliasOrName(a.c_str()) == encoding->isAliasOrName(swapped.c_str()));
        FUZZ_CHECK(!encoding->isAliasOrName(nullptr));
        FUZZ_CHECK(encoding->isAliasOrName(encoding->getPreferedID()));
    }

    const std::unique_ptr<AbstractLocale> named(AbstractLocale::getLocaleForName(a.c_str()));
    FUZZ_CHECK((named != nullptr) == isLocaleName(a));
    FUZZ_CHECK(AbstractLocale::getLocaleForName(nullptr) == nullptr);

    for (int localeId = AbstractLocale::eUtf8; localeId <= AbstractLocale::eKorean; ++localeId) {
        const std::unique_ptr<AbstractLocale> locale(
            AbstractLocale::getLocaleForId(static_cast<AbstractLocale::eLocalIds>(localeId)));
        AbstractEncoding::EncodingID found[4] = {};
        for (int supported = -1; supported <= AbstractLocale::LocalAndUtf8; ++supported) {
            AbstractLocale::setSupportedEncodings(
                static_cast<AbstractLocale::SupportedEncodings>(supported));
            const AbstractEncoding::EncodingID id = locale->getEncoding(a.c_str());
            if (id != 0) {
                const AbstractEncoding* encoding = registry.getEncodingForID(id);
                FUZZ_CHECK(encoding != nullptr && encoding->isAliasOrName(a.c_str()));
            }
            found[supported + 1] = id;
        }
        // A narrower setting never names what the widest does not.
        const AbstractEncoding::EncodingID wide = found[AbstractLocale::LocalAndUtf8 + 1];
        for (int setting = 0; setting < AbstractLocale::LocalAndUtf8 + 1; ++setting) {
            FUZZ_CHECK(found[setting] == 0 || found[setting] == wide);
        }
    }
    AbstractLocale::setSupportedEncodings(AbstractLocale::LocalAndUtf8);
    return 0;
}
