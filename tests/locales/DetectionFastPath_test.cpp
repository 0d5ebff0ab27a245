// Generic detection shows the machines only the last byte of a plain ASCII
// run that they all read as single-byte characters. These tests run it and
// a plain byte-at-a-time copy side by side over mixed and mutated buffers,
// with every flag, and compare the answers and every machine's final fields.
#include <charsetkit/detectors/AsciiDetectorSM.h>
#include <charsetkit/detectors/EucJpDetectorSM.h>
#include <charsetkit/detectors/JapaneseUtf8DetectorSM.h>
#include <charsetkit/detectors/JisDetectorSM.h>
#include <charsetkit/detectors/SjisDetectorSM.h>
#include <charsetkit/detectors/Utf8DetectorSM.h>
#include <charsetkit/locales/Utf8Locale.h>

#include "locales/GenericDetection.h"
#include "reference/ReferenceDetection.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace charsetkit {
namespace {

using Ids = std::vector<AbstractEncoding::EncodingID>;

struct Detector : Utf8Locale {
    using AbstractLocale::genericEncodingDetect;
};

// One set of the library's machines, in the Japanese locale's order plus the
// restricted UTF-8 and ASCII machines.
struct Machines {
    JisDetectorSM jis;
    SjisDetectorSM sjis;
    EucJpDetectorSM eucJp;
    Utf8DetectorSM utf8;
    JapaneseUtf8DetectorSM restricted;
    AsciiDetectorSM ascii;

