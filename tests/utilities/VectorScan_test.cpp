// Every compiled vector level against the plain byte loops: the ASCII runs,
// the runs below a bound, and the UTF-8 check (the scan with the machine
// behind it) against the UTF-8 machine read byte by byte. Each level this
// processor can run is tested by name, not only the one it would choose.
#include "detectors/Utf8Scan.h"
#include "reference/ReferenceScans.h"
#include "utilities/VectorScan.h"

#include "support/Bytes.h"
#include "support/VectorLevels.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

namespace charsetkit {
namespace {

using detail::vector::Level;

const unsigned char* at(const std::string& s, std::size_t offset = 0) {
    return reinterpret_cast<const unsigned char*>(s.data()) + offset;
}

class VectorScan : public ::testing::TestWithParam<Level> {
protected:
    Level level() const { return GetParam(); }

    void expectSameUtf8(const std::string& s) const {
        const detail::Utf8ScanResult fast = detail::scanUtf8(level(), at(s), s.size());
        const reference::Utf8Outcome plain = reference::scanUtf8(at(s), s.size());
        ASSERT_EQ(fast.failed, plain.failed) << test::hex(s);
        ASSERT_EQ(fast.endsInsideCharacter, plain.endsInsideCharacter) << test::hex(s);
    }

    void expectSameRuns(const std::string& s, std::size_t offset) const {
        const unsigned char* p = at(s, offset);
        const std::size_t n = s.size() - offset;
        ASSERT_EQ(detail::vector::plainAsciiRunLength(level(), p, n),
                  reference::plainAsciiRunLength(p, n))
            << offset << " " << test::hex(s);
        for (int bound : {0x80, 0x7F, 0x41, 0x01}) {
            ASSERT_EQ(detail::vector::runBelow(level(), p, n, static_cast<unsigned char>(bound)),
                      reference::runBelow(p, n, static_cast<unsigned char>(bound)))
                << offset << " " << bound << " " << test::hex(s);
        }
    }
};

TEST(VectorLevels, TheChosenLevelRunsAndThePlainOneAlwaysDoes) {
    EXPECT_TRUE(detail::vector::isAvailable(detail::vector::kPlain));
    EXPECT_TRUE(detail::vector::isAvailable(detail::vector::bestLevel()));
    EXPECT_EQ(detail::vector::bestLevel(), detail::vector::bestLevel());
    EXPECT_FALSE(detail::vector::isAvailable(static_cast<Level>(0)));
}

TEST_P(VectorScan, EveryStopByteAtEveryPositionAfterEveryOffset) {
    // The scan starts `offset` bytes into the buffer, so that the stop byte
    // meets every lane of every load alignment, and the final partial step.
    for (int stop : {0x80, 0xFF, 0xC3, 0x7F, 0x40, 0x1B, 0x0E, 0x0F, 0x00}) {
        for (std::size_t offset = 0; offset < 16; ++offset) {
            for (std::size_t pos = 0; pos < 64; ++pos) {
                for (std::size_t extra : {0u, 1u, 40u}) {
                    std::string s(offset + pos + 1 + extra, 'a');
                    s[offset + pos] = static_cast<char>(stop);
                    expectSameRuns(s, offset);
                }
            }
        }
    }
}

TEST_P(VectorScan, RunsOfEveryLengthWithoutAStop) {
    for (std::size_t n = 0; n < 100; ++n) {
        expectSameRuns(std::string(n, 'z'), 0);
        expectSameRuns(std::string(n, '\x7E'), 0);
    }
}

// Characters and faults to place inside otherwise valid text.
const char* const kPieces[] = {"80",
                               "BF",
                               "C0 80",
                               "C1 BF",
                               "C2",
                               "C2 80",
                               "DF BF",
                               "E0",
                               "E0 80 80",
                               "E0 9F BF",
                               "E0 A0 80",
                               "E1 80",
                               "ED A0 80",
                               "EF BF BF",
                               "F0 8F BF BF",
                               "F0 90 80 80",
                               "F4 90 80 80",
                               "F7 BF BF BF",
                               "F8 87 BF BF BF",
                               "F8 88 80 80 80",
                               "FB BF BF BF BF",
                               "FC 83 BF BF BF BF",
                               "FC 84 80 80 80 80",
                               "FD BF BF BF BF BF",
                               "FE",
                               "FF",
                               "1B",
                               "0E",
                               "0F",
                               "E3 81",
                               "E3 81 82 83",
                               "C3 A9 A9",
                               "F0 90 80",
                               "F0 90 80 80 80",
                               "E3 41",
                               "C3 1B",
                               "7F",
                               "00"};

TEST_P(VectorScan, Utf8PieceAtEveryPositionAfterEveryPrefix) {
    // Text before the piece: plain ASCII, or valid multi-byte characters, so
    // that the piece meets the scan both after an ASCII block and inside a
    // checked block.
    const std::string fillers[] = {"a", test::bytes("C3 A9"), test::bytes("E3 81 82"),
                                   test::bytes("F0 9F 98 80")};
    for (const char* pieceHex : kPieces) {
        const std::string piece = test::bytes(pieceHex);
        for (const std::string& filler : fillers) {
            for (std::size_t prefix = 0; prefix < 16; ++prefix) {
                for (std::size_t pos = 0; pos < 64; ++pos) {
                    std::string s(prefix, 'x');
                    while (s.size() < prefix + pos) {
                        s += filler;
                    }
                    s.resize(prefix + pos); // may cut the filler: a fault too
                    s += piece;
                    for (std::size_t k = 0; k < 3; ++k) {
                        s += filler;
                    }
                    std::string tail = s;
                    while (tail.size() < s.size() + 40) {
                        tail += 'y';
                    }
                    expectSameUtf8(s);
                    expectSameUtf8(tail);
                    // After 160 ASCII bytes the piece lands in the stretch
                    // read four blocks at a time.
                    expectSameUtf8(std::string(160, 'w') + tail + std::string(130, 'v'));
                }
            }
        }
    }
}

TEST_P(VectorScan, EveryOneAndTwoByteInputAtBlockEdges) {
    for (std::size_t pos : {0u, 1u, 14u, 15u, 16u, 30u, 31u, 32u, 33u, 62u, 63u}) {
        std::string s(pos + 2, 'q');
        for (int a = 0; a < 256; ++a) {
            s[pos] = static_cast<char>(a);
            std::string one = s.substr(0, pos + 1);
            expectSameUtf8(one);
            expectSameRuns(one, 0);
            for (int b = 0; b < 256; ++b) {
                s[pos + 1] = static_cast<char>(b);
                expectSameUtf8(s);
            }
        }
    }
}

TEST(VectorLevels, EveryThreeByteInput) {
    // Shorter than any vector step: every level reads such input alike.
    const Level level = detail::vector::bestLevel();
    std::string alone(3, '\0');
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            for (int c = 0; c < 256; ++c) {
                alone[0] = static_cast<char>(a);
                alone[1] = static_cast<char>(b);
                alone[2] = static_cast<char>(c);
                const detail::Utf8ScanResult x = detail::scanUtf8(level, at(alone), 3);
                const reference::Utf8Outcome y = reference::scanUtf8(at(alone), 3);
                ASSERT_TRUE(x.failed == y.failed && x.endsInsideCharacter == y.endsInsideCharacter)
                    << test::hex(alone);
            }
        }
    }
}

