#include <charsetkit/detectors/EucJpDetectorSM.h>

#include "support/Bytes.h"
#include "support/SwitchesTest.h"
#include "support/Utf8Writer.h"

#include <gtest/gtest.h>

namespace charsetkit {
namespace {

using test::bytes;
using test::hex;

class EucJpDetectorTest : public test::SwitchesTest {
protected:
    static EucJpDetectorSM run(const std::string& input, bool verifyCharacters = false) {
        EucJpDetectorSM machine;
        for (char c : input) {
            machine.processByte(static_cast<unsigned char>(c), verifyCharacters);
        }
        return machine;
    }
};

TEST_F(EucJpDetectorTest, FreshMachine) {
    EucJpDetectorSM machine;
    EXPECT_EQ(machine.m_state, 0);
    EXPECT_FALSE(machine.m_error || machine.m_confirmed || machine.m_inChar);
    EXPECT_EQ(machine.getEncodingID(), AbstractEncoding::EucJp);
}

TEST_F(EucJpDetectorTest, Jis0208Pair) {
    EucJpDetectorSM first = run(bytes({0xA4}));
    EXPECT_EQ(first.m_state, 1);
    EXPECT_TRUE(first.m_inChar);
    EXPECT_FALSE(first.m_confirmed);

    EucJpDetectorSM pair = run(bytes({0xA4, 0xA2}));
    EXPECT_EQ(pair.m_state, 2);
    EXPECT_TRUE(pair.m_confirmed);
    EXPECT_FALSE(pair.m_inChar || pair.m_error);

    EucJpDetectorSM broken = run(bytes({0xA4, 0x41}));
    EXPECT_EQ(broken.m_state, 2);
    EXPECT_TRUE(broken.m_error);
    EXPECT_FALSE(broken.m_confirmed || broken.m_inChar);
}

TEST_F(EucJpDetectorTest, HalfWidthKana) {
    EucJpDetectorSM prefix = run(bytes({0x8E}));
    EXPECT_EQ(prefix.m_state, 3);
    EXPECT_TRUE(prefix.m_inChar);

    EucJpDetectorSM kana = run(bytes({0x8E, 0xB1}));
    EXPECT_EQ(kana.m_state, 4);
    EXPECT_TRUE(kana.m_confirmed);
    EXPECT_FALSE(kana.m_error || kana.m_inChar);

    EucJpDetectorSM beyond = run(bytes({0x8E, 0xE0}));
    EXPECT_EQ(beyond.m_state, 4);
    EXPECT_TRUE(beyond.m_error);
    EXPECT_FALSE(beyond.m_confirmed);

    setSingleByteKana(false);
    EucJpDetectorSM refused = run(bytes({0x8E}));
    EXPECT_EQ(refused.m_state, 3); // still waits for the kana byte
    EXPECT_TRUE(refused.m_error);
    EXPECT_TRUE(refused.m_inChar);
}

TEST_F(EucJpDetectorTest, Jis0212Character) {
    EucJpDetectorSM full = run(bytes({0x8F, 0xB0, 0xA1}));
    EXPECT_EQ(full.m_state, 7);
    EXPECT_TRUE(full.m_confirmed);
    EXPECT_FALSE(full.m_error || full.m_inChar);
    EXPECT_EQ(run(bytes({0x8F})).m_state, 5);
    EXPECT_EQ(run(bytes({0x8F, 0xB0})).m_state, 6);
    EXPECT_TRUE(run(bytes({0x8F, 0xB0})).m_inChar);

    EucJpDetectorSM badSecond = run(bytes({0x8F, 0x41}));
    EXPECT_EQ(badSecond.m_state, 0);
    EXPECT_TRUE(badSecond.m_error);
    EXPECT_FALSE(badSecond.m_inChar);

    EucJpDetectorSM badThird = run(bytes({0x8F, 0xB0, 0x41}));
    EXPECT_EQ(badThird.m_state, 7);
    EXPECT_TRUE(badThird.m_error);
    EXPECT_FALSE(badThird.m_confirmed);

    setSupplementaryKanji(false);
    EucJpDetectorSM refused = run(bytes({0x8F}));
    EXPECT_EQ(refused.m_state, 5);
    EXPECT_TRUE(refused.m_error);
}

TEST_F(EucJpDetectorTest, ForeignBytesFail) {
    for (int b : {0x1B, 0x0E, 0x0F, 0x80, 0x8D, 0x90, 0xA0, 0xFF}) {
        EucJpDetectorSM machine = run(bytes({b}));
        EXPECT_EQ(machine.m_state, 0) << std::hex << b;
        EXPECT_TRUE(machine.m_error) << std::hex << b;
        EXPECT_FALSE(machine.m_inChar) << std::hex << b;
    }
}

TEST_F(EucJpDetectorTest, VerifiedCharactersUseTheTables) {
    // JIS X 0208 0x2121 and JIS X 0212 0x222F exist; 0x2221 of JIS X 0212 does not.
    EXPECT_FALSE(run(bytes({0xA1, 0xA1}), true).m_error);
    EXPECT_FALSE(run(bytes({0x8F, 0xA2, 0xAF}), true).m_error);
    EucJpDetectorSM unknown = run(bytes({0x8F, 0xA2, 0xA1}), true);
    EXPECT_TRUE(unknown.m_error);
    EXPECT_TRUE(unknown.m_confirmed);
    EXPECT_FALSE(run(bytes({0x8F, 0xA2, 0xA1}), false).m_error);
    // Row 0x2D (EUC-JP 0xAD) is an extension row: known only while enabled.
    EXPECT_FALSE(run(bytes({0xAD, 0xA1}), true).m_error);
    setSjisExtensions(false);
    EXPECT_TRUE(run(bytes({0xAD, 0xA1}), true).m_error);
}

TEST_F(EucJpDetectorTest, TransitionsGoOnAfterAFailure) {
    EucJpDetectorSM machine = run(bytes({0x80, 0xA4, 0xA2, 0x8E}));
    EXPECT_EQ(machine.m_state, 3);
    EXPECT_TRUE(machine.m_error);
    EXPECT_TRUE(machine.m_confirmed);
    EXPECT_TRUE(machine.m_inChar);
}

TEST_F(EucJpDetectorTest, StatelessDriver) {
    const std::string truncated = bytes({0x41, 0xA4});
    EucJpDetectorSM machine;
    EXPECT_TRUE(machine.verify(truncated.data(), 2, true, true, 0)) << hex(truncated);
    const std::string broken = bytes({0xA4, 0xA2, 0xA4, 0x0A});
    EucJpDetectorSM other;
    EXPECT_FALSE(other.verify(broken.data(), 4, false, false, 5)) << hex(broken);
}

} // namespace
} // namespace charsetkit
