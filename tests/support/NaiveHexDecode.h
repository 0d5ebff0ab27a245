// A deliberately plain percent decoder for buffers in which every byte is a
// character start: one byte at a time, its own digit values, no traverser.
// Tests compare the library's decoder (with an ASCII traverser) against it.
#ifndef CHARSETKIT_TESTS_SUPPORT_NAIVEHEXDECODE_H
#define CHARSETKIT_TESTS_SUPPORT_NAIVEHEXDECODE_H

#include <cstddef>
#include <string>

namespace charsetkit {
namespace test {

/// Value of an ASCII hexadecimal digit, or -1.
inline int naiveDigitValue(char c) {
    const std::string digits = "0123456789abcdef";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (c == digits[i] || (i >= 10 && c == digits[i] - 'a' + 'A')) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

/// Decodes "%XY" escapes of `in`. A '%' among the last two bytes is copied.
/// On a '%' that is not followed by two digits, `out` is a copy of `in` and
/// the result is false.
inline bool naiveHexDecode(const std::string& in, std::string& out) {
    std::string decoded;
    std::size_t i = 0;
    while (i < in.size()) {
        const bool roomForDigits = in.size() - i >= 3;
        if (in[i] == '%' && roomForDigits) {
            const int high = naiveDigitValue(in[i + 1]);
            const int low = naiveDigitValue(in[i + 2]);
            if (high < 0 || low < 0) {
                out = in;
                return false;
            }
            decoded += static_cast<char>(static_cast<unsigned char>(high * 16 + low));
            i += 3;
        } else {
            decoded += in[i];
            i += 1;
        }
    }
    out = decoded;
    return true;
}

} // namespace test
} // namespace charsetkit

#endif
