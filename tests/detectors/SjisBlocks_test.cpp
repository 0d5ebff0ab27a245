// Shift_JIS read in 64-byte blocks against the machine read byte by byte:
// verification (the index of the failing byte) and conversion to UTF-8 (the
// output, the unmapped flag and every field of the machine), at every
// compiled vector level and under each setting of the switches the machine
// reads.
#include <charsetkit/detectors/SjisDetectorSM.h>

#include "detectors/SjisBlocks.h"
#include "reference/MachineConversionTwin.h"
#include "support/Bytes.h"
#include "support/StreamInputs.h"
#include "support/SwitchesTest.h"
#include "support/VectorLevels.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace charsetkit {
namespace {

using detail::vector::Level;

// The machine through its virtual rule, one byte at a time.
std::size_t plainVerifiedPrefix(const std::string& s, bool verifyCharacters) {
    SjisDetectorSM machine;
    AbstractDetectorSM& plain = machine;
    for (std::size_t k = 0; k < s.size(); ++k) {
        plain.processByte(static_cast<unsigned char>(s[k]), verifyCharacters);
        if (plain.m_error) {
            return k;
        }
    }
    return s.size();
}

// Bytes at the edges of the classes the blocks sort bytes into.
const std::vector<int> kBoundaryBytes = {0x00, 0x0A, 0x0E, 0x0F, 0x1B, 0x20, 0x3F, 0x40, 0x41,
                                         0x7E, 0x7F, 0x80, 0x81, 0x82, 0x85, 0x87, 0x88, 0x9E,
                                         0x9F, 0xA0, 0xA1, 0xB1, 0xDF, 0xE0, 0xEA, 0xED, 0xEE,
                                         0xEF, 0xF0, 0xFA, 0xFC, 0xFD, 0xFE, 0xFF};

// Text of the kinds the blocks take whole and the kinds they leave to the
// machine: ASCII, JIS X 0208 pairs (some with a trail below 0x7F), katakana,
// extension and user-defined pairs, unmapped pairs.
std::string randomText(std::mt19937& rng, std::size_t size) {
    static const std::vector<std::string> pieces = {"a",
                                                    " ",
                                                    "<p>",
                                                    "\n",
                                                    "12",
                                                    "abcdefghijklmnopqrstu",
                                                    test::bytes("82 A0"),
                                                    test::bytes("83 41"),
                                                    test::bytes("93 FA"),
                                                    test::bytes("96 7B"),
                                                    test::bytes("81 40"),
                                                    test::bytes("E0 40"),
                                                    test::bytes("EA A4"),
                                                    test::bytes("B1"),
                                                    test::bytes("87 40"),
                                                    test::bytes("ED 40"),
                                                    test::bytes("FA 40"),
                                                    test::bytes("F0 40"),
                                                    test::bytes("85 40"),
                                                    test::bytes("81 7F")};
    std::string s;
    while (s.size() < size) {
        // Mostly ASCII and JIS X 0208, as in real text.
        const std::size_t pick = rng() % 4 == 0 ? rng() % pieces.size() : rng() % 10;
        s += pieces[pick];
    }
    s.resize(size);
    return s;
}

class SjisBlocks : public test::SwitchesTest, public ::testing::WithParamInterface<Level> {
protected:
    // Each setting of the switches the machine reads.
    template <class Check>
    void underEachSetting(Check check) {
        for (bool kana : {true, false}) {
            for (bool extensions : {true, false}) {
                setSingleByteKana(kana);
                setSjisExtensions(extensions);
                check();
            }
        }
    }

    // Katakana on and off (the switch that decides which bytes fail).
    template <class Check>
    void underEachKanaSetting(Check check) {
        for (bool kana : {true, false}) {
            setSingleByteKana(kana);
            check();
        }
    }

    void compareVerify(const std::string& s) {
        const auto* p = reinterpret_cast<const unsigned char*>(s.data());
        for (bool vc : {false, true}) {
            ASSERT_EQ(detail::sjis::verifiedPrefix(GetParam(), p, s.size(), vc),
                      plainVerifiedPrefix(s, vc))
                << "characters " << vc << " input " << test::hex(s);
        }
    }