TEST_P(VectorScan, ThreeBytesAstrideTheFirstBlockEnd) {
    // Every lead byte before two bytes from each class of the lookup (edges
    // of the continuation ranges, of the leads, the control bytes), at the
    // end of the first block after 30 valid bytes.
    const int classes[] = {0x00, 0x0E, 0x0F, 0x1B, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F,
                           0xA0, 0xBF, 0xC0, 0xC1, 0xC2, 0xDF, 0xE0, 0xED, 0xEF, 0xF0,
                           0xF4, 0xF5, 0xF7, 0xF8, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF};
    std::string s(std::string(10, 'a') + test::bytes("E3 81 82 C3 A9") + std::string(15, 'b') +
                  "xyz" + std::string(20, 'c'));
    for (int a = 0x80; a < 256; ++a) {
        for (int b : classes) {
            for (int c : classes) {
                s[30] = static_cast<char>(a);
                s[31] = static_cast<char>(b);
                s[32] = static_cast<char>(c);
                expectSameUtf8(s);
                expectSameUtf8(s.substr(0, 32));
                expectSameUtf8(s.substr(0, 33));
            }
        }
    }
}

/// Page-like text: mark-up runs and characters of one to four bytes, with
/// the occasional surrogate, value above U+10FFFF or five-byte form.
std::string pageLikeText(std::mt19937& rng, std::size_t size) {
    std::string s;
    while (s.size() < size) {
        const auto r = rng() % 100;
        if (r < 40) {
            s += "<p class=\"x\">";
        } else if (r < 60) {
            s += test::bytes("E3 81 82");
        } else if (r < 70) {
            s += test::bytes("E6 BC A2");
        } else if (r < 80) {
            s += test::bytes("EA B0 80");
        } else if (r < 88) {
            s += test::bytes("C3 A9");
        } else if (r < 94) {
            s += test::bytes("F0 9F 98 80");
        } else if (r < 96) {
            s += test::bytes("ED B0 80");
        } else if (r < 98) {
            s += test::bytes("F5 80 80 80");
        } else {
            s += test::bytes("F8 88 80 80 80");
        }
    }
    return s;
}

