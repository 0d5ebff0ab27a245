// The UTF-8 codec of Utf8Encoding and its character count. The input is both
// the text to count and, four bytes at a time, the values to encode.
// Invariants: both counts agree, lie between a sixth of the length (rounded
// up) and the length, and a missing buffer counts nothing; every value is
// appended as one to six bytes that decode to it again (negative values take
// the six-byte form); decoding any piece of the input up to six bytes long
// is defined.
#include <charsetkit/encodings/Utf8Encoding.h>

#include "FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

using charsetkit::Utf8Encoding;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto length = static_cast<unsigned int>(size);
    const int count = Utf8Encoding::getUtf8CharCount(text.data(), length);
    FUZZ_CHECK(count == Utf8Encoding::getUtf8CharCount(text));
    FUZZ_CHECK(static_cast<unsigned int>(count) <= length);
    FUZZ_CHECK(static_cast<unsigned int>(count) >= (length + 5) / 6);
    FUZZ_CHECK(Utf8Encoding::getUtf8CharCount(nullptr, length) == 0);

    for (std::size_t i = 0; i + 4 <= size; i += 4) {
        std::uint32_t raw = 0;
        std::memcpy(&raw, data + i, sizeof raw);
        const auto value = static_cast<int>(raw);
        std::string out = "ab";
        Utf8Encoding::unicodeToUtf8(value, out);
        FUZZ_CHECK(out.size() >= 3 && out.size() <= 8 && out.compare(0, 2, "ab") == 0);
        const int written = static_cast<int>(out.size() - 2);
        if (value < 0) {
            FUZZ_CHECK(written == 6);
            continue;
        }
        const auto* sequence = reinterpret_cast<const unsigned char*>(out.data() + 2);
        FUZZ_CHECK(Utf8Encoding::utf8ToUnicode(sequence, written) == value);
        FUZZ_CHECK(Utf8Encoding::getUtf8CharCount(out.data() + 2,
                                                  static_cast<unsigned int>(written)) == 1);
    }
    for (std::size_t i = 0; i < size; ++i) {
        const int piece = static_cast<int>(size - i < 6 ? size - i : 6);
        static_cast<void>(Utf8Encoding::utf8ToUnicode(data + i, piece));
    }
    if (size > 0) {
        FUZZ_CHECK(Utf8Encoding::utf8ToUnicode(data, 0) == 0);
    }
    return 0;
}
