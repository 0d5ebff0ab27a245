#include <charsetkit/encodings/Utf8Encoding.h>

#include "encodings/EncodingLabels.h"

#include "utilities/MissingInput.h"

#include "utilities/Utf8Codec.h"

#include <charsetkit/detectors/Utf8DetectorSM.h>
#include <charsetkit/traversal/Utf8Traverser.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <new>

#include "detectors/Utf8Scan.h"
#include "encodings/CopyBytes.h"

namespace charsetkit {

const char* Utf8Encoding::getDisplayName() const {
    return "Unicode (UFT-8)";
}

const char* Utf8Encoding::getPreferedID() const {
    return detail::kUtf8Labels[0];
}

const char* Utf8Encoding::getJavaName() const {
    return "UTF8";
}

bool Utf8Encoding::isAliasOrName(const char* name) const {
    return generalCheckAliases(name, detail::kUtf8Labels);
}

bool Utf8Encoding::isKindOfUtf8() const {
    return true;
}

bool Utf8Encoding::isStateful() const {
    return false;
}

void Utf8Encoding::unicodeToUtf8(int codePoint, std::string& output) {
    utf8::append(static_cast<std::uint32_t>(codePoint), output);
}

int Utf8Encoding::utf8ToUnicode(const unsigned char* sequence, int length) {
    // Lengths 0 and outside 1..6 read nothing and give 0.
    if (sequence == nullptr) {
        return 0;
    }
    // Up to 31 value bits: a six-byte lead contributes one bit, so the value
    // always fits a non-negative int.
    return static_cast<int>(utf8::decode(sequence, length));
}

namespace {

// Counts characters by the length each lead byte announces. Only lead bytes
// are read; the bytes a lead announces are stepped over by index, so a step
// past the end reads nothing. The walk runs on the full size of the input and
// a count beyond the range of int is given as INT_MAX.
int countUtf8Chars(const char* buffer, std::size_t length) {
    std::size_t count = 0;
    std::size_t pos = 0;
    while (pos < length) {
        const auto b = static_cast<unsigned char>(buffer[pos]);
        std::size_t step = 1;
        if (b < 0x80) {
            step = 1;
        } else if ((b & 0xE0) == 0xC0) {
            step = (b == 0xC0 || b == 0xC1) ? 1 : 2;
        } else if ((b & 0xF0) == 0xE0) {
            step = 3;
        } else if ((b & 0xF8) == 0xF0) {
            step = 4;
        } else if ((b & 0xFC) == 0xF8) {
            step = 5;
        } else if ((b & 0xFE) == 0xFC) {
            step = 6;
        }
        ++count;
        if (step >= length - pos) {
            break;
        }
        pos += step;
    }
    return count > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(count);
}

} // namespace

int Utf8Encoding::getUtf8CharCount(const char* buffer, unsigned int length) {
    if (buffer == nullptr) {
        return 0;
    }
    return countUtf8Chars(buffer, length);
}

int Utf8Encoding::getUtf8CharCount(const std::string& text) {
    // The whole string is walked, even one longer than an unsigned int counts.
    return countUtf8Chars(text.data(), text.size());
}

AbstractTraverser* Utf8Encoding::getExactEncodingTraverser() const {
    return new (std::nothrow) Utf8Traverser();
}

bool Utf8Encoding::convertToUtf8(const char* buffer, unsigned int length, std::string& result,
                                 bool& unmapped, bool /*useReplacement*/) const {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    // UTF-8 input is copied as it is, without validation.
    unmapped = false;
    copyBytes(buffer, length, result);
    return true;
}

bool Utf8Encoding::convertFromUtf8(const char* buffer, unsigned int length,
                                   std::string& result) const {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    copyBytes(buffer, length, result);
    return true;
}

bool Utf8Encoding::verify(const char* buffer, unsigned int length, bool verifyCharacters,
                          bool rejectRedundantEscapes, int escapeRunLimit) const {
    if (detail::isMissingInput(buffer, length)) {
        return false;
    }
    // The escape limits play no part for this encoding.
    static_cast<void>(rejectRedundantEscapes);
    static_cast<void>(escapeRunLimit);
    // The machine accepts every complete character, so verifyCharacters
    // changes nothing and the structure alone decides.
    static_cast<void>(verifyCharacters);
    return detail::isUtf8Structure(buffer, length);
}

} // namespace charsetkit
