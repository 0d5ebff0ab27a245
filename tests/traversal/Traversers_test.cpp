#include <charsetkit/traversal/AsciiTraverser.h>
#include <charsetkit/traversal/Utf16BigTraverser.h>
#include <charsetkit/traversal/Utf16LittleTraverser.h>
#include <charsetkit/traversal/Utf8Traverser.h>

#include "support/Bytes.h"
#include "traversal/TraverserTestUtil.h"

#include <gtest/gtest.h>

#include <memory>
#include <typeinfo>

namespace charsetkit {
namespace {

using test::bytes;
using test::walk;

TEST(Traversers, UnboundTraverserIsAtStartAndEnd) {
    Utf16LittleTraverser t;
    EXPECT_TRUE(t.isStart());
    EXPECT_TRUE(t.isEnd());
    EXPECT_EQ(t.getPos(), nullptr);
    EXPECT_FALSE(t.skipped());
}

TEST(Traversers, EmptyBufferIsStartAndEnd) {
    AsciiTraverser a;
    Utf8Traverser u;
    Utf16BigTraverser b;
    Utf16LittleTraverser l;
    const char buffer[1] = {'x'};
    for (AbstractTraverser* t : std::initializer_list<AbstractTraverser*>{&a, &u, &b, &l}) {
        t->setNewBuffer(buffer, 0);
        EXPECT_TRUE(t->isStart());
        EXPECT_TRUE(t->isEnd());
        EXPECT_EQ(t->getPos(), buffer);
        t->setNewBuffer(std::string());
        EXPECT_TRUE(t->isEnd());
        t->setNewBuffer(nullptr, 0);
        EXPECT_TRUE(t->isEnd());
        EXPECT_TRUE(t->isStart());
        t->setNewBuffer(buffer, -3); // a negative length binds nothing
        EXPECT_TRUE(t->isEnd());
    }
}

TEST(Traversers, AsciiStopsEverywhere) {
    AsciiTraverser t;
    EXPECT_EQ(walk(t, bytes("61 C3")), "0 1 end");
    EXPECT_EQ(walk(t, bytes("FF")), "0 end");
}

TEST(Traversers, Utf8StepsOverBytesFromEighty) {
    Utf8Traverser t;
    EXPECT_EQ(walk(t, bytes("61 C3 A9 62")), "0 3+skipped end");
    EXPECT_EQ(walk(t, bytes("C3 A9")), "end+skipped");
    EXPECT_EQ(walk(t, bytes("80 80 3C 3E FF")), "2+skipped 3 end+skipped");
    EXPECT_EQ(walk(t, bytes("00 7F")), "0 1 end");
}

TEST(Traversers, Utf16BigEndian) {
    Utf16BigTraverser t;
    EXPECT_EQ(walk(t, bytes("FE FF 00 3C 30 42 00 3E")), "3 7+skipped end");
    EXPECT_EQ(walk(t, bytes("FE FF")), "end+skipped");
    EXPECT_EQ(walk(t, bytes("00 3C 3E")), "1 end");
    EXPECT_EQ(walk(t, bytes("00 80 01 3C 00 41")), "5+skipped end");
    // A mark is recognised only at the start and only in its own byte order.
    EXPECT_EQ(walk(t, bytes("00 41 FE FF 00 42")), "1 5+skipped end");
    EXPECT_EQ(walk(t, bytes("FF FE 41 00")), "end+skipped");
    EXPECT_EQ(walk(t, bytes("00")), "end");
    // An odd last byte is not skipped itself, but units skipped before it
    // still count; after a mark it leaves nothing skipped.
    EXPECT_EQ(walk(t, bytes("30 42 00")), "end+skipped");
    EXPECT_EQ(walk(t, bytes("FE FF 00")), "end");
    // Rebinding looks for the mark afresh.
    EXPECT_EQ(walk(t, bytes("FE FF 00 41")), "3 end");
}

TEST(Traversers, Utf16LittleEndian) {
    Utf16LittleTraverser t;
    EXPECT_EQ(walk(t, bytes("FF FE 3C 00 42 30 3E 00")), "2 6+skipped end");
    EXPECT_EQ(walk(t, bytes("3C 00 3E")), "0 end");
    EXPECT_EQ(walk(t, bytes("FF FE")), "end+skipped");
    EXPECT_EQ(walk(t, bytes("80 00 3C 01 41 00")), "4+skipped end");
    EXPECT_EQ(walk(t, bytes("FE FF 41 00")), "2+skipped end");
    EXPECT_EQ(walk(t, bytes("41")), "end");
    EXPECT_EQ(walk(t, bytes("42 30 3C")), "end+skipped");
    EXPECT_EQ(walk(t, bytes("FF FE 41")), "end");
    EXPECT_EQ(walk(t, bytes("FF FE 41 00")), "2 end");
}

TEST(Traversers, IsStartComparesPositionsLiterally) {
    Utf16BigTraverser big;
    const std::string unit = bytes("00 41");
    big.setNewBuffer(unit);
    EXPECT_FALSE(big.isStart()); // the stop is the second byte
    const std::string s = bytes("C3 A9 41");
    Utf8Traverser u;
    u.setNewBuffer(s);
    EXPECT_FALSE(u.isStart());
    AsciiTraverser a;
    a.setNewBuffer(s);
    EXPECT_TRUE(a.isStart());
}

TEST(Traversers, CopiesAdvanceIndependently) {
    const std::string s = "abc";
    Utf8Traverser t;
    t.setNewBuffer(s);
    t.advance();
    Utf8Traverser copy(t);
    EXPECT_EQ(copy.getPos(), t.getPos());
    copy.advance();
    EXPECT_EQ(copy.getPos(), s.data() + 2);
    EXPECT_EQ(t.getPos(), s.data() + 1);
    Utf8Traverser assigned;
    assigned = copy;
    EXPECT_EQ(assigned.getPos(), s.data() + 2);
    EXPECT_EQ(assigned.getBufferEnd(), s.data() + 3);
}

TEST(Traversers, CreateNewGivesAnUnboundTraverserOfTheSameClass) {
    const std::string s = "abc";
    AsciiTraverser a;
    Utf8Traverser u;
    Utf16BigTraverser b;
    Utf16LittleTraverser l;
    for (AbstractTraverser* t : std::initializer_list<AbstractTraverser*>{&a, &u, &b, &l}) {
        t->setNewBuffer(s);
        std::unique_ptr<AbstractTraverser> fresh(t->createNew());
        ASSERT_NE(fresh, nullptr);
        const AbstractTraverser& created = *fresh;
        const AbstractTraverser& original = *t;
        EXPECT_EQ(typeid(created), typeid(original));
        EXPECT_EQ(fresh->getBufferStart(), nullptr);
        EXPECT_TRUE(fresh->isEnd());
    }
}

TEST(Traversers, RebindingStartsAfresh) {
    Utf8Traverser t;
    t.setNewBuffer(bytes("C3 A9"));
    EXPECT_TRUE(t.skipped());
    const std::string s = "x";
    t.setNewBuffer(s);
    EXPECT_FALSE(t.skipped());
    EXPECT_EQ(t.getPos(), s.data());
}

} // namespace
} // namespace charsetkit
