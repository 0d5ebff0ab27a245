#include <charsetkit/traversal/EucJpTraverser.h>
#include <charsetkit/traversal/EucKrTraverser.h>
#include <charsetkit/traversal/JisTraverser.h>
#include <charsetkit/traversal/SjisTraverser.h>

#include "support/Bytes.h"
#include "support/SwitchesTest.h"
#include "support/Utf8Writer.h"
#include "traversal/TraverserTestUtil.h"

#include <gtest/gtest.h>

#include <memory>
#include <typeinfo>

namespace charsetkit {
namespace {

using test::bytes;
using test::hex;
using test::walk;

class SjisTraverserTest : public test::SwitchesTest {
protected:
    std::string stops(const char* hexText) {
        SjisTraverser t;
        return walk(t, bytes(hexText));
    }
};

TEST_F(SjisTraverserTest, PairsAreSteppedOver) {
    EXPECT_EQ(stops("61 82 A0 3C"), "0 3+skipped end");
    EXPECT_EQ(stops("61 82 A0"), "0 end+skipped");
    EXPECT_EQ(stops("82 A0 82 40 41"), "4+skipped end");
    EXPECT_EQ(stops(""), "end");
    EXPECT_EQ(stops("41 42"), "0 1 end");
}

TEST_F(SjisTraverserTest, BrokenPairsStopAtTheirLead) {
    EXPECT_EQ(stops("82 3C"), "0+skipped 1 end");
    EXPECT_EQ(stops("61 82"), "0 1+skipped end");
    EXPECT_EQ(stops("82"), "0+skipped end");
    // A lead byte followed by another lead: the second lead is read afresh
    // and pairs with what follows.
    EXPECT_EQ(stops("82 FF 3C"), "0+skipped 1 2 end");
    EXPECT_EQ(stops("B1 82 0A"), "1+skipped 2 end");
}

TEST_F(SjisTraverserTest, StrayBytesAreStops) {
    EXPECT_EQ(stops("80"), "0 end");
    EXPECT_EQ(stops("FD"), "0 end");
    EXPECT_EQ(stops("A0 FE FF 1B 0E 0F"), "0 1 2 3 4 5 end");
}

TEST_F(SjisTraverserTest, KanaFollowTheSwitch) {
    EXPECT_EQ(stops("B1 3C"), "1+skipped end");
    setSingleByteKana(false);
    EXPECT_EQ(stops("B1 3C"), "0 1 end");
    EXPECT_EQ(stops("83 B1 3C"), "2+skipped end"); // as a trail byte B1 is part of the pair
}

TEST_F(SjisTraverserTest, KanaSwitchChangedMidWalkAppliesToLaterBytes) {
    const std::string text = bytes("B1 41 B1 41");
    SjisTraverser t;
    t.setNewBuffer(text);
    EXPECT_EQ(test::stopName(t), "1+skipped");
    setSingleByteKana(false);
    t.advance();
    EXPECT_EQ(test::stopName(t), "2") << hex(text);
    setSingleByteKana(true);
    t.advance();
    EXPECT_EQ(test::stopName(t), "3");
}

class JisTraverserTest : public ::testing::Test {
protected:
    static std::string stops(const char* hexText) {
        JisTraverser t;
        return walk(t, bytes(hexText));
    }
};

TEST_F(JisTraverserTest, EscapeSequencesAndShiftedTextAreSteppedOver) {
    EXPECT_EQ(stops("1B 24 42 30 42 1B 28 42 3C"), "8+skipped end");
    EXPECT_EQ(stops("1B 24 42 30 3C"), "end+skipped");
    EXPECT_EQ(stops("1B 28 4A 5C 7E"), "3+skipped 4 end");
    EXPECT_EQ(stops("1B 28 49 31 32 1B 28 42 41"), "8+skipped end");
    EXPECT_EQ(stops("1B 24 28 44 22 2F 1B 28 42 0A"), "9+skipped end");
    EXPECT_EQ(stops("1B 24 40 30 21 1B 28 42"), "end+skipped");
    EXPECT_EQ(stops("41 1B 24 42 30 21 30 21 1B 28 42 42"), "0 11+skipped end");
}

TEST_F(JisTraverserTest, BrokenEscapesStopAtTheirEsc) {
    EXPECT_EQ(stops("1B 24 58 41"), "0+skipped 1 2 3 end");
    EXPECT_EQ(stops("1B 78"), "0+skipped 1 end");
    EXPECT_EQ(stops("1B 28 51"), "0+skipped 1 2 end");
    EXPECT_EQ(stops("1B 24 28 51"), "0+skipped 1 2 3 end");
    // A broken escape inside a two-byte stretch returns to ASCII mode.
    EXPECT_EQ(stops("1B 24 42 30 42 1B 51 3C"), "5+skipped 6 7 end");
}

TEST_F(JisTraverserTest, EscapeCutOffByTheEndIsSteppedOver) {
    EXPECT_EQ(stops("41 1B"), "0 end+skipped");
    EXPECT_EQ(stops("41 1B 24 28"), "0 end+skipped");
}

TEST_F(JisTraverserTest, TextWithoutEscapesStopsEverywhere) {
    EXPECT_EQ(stops("82 A0 3C"), "0 1 2 end");
    EXPECT_EQ(stops("0E 0F FF"), "0 1 2 end");
}

TEST(EucTraversersTest, StopOnlyBelow0x80) {
    // EucJpTraverser's destructor is private: it lives behind the base class.
    std::unique_ptr<AbstractTraverser> euc(new EucJpTraverser());
    EXPECT_EQ(walk(*euc, bytes("8E B1 3C")), "2+skipped end");
    EXPECT_EQ(walk(*euc, bytes("8F B0 A1 41 A4 A2")), "3+skipped end+skipped");
    EucKrTraverser kr;
    EXPECT_EQ(walk(kr, bytes("B0 A1 3C")), "2+skipped end");
    EXPECT_EQ(walk(kr, bytes("41 42")), "0 1 end");
}

TEST(JapaneseTraverserObjectsTest, CreateNewGivesAnUnboundTraverserOfTheSameClass) {
    SjisTraverser sjis;
    JisTraverser jis;
    EucKrTraverser kr;
    std::unique_ptr<AbstractTraverser> eucObject(new EucJpTraverser());
    const AbstractTraverser& euc = *eucObject;
    const std::string text = "abc";
    sjis.setNewBuffer(text);
    for (const AbstractTraverser* t :
         {static_cast<const AbstractTraverser*>(&sjis), static_cast<const AbstractTraverser*>(&jis),
          static_cast<const AbstractTraverser*>(&kr), &euc}) {
        const AbstractTraverser& original = *t;
        std::unique_ptr<AbstractTraverser> created(original.createNew());
        ASSERT_NE(created, nullptr);
        const AbstractTraverser& createdRef = *created;
        EXPECT_EQ(typeid(createdRef), typeid(original));
        EXPECT_EQ(created->getPos(), nullptr);
        EXPECT_EQ(created->getBufferStart(), nullptr);
    }
}

TEST(JapaneseTraverserObjectsTest, CopiesMoveIndependently) {
    const std::string text = bytes("41 82 A0 42 43");
    SjisTraverser original;
    original.setNewBuffer(text);
    SjisTraverser copy(original);
    EXPECT_EQ(copy.getPos(), original.getPos());
    copy.advance();
    EXPECT_EQ(copy.getPos() - text.data(), 3);
    EXPECT_TRUE(copy.skipped());
    EXPECT_EQ(original.getPos() - text.data(), 0);
    JisTraverser jis;
    jis.setNewBuffer(text);
    JisTraverser other;
    other = jis;
    other.advance();
    EXPECT_EQ(other.getPos() - text.data(), 1);
    EXPECT_EQ(jis.getPos() - text.data(), 0);
}

TEST(JapaneseTraverserObjectsTest, RebindingStartsAfresh) {
    JisTraverser t;
    const std::string first = bytes("1B 24 42 30");
    const std::string second = bytes("41");
    t.setNewBuffer(first);
    EXPECT_TRUE(t.isEnd());
    t.setNewBuffer(second);
    EXPECT_TRUE(t.isStart());
    EXPECT_FALSE(t.skipped());
}

} // namespace
} // namespace charsetkit