    std::vector<AbstractDetectorSM*> pick(unsigned mask) {
        std::vector<AbstractDetectorSM*> all = {&jis, &sjis, &eucJp, &utf8, &restricted, &ascii};
        std::vector<AbstractDetectorSM*> out;
        for (std::size_t i = 0; i < all.size(); ++i) {
            if ((mask >> i) & 1U) {
                out.push_back(all[i]);
            }
        }
        return out;
    }
};

void expectSameFields(const AbstractDetectorSM& a, const AbstractDetectorSM& b) {
    EXPECT_EQ(a.m_error, b.m_error);
    EXPECT_EQ(a.m_confirmed, b.m_confirmed);
    EXPECT_EQ(a.m_inChar, b.m_inChar);
}

void compare(const std::string& text, unsigned mask, bool verifyCharacters, bool rejectRedundant,
             int limit, bool scanToEnd) {
    SCOPED_TRACE(test::hex(text) + " mask " + std::to_string(mask) + " vc " +
                 std::to_string(verifyCharacters) + " rr " + std::to_string(rejectRedundant) +
                 " limit " + std::to_string(limit) + " end " + std::to_string(scanToEnd));
    Machines fast;
    Machines plain;
    std::vector<AbstractDetectorSM*> array = fast.pick(mask);
    array.push_back(nullptr);
    Ids actual{AbstractEncoding::EucKr};
    Detector().genericEncodingDetect(text.data(), static_cast<unsigned int>(text.size()),
                                     verifyCharacters, rejectRedundant, limit, scanToEnd,
                                     array.data(), &actual);
    bool early = false;
    const Ids expected = reference::genericEncodingDetect(
        reinterpret_cast<const unsigned char*>(text.data()), static_cast<unsigned int>(text.size()),
        verifyCharacters, rejectRedundant, limit, scanToEnd, plain.pick(mask), &early);
    ASSERT_EQ(actual, expected);
    expectSameFields(fast.jis, plain.jis);
    expectSameFields(fast.sjis, plain.sjis);
    expectSameFields(fast.eucJp, plain.eucJp);
    expectSameFields(fast.utf8, plain.utf8);
    expectSameFields(fast.restricted, plain.restricted);
    expectSameFields(fast.ascii, plain.ascii);
    EXPECT_EQ(fast.jis.m_state, plain.jis.m_state);
    EXPECT_EQ(fast.jis.m_escapeRun, plain.jis.m_escapeRun);
    EXPECT_EQ(fast.jis.m_redundantEscape, plain.jis.m_redundantEscape);
    EXPECT_EQ(fast.jis.m_designation, plain.jis.m_designation);
    EXPECT_EQ(fast.sjis.m_state, plain.sjis.m_state);
    EXPECT_EQ(fast.eucJp.m_state, plain.eucJp.m_state);
    EXPECT_EQ(fast.utf8.m_expectedLength, plain.utf8.m_expectedLength);
    if (!early) {
        // An early decision inside a run stops the plain copy at the run's
        // first byte, where the character count has not yet grown by the
        // rest of the run; otherwise the counts agree exactly.
        EXPECT_EQ(fast.jis.m_charsSinceEscape, plain.jis.m_charsSinceEscape);
    }
}

std::vector<std::string> buffers() {
    const std::vector<std::string> pieces = {
        "<p class=\"x\">",
        "abc def ",
        "\n",
        " ",
        test::bytes("82 A0 82 A2"),       // Shift_JIS
        test::bytes("A4 A2 A4 A4"),       // EUC-JP
        test::bytes("8E B1"),             // EUC-JP katakana / two Shift_JIS katakana
        test::bytes("B1 B2"),             // katakana in Shift_JIS
        test::bytes("E3 81 82"),          // UTF-8
        test::bytes("1B 24 42 30 21"),    // ISO-2022-JP two-byte mode
        test::bytes("1B 28 42"),          // back to ASCII
        test::bytes("1B 28 4A"),          // JIS-Roman
        test::bytes("1B 24 42 1B 28 42"), // escapes in a row
        test::bytes("1B 58"),             // broken escape
        test::bytes("80"),
        test::bytes("FF"),
        test::bytes("0E"),
    };
    std::mt19937 rng(4242);
    std::vector<std::string> out;
    for (int round = 0; round < 400; ++round) {
        std::string s;
        const auto n = 1 + rng() % 10;
        for (std::size_t i = 0; i < n; ++i) {
            s += pieces[rng() % pieces.size()];
        }
        out.push_back(s);
        if (round % 25 == 0) {
            for (std::size_t pos = 0; pos < s.size(); ++pos) {
                std::string m = s;
                m[pos] = static_cast<char>(rng() % 256);
                out.push_back(m);
            }
        }
    }
    return out;
}

TEST(DetectionFastPath, AgreesWithThePlainLoopOnTheLocalesMachines) {
    for (const std::string& s : buffers()) {
        for (unsigned mask : {0x0Fu, 0x07u, 0x08u, 0x17u, 0x01u, 0x3Fu}) {
            compare(s, mask, false, false, 1000, false);
            compare(s, mask, false, false, 1000, true);
            compare(s, mask, true, true, 2, true);
            compare(s, mask, true, false, 1, false);
        }
        if (::testing::Test::HasFatalFailure()) {
            return;
        }
    }
}

// The locales' own machines: only the answer must match, and a UTF-8
// machine left alone may hand the rest of the buffer to the vector check.
// Buffers are long enough for several vector blocks.
TEST(DetectionFastPath, PrivateMachinesGiveThePlainLoopsAnswers) {
    const std::vector<std::string> shortOnes = buffers();
    std::mt19937 rng(99);
    for (std::size_t round = 0; round < 600; ++round) {
        std::string s;
        const std::size_t parts = 1 + rng() % 12;
        for (std::size_t k = 0; k < parts; ++k) {
            // Every fourth buffer is mark-up and UTF-8 only.
            s += round % 4 == 0 ? std::string("<p class=\"x\">")
                                : shortOnes[rng() % shortOnes.size()];
            if (rng() % 2 == 0) {
                s += test::bytes("E6 BC A2 E5 AD 97 C3 A9 F0 9F 98 80 E3 81 82");
            }
        }
        // Cut short as well, so that some end inside a character.
        if (round % 3 != 0) {
            s.resize(s.size() - std::min<std::size_t>(s.size(), 1 + rng() % 2));
        }
        for (unsigned mask : {0x0Fu, 0x08u, 0x10u, 0x17u, 0x02u, 0x04u, 0x01u}) {
            for (int flags = 0; flags < 4; ++flags) {
                const bool verifyCharacters = (flags & 1) != 0;
                const bool scanToEnd = (flags & 2) != 0;
                Machines fast;
                Machines plain;
                std::vector<AbstractDetectorSM*> array = fast.pick(mask);
                array.push_back(nullptr);
                Ids actual;
                detail::detectWithMachines(s.data(), static_cast<unsigned int>(s.size()),
                                           verifyCharacters, false, 3, scanToEnd, array.data(),
                                           &actual, true);
                bool early = false;
                const Ids expected = reference::genericEncodingDetect(
                    reinterpret_cast<const unsigned char*>(s.data()),
                    static_cast<unsigned int>(s.size()), verifyCharacters, false, 3, scanToEnd,
                    plain.pick(mask), &early);
                ASSERT_EQ(actual, expected) << test::hex(s) << " mask " << mask << " " << flags;
            }
        }
    }
}

TEST(DetectionFastPath, EscapeLimitsCountTheSameAcrossRuns) {
    // Designations separated by ASCII runs of every length up to 20, with
    // run limits 1 to 3 and redundant escapes rejected or not.
    for (int run = 0; run <= 20; ++run) {
        const std::string gap(static_cast<std::size_t>(run), 'a');
        const std::string text = test::bytes("1B 24 42 30 21 1B 28 42") + gap +
                                 test::bytes("1B 28 42") + gap + test::bytes("1B 24 42 30 21") +
                                 gap;
        for (int limit = 1; limit <= 3; ++limit) {
            for (bool end : {false, true}) {
                compare(text, 0x0F, false, true, limit, end);
                compare(text, 0x0F, false, false, limit, end);
            }
        }
    }
}

} // namespace
} // namespace charsetkit
