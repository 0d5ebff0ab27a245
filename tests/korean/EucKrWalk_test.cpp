// The EUC-KR validity walk skips single bytes at vector width; it must
// answer as the plain byte-by-byte walk on every placement of a two-byte
// character, a stray byte or a cut-off lead.
#include <charsetkit/korean/KoreanUtil.h>

#include "reference/ReferenceScans.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace charsetkit {
namespace {

bool walk(const std::string& s) {
    return KoreanUtil::getInstance()->isEucKrCharSet(
        reinterpret_cast<const unsigned char*>(s.data()), static_cast<unsigned int>(s.size()));
}

bool plainWalk(const std::string& s) {
    return reference::isEucKr(reinterpret_cast<const unsigned char*>(s.data()), s.size());
}

TEST(EucKrWalk, PieceAtEveryPositionAfterEveryPrefix) {
    const char* const pieces[] = {"B0 A1", "B0",    "7F",    "80",    "FF",    "B0 41", "B0 5B",
                                  "B0 7B", "B0 FF", "81 FE", "1B 0E", "FE 61", "C8 80"};
    for (const char* pieceHex : pieces) {
        const std::string piece = test::bytes(pieceHex);
        for (std::size_t prefix = 0; prefix < 16; ++prefix) {
            for (std::size_t pos = 0; pos < 64; ++pos) {
                std::string s(prefix + pos, 'a');
                s += piece;
                ASSERT_EQ(walk(s), plainWalk(s)) << test::hex(s);
                s += std::string(40, 'b') + test::bytes("C7 D1");
                ASSERT_EQ(walk(s), plainWalk(s)) << test::hex(s);
            }
        }
    }
}

TEST(EucKrWalk, RandomAndMutatedText) {
    std::mt19937 rng(11);
    const std::string pieces[] = {"<td>",
                                  " ",
                                  "\n",
                                  test::bytes("C7 D1 B1 B9"),
                                  test::bytes("BE EE"),
                                  "abc",
                                  test::bytes("81 41")};
    for (int round = 0; round < 3000; ++round) {
        std::string s;
        const std::size_t parts = rng() % 40;
        for (std::size_t k = 0; k < parts; ++k) {
            s += pieces[rng() % 7];
        }
        ASSERT_EQ(walk(s), plainWalk(s)) << test::hex(s);
        if (!s.empty()) {
            s[rng() % s.size()] = static_cast<char>(rng() % 256);
            ASSERT_EQ(walk(s), plainWalk(s)) << test::hex(s);
        }
    }
}

} // namespace
} // namespace charsetkit