TEST_P(VectorScan, RandomAndMutatedPages) {
    std::mt19937 rng(20261208);
    for (int round = 0; round < 3000; ++round) {
        std::string s = pageLikeText(rng, rng() % 600);
        expectSameUtf8(s);
        const int mutations = static_cast<int>(rng() % 3);
        for (int m = 0; m < mutations && !s.empty(); ++m) {
            const std::size_t pos = rng() % s.size();
            switch (rng() % 4) {
            case 0:
                s[pos] = static_cast<char>(rng() % 256);
                break;
            case 1:
                s.erase(pos, 1);
                break;
            case 2:
                s.insert(pos, 1, static_cast<char>(0x80 + rng() % 0x40));
                break;
            default:
                s.resize(pos);
                break;
            }
        }
        expectSameUtf8(s);
        for (std::size_t offset = 0; offset < 3 && offset < s.size(); ++offset) {
            expectSameRuns(s, offset);
        }
    }
}

TEST_P(VectorScan, ValidTextIsProvenWithoutTheMachine) {
    // A vector level that refused good blocks would still answer right, only
    // slowly: valid text must be proven up to its last block.
    if (level() == detail::vector::kPlain || level() == detail::vector::kSse2) {
        GTEST_SKIP() << "this level proves plain ASCII only";
    }
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        std::string s = pageLikeText(rng, 200 + rng() % 800);
        // Only forms of at most four bytes and no cut character.
        std::string valid;
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (static_cast<unsigned char>(s[i]) == 0xF8) {
                i += 4;
                continue;
            }
            valid += s[i];
        }
        const std::size_t proven =
            detail::vector::utf8CleanPrefix(level(), at(valid), valid.size());
        EXPECT_GE(proven + 35, valid.size()) << test::hex(valid);
        EXPECT_FALSE(reference::scanUtf8(at(valid), proven).failed);
        EXPECT_FALSE(reference::scanUtf8(at(valid), proven).endsInsideCharacter);
    }
}

// Blocks for the mask scans: every byte value in every lane, then random
// blocks.
std::vector<std::array<unsigned char, 64>> maskTestBlocks() {
    std::vector<std::array<unsigned char, 64>> blocks(300);
    std::mt19937 random(7);
    for (std::size_t n = 0; n < blocks.size(); ++n) {
        for (unsigned k = 0; k < 64; ++k) {
            blocks[n][k] = static_cast<unsigned char>(n < 4 ? n * 64 + k : random() & 0xFFu);
        }
    }
    return blocks;
}

TEST_P(VectorScan, RangeMasksMarkEveryByteOfEveryRange) {
    // Every byte value in every lane, against ranges that meet the ends of
    // the byte values, single values and the signed/unsigned boundary.
    const detail::vector::ByteRanges ranges[] = {
        {{0x00, 0x80, 0x7F, 0x81}, {0x7F, 0xFF, 0x80, 0x81}, 4},
        {{0x81, 0xE0, 0x40, 0x00}, {0x9F, 0xFC, 0x7E, 0xFF}, 4},
        {{0xA1, 0, 0, 0}, {0xDF, 0, 0, 0}, 1},
    };
    for (const auto& block : maskTestBlocks()) {
        for (const auto& r : ranges) {
            std::uint64_t masks[4] = {};
            detail::vector::rangeMasks64(level(), block.data(), r, masks);
            for (int i = 0; i < r.count; ++i) {
                for (unsigned k = 0; k < 64; ++k) {
                    const bool in = block[k] >= r.lo[i] && block[k] <= r.hi[i];
                    ASSERT_EQ((masks[i] >> k & 1u) != 0, in)
                        << "range " << i << " byte " << int{block[k]} << " lane " << k;
                }
            }
        }
    }
}

TEST_P(VectorScan, Utf8ClassesMarkEveryByteOfTheirClass) {
    for (const auto& block : maskTestBlocks()) {
        std::uint64_t masks[5] = {};
        detail::vector::utf8Classes64(level(), block.data(), masks);
        for (unsigned k = 0; k < 64; ++k) {
            const unsigned b = block[k];
            const bool expected[5] = {b >= 0x80 && b <= 0xBF, b >= 0xC0 && b <= 0xDF, b >= 0xE0,
                                      b >= 0x0E && b <= 0x1B, b == 0xE0 || b >= 0xF0};
            for (int r = 0; r < 5; ++r) {
                ASSERT_EQ((masks[r] >> k & 1u) != 0, expected[r])
                    << "class " << r << " byte " << b << " lane " << k;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, VectorScan, ::testing::ValuesIn(test::runnableLevels()),
                         test::levelParamName);

} // namespace
} // namespace charsetkit
