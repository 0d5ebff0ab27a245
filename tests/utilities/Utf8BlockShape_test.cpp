// The shape of a 64-byte block of UTF-8 read from byte masks, compared at
// every vector level with a reading of the same block one character at a
// time, and the decoding of each character it reports compared with a strict
// reading of UTF-8: blocks made of every kind of character, with every
// boundary byte put at every position, and every three bytes of a boundary
// alphabet at the block's start, middle and end, where characters run past
// it.
#include "support/Bytes.h"
#include "support/VectorLevels.h"
#include "utilities/Utf8BlockShape.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>

namespace charsetkit {
namespace {

using detail::vector::Level;

// One character at a time from byte 0: the shape, or nothing when a byte
// before the block's last character that runs past its end is not allowed.
std::optional<detail::Utf8BlockShape> readByCharacter(const unsigned char* p,
                                                      bool controlsAreText) {
    detail::Utf8BlockShape shape{64, 0, 0, 0};
    unsigned k = 0;
    while (k < 64) {
        const unsigned char b = p[k];
        if (b < 0x80) {
            if (!controlsAreText && b >= 0x0E && b <= 0x1B) {
                return std::nullopt;
            }
            ++k;
            continue;
        }
        if (b < 0xC0) {
            return std::nullopt;
        }
        const unsigned size = b < 0xE0 ? 2 : 3;
        if (k + size > 64) {
            shape.length = k;
            break;
        }
        for (unsigned t = 1; t < size; ++t) {
            if (p[k + t] < 0x80 || p[k + t] > 0xBF) {
                return std::nullopt;
            }
        }
        shape.leads |= std::uint64_t{1} << k;
        if (size == 3) {
            shape.threeByteLeads |= std::uint64_t{1} << k;
            if (b == 0xE0 || b >= 0xF0) {
                shape.unusualLeads |= std::uint64_t{1} << k;
            }
        }
        k += size;
    }
    return shape;
}

// The code point of the well-formed two- or three-byte character at `c`
// (its continuations known to be there), or nothing.
std::optional<std::uint32_t> strictDecode(const unsigned char* c) {
    if (c[0] >= 0xC2 && c[0] <= 0xDF) {
        return (c[0] & 0x1Fu) << 6 | (c[1] & 0x3Fu);
    }
    if (c[0] >= 0xE0 && c[0] <= 0xEF && !(c[0] == 0xE0 && c[1] < 0xA0)) {
        return (c[0] & 0x0Fu) << 12 | (c[1] & 0x3Fu) << 6 | (c[2] & 0x3Fu);
    }
    return std::nullopt;
}

class Utf8BlockShapeTest : public ::testing::TestWithParam<Level> {
protected:
    void compare(const std::string& block) {
        ASSERT_EQ(block.size(), 64u);
        const auto* p = reinterpret_cast<const unsigned char*>(block.data());
        for (const bool controlsAreText : {false, true}) {
            detail::Utf8BlockShape shape{0, 0, 0, 0};
            const bool ok = detail::readUtf8BlockShape(GetParam(), p, controlsAreText, shape);
            const auto expected = readByCharacter(p, controlsAreText);
            ASSERT_EQ(ok, expected.has_value())
                << test::hex(block) << " controls " << controlsAreText;
            if (!ok) {
                continue;
            }
            ASSERT_EQ(shape.length, expected->length) << test::hex(block);
            ASSERT_EQ(shape.leads, expected->leads) << test::hex(block);
            ASSERT_EQ(shape.threeByteLeads, expected->threeByteLeads) << test::hex(block);
            ASSERT_EQ(shape.unusualLeads, expected->unusualLeads) << test::hex(block);
            // The decoding reads up to two bytes past a lead at 62.
            const std::string padded = block + std::string(2, '\x80');
            const auto* q = reinterpret_cast<const unsigned char*>(padded.data());
            for (std::uint64_t leads = shape.leads; leads != 0; leads &= leads - 1) {
                const unsigned k = detail::lowestBit(leads);
                std::uint32_t codePoint = 0;
                const bool three = (shape.threeByteLeads >> k & 1u) != 0;
                const bool wellFormed = detail::decodeUtf8At(q + k, three, codePoint);
                const auto strict = strictDecode(q + k);
                ASSERT_EQ(wellFormed, strict.has_value()) << k << ": " << test::hex(block);
                if (wellFormed) {
                    ASSERT_EQ(codePoint, *strict) << k << ": " << test::hex(block);
                }
            }
        }
    }
};

// ASCII, a line end, two- and three-byte characters (hangul, kanji, the
// lowest three-byte form after E0).
const char* const kPieces[] = {
    "a",           "\n", "\xC2\xA7", "\xD0\x96", "\xE3\x81\x82", "\xEA\xB0\x80", "\xE0\xA0\x80",
    "\xEF\xBF\xBD"};

std::string validBlock(std::mt19937& random) {
    std::string s;
    while (s.size() < 66) {
        s += kPieces[random() % (sizeof kPieces / sizeof kPieces[0])];
    }
    return s.substr(0, 64);
}

const unsigned char kBoundaryBytes[] = {0x00, 0x0E, 0x0F, 0x1B, 0x41, 0x7F, 0x80,
                                        0x9F, 0xA0, 0xBF, 0xC0, 0xC1, 0xC2, 0xDF,
                                        0xE0, 0xED, 0xEF, 0xF0, 0xF4, 0xF8, 0xFF};

TEST_P(Utf8BlockShapeTest, EveryBoundaryByteAtEveryPositionOfMixedBlocks) {
    std::mt19937 random(29);
    for (int round = 0; round < 40; ++round) {
        const std::string block = validBlock(random);
        ASSERT_NO_FATAL_FAILURE(compare(block));
        for (std::size_t pos = 0; pos < 64; ++pos) {
            for (const unsigned char b : kBoundaryBytes) {
                std::string changed = block;
                changed[pos] = static_cast<char>(b);
                ASSERT_NO_FATAL_FAILURE(compare(changed));
            }
        }
    }
}

TEST_P(Utf8BlockShapeTest, EveryThreeBoundaryBytesAtTheEndAndAtTheStart) {
    std::mt19937 random(31);
    const std::string block = validBlock(random);
    for (const unsigned char a : kBoundaryBytes) {
        for (const unsigned char b : kBoundaryBytes) {
            for (const unsigned char c : kBoundaryBytes) {
                for (const std::size_t pos : {std::size_t{0}, std::size_t{30}, std::size_t{61}}) {
                    std::string changed = block;
                    changed[pos] = static_cast<char>(a);
                    changed[pos + 1] = static_cast<char>(b);
                    changed[pos + 2] = static_cast<char>(c);
                    ASSERT_NO_FATAL_FAILURE(compare(changed));
                }
            }
        }
    }
}

TEST_P(Utf8BlockShapeTest, RandomBytes) {
    std::mt19937 random(37);
    for (int round = 0; round < 2000; ++round) {
        std::string block(64, '\0');
        for (char& c : block) {
            c = static_cast<char>(random() % 256);
        }
        ASSERT_NO_FATAL_FAILURE(compare(block));
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, Utf8BlockShapeTest, ::testing::ValuesIn(test::runnableLevels()),
                         test::levelParamName);

} // namespace
} // namespace charsetkit