    // The conversion from a machine that has read `before` (without output)
    // against the machine-driven twin from the same machine.
    void compareConvert(const std::string& s, const std::string& before = "") {
        for (bool repl : {false, true}) {
            SjisDetectorSM fast;
            SjisDetectorSM plain;
            for (char c : before) {
                fast.processByte(static_cast<unsigned char>(c), false);
                plain.processByte(static_cast<unsigned char>(c), false);
            }
            std::string out = "x";
            std::string expected = "x";
            bool fastUnmapped = false;
            bool plainUnmapped = false;
            ASSERT_TRUE(detail::sjis::convertToUtf8(fast, GetParam(), s.data(),
                                                    static_cast<unsigned int>(s.size()), out,
                                                    fastUnmapped, repl));
            twin::convert(plain, s, expected, plainUnmapped, repl);
            ASSERT_EQ(test::hex(out), test::hex(expected))
                << "after " << test::hex(before) << " input " << test::hex(s);
            ASSERT_EQ(fastUnmapped, plainUnmapped) << test::hex(s);
            ASSERT_EQ(fast.m_state, plain.m_state) << test::hex(s);
            ASSERT_EQ(fast.m_firstByte, plain.m_firstByte) << test::hex(s);
            ASSERT_EQ(fast.m_error, plain.m_error) << test::hex(s);
            ASSERT_EQ(fast.m_confirmed, plain.m_confirmed) << test::hex(s);
            ASSERT_EQ(fast.m_inChar, plain.m_inChar) << test::hex(s);
        }
    }

    void compareBoth(const std::string& s) {
        compareVerify(s);
        compareConvert(s);
    }
};

TEST_P(SjisBlocks, EveryOneAndTwoByteInput) {
    underEachSetting([this] {
        for (int a = 0; a < 256; ++a) {
            compareBoth(test::bytes({a}));
            for (int b = 0; b < 256; ++b) {
                compareBoth(test::bytes({a, b}));
            }
        }
    });
}

// Three boundary bytes ending on a block's last byte or running into the
// next block.
TEST_P(SjisBlocks, BoundaryTriplesAtBlockEdges) {
    for (int a : kBoundaryBytes) {
        for (int b : kBoundaryBytes) {
            for (int c : kBoundaryBytes) {
                const std::string triple = test::bytes({a, b, c});
                for (std::size_t at : {62u, 63u}) {
                    std::string s(130, 'a');
                    s.replace(at, 3, triple);
                    compareBoth(s);
                }
            }
        }
    }
}

// Each boundary byte at every position of a block after every prefix length,
// in text whose pairs cross the block edges.
TEST_P(SjisBlocks, ByteAtEveryPositionAfterEveryPrefix) {
    std::mt19937 rng(7);
    const std::string base = randomText(rng, 220);
    underEachKanaSetting([&] {
        for (std::size_t prefix = 0; prefix < 16; ++prefix) {
            for (std::size_t pos = 0; pos < 80; ++pos) {
                for (int byte :
                     {0x0A, 0x1B, 0x40, 0x7F, 0x80, 0x82, 0xA0, 0xB1, 0xED, 0xF0, 0xFD}) {
                    std::string s = std::string(prefix, 'a') + base;
                    s[prefix + pos] = static_cast<char>(byte);
                    compareBoth(s);
                }
            }
        }
    });
}

TEST_P(SjisBlocks, RandomText) {
    std::mt19937 rng(20261209);
    underEachSetting([&] {
        for (int round = 0; round < 3000; ++round) {
            compareBoth(randomText(rng, 1 + rng() % 300));
        }
    });
}

TEST_P(SjisBlocks, RealPagesMutated) {
    bool any = false;
    for (const test::NamedInput& input : test::fileInputs()) {
        if (test::encodingOfName(input.name) != "shift_jis") {
            continue;
        }
        any = true;
        std::mt19937 rng(1209);
        underEachSetting([&] {
            compareBoth(input.bytes);
            for (int round = 0; round < 5 && !input.bytes.empty(); ++round) {
                std::string s = input.bytes;
                s[rng() % s.size()] =
                    static_cast<char>(kBoundaryBytes[rng() % kBoundaryBytes.size()]);
                compareBoth(s);
            }
        });
    }
    if (!any) {
        GTEST_SKIP() << "no Shift_JIS pages";
    }
}

// The conversion from each state the machine can be in when it starts, in
// text that runs over several blocks.
TEST_P(SjisBlocks, ConvertFromEveryStartingState) {
    std::mt19937 rng(99);
    underEachSetting([&] {
        for (const std::string& before :
             {std::string(), test::bytes("41"), test::bytes("B1"), test::bytes("82"),
              test::bytes("82 A0"), test::bytes("FF"), test::bytes("82 0A")}) {
            for (int round = 0; round < 300; ++round) {
                compareConvert(randomText(rng, 1 + rng() % 400), before);
            }
        }
    });
}

// Plain ASCII long enough to go to the result in one copy, with anything
// at either end and across the blocks around it.
TEST_P(SjisBlocks, ConvertLongAsciiRuns) {
    for (std::size_t run : {63u, 64u, 65u, 127u, 128u, 200u, 3000u}) {
        for (const std::string& edge : {test::bytes("82 A0"), test::bytes("1B"), test::bytes("B1"),
                                        test::bytes("82"), test::bytes("10"), test::bytes("FF")}) {
            const std::string ascii(run, 'q');
            compareBoth(edge + ascii + edge + ascii);
            compareBoth(ascii + edge);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, SjisBlocks, ::testing::ValuesIn(test::runnableLevels()),
                         test::levelParamName);

} // namespace
} // namespace charsetkit
