// The Japanese conversions and verifiers take runs of plain ASCII in one
// step. Here they are compared with plain byte-at-a-time versions: the
// conversion with the reference in tests/reference, verification with the
// machines' virtual drivers. Inputs: every 1- and 2-byte buffer, a non-ASCII
// byte at every position after every prefix length, and random buffers of
// Japanese pieces with single-byte mutations.
#include <charsetkit/detectors/EucJpDetectorSM.h>
#include <charsetkit/detectors/JisDetectorSM.h>
#include <charsetkit/detectors/SjisDetectorSM.h>

#include "detectors/JapaneseDrivers.h"
#include "reference/JapaneseConversionReference.h"
#include "support/Bytes.h"
#include "support/SwitchesTest.h"
#include "support/Utf8Writer.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace charsetkit {
namespace {

template <class Machine>
void compareConversion(const std::string& s) {
    for (bool repl : {false, true}) {
        Machine fast;
        Machine plain;
        std::string out;
        bool fastUnmapped = false;
        bool plainUnmapped = false;
        fast.convertToUtf8(s.data(), static_cast<unsigned int>(s.size()), out, fastUnmapped, repl);
        const std::string expected = reference::convertPlain(plain, s, repl, plainUnmapped);
        ASSERT_EQ(test::hex(out), test::hex(expected)) << "input " << test::hex(s);
        ASSERT_EQ(fastUnmapped, plainUnmapped) << test::hex(s);
        ASSERT_EQ(fast.m_state, plain.m_state) << test::hex(s);
        ASSERT_EQ(fast.m_error, plain.m_error) << test::hex(s);
        ASSERT_EQ(fast.m_confirmed, plain.m_confirmed) << test::hex(s);
        ASSERT_EQ(fast.m_inChar, plain.m_inChar) << test::hex(s);
    }
}

void compareJisConversion(const std::string& s) {
    compareConversion<JisDetectorSM>(s);
    JisDetectorSM fast;
    JisDetectorSM plain;
    std::string out;
    bool unmapped = false;
    fast.convertToUtf8(s.data(), static_cast<unsigned int>(s.size()), out, unmapped, false);
    reference::convertPlain(plain, s, false, unmapped);
    ASSERT_EQ(fast.m_charsSinceEscape, plain.m_charsSinceEscape) << test::hex(s);
    ASSERT_EQ(fast.m_escapeRun, plain.m_escapeRun) << test::hex(s);
    ASSERT_EQ(fast.m_redundantEscape, plain.m_redundantEscape) << test::hex(s);
    ASSERT_EQ(fast.m_designation, plain.m_designation) << test::hex(s);
}

template <class Machine>
void compareStatelessVerify(const std::string& s, bool verifyCharacters) {
    Machine fast;
    Machine plain;
    AbstractDetectorSM& virtualPlain = plain;
    const auto n = static_cast<unsigned int>(s.size());
    ASSERT_EQ(detail::runJapaneseStatelessFast(fast, s.data(), n, verifyCharacters),
              virtualPlain.verify(s.data(), n, verifyCharacters, false, 0))
        << test::hex(s);
    ASSERT_EQ(fast.m_state, plain.m_state) << test::hex(s);
    ASSERT_EQ(fast.m_firstByte, plain.m_firstByte) << test::hex(s);
    ASSERT_EQ(fast.m_confirmed, plain.m_confirmed) << test::hex(s);
    ASSERT_EQ(fast.m_inChar, plain.m_inChar) << test::hex(s);
    ASSERT_EQ(fast.m_error, plain.m_error) << test::hex(s);
}

::testing::AssertionResult sameJisFields(const JisDetectorSM& fast, const JisDetectorSM& plain) {
    if (fast.m_state == plain.m_state && fast.m_designation == plain.m_designation &&
        fast.m_firstByte == plain.m_firstByte &&
        fast.m_charsSinceEscape == plain.m_charsSinceEscape &&
        fast.m_escapeRun == plain.m_escapeRun &&
        fast.m_redundantEscape == plain.m_redundantEscape && fast.m_error == plain.m_error &&
        fast.m_confirmed == plain.m_confirmed && fast.m_inChar == plain.m_inChar) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "fields differ (fast/plain): state " << fast.m_state << "/" << plain.m_state
           << " designation " << fast.m_designation << "/" << plain.m_designation << " first byte "
           << int{fast.m_firstByte} << "/" << int{plain.m_firstByte} << " count "
           << fast.m_charsSinceEscape << "/" << plain.m_charsSinceEscape << " escape run "
           << fast.m_escapeRun << "/" << plain.m_escapeRun << " redundant "
           << fast.m_redundantEscape << "/" << plain.m_redundantEscape << " error " << fast.m_error
           << "/" << plain.m_error << " confirmed " << fast.m_confirmed << "/" << plain.m_confirmed
           << " in char " << fast.m_inChar << "/" << plain.m_inChar;
}

// The fast driver and the virtual one from the same starting machine: the
// answers and every field.
void compareJisVerifyOnce(const JisDetectorSM& start, const std::string& s, bool verifyCharacters,
                          bool redundant, int limit) {
    const auto n = static_cast<unsigned int>(s.size());
    JisDetectorSM fast = start;
    JisDetectorSM plain = start;
    AbstractDetectorSM& virtualPlain = plain;
    const bool fastResult =
        detail::runJisFast(fast, s.data(), n, verifyCharacters, redundant, limit);
    const bool plainResult = virtualPlain.verify(s.data(), n, verifyCharacters, redundant, limit);
    const auto where = [&] {
        return test::hex(s) + " from state " + std::to_string(start.m_state) + " designation " +
               std::to_string(start.m_designation) + " vc " + std::to_string(verifyCharacters) +
               " limit " + std::to_string(limit) + " redundant " + std::to_string(redundant);
    };
    ASSERT_EQ(fastResult, plainResult) << where();
    ASSERT_TRUE(sameJisFields(fast, plain)) << where();
}

// The conversion from the same starting machine, with the plain reference:
// the output and every field.
void compareJisConversionFrom(const JisDetectorSM& start, const std::string& s) {
    JisDetectorSM fast = start;
    JisDetectorSM plain = start;
    std::string out;
    bool fastUnmapped = false;
    bool plainUnmapped = false;
    fast.convertToUtf8(s.data(), static_cast<unsigned int>(s.size()), out, fastUnmapped, false);
    const std::string expected = reference::convertPlain(plain, s, false, plainUnmapped);
    ASSERT_EQ(test::hex(out), test::hex(expected))
        << test::hex(s) << " from state " << start.m_state;
    ASSERT_EQ(fastUnmapped, plainUnmapped) << test::hex(s) << " from state " << start.m_state;
    ASSERT_TRUE(sameJisFields(fast, plain)) << test::hex(s) << " from state " << start.m_state;
}

// As compareJisVerifyOnce, with every combination of the escape limits.
void compareJisVerifyFrom(const JisDetectorSM& start, const std::string& s, bool verifyCharacters) {
    for (bool redundant : {false, true}) {
        for (int limit : {0, 1, 2, 3, 100}) {
            compareJisVerifyOnce(start, s, verifyCharacters, redundant, limit);
        }
    }
}

void compareJisVerify(const std::string& s, bool verifyCharacters) {
    compareJisVerifyFrom(JisDetectorSM(), s, verifyCharacters);
}

void compareAll(const std::string& s) {
    compareConversion<SjisDetectorSM>(s);
    compareConversion<EucJpDetectorSM>(s);
    compareJisConversion(s);
    for (bool vc : {false, true}) {
        compareStatelessVerify<SjisDetectorSM>(s, vc);
        compareStatelessVerify<EucJpDetectorSM>(s, vc);
        compareJisVerify(s, vc);
    }
}

class JapaneseFastPathTest : public test::SwitchesTest {};

TEST_F(JapaneseFastPathTest, EveryOneAndTwoByteInput) {
    for (int a = 0; a < 256; ++a) {
        compareAll(test::bytes({a}));
        for (int b = 0; b < 256; ++b) {
            const std::string s = test::bytes({a, b});
            compareConversion<SjisDetectorSM>(s);
            compareConversion<EucJpDetectorSM>(s);
            compareJisConversion(s);
            compareStatelessVerify<SjisDetectorSM>(s, true);
            compareStatelessVerify<EucJpDetectorSM>(s, true);
            compareJisVerify(s, false);
        }
    }
}

// Every pair after each way of standing between characters (and after a
// lead byte or prefix, where the pair is not a character of its own).
TEST_F(JapaneseFastPathTest, EveryPairAfterEachCharacterKind) {
    for (const std::string& prefix :
         {test::bytes("41"), test::bytes("82 A0"), test::bytes("B1"), test::bytes("8E B1"),
          test::bytes("8F B0 A1"), test::bytes("B0 A1"), test::bytes("82"), test::bytes("8F")}) {
        for (int a = 0; a < 256; ++a) {
            for (int b = 0; b < 256; ++b) {
                const std::string s = prefix + test::bytes({a, b});
                for (bool vc : {false, true}) {
                    compareStatelessVerify<SjisDetectorSM>(s, vc);
                    compareStatelessVerify<EucJpDetectorSM>(s, vc);
                }
            }
        }
    }
}

TEST_F(JapaneseFastPathTest, ByteAtEveryPositionAfterEveryPrefix) {
    for (const std::string& piece :
         {test::bytes("82"), test::bytes("82 A0"), test::bytes("A4"), test::bytes("8E B1"),
          test::bytes("1B"), test::bytes("1B 24 42 30 21"), test::bytes("FF"), test::bytes("0E")}) {
        for (int prefix = 0; prefix < 16; ++prefix) {
            for (int pos = 0; pos < 40; ++pos) {
                std::string s(static_cast<std::size_t>(prefix + 48), 'a');
                s.replace(static_cast<std::size_t>(prefix + pos), piece.size(), piece);
                compareAll(s.substr(static_cast<std::size_t>(prefix)));
            }
        }
    }
}

TEST_F(JapaneseFastPathTest, RandomMutatedBuffers) {
    std::mt19937 rng(20261208);
    const std::vector<std::string> pieces = {"<p class=\"x\">",
                                             "abc",
                                             " ",
                                             "\r\n",
                                             test::bytes("82 A0"),
                                             test::bytes("B1"),
                                             test::bytes("A4 A2"),
                                             test::bytes("8E B1"),
                                             test::bytes("8F B0 A1"),
                                             test::bytes("1B 24 42 30 21 24 22"),
                                             test::bytes("1B 28 42"),
                                             test::bytes("1B 28 49 31"),
                                             test::bytes("1B 24 28 44 22 2F"),
                                             test::bytes("1B 28 4A 5C")};
    for (int round = 0; round < 400; ++round) {
        std::string s;
        const auto n = rng() % 16;
        for (unsigned i = 0; i < n; ++i) {
            s += pieces[rng() % pieces.size()];
        }
        compareAll(s);
        if (round % 10 == 0) {
            for (std::size_t pos = 0; pos < s.size(); ++pos) {
                std::string m = s;
                m[pos] = static_cast<char>(rng() % 256);
                compareAll(m);
            }
        }
    }
}

// ISO-2022-JP text between escape sequences is read a pair at a time. From
// every starting state, with each switch setting, the verification of text
// that switches sets is cut at every position (so that it starts or ends
// inside an escape sequence or a character) and has a failing byte put at
// every position; the conversion, which takes designations at once too, is
// compared over the same cuts.
class JisPairRunTest : public test::SwitchesTest,
                       public ::testing::WithParamInterface<std::tuple<bool, bool, bool>> {};

TEST_P(JisPairRunTest, EveryStateCutAndFailingByteAtEveryPosition) {
    setJisExtendedRange(std::get<0>(GetParam()));
    setSjisExtensions(std::get<1>(GetParam()));
    setSupplementaryKanji(std::get<2>(GetParam()));
    // 0x2D21 is a code page 932 extension, 0x2F21 unmapped in JIS X 0208,
    // 0x2237 mapped in JIS X 0212 only; 0x93 starts an extended-range pair.
    const std::string text = test::bytes(
        "61 1B 24 42 30 21 24 22 2D 21 30 21 1B 24 42 1B 24 40 30 21 2F 21 1B 24 28 44 22 37 "
        "30 21 1B 28 49 31 32 1B 24 42 93 21 30 21 1B 28 4A 5C 62 1B 28 42 63");
    const std::string failing = test::bytes("00 0E 0F 1B 20 21 2F 7E 7F 80 93 97 A1 FF");
    for (int state = -1; state <= 22; ++state) {
        for (int designation : {1, 6, 7}) {
            JisDetectorSM start;
            start.m_state = state;
            start.m_designation = designation;
            for (std::size_t from = 0; from < text.size(); ++from) {
                const std::string cut = text.substr(from);
                for (bool vc : {false, true}) {
                    compareJisVerifyFrom(start, cut, vc);
                    compareJisVerifyFrom(start, text.substr(0, from), vc);
                }
                // The plain conversion reads the first byte of a character
                // from the text, so it starts only between characters.
                if (state < detail::jis_states::Jis1978First ||
                    state > detail::jis_states::Jis0212First) {
                    compareJisConversionFrom(start, cut);
                    compareJisConversionFrom(start, text.substr(0, from));
                }
                if (from % 7 != 0) {
                    continue;
                }
                for (std::size_t pos = 0; pos < cut.size(); ++pos) {
                    for (char byte : failing) {
                        std::string mutated = cut;
                        mutated[pos] = byte;
                        compareJisVerifyFrom(start, mutated, true);
                    }
                }
                if (::testing::Test::HasFailure()) {
                    return;
                }
            }
        }
    }
}

// Every pair, after each of the two-byte sets is designated and after a
// character of it, read alone and followed by a mapped character.
TEST_P(JisPairRunTest, EveryPairInEachTwoByteSet) {
    setJisExtendedRange(std::get<0>(GetParam()));
    setSjisExtensions(std::get<1>(GetParam()));
    setSupplementaryKanji(std::get<2>(GetParam()));
    const JisDetectorSM start;
    for (const std::string& prefix :
         {test::bytes("1B 24 40"), test::bytes("1B 24 42 30 21"), test::bytes("1B 24 28 44"),
          test::bytes("1B 24 28 44 22 37")}) {
        for (int a = 0; a < 256; ++a) {
            for (int b = 0; b < 256; ++b) {
                const std::string s = prefix + test::bytes({a, b});
                compareJisVerifyOnce(start, s, true, false, 100);
                compareJisVerifyOnce(start, s + test::bytes("30 21"), (a + b) % 2 == 0, true, 2);
            }
            if (::testing::Test::HasFailure()) {
                return;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Switches, JisPairRunTest,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool(),
                                            ::testing::Bool()));

// Pairs counted from any value a caller left in the public count, up to the
// saturation.
TEST_F(JapaneseFastPathTest, PairRunCountsFromAnyStartingValue) {
    const std::string pairs(40, '0');
    for (int count : {INT_MIN, -1, 0, INT_MAX - 25, INT_MAX - 3, INT_MAX}) {
        JisDetectorSM start;
        start.m_charsSinceEscape = count;
        start.m_state = detail::jis_states::Jis1983Char;
        compareJisVerifyFrom(start, pairs, true);
        compareJisConversionFrom(start, pairs);
        start.m_state = detail::jis_states::SingleByte;
        compareJisVerifyFrom(start, test::bytes("1B 24 42") + pairs, false);
        compareJisConversionFrom(start, test::bytes("1B 24 42") + pairs);
    }
}

// A run of pairs longer than the conversion's output block, with an
// unmapped pair, a code page 932 extension or a cut pair at each position
// around the places where the output moves on to a new block.
TEST_F(JapaneseFastPathTest, LongPairRunStoppedAtEveryPosition) {
    std::string run = test::bytes("1B 24 42");
    for (int k = 0; k < 1500; ++k) {
        run += test::bytes({0x30 + k % 0x1E, 0x21 + k % 0x5E}); // all mapped
    }
    run += test::bytes("1B 28 42") + "end";
    const JisDetectorSM start;
    compareJisConversionFrom(start, run);
    JisDetectorSM whole;
    std::string out;
    bool unmapped = false;
    whole.convertToUtf8(run.data(), static_cast<unsigned int>(run.size()), out, unmapped, false);
    ASSERT_EQ(out.size(), 1500u * 3 + 3);
    for (const std::string& stop :
         {test::bytes("2F 21"), test::bytes("2D 21"), test::bytes("0A")}) {
        for (std::size_t pair = 640; pair < 720; ++pair) {
            std::string s = run;
            s.replace(3 + 2 * pair, stop.size(), stop);
            compareJisConversionFrom(start, s);
            compareJisConversionFrom(start, s.substr(0, 3 + 2 * pair + 1));
            if (::testing::Test::HasFailure()) {
                return;
            }
        }
    }
}

TEST_F(JapaneseFastPathTest, CountSaturatesAcrossARun) {
    JisDetectorSM machine;
    machine.m_charsSinceEscape = INT_MAX - 2;
    const std::string text(10, 'a');
    std::string out;
    bool unmapped = false;
    machine.convertToUtf8(text.data(), 10, out, unmapped, false);
    EXPECT_EQ(machine.m_charsSinceEscape, INT_MAX);
    EXPECT_EQ(out, text);
}

// The count is a public field: whatever value a caller left in it, a run
// adds to it exactly as byte-by-byte counting does, without overflowing.
TEST_F(JapaneseFastPathTest, RunCountsFromAnyStartingValue) {
    const std::string text(20, 'a');
    for (int start : {INT_MIN, INT_MIN + 5, -1, 0, INT_MAX - 25, INT_MAX}) {
        JisDetectorSM fast;
        JisDetectorSM plain;
        fast.m_charsSinceEscape = start;
        plain.m_charsSinceEscape = start;
        std::string out;
        bool unmapped = false;
        fast.convertToUtf8(text.data(), 20, out, unmapped, false);
        reference::convertPlain(plain, text, false, unmapped);
        EXPECT_EQ(fast.m_charsSinceEscape, plain.m_charsSinceEscape) << "from " << start;
    }
}

} // namespace
} // namespace charsetkit
