#include <charsetkit/detectors/SjisDetectorSM.h>

#include "support/Bytes.h"
#include "support/SwitchesTest.h"
#include "support/Utf8Writer.h"

#include <gtest/gtest.h>

namespace charsetkit {
namespace {

using test::bytes;
using test::hex;

class SjisDetectorTest : public test::SwitchesTest {
protected:
    static SjisDetectorSM run(const std::string& input, bool verifyCharacters = false) {
        SjisDetectorSM machine;
        for (char c : input) {
            machine.processByte(static_cast<unsigned char>(c), verifyCharacters);
        }
        return machine;
    }
};

TEST_F(SjisDetectorTest, FreshMachineStandsBetweenCharacters) {
    SjisDetectorSM machine;
    EXPECT_EQ(machine.m_state, 0);
    EXPECT_FALSE(machine.m_error);
    EXPECT_FALSE(machine.m_confirmed);
    EXPECT_FALSE(machine.m_inChar);
    EXPECT_EQ(machine.getEncodingID(), AbstractEncoding::Sjis);
    EXPECT_TRUE(machine.isValidEndState());
}

TEST_F(SjisDetectorTest, DoubleByteCharacter) {
    SjisDetectorSM lead = run(bytes({0x82}));
    EXPECT_EQ(lead.m_state, 2);
    EXPECT_TRUE(lead.m_inChar);
    EXPECT_FALSE(lead.m_confirmed);
    EXPECT_EQ(lead.m_firstByte, 0x82);

    SjisDetectorSM pair = run(bytes({0x82, 0xA0}));
    EXPECT_EQ(pair.m_state, 5);
    EXPECT_TRUE(pair.m_confirmed);
    EXPECT_FALSE(pair.m_inChar);
    EXPECT_FALSE(pair.m_error);

    SjisDetectorSM broken = run(bytes({0x82, 0x20}));
    EXPECT_EQ(broken.m_state, 4);
    EXPECT_TRUE(broken.m_error);
    EXPECT_FALSE(broken.m_inChar);
    EXPECT_FALSE(broken.m_confirmed);
}

TEST_F(SjisDetectorTest, StrayBytesFailOnTheLead) {
    for (int b : {0x80, 0xA0, 0xFD, 0xFE, 0xFF, 0x1B, 0x0E, 0x0F}) {
        SjisDetectorSM machine = run(bytes({b}));
        EXPECT_EQ(machine.m_state, 3) << std::hex << b;
        EXPECT_TRUE(machine.m_error) << std::hex << b;
        EXPECT_FALSE(machine.m_inChar) << std::hex << b;
    }
}

TEST_F(SjisDetectorTest, SingleByteKanaFollowsTheSwitch) {
    SjisDetectorSM on = run(bytes({0xB1}));
    EXPECT_EQ(on.m_state, 1);
    EXPECT_TRUE(on.m_confirmed);
    EXPECT_FALSE(on.m_error);

    setSingleByteKana(false);
    SjisDetectorSM off = run(bytes({0xB1}));
    EXPECT_EQ(off.m_state, 3);
    EXPECT_TRUE(off.m_error);
    EXPECT_FALSE(off.m_confirmed);

    // As a trail byte, 0xB1 does not depend on the switch.
    EXPECT_EQ(run(bytes({0x83, 0xB1})).m_state, 5);
}

TEST_F(SjisDetectorTest, SwitchIsReadAtEveryByte) {
    SjisDetectorSM machine;
    machine.processByte(0xB1, false);
    EXPECT_FALSE(machine.m_error);
    setSingleByteKana(false);
    machine.processByte(0xB1, false);
    EXPECT_TRUE(machine.m_error);
}

TEST_F(SjisDetectorTest, VerifiedPairsUseTheTables) {
    // 0x8740 (circled digit one) exists only among the extensions.
    EXPECT_FALSE(run(bytes({0x87, 0x40}), true).m_error);
    setSjisExtensions(false);
    SjisDetectorSM refused = run(bytes({0x87, 0x40}), true);
    EXPECT_EQ(refused.m_state, 4);
    EXPECT_TRUE(refused.m_error);
    EXPECT_TRUE(refused.m_confirmed); // seen all the same

    // The user-defined area is never in the tables, but its structure is fine.
    EXPECT_TRUE(run(bytes({0xF0, 0x40}), true).m_error);
    SjisDetectorSM structural = run(bytes({0xF0, 0x40}), false);
    EXPECT_EQ(structural.m_state, 5);
    EXPECT_FALSE(structural.m_error);
}

TEST_F(SjisDetectorTest, TransitionsGoOnAfterAFailure) {
    SjisDetectorSM machine = run(bytes({0xFF, 0x82, 0xA0}));
    EXPECT_EQ(machine.m_state, 5);
    EXPECT_TRUE(machine.m_error);
    EXPECT_TRUE(machine.m_confirmed);

    // The byte that broke a pair is consumed: the next byte is read afresh.
    SjisDetectorSM afterBadTrail = run(bytes({0x82, 0x20, 0x82}));
    EXPECT_EQ(afterBadTrail.m_state, 2);
    EXPECT_TRUE(afterBadTrail.m_inChar);
    EXPECT_TRUE(afterBadTrail.m_error);
}

TEST_F(SjisDetectorTest, StatelessDriverAcceptsATruncatedPair) {
    SjisDetectorSM machine;
    const std::string input = bytes({0x41, 0x82});
    EXPECT_TRUE(machine.verify(input.data(), 2, true, true, 0)) << hex(input);
    SjisDetectorSM bad;
    const std::string broken = bytes({0x82, 0x41, 0x82, 0x0A});
    EXPECT_FALSE(bad.verify(broken.data(), 4, false, false, 0)) << hex(broken);
}

} // namespace
} // namespace charsetkit
