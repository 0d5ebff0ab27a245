#include <charsetkit/detectors/JisDetectorSM.h>

#include "support/Bytes.h"
#include "support/SwitchesTest.h"
#include "support/Utf8Writer.h"

#include <gtest/gtest.h>

#include <climits>

namespace charsetkit {
namespace {

using test::bytes;
using test::hex;

const std::string kEscAscii = "\x1B(B";
const std::string kEscRoman = "\x1B(J";
const std::string kEscKana = "\x1B(I";
const std::string kEsc1978 = "\x1B$@";
const std::string kEsc1983 = "\x1B$B";
const std::string kEsc0212 = "\x1B$(D";

class JisDetectorTest : public test::SwitchesTest {
protected:
    static JisDetectorSM run(const std::string& input, bool verifyCharacters = false) {
        JisDetectorSM machine;
        for (char c : input) {
            machine.processByte(static_cast<unsigned char>(c), verifyCharacters);
        }
        return machine;
    }
    static bool verify(const std::string& input, bool verifyCharacters, bool rejectRedundant,
                       int runLimit) {
        JisDetectorSM machine;
        return machine.verify(input.data(), static_cast<unsigned int>(input.size()),
                              verifyCharacters, rejectRedundant, runLimit);
    }
};

TEST_F(JisDetectorTest, FreshMachineIsInSingleByteText) {
    JisDetectorSM machine;
    EXPECT_EQ(machine.m_state, 1);
    EXPECT_EQ(machine.m_designation, 1);
    EXPECT_EQ(machine.m_charsSinceEscape, 1);
    EXPECT_EQ(machine.m_escapeRun, 0);
    EXPECT_FALSE(machine.m_redundantEscape);
    EXPECT_TRUE(machine.isValidEndState());
    EXPECT_EQ(machine.getEncodingID(), AbstractEncoding::Jis);
}

TEST_F(JisDetectorTest, EachDesignationReachesItsState) {
    struct Case {
        std::string escape;
        int state;
        bool inChar;
    };
    const Case cases[] = {{kEscAscii, 0, false}, {kEscRoman, 2, false}, {kEscKana, 4, true},
                          {kEsc1978, 5, true},   {kEsc1983, 6, true},   {kEsc0212, 7, true}};
    for (const Case& c : cases) {
        JisDetectorSM machine = run(c.escape);
        EXPECT_EQ(machine.m_state, c.state) << hex(c.escape);
        EXPECT_EQ(machine.m_designation, c.state) << hex(c.escape);
        EXPECT_EQ(machine.m_inChar, c.inChar) << hex(c.escape);
        EXPECT_TRUE(machine.m_confirmed) << hex(c.escape);
        EXPECT_FALSE(machine.m_error) << hex(c.escape);
    }
    // The intermediate states of an escape sequence.
    EXPECT_EQ(run("\x1B").m_state, 15);
    EXPECT_EQ(run("\x1B$").m_state, 16);
    EXPECT_EQ(run("\x1B(").m_state, 17);
    EXPECT_EQ(run("\x1B$(").m_state, 18);
    EXPECT_TRUE(run("\x1B$(").m_inChar);
}

TEST_F(JisDetectorTest, StateNoTransitionProducesReadsAsSingleByteText) {
    // m_state is public: a caller may store any number in it.
    for (const int state : {-1, 19, 99, INT_MAX}) {
        JisDetectorSM text;
        text.m_state = state;
        text.processByte('A', false);
        EXPECT_EQ(text.m_state, 1) << state;
        EXPECT_FALSE(text.m_error) << state;
        EXPECT_FALSE(text.m_inChar) << state;

        JisDetectorSM escape;
        escape.m_state = state;
        escape.processByte(0x1B, false);
        EXPECT_EQ(escape.m_state, 15) << state;
        EXPECT_TRUE(escape.m_inChar) << state;
    }
}

TEST_F(JisDetectorTest, DoubleByteModes) {
    JisDetectorSM first = run(kEsc1983 + "\x30");
    EXPECT_EQ(first.m_state, 13);
    EXPECT_TRUE(first.m_inChar);
    EXPECT_EQ(first.m_firstByte, 0x30);

    JisDetectorSM full = run(kEsc1983 + "\x30\x21");
    EXPECT_EQ(full.m_state, 10);
    EXPECT_FALSE(full.m_inChar);
    EXPECT_EQ(full.m_charsSinceEscape, 1);
    EXPECT_FALSE(full.isValidEndState());

    JisDetectorSM closed = run(kEsc1983 + "\x30\x21" + kEscAscii);
    EXPECT_EQ(closed.m_state, 0);
    EXPECT_TRUE(closed.isValidEndState());
    EXPECT_FALSE(closed.m_error);

    EXPECT_EQ(run(kEsc1978 + "\x30\x21").m_state, 9);
    EXPECT_EQ(run(kEsc1978 + "\x30").m_state, 12);
    EXPECT_EQ(run(kEsc0212 + "\x22\x2F").m_state, 11);
    EXPECT_EQ(run(kEsc0212 + "\x22").m_state, 14);
}

TEST_F(JisDetectorTest, EscapeBetweenDoubleByteCharactersIsFine) {
    JisDetectorSM machine = run(kEsc1983 + "\x30\x21\x1B");
    EXPECT_EQ(machine.m_state, 15);
    EXPECT_FALSE(machine.m_error);
    EXPECT_TRUE(machine.m_inChar);
}

TEST_F(JisDetectorTest, EscapeInPlaceOfASecondByteFails) {
    JisDetectorSM machine = run(kEsc1983 + "\x30\x1B");
    EXPECT_EQ(machine.m_state, 15);
    EXPECT_TRUE(machine.m_error);
    EXPECT_TRUE(machine.m_inChar);
    // The escape sequence still goes on being read.
    machine.processByte('(', false);
    machine.processByte('B', false);
    EXPECT_EQ(machine.m_state, 0);
}

TEST_F(JisDetectorTest, BrokenEscapesFailInTheirStates) {
    JisDetectorSM afterEsc = run("\x1Bx");
    EXPECT_EQ(afterEsc.m_state, 19);
    EXPECT_TRUE(afterEsc.m_error);
    EXPECT_FALSE(afterEsc.m_inChar);
    EXPECT_EQ(run("\x1B$A").m_state, 20);
    EXPECT_EQ(run("\x1B(Q").m_state, 20);
    EXPECT_EQ(run("\x1B$(Q").m_state, 21);
    EXPECT_TRUE(run("\x1B$(Q").m_error);
    // The failure states read on as single-byte text.
    JisDetectorSM after = run("\x1Bxa");
    EXPECT_EQ(after.m_state, 1);
    EXPECT_TRUE(after.m_error);
}

TEST_F(JisDetectorTest, BytesForeignToSingleByteTextFail) {
    for (int b : {0x80, 0xFF, 0x0E, 0x0F}) {
        JisDetectorSM machine = run(bytes({b}));
        EXPECT_EQ(machine.m_state, 1) << std::hex << b;
        EXPECT_TRUE(machine.m_error) << std::hex << b;
    }
    JisDetectorSM text = run("a\r\n");
    EXPECT_FALSE(text.m_error);
    EXPECT_FALSE(text.m_confirmed);
    EXPECT_EQ(text.m_charsSinceEscape, 4);
}

TEST_F(JisDetectorTest, KatakanaMode) {
    JisDetectorSM kana = run(kEscKana + "\x31");
    EXPECT_EQ(kana.m_state, 8);
    EXPECT_FALSE(kana.m_error);
    EXPECT_FALSE(kana.m_inChar);
    EXPECT_EQ(kana.m_firstByte, 0x31);
    EXPECT_TRUE(run(kEscKana + "\x60").m_error);
    EXPECT_TRUE(run(kEscKana + "\n").m_error);
    EXPECT_EQ(run(kEscKana + "\n").m_state, 8);
    // Katakana mode does not depend on the single-byte kana switch.
    setSingleByteKana(false);
    EXPECT_FALSE(run(kEscKana + "\x5F").m_error);
}

TEST_F(JisDetectorTest, ControlBytesFailInDoubleByteMode) {
    JisDetectorSM machine = run(kEsc1983 + "\n");
    EXPECT_EQ(machine.m_state, 13);
    EXPECT_TRUE(machine.m_error);
    JisDetectorSM second = run(kEsc1983 + "\x30\n");
    EXPECT_EQ(second.m_state, 10);
    EXPECT_TRUE(second.m_error);
}

TEST_F(JisDetectorTest, ExtendedRangeSwitch) {
    EXPECT_TRUE(run(kEsc1983 + "\x95\x21").m_error);
    EXPECT_TRUE(run(kEsc1983 + "\x30\x95").m_error);
    setJisExtendedRange(true);
    EXPECT_FALSE(run(kEsc1983 + "\x95\x21").m_error);
    EXPECT_FALSE(run(kEsc1983 + "\x30\x95").m_error);
    EXPECT_TRUE(run(kEsc1983 + "\x92\x21").m_error);
    EXPECT_TRUE(run(kEsc1983 + "\x98\x21").m_error);
    JisDetectorSM machine;
    EXPECT_TRUE(machine.isValidJisByte(0x93));
    EXPECT_TRUE(machine.isValidJisByte(0x97));
    EXPECT_FALSE(machine.isValidJisByte(0x7F));
    EXPECT_FALSE(machine.isValidJisByte(0x20));
}

TEST_F(JisDetectorTest, VerifiedCharactersUseTheTables) {
    EXPECT_FALSE(run(kEsc1983 + "\x30\x21", true).m_error);
    JisDetectorSM unknown = run(kEsc1983 + "\x74\x27", true);
    EXPECT_TRUE(unknown.m_error);
    EXPECT_TRUE(unknown.m_confirmed);
    EXPECT_FALSE(run(kEsc1983 + "\x74\x27", false).m_error);
    // The 1978 set is looked up in the same JIS X 0208 table.
    EXPECT_TRUE(run(kEsc1978 + "\x74\x27", true).m_error);
    // JIS X 0212 characters are looked up in their own table.
    EXPECT_FALSE(run(kEsc0212 + "\x22\x2F", true).m_error);
    EXPECT_TRUE(run(kEsc0212 + "\x22\x21", true).m_error);
}

TEST_F(JisDetectorTest, EscapeRunsAndRedundantDesignations) {
    // The first escape of a buffer starts no run.
    JisDetectorSM first = run(kEsc1983);
    EXPECT_EQ(first.m_escapeRun, 0);
    EXPECT_EQ(first.m_charsSinceEscape, 0);
    EXPECT_FALSE(first.m_redundantEscape);

    JisDetectorSM twoInARow = run(kEsc1983 + kEscAscii);
    EXPECT_EQ(twoInARow.m_escapeRun, 1);
    EXPECT_FALSE(twoInARow.m_redundantEscape);

    JisDetectorSM threeInARow = run(kEsc1983 + kEscAscii + kEscRoman);
    EXPECT_EQ(threeInARow.m_escapeRun, 2);

    // A character in between ends the run.
    JisDetectorSM separated = run(kEsc1983 + "\x30\x21" + kEscAscii);
    EXPECT_EQ(separated.m_escapeRun, 0);

    // Naming the set in force again is redundant, with or without characters between.
    EXPECT_TRUE(run(kEsc1983 + "\x30\x21" + kEsc1983).m_redundantEscape);
    EXPECT_TRUE(run(kEscAscii + "a" + kEscAscii).m_redundantEscape);
    EXPECT_FALSE(run(kEsc1983 + "\x30\x21" + kEsc1978).m_redundantEscape);
    // The initial single-byte state is not a designation of ASCII.
    EXPECT_FALSE(run(kEscAscii).m_redundantEscape);
}

TEST_F(JisDetectorTest, DesignationSurvivesAFailedEscape) {
    JisDetectorSM machine = run(kEsc1983 + "\x30\x21" + "\x1Bx" + kEsc1983);
    EXPECT_TRUE(machine.m_error);
    EXPECT_TRUE(machine.m_redundantEscape);
}

TEST_F(JisDetectorTest, CountersSaturateInsteadOfOverflowing) {
    JisDetectorSM machine;
    machine.m_charsSinceEscape = INT_MAX;
    machine.processByte('a', false);
    EXPECT_EQ(machine.m_charsSinceEscape, INT_MAX);

    JisDetectorSM run;
    run.m_charsSinceEscape = 0;
    run.m_escapeRun = INT_MAX;
    run.designate(0);
    EXPECT_EQ(run.m_escapeRun, INT_MAX);
}

TEST_F(JisDetectorTest, FailMovesAndClearsInChar) {
    JisDetectorSM machine = run("\x1B");
    machine.fail(19);
    EXPECT_EQ(machine.m_state, 19);
    EXPECT_TRUE(machine.m_error);
    EXPECT_FALSE(machine.m_inChar);
}

TEST_F(JisDetectorTest, StatefulDriver) {
    const std::string closed = kEsc1983 + "\x30\x21" + kEscAscii;
    const std::string open = kEsc1983 + "\x30\x21";
    EXPECT_TRUE(verify("", false, false, 0));
    EXPECT_TRUE(verify(closed, true, true, 1)) << hex(closed);
    EXPECT_FALSE(verify(open, true, true, 1)) << hex(open);
    EXPECT_FALSE(verify("a", false, false, 0)); // a limit of 0 fails the first byte
    EXPECT_FALSE(verify(kEsc1983 + kEscAscii, false, false, 1));
    EXPECT_TRUE(verify(kEsc1983 + kEscAscii, false, false, 2));
    const std::string redundant = kEsc1983 + "\x30\x21" + kEsc1983 + "\x30\x21" + kEscAscii;
    EXPECT_TRUE(verify(redundant, false, false, 1));
    EXPECT_FALSE(verify(redundant, false, true, 1));
    EXPECT_FALSE(verify("\x1B(J\\\x1B", false, false, 5)); // escape left open
    EXPECT_TRUE(verify("\x1B(J\\", false, false, 5));
}

} // namespace
} // namespace charsetkit
