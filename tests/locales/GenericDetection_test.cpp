// The generic detection loop, driven with scripted machines so that each
// rule (pre-scan, removal, early decision, end of buffer) is seen on its own.
#include <charsetkit/detectors/AbstractDetectorSM.h>
#include <charsetkit/locales/AbstractLocale.h>

#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace charsetkit {
namespace {

using Ids = std::vector<AbstractEncoding::EncodingID>;

AbstractEncoding::EncodingID id(int value) {
    return static_cast<AbstractEncoding::EncodingID>(value);
}

// A machine that follows a script, one letter per byte it is shown:
// '.' nothing new, 'i' inside a character (for this byte only), 'c' confirmed
// from now on, 'C' confirmed and inside a character, 'x' failed from now on.
// Bytes beyond the script are '.'.
class ScriptedMachine : public AbstractDetectorSM {
public:
    ScriptedMachine(int encoding, const char* script, bool validEnd = true)
        : m_id(id(encoding)), m_script(script), m_validEnd(validEnd) {}

    void processByte(unsigned char byte, bool /*verifyCharacters*/) override {
        m_seen.push_back(static_cast<char>(byte));
        const char step = m_seen.size() <= m_script.size() ? m_script[m_seen.size() - 1] : '.';
        m_inChar = step == 'i' || step == 'C';
        if (step == 'c' || step == 'C') {
            m_confirmed = true;
        }
        if (step == 'x') {
            m_error = true;
        }
    }
    bool verify(const char*, unsigned int, bool, bool, int) override { return false; }
    bool convertToUtf8(const char*, unsigned int, std::string&, bool&, bool) override {
        return false;
    }
    void checkLimits(bool rejectRedundantEscapes, int escapeRunLimit) override {
        ++m_limitChecks;
        m_lastReject = rejectRedundantEscapes;
        m_lastLimit = escapeRunLimit;
    }
    bool isValidEndState() override { return m_validEnd; }
    AbstractEncoding::EncodingID getEncodingID() override { return m_id; }

    AbstractEncoding::EncodingID m_id;
    std::string m_script;
    bool m_validEnd;
    std::string m_seen;
    int m_limitChecks = 0;
    bool m_lastReject = false;
    int m_lastLimit = -100;
};

// Gives the tests access to the protected detection helpers.
class ProbeLocale : public AbstractLocale {
public:
    const char* getName() const override { return "Probe"; }
    const char* getShortName() const override { return "probe"; }
    eLocalIds getID() const override { return static_cast<eLocalIds>(0); }
    AbstractEncoding::EncodingID getEncoding(const char*) const override { return id(0); }
    void detectAndVerifyEncoding(const char*, unsigned int, bool, bool, int, bool,
                                 std::vector<AbstractEncoding::EncodingID>*) override {}
    AbstractTraverser* getHtmlSafeEncodingTraverser() const override { return nullptr; }
    AbstractTraverser*
    getHtmlSafeEncodingTraverser(const std::vector<const AbstractEncoding*>&) const override {
        return nullptr;
    }
    bool verifyUtf8(const char*, unsigned int, bool, bool) override { return false; }

    Ids detect(const std::string& buffer, std::vector<AbstractDetectorSM*> machines,
               bool scanToEnd) {
        machines.push_back(nullptr);
        Ids out{id(99), id(98)};
        genericEncodingDetect(buffer.data(), static_cast<unsigned int>(buffer.size()), false, true,
                              7, scanToEnd, machines.data(), &out);
        return out;
    }

