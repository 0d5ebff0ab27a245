// Conversion both ways for every encoding under every setting of the
// Japanese switches. The first byte holds the switches (see ScopedSettings)
// and, in bit 6, whether unmapped codes are replaced. Invariants: the
// registry knows exactly the identifiers 1-6; the Western encoding refuses
// conversion from UTF-8 and leaves the output alone, UTF-8 copies it; for
// the others a conversion from UTF-8 is all or nothing and, when the kana and
// supplementary-kanji switches are on, its output verifies and converts back to the input (less a
// sequence cut short at its end) without unmapped characters; conversion to UTF-8 never fails for
// the Japanese encodings and yields UTF-8 of at most three bytes per input byte.
#include <charsetkit/charsetkit.h>

#include "FuzzCheck.h"
#include "FuzzSettings.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace charsetkit;

namespace {

// The input without a UTF-8 sequence left open at its end.
std::string withoutOpenTail(const char* buffer, unsigned int length) {
    Utf8DetectorSM machine;
    unsigned int complete = 0;
    for (unsigned int i = 0; i < length; ++i) {
        machine.processByte(static_cast<unsigned char>(buffer[i]), false);
        if (!machine.m_inChar) {
            complete = i + 1;
        }
    }
    return std::string(buffer, complete);
}

// Well-formed UTF-8 as RFC 3629 defines it: no overlong forms, surrogates or
// values above U+10FFFF; control characters (ESC included) are allowed.
bool isWellFormedUtf8(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        unsigned int low = 0x80;
        unsigned int high = 0xBF;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (text.size() - i <= extra) {
            return false;
        }
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) {
                return false;
            }
        }
        i += extra + 1;
    }
    return true;
}

bool isJapanese(int id) {
    return id == AbstractEncoding::EucJp || id == AbstractEncoding::Sjis ||
           id == AbstractEncoding::Jis;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const std::uint8_t control = data[0];
    const fuzzing::ScopedSettings settings(control);
    const bool useReplacement = (control & 0x40) != 0;
    // The output of a conversion from UTF-8 does not follow the kana and
    // supplementary-kanji switches, which only narrow what reads back.
    const bool defaultReading = (control & 0x0C) == 0;
    const char* buffer = reinterpret_cast<const char*>(data + 1);
    const auto length = static_cast<unsigned int>(size - 1);
    EncodingFromId registry;
    FUZZ_CHECK(registry.getEncodingForID(static_cast<AbstractEncoding::EncodingID>(0)) == nullptr);
    FUZZ_CHECK(registry.getEncodingForID(static_cast<AbstractEncoding::EncodingID>(7)) == nullptr);

    for (int id = AbstractEncoding::Ascii; id <= AbstractEncoding::EucKr; ++id) {
        const AbstractEncoding* encoding =
            registry.getEncodingForID(static_cast<AbstractEncoding::EncodingID>(id));
        FUZZ_CHECK(encoding != nullptr);

        std::string encoded = "previous";
        const bool converted = encoding->convertFromUtf8(buffer, length, encoded);
        if (id == AbstractEncoding::Ascii) {
            FUZZ_CHECK(!converted && encoded == "previous");
        } else if (id == AbstractEncoding::Utf8) {
            FUZZ_CHECK(converted && encoded == std::string(buffer, length));
        } else if (converted && defaultReading) {
            const auto encodedLength = static_cast<unsigned int>(encoded.size());
            // The Korean check takes no DEL (0x7F), which conversion writes.
            const bool delInKorean =
                id == AbstractEncoding::EucKr && encoded.find('\x7f') != std::string::npos;
            FUZZ_CHECK(delInKorean ||
                       encoding->verify(encoded.data(), encodedLength, true, false, 1000));
            std::string back;
            bool backUnmapped = false;
            FUZZ_CHECK(
                encoding->convertToUtf8(encoded.data(), encodedLength, back, backUnmapped, false));
            FUZZ_CHECK(!backUnmapped);
            FUZZ_CHECK(back == withoutOpenTail(buffer, length));
        } else if (!converted) {
            FUZZ_CHECK(encoded == "previous");
        }

        std::string utf8 = "previous";
        bool unmapped = false;
        const bool decoded =
            encoding->convertToUtf8(buffer, length, utf8, unmapped, useReplacement);
        if (isJapanese(id)) {
            FUZZ_CHECK(decoded);
            FUZZ_CHECK(utf8.size() <= 3u * length);
        }
        if (id == AbstractEncoding::Ascii || id == AbstractEncoding::Utf8) {
            FUZZ_CHECK(decoded && !unmapped && utf8 == std::string(buffer, length));
        } else if (decoded && (useReplacement || !unmapped)) {
            // Only a tagged code for an unmapped character leaves UTF-8.
            FUZZ_CHECK(isWellFormedUtf8(utf8));
        } else if (!decoded) {
            FUZZ_CHECK(utf8 == "previous");
        }
    }
    return 0;
}
