// The sweeps that compare an encoder from UTF-8 that reads whole 64-byte
// blocks with its character-by-character loop, over running text of one
// script. `compare(input)` runs both and records any difference as a fatal
// test failure; each sweep stops at the first one.
#ifndef CHARSETKIT_TESTS_SUPPORT_ENCODERSWEEPS_H
#define CHARSETKIT_TESTS_SUPPORT_ENCODERSWEEPS_H

#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

namespace charsetkit {
namespace test {

inline std::string repeatTo(const std::string& piece, std::size_t size) {
    std::string s;
    while (s.size() < size) {
        s += piece;
    }
    return s;
}

/// Whether the two conversions agree; when not, where their outputs part.
inline ::testing::AssertionResult sameConversion(bool fastOk, const std::string& fast, bool plainOk,
                                                 const std::string& plain,
                                                 const std::string& input) {
    if (fastOk == plainOk && fast == plain) {
        return ::testing::AssertionSuccess();
    }
    std::size_t at = 0;
    while (at < fast.size() && at < plain.size() && fast[at] == plain[at]) {
        ++at;
    }
    return ::testing::AssertionFailure()
           << "result " << fastOk << " / " << plainOk << ", outputs differ at " << at << ", input ("
           << input.size() << " bytes) starts " << hex(input.substr(0, 200));
}

/// Each piece in place of the byte at every position of the first two
/// blocks of `text`, after every prefix of 0 to 15 bytes.
template <class Compare>
void sweepPieces(const std::string& text, const std::vector<std::string>& pieces, Compare compare) {
    const std::string body = repeatTo(text, 220);
    for (const std::string& piece : pieces) {
        for (std::size_t prefix = 0; prefix < 16; ++prefix) {
            for (std::size_t pos = 0; pos < 130; ++pos) {
                std::string s = std::string(prefix, 'p') + body;
                s.replace(prefix + pos, 1, piece);
                compare(s);
                if (::testing::Test::HasFatalFailure()) {
                    return;
                }
            }
        }
    }
}

/// Every one- and two-byte input at the end of the first block, and every
/// three bytes of `alphabet` across it after ASCII and after characters of
/// three bytes (`wide`), so that the first block ends inside them.
template <class Compare>
void sweepBlockEnd(const std::string& text, const std::string& wide,
                   const std::vector<int>& alphabet, Compare compare) {
    const std::string after = repeatTo(text, 100);
    const std::string ascii(62, 'a');
    for (int a = 0; a < 256; ++a) {
        compare(ascii + static_cast<char>(a) + after);
        for (int b = 0; b < 256; ++b) {
            compare(ascii + static_cast<char>(a) + static_cast<char>(b) + after);
            if (::testing::Test::HasFatalFailure()) {
                return;
            }
        }
    }
    for (const std::string& before : {repeatTo(wide, 61), ascii, std::string(63, 'a')}) {
        for (int a : alphabet) {
            for (int b : alphabet) {
                for (int c : alphabet) {
                    compare(before + static_cast<char>(a) + static_cast<char>(b) +
                            static_cast<char>(c) + after);
                    if (::testing::Test::HasFatalFailure()) {
                        return;
                    }
                }
            }
        }
    }
}

} // namespace test
} // namespace charsetkit

#endif