    using AbstractLocale::genericEncodingDetect;
    using AbstractLocale::removeFromArray;
};

TEST(GenericDetection, PlainAsciiNeverReachesTheMachines) {
    ProbeLocale probe;
    for (const char* text : {"", "plain <b>text</b> \x7F\x01", "0123456789abcdefghij"}) {
        SCOPED_TRACE(text);
        ScriptedMachine machine(4, "xxxx");
        EXPECT_EQ(probe.detect(text, {&machine}, false), Ids{AbstractEncoding::Ascii});
        EXPECT_EQ(probe.detect(text, {}, true), Ids{AbstractEncoding::Ascii});
        EXPECT_TRUE(machine.m_seen.empty());
    }
    Ids out{id(5)};
    probe.genericEncodingDetect("", 0, false, false, 1, false, nullptr, &out);
    EXPECT_EQ(out, Ids{AbstractEncoding::Ascii});
}

TEST(GenericDetection, MachinesStartAtTheFirstNonAsciiOrShiftByte) {
    ProbeLocale probe;
    for (const char* text : {"ab\x1B$B", "ab\x0E", "abcdefghijklmnop\x0Fq", "abc\x80q"}) {
        const std::string buffer(text);
        SCOPED_TRACE(test::hex(buffer));
        ScriptedMachine machine(5, "");
        probe.detect(buffer, {&machine}, true);
        EXPECT_EQ(machine.m_seen, buffer.substr(buffer.find_first_of("\x1B\x0E\x0F\x80")));
        // The limits go to every machine after every byte, unchanged.
        EXPECT_EQ(machine.m_limitChecks, static_cast<int>(machine.m_seen.size()));
        EXPECT_TRUE(machine.m_lastReject);
        EXPECT_EQ(machine.m_lastLimit, 7);
    }
}

TEST(GenericDetection, NoMachinesOrAllFailedGiveNothing) {
    ProbeLocale probe;
    EXPECT_EQ(probe.detect("\x80", {}, false), Ids{});

    // The last machine fails on the second byte; nothing after it is read.
    ScriptedMachine first(3, "x");
    ScriptedMachine second(4, ".x");
    EXPECT_EQ(probe.detect("\x80\x81\x82\x83", {&first, &second}, true), Ids{});
    EXPECT_EQ(first.m_seen.size(), 1u);
    EXPECT_EQ(second.m_seen.size(), 2u);
}

TEST(GenericDetection, FailedMachinesAreDroppedAndTheNextTakesTheirPlace) {
    ProbeLocale probe;
    ScriptedMachine a(5, ".x");
    ScriptedMachine b(4, "..c");
    ScriptedMachine c(3, "x");
    ScriptedMachine d(2, "...c");
    AbstractDetectorSM* callers[] = {&a, &b, &c, &d, nullptr};
    Ids out;
    const std::string buffer = test::bytes("80 81 82 83 84");
    probe.genericEncodingDetect(buffer.data(), 5, false, false, 1, true, callers, &out);
    EXPECT_EQ(out, (Ids{id(4), id(2)}));
    // Each failed machine saw exactly the bytes up to its failure; the one
    // after it was still fed the failing byte in the same pass.
    EXPECT_EQ(a.m_seen.size(), 2u);
    EXPECT_EQ(b.m_seen.size(), 5u);
    EXPECT_EQ(c.m_seen.size(), 1u);
    EXPECT_EQ(d.m_seen.size(), 5u);
    // The caller's array is left as it was.
    EXPECT_EQ(callers[0], &a);
    EXPECT_EQ(callers[2], &c);
    EXPECT_EQ(callers[4], nullptr);
}

TEST(GenericDetection, EarlyDecisionNeedsOneConfirmedMachineAndNoneInsideACharacter) {
    ProbeLocale probe;
    const std::string buffer = test::bytes("80 81 82 83 84 85");
    {
        // Confirmed at byte 2 while the other machine is inside a character;
        // decided at byte 3, when it is not.
        ScriptedMachine confirmed(4, ".c");
        ScriptedMachine other(3, ".i");
        EXPECT_EQ(probe.detect(buffer, {&other, &confirmed}, false), Ids{id(4)});
        EXPECT_EQ(confirmed.m_seen.size(), 3u);
    }
    {
        // Two confirmed machines: no decision, both reported at the end.
        ScriptedMachine one(4, "c");
        ScriptedMachine two(3, "c");
        EXPECT_EQ(probe.detect(buffer, {&one, &two}, false), (Ids{id(4), id(3)}));
        EXPECT_EQ(one.m_seen.size(), 6u);
    }
    {
        // The other confirmed machine fails: the survivor is decided at once.
        ScriptedMachine one(4, "c");
        ScriptedMachine two(3, "c.x");
        EXPECT_EQ(probe.detect(buffer, {&one, &two}, false), Ids{id(4)});
        EXPECT_EQ(one.m_seen.size(), 3u);
    }
    {
        // The decision does not ask for a valid end state.
        ScriptedMachine lone(5, ".c", false);
        EXPECT_EQ(probe.detect(buffer, {&lone}, false), Ids{id(5)});
    }
    {
        // A confirmed machine that is itself inside a character waits.
        ScriptedMachine lone(5, "Ci.");
        EXPECT_EQ(probe.detect(buffer, {&lone}, false), Ids{id(5)});
        EXPECT_EQ(lone.m_seen.size(), 3u);
    }
}

TEST(GenericDetection, ScanToEndReadsEverythingAndJudgesTheEndState) {
    ProbeLocale probe;
    const std::string buffer = test::bytes("80 81 82 83");
    ScriptedMachine unconfirmed(5, "");
    ScriptedMachine openAtEnd(4, "c..i");
    ScriptedMachine badEnd(3, "c", false);
    ScriptedMachine good(2, ".c");
    ScriptedMachine goodToo(1, "...c");
    EXPECT_EQ(probe.detect(buffer, {&unconfirmed, &openAtEnd, &badEnd, &good, &goodToo}, true),
              (Ids{id(2), id(1)}));
    EXPECT_EQ(good.m_seen.size(), 4u);
}

TEST(GenericDetection, ResultIsEmptiedAndItsStorageReleased) {
    ProbeLocale probe;
    Ids out(100, id(3));
    probe.genericEncodingDetect("\x80", 1, false, false, 1, false, nullptr, &out);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(out.capacity(), 0u);
}

TEST(GenericDetection, NullResultOrBufferIsHarmless) {
    ProbeLocale probe;
    ScriptedMachine machine(4, "c");
    AbstractDetectorSM* machines[] = {&machine, nullptr};
    probe.genericEncodingDetect("\x80", 1, false, false, 1, false, machines, nullptr);
    EXPECT_TRUE(machine.m_seen.empty());
    Ids out;
    // A null buffer with a length holds nothing to judge: no encoding, and
    // the machines are never asked. With length 0 it is an empty buffer.
    out.push_back(AbstractEncoding::Sjis);
    probe.genericEncodingDetect(nullptr, 10, false, false, 1, false, machines, &out);
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(machine.m_seen.empty());
    probe.genericEncodingDetect(nullptr, 0, false, false, 1, false, machines, &out);
    EXPECT_EQ(out, Ids{AbstractEncoding::Ascii});
}

TEST(RemoveFromArray, ShiftsTheRestAndTheTerminatorForward) {
    ScriptedMachine a(1, ""), b(2, ""), c(3, "");
    AbstractDetectorSM* array[] = {&a, &b, &c, nullptr, &a};
    ProbeLocale::removeFromArray(array, 1);
    EXPECT_EQ(array[0], &a);
    EXPECT_EQ(array[1], &c);
    EXPECT_EQ(array[2], nullptr);
    ProbeLocale::removeFromArray(array, 0);
    EXPECT_EQ(array[0], &c);
    EXPECT_EQ(array[1], nullptr);
    // The terminator, anything beyond it and negative indexes move nothing.
    ProbeLocale::removeFromArray(array, 1);
    ProbeLocale::removeFromArray(array, 3);
    ProbeLocale::removeFromArray(array, -1);
    ProbeLocale::removeFromArray(nullptr, 0);
    EXPECT_EQ(array[0], &c);
    EXPECT_EQ(array[1], nullptr);
    EXPECT_EQ(array[4], &a);
    ProbeLocale::removeFromArray(array, 0);
    EXPECT_EQ(array[0], nullptr);
}

} // namespace
} // namespace charsetkit
