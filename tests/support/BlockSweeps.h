// The sweeps that compare a conversion that reads whole 64-byte blocks with
// its character-by-character loop, over running text of one script.
// `compare(input)` runs both and records any difference as a fatal test
// failure; each sweep stops at the first one.
#ifndef CHARSETKIT_TESTS_SUPPORT_BLOCKSWEEPS_H
#define CHARSETKIT_TESTS_SUPPORT_BLOCKSWEEPS_H

#include "support/Bytes.h"
#include "support/StreamInputs.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <random>
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

/// The sample page `sample` (under samples/) and those of `pages` that the
/// pages folder holds, whole and with `rounds` rounds each of a byte changed
/// at a random position and of `inserts` put in place of eight random ASCII
/// bytes (pieces chosen so that the rest still converts). Returns false
/// when only the sample page was there.
template <class Compare>
bool sweepPages(const std::string& sample, const std::vector<std::string>& pages, unsigned seed,
                int rounds, const std::vector<std::string>& inserts, Compare compare) {
    std::vector<std::string> texts = {
        readFile(std::filesystem::path(CHARSETKIT_SOURCE_DIR) / "samples" / sample)};
    EXPECT_FALSE(texts[0].empty()) << sample;
    const std::filesystem::path folder(CHARSETKIT_PAGES_DIR);
    for (const std::string& page : pages) {
        std::string real = folder.empty() ? std::string() : readFile(folder / page);
        if (!real.empty()) {
            texts.push_back(std::move(real));
        }
    }
    for (std::size_t n = 0; n < texts.size(); ++n) {
        const std::string& text = texts[n];
        if (text.empty()) {
            continue;
        }
        compare(text);
        std::mt19937 random(static_cast<unsigned>(seed + n));
        for (int round = 0; round < rounds && !::testing::Test::HasFatalFailure(); ++round) {
            std::string changed = text;
            changed[random() % changed.size()] = static_cast<char>(random() % 256);
            compare(changed);
            std::string inserted = text;
            for (int k = 0; k < 8; ++k) {
                const std::size_t pos = random() % inserted.size();
                if (static_cast<unsigned char>(inserted[pos]) < 0x80) {
                    inserted.replace(pos, 1, inserts[random() % inserts.size()]);
                }
            }
            compare(inserted);
        }
    }
    return texts.size() > 1;
}

} // namespace test
} // namespace charsetkit

#endif
