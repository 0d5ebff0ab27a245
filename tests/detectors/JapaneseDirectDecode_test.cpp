// The machines' whole-buffer conversions read plain ASCII and JIS X 0208
// pairs straight from tables of UTF-8 and leave everything else to the
// machine. Here they are compared with their plain twin in tests/reference,
// the byte-at-a-time conversion they replace (output, `unmapped` and every
// public field of the machine), with each switch on and off: every input of up
// to three bytes over an alphabet of boundary bytes, a failing byte at every
// position after every prefix of Japanese text, every starting state, and the
// sample pages with bytes changed at random positions.
#include <charsetkit/detectors/EucJpDetectorSM.h>
#include <charsetkit/detectors/JisDetectorSM.h>
#include <charsetkit/detectors/SjisDetectorSM.h>

#include "reference/MachineConversionTwin.h"
#include "support/Bytes.h"
#include "support/SwitchesTest.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <tuple>
#include <vector>

namespace charsetkit {
namespace {

void expectSameFields(const SjisDetectorSM& a, const SjisDetectorSM& b, const std::string& s) {
    ASSERT_EQ(a.m_firstByte, b.m_firstByte) << test::hex(s);
}
void expectSameFields(const EucJpDetectorSM& a, const EucJpDetectorSM& b, const std::string& s) {
    ASSERT_EQ(a.m_firstByte, b.m_firstByte) << test::hex(s);
}
void expectSameFields(const JisDetectorSM& a, const JisDetectorSM& b, const std::string& s) {
    ASSERT_EQ(a.m_firstByte, b.m_firstByte) << test::hex(s);
    ASSERT_EQ(a.m_charsSinceEscape, b.m_charsSinceEscape) << test::hex(s);
    ASSERT_EQ(a.m_escapeRun, b.m_escapeRun) << test::hex(s);
    ASSERT_EQ(a.m_redundantEscape, b.m_redundantEscape) << test::hex(s);
    ASSERT_EQ(a.m_designation, b.m_designation) << test::hex(s);
}

// Converts `s` with both from the same starting machine and compares.
template <class Machine>
void compare(const std::string& s, const Machine& start = Machine()) {
    for (bool repl : {false, true}) {
        Machine fast = start;
        Machine plain = start;
        std::string out = "kept ";
        std::string expected = out;
        bool fastUnmapped = false;
        bool plainUnmapped = false;
        ASSERT_TRUE(fast.convertToUtf8(s.data(), static_cast<unsigned int>(s.size()), out,
                                       fastUnmapped, repl));
        twin::convert(plain, s, expected, plainUnmapped, repl);
        ASSERT_EQ(test::hex(out), test::hex(expected)) << "input " << test::hex(s);
        ASSERT_EQ(fastUnmapped, plainUnmapped) << test::hex(s);
        ASSERT_EQ(fast.m_state, plain.m_state) << test::hex(s);
        ASSERT_EQ(fast.m_error, plain.m_error) << test::hex(s);
        ASSERT_EQ(fast.m_confirmed, plain.m_confirmed) << test::hex(s);
        ASSERT_EQ(fast.m_inChar, plain.m_inChar) << test::hex(s);
        ASSERT_NO_FATAL_FAILURE(expectSameFields(fast, plain, s));
    }
}

void compareAll(const std::string& s) {
    ASSERT_NO_FATAL_FAILURE(compare<SjisDetectorSM>(s));
    ASSERT_NO_FATAL_FAILURE(compare<EucJpDetectorSM>(s));
    ASSERT_NO_FATAL_FAILURE(compare<JisDetectorSM>(s));
}

// The prefixes that put the ISO-2022-JP machine in each of its modes.
const char* const kJisModes[] = {"",         "1B 28 42", "1B 28 4A",   "1B 28 49",
                                 "1B 24 40", "1B 24 42", "1B 24 28 44"};

// Bytes where the encodings' ranges begin and end, ESC and the bytes of the
// escape sequences among them.
const std::vector<int> kAlphabet = {
    0x0A, 0x0E, 0x1B, 0x21, 0x24, 0x28, 0x40, 0x42, 0x44, 0x49, 0x4A, 0x5C, 0x5F, 0x7E, 0x7F, 0x80,
    0x81, 0x8E, 0x8F, 0x93, 0x9F, 0xA0, 0xA1, 0xDF, 0xE0, 0xEF, 0xF0, 0xFC, 0xFD, 0xFE, 0xFF};

// Kana, supplementary kanji, code page 932 extensions, extended JIS range.
using Switches = std::tuple<bool, bool, bool, bool>;

class JapaneseDirectDecode : public test::SwitchesTest,
                             public ::testing::WithParamInterface<Switches> {
protected:
    void SetUp() override {
        test::SwitchesTest::SetUp();
        setSingleByteKana(std::get<0>(GetParam()));
        setSupplementaryKanji(std::get<1>(GetParam()));
        setSjisExtensions(std::get<2>(GetParam()));
        setJisExtendedRange(std::get<3>(GetParam()));
    }
};

TEST_P(JapaneseDirectDecode, EveryOneAndTwoByteInput) {
    for (int a = 0; a < 256; ++a) {
        ASSERT_NO_FATAL_FAILURE(compareAll(test::bytes({a})));
        for (int b = 0; b < 256; ++b) {
            const std::string s = test::bytes({a, b});
            ASSERT_NO_FATAL_FAILURE(compare<SjisDetectorSM>(s));
            ASSERT_NO_FATAL_FAILURE(compare<EucJpDetectorSM>(s));
            ASSERT_NO_FATAL_FAILURE(compare<JisDetectorSM>(test::bytes("1B 24 42") + s));
        }
    }
}

TEST_P(JapaneseDirectDecode, EveryThreeByteInputOverBoundaryBytes) {
    for (int a : kAlphabet) {
        for (int b : kAlphabet) {
            for (int c : kAlphabet) {
                const std::string s = test::bytes({a, b, c});
                ASSERT_NO_FATAL_FAILURE(compare<SjisDetectorSM>(s));
                ASSERT_NO_FATAL_FAILURE(compare<EucJpDetectorSM>(s));
                for (const char* mode : kJisModes) {
                    ASSERT_NO_FATAL_FAILURE(compare<JisDetectorSM>(test::bytes(mode) + s));
                }
            }
        }
    }
}

// Japanese text in each encoding: hiragana, kanji, a row 13 extension, ASCII.
std::vector<std::string> japaneseTexts() {
    return {
        test::bytes("82 A0 82 A2 8A BF 8E 9A 41 87 40 93 FA 96 7B"),
        test::bytes("A4 A2 A4 A4 B4 C1 BB FA 41 AD A1 C6 FC CB DC"),
        test::bytes("1B 24 42 24 22 24 24 34 41 3B 7A 1B 28 42 41 1B 24 42 2D 21 46 7C 4B 5C"),
    };
}

TEST_P(JapaneseDirectDecode, FailingByteAtEveryPositionAfterEveryPrefix) {
    const std::vector<std::string> texts = japaneseTexts();
    for (std::size_t t = 0; t < texts.size(); ++t) {
        std::string text;
        while (text.size() < 96) {
            text += texts[t];
        }
        for (const int breaker : {0x1B, 0x0E, 0x80, 0xFF, 0x0A}) {
            for (std::size_t prefix = 0; prefix < 16; ++prefix) {
                for (std::size_t pos = 0; pos < 64; ++pos) {
                    std::string s = text.substr(0, prefix + 64 + 8);
                    s[prefix + pos] = static_cast<char>(breaker);
                    s = s.substr(prefix);
                    if (t == 0) {
                        ASSERT_NO_FATAL_FAILURE(compare<SjisDetectorSM>(s));
                    } else if (t == 1) {
                        ASSERT_NO_FATAL_FAILURE(compare<EucJpDetectorSM>(s));
                    } else {
                        ASSERT_NO_FATAL_FAILURE(compare<JisDetectorSM>(s));
                    }
                }
            }
        }
    }
}

// ASCII runs of every length from 0 to 24 between characters, some with a
// shift byte or a byte above 0x7F inside, repeated until the output passes
// the end of the write block several times: short runs are written one byte
// at a time and runs of eight bytes or more copied whole.
TEST_P(JapaneseDirectDecode, AsciiRunsOfEveryLengthBetweenCharacters) {
    const std::vector<std::string> texts = japaneseTexts();
    for (std::size_t t = 0; t < texts.size(); ++t) {
        for (const int inside : {-1, 0x0E, 0x1B, 0x8E}) {
            std::string s;
            while (s.size() < 6000) {
                for (std::size_t run = 0; run <= 24; ++run) {
                    s += texts[t];
                    std::string ascii(run, 'a');
                    if (inside >= 0 && run > 2) {
                        ascii[run / 2 + run % 3] = static_cast<char>(inside);
                    }
                    s += ascii;
                }
            }
            if (t == 0) {
                ASSERT_NO_FATAL_FAILURE(compare<SjisDetectorSM>(s));
            } else if (t == 1) {
                ASSERT_NO_FATAL_FAILURE(compare<EucJpDetectorSM>(s));
            } else {
                ASSERT_NO_FATAL_FAILURE(compare<JisDetectorSM>(s));
            }
        }
    }
}

TEST_P(JapaneseDirectDecode, FromEveryStartingState) {
    for (const std::string& text : japaneseTexts()) {
        for (int state = -1; state <= 23; ++state) {
            for (bool error : {false, true}) {
                SjisDetectorSM sjis;
                sjis.m_state = state;
                sjis.m_error = error;
                sjis.m_firstByte = 0x82;
                ASSERT_NO_FATAL_FAILURE(compare(text, sjis));
                EucJpDetectorSM eucJp;
                eucJp.m_state = state;
                eucJp.m_error = error;
                eucJp.m_firstByte = 0xA4;
                ASSERT_NO_FATAL_FAILURE(compare(text, eucJp));
                JisDetectorSM jis;
                jis.m_state = state;
                jis.m_error = error;
                jis.m_firstByte = 0x24;
                ASSERT_NO_FATAL_FAILURE(compare(text, jis));
            }
        }
    }
}

std::string readSample(const char* name) {
    std::ifstream in(std::string(CHARSETKIT_SOURCE_DIR) + "/samples/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_P(JapaneseDirectDecode, SamplePagesWithBytesChangedAtRandomPositions) {
    std::mt19937 random(13);
    for (const char* name : {"ja-page.shift_jis.html", "ja-page.euc-jp.html",
                             "ja-page.iso-2022-jp.html", "ja-form.shift_jis.txt"}) {
        const std::string page = readSample(name);
        ASSERT_FALSE(page.empty()) << name;
        ASSERT_NO_FATAL_FAILURE(compareAll(page));
        for (int round = 0; round < 12; ++round) {
            std::string changed = page;
            const int changes = 1 + static_cast<int>(random() % 4);
            for (int k = 0; k < changes; ++k) {
                changed[random() % changed.size()] = static_cast<char>(random() % 256);
            }
            ASSERT_NO_FATAL_FAILURE(compareAll(changed));
        }
    }
}

// The defaults, their opposite, and two mixtures: each switch on and off.
INSTANTIATE_TEST_SUITE_P(Switches, JapaneseDirectDecode,
                         ::testing::Values(Switches{true, true, true, false},
                                           Switches{false, false, false, true},
                                           Switches{true, false, true, true},
                                           Switches{false, true, false, false}));

} // namespace
} // namespace charsetkit
