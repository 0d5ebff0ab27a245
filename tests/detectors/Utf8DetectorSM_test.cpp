#include <charsetkit/detectors/AsciiDetectorSM.h>
#include <charsetkit/detectors/Utf8DetectorSM.h>

#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <string>

namespace charsetkit {
namespace {

using test::bytes;

bool passes(const std::string& s, bool verifyCharacters = false) {
    Utf8DetectorSM m;
    return m.verify(s.data(), static_cast<unsigned int>(s.size()), verifyCharacters, false, 0);
}

// An independent statement of the leading-byte rules: the sequence length a
// byte announces between characters, 0 for a byte that fails there.
int leadLength(int b) {
    if (b == 0x0E || b == 0x0F || b == 0x1B) {
        return 0;
    }
    if (b < 0x80) {
        return 1;
    }
    if (b < 0xC2) {
        return 0;
    }
    if (b < 0xE0) {
        return 2;
    }
    if (b < 0xF0) {
        return 3;
    }
    if (b < 0xF8) {
        return 4;
    }
    if (b < 0xFC) {
        return 5;
    }
    return b < 0xFE ? 6 : 0;
}

TEST(Utf8DetectorSM, StartsBetweenCharacters) {
    Utf8DetectorSM m;
    EXPECT_FALSE(m.m_error);
    EXPECT_FALSE(m.m_confirmed);
    EXPECT_FALSE(m.m_inChar);
    EXPECT_EQ(m.m_expectedLength, 0);
    EXPECT_EQ(m.m_receivedLength, 0);
    EXPECT_FALSE(m.m_checkOverlong);
    EXPECT_EQ(m.getEncodingID(), AbstractEncoding::Utf8);
    EXPECT_TRUE(m.isValidEndState());
}

TEST(Utf8DetectorSM, EveryFirstByte) {
    for (int b = 0; b < 256; ++b) {
        Utf8DetectorSM m;
        m.processByte(static_cast<unsigned char>(b), true);
        const int n = leadLength(b);
        SCOPED_TRACE(b);
        EXPECT_EQ(m.m_error, n == 0);
        EXPECT_EQ(m.m_inChar, n > 1);
        EXPECT_FALSE(m.m_confirmed); // a one-byte character confirms nothing
        EXPECT_EQ(m.m_expectedLength, n > 1 ? n : 0);
        EXPECT_EQ(m.m_receivedLength, n > 1 ? 1 : 0);
        EXPECT_EQ(m.m_checkOverlong, b == 0xE0 || b == 0xF0 || b == 0xF8 || b == 0xFC);
        if (n <= 1) {
            EXPECT_EQ(m.m_lastCharLength, n);
        } else {
            EXPECT_EQ(m.m_charBytes[0], b);
        }
    }
}

TEST(Utf8DetectorSM, EverySecondByteAfterEachLead) {
    for (int lead = 0xC2; lead <= 0xFD; ++lead) {
        const int n = leadLength(lead);
        for (int b = 0; b < 256; ++b) {
            Utf8DetectorSM m;
            m.processByte(static_cast<unsigned char>(lead), false);
            m.processByte(static_cast<unsigned char>(b), false);
            SCOPED_TRACE(std::to_string(lead) + " " + std::to_string(b));
            const bool continuation = b >= 0x80 && b <= 0xBF;
            bool overlong = false;
            if (continuation) {
                overlong = (lead == 0xE0 && b <= 0x9F) || (lead == 0xF0 && b <= 0x8F) ||
                           (lead == 0xF8 && b <= 0x87) || (lead == 0xFC && b <= 0x83);
            }
            EXPECT_EQ(m.m_error, !continuation || overlong);
            if (!continuation) {
                // Broken: back between characters, the byte is not re-read.
                EXPECT_FALSE(m.m_inChar);
                EXPECT_EQ(m.m_lastCharLength, n);
                EXPECT_EQ(m.m_expectedLength, 0);
                EXPECT_FALSE(m.m_confirmed);
            } else if (n == 2) {
                EXPECT_FALSE(m.m_inChar);
                EXPECT_TRUE(m.m_confirmed);
                EXPECT_EQ(m.m_lastCharLength, 2);
            } else {
                // An overlong form is still read to its end.
                EXPECT_TRUE(m.m_inChar);
                EXPECT_EQ(m.m_receivedLength, 2);
                EXPECT_EQ(m.m_charBytes[1], b);
            }
        }
    }
}

TEST(Utf8DetectorSM, WholeCharactersAndOverlongForms) {
    EXPECT_TRUE(passes(bytes("C3 A9")));
    EXPECT_TRUE(passes(bytes("C3")));
    EXPECT_FALSE(passes(bytes("C3 41")));
    EXPECT_FALSE(passes(bytes("C0 AF")));
    EXPECT_FALSE(passes(bytes("C1 BF")));
    EXPECT_FALSE(passes(bytes("E0 80 80")));
    EXPECT_FALSE(passes(bytes("F0 8F BF BF")));
    EXPECT_TRUE(passes(bytes("E0 A0 80")));
    EXPECT_TRUE(passes(bytes("ED A0 80")));
    EXPECT_TRUE(passes(bytes("F4 90 80 80")));
    EXPECT_TRUE(passes(bytes("FC 84 80 80 80 80")));
    EXPECT_FALSE(passes(bytes("FC 83 BF BF BF BF")));
    EXPECT_TRUE(passes(bytes("F8 88 80 80 80")));
    EXPECT_FALSE(passes(bytes("F8 87 BF BF BF")));
    EXPECT_FALSE(passes(bytes("80")));
    EXPECT_FALSE(passes(bytes("FE")));
    EXPECT_FALSE(passes(bytes("FF")));
    for (const char* shift : {"1B", "0E", "0F"}) {
        EXPECT_FALSE(passes(bytes(shift)));
    }
    // The overlong check looks at the second byte only.
    EXPECT_TRUE(passes(bytes("F0 90 80 80")));
}

TEST(Utf8DetectorSM, CompletingACharacterRecordsItsLength) {
    Utf8DetectorSM m;
    for (char b : bytes("F0 9F 98 80")) {
        m.processByte(static_cast<unsigned char>(b), true);
    }
    EXPECT_FALSE(m.m_error);
    EXPECT_FALSE(m.m_inChar);
    EXPECT_TRUE(m.m_confirmed);
    EXPECT_EQ(m.m_lastCharLength, 4);
    EXPECT_EQ(test::hex(std::string(reinterpret_cast<const char*>(m.m_charBytes), 4)),
              "F0 9F 98 80");
    m.processByte('a', true);
    EXPECT_EQ(m.m_lastCharLength, 1);
}

// A lead byte of each length that needs no overlong check.
const unsigned char kPlainLead[7] = {0, 0, 0xC3, 0xE3, 0xF1, 0xF9, 0xFD};

TEST(Utf8DetectorSM, ABreakAtAnyByteOfAnyLengthEndsTheCharacter) {
    for (int n = 2; n <= 6; ++n) {
        for (int at = 2; at <= n; ++at) {
            SCOPED_TRACE("length " + std::to_string(n) + ", broken at byte " + std::to_string(at));
            Utf8DetectorSM m;
            m.processByte(kPlainLead[n], false);
            for (int i = 2; i < at; ++i) {
                m.processByte(0x80, false);
                EXPECT_TRUE(m.m_inChar);
            }
            m.processByte('<', false);
            EXPECT_TRUE(m.m_error);
            EXPECT_FALSE(m.m_inChar);
            EXPECT_FALSE(m.m_confirmed);
            EXPECT_EQ(m.m_lastCharLength, n); // the breaking byte is not re-read
            EXPECT_EQ(m.m_expectedLength, 0);
            EXPECT_EQ(m.m_receivedLength, 0);
            EXPECT_EQ(m.m_charBytes[at - 1], '<');
            // Back between characters: the next bytes start afresh.
            m.processByte('>', false);
            EXPECT_EQ(m.m_lastCharLength, 1);
            m.processByte(0xC3, false);
            m.processByte(0xA9, false);
            EXPECT_TRUE(m.m_confirmed);
            EXPECT_EQ(m.m_lastCharLength, 2);
        }
    }
}

TEST(Utf8DetectorSM, EveryLengthCompletesWithAllItsBytesKept) {
    const unsigned char smallestLead[7] = {0, 0, 0, 0xE0, 0xF0, 0xF8, 0xFC};
    for (int n = 2; n <= 6; ++n) {
        SCOPED_TRACE(n);
        Utf8DetectorSM m;
        m.processByte(kPlainLead[n], false);
        for (int i = 1; i < n; ++i) {
            m.processByte(static_cast<unsigned char>(0x80 + i), false);
        }
        EXPECT_FALSE(m.m_error);
        EXPECT_FALSE(m.m_inChar);
        EXPECT_TRUE(m.m_confirmed);
        EXPECT_EQ(m.m_lastCharLength, n);
        EXPECT_EQ(m.m_charBytes[0], kPlainLead[n]);
        for (int i = 1; i < n; ++i) {
            EXPECT_EQ(m.m_charBytes[i], 0x80 + i);
        }
        if (n < 3) {
            continue;
        }
        // An overlong form fails on its second byte but is read to its end
        // and still counts as a character.
        Utf8DetectorSM o;
        for (int i = 0; i < n; ++i) {
            o.processByte(i == 0 ? smallestLead[n] : 0x80, false);
            EXPECT_EQ(o.m_error, i > 0);
        }
        EXPECT_FALSE(o.m_inChar);
        EXPECT_TRUE(o.m_confirmed);
        EXPECT_EQ(o.m_lastCharLength, n);
        EXPECT_EQ(o.m_expectedLength, 0);
    }
}

TEST(Utf8DetectorSM, KeepsFollowingTransitionsAfterAFailure) {
    Utf8DetectorSM m;
    m.processByte(0x80, false); // stray continuation byte
    EXPECT_TRUE(m.m_error);
    EXPECT_EQ(m.m_lastCharLength, 0);
    m.processByte(0xE3, false); // read as a new lead byte
    EXPECT_TRUE(m.m_inChar);
    EXPECT_EQ(m.m_expectedLength, 3);
    m.processByte(0x81, false);
    m.processByte(0x82, false);
    EXPECT_FALSE(m.m_inChar);
    EXPECT_TRUE(m.m_confirmed);
    EXPECT_TRUE(m.m_error); // never cleared
    EXPECT_EQ(m.m_lastCharLength, 3);
}

struct RefusingUtf8DetectorSM : Utf8DetectorSM {
    int calls = 0;
    bool verifyChar(const unsigned char*, int) override {
        ++calls;
        return false;
    }
};

TEST(Utf8DetectorSM, VerifyCharIsAskedOnlyForCompleteCharactersWhenRequested) {
    RefusingUtf8DetectorSM m;
    const std::string s = bytes("41 C3 A9 E3 81");
    EXPECT_TRUE(m.verify(s.data(), static_cast<unsigned int>(s.size()), false, false, 0));
    EXPECT_EQ(m.calls, 0);
    RefusingUtf8DetectorSM n;
    n.processByte(0x41, true);
    EXPECT_EQ(n.calls, 0);
    n.processByte(0xC3, true);
    n.processByte(0xA9, true);
    EXPECT_EQ(n.calls, 1);
    EXPECT_TRUE(n.m_error);
    EXPECT_TRUE(n.m_confirmed); // set whatever verifyChar says
}

TEST(AsciiDetectorSM, FailsOnlyOnShiftBytes) {
    for (int b = 0; b < 256; ++b) {
        AsciiDetectorSM m;
        m.processByte(static_cast<unsigned char>(b), true);
        const bool shift = b == 0x1B || b == 0x0E || b == 0x0F;
        EXPECT_EQ(m.m_error, shift) << b;
        EXPECT_EQ(m.m_confirmed, !shift) << b;
        EXPECT_FALSE(m.m_inChar);
    }
    EXPECT_EQ(AsciiDetectorSM().getEncodingID(), AbstractEncoding::Ascii);
}

TEST(StatelessDriver, StopsAtTheFirstFailureAndIgnoresTheEndState) {
    Utf8DetectorSM m;
    EXPECT_TRUE(m.verify(nullptr, 0, true, true, -1));
    const std::string s = bytes("41 80 E3");
    Utf8DetectorSM n;
    EXPECT_FALSE(n.verify(s.data(), 3, false, false, 0));
    EXPECT_FALSE(n.m_inChar); // the byte after the failure was not read
    std::string out = "x";
    bool unmapped = false;
    EXPECT_FALSE(n.convertToUtf8(s.data(), 3, out, unmapped, false));
    EXPECT_EQ(out, "x");
}

} // namespace
} // namespace charsetkit

namespace charsetkit {
namespace {

TEST(Utf8DetectorSM, LengthsNoInputCanProduceAreReadAsBetweenCharacters) {
    // The fields are public; nonsense written into them must not become an
    // index outside the six-byte character.
    const int pairs[][2] = {{40, 30}, {6, 6}, {3, 0}, {-1, 1}, {2, -5}, {1, 1}, {7, 2}};
    for (const auto& pair : pairs) {
        Utf8DetectorSM m;
        m.m_expectedLength = pair[0];
        m.m_receivedLength = pair[1];
        m.processByte(0xE3, true); // read as a lead byte
        EXPECT_TRUE(m.m_inChar) << pair[0] << " " << pair[1];
        EXPECT_EQ(m.m_expectedLength, 3);
        EXPECT_EQ(m.m_receivedLength, 1);
        EXPECT_FALSE(m.m_error);
    }
}

} // namespace
} // namespace charsetkit
