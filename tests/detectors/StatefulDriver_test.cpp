#include <charsetkit/detectors/AbstractStatefulDetectorSM.h>

#include <gtest/gtest.h>

#include <string>

namespace charsetkit {
namespace {

// A scripted machine: 'E' completes a designation escape (one more in the
// run), 'R' marks a redundant one, 'c' is a character, 'x' fails, 'o' leaves
// the machine in a state where the text may not end.
struct ScriptedMachine final : AbstractStatefulDetectorSM {
    bool endOk = true;
    int bytesSeen = 0;
    void processByte(unsigned char byte, bool) override {
        ++bytesSeen;
        switch (byte) {
        case 'E':
            ++m_escapeRun;
            break;
        case 'R':
            m_redundantEscape = true;
            break;
        case 'c':
            m_escapeRun = 0;
            endOk = true;
            break;
        case 'x':
            m_error = true;
            break;
        case 'o':
            endOk = false;
            break;
        default:
            break;
        }
    }
    bool isValidEndState() override { return endOk; }
    AbstractEncoding::EncodingID getEncodingID() override { return AbstractEncoding::Jis; }
};

bool run(const std::string& s, bool rejectRedundant, int limit, int* seen = nullptr) {
    ScriptedMachine m;
    const bool ok =
        m.verify(s.data(), static_cast<unsigned int>(s.size()), false, rejectRedundant, limit);
    if (seen != nullptr) {
        *seen = m.bytesSeen;
    }
    return ok;
}

TEST(StatefulDriver, StartsWithOneCharacterSinceTheLastEscape) {
    ScriptedMachine m;
    EXPECT_EQ(m.m_charsSinceEscape, 1);
    EXPECT_EQ(m.m_escapeRun, 0);
    EXPECT_FALSE(m.m_redundantEscape);
}

TEST(StatefulDriver, EmptyBufferAsksTheEndState) {
    EXPECT_TRUE(run("", false, 1));
    ScriptedMachine m;
    m.endOk = false;
    EXPECT_FALSE(m.verify(nullptr, 0, false, false, 1));
}

TEST(StatefulDriver, EndStateDecidesAfterTheLastByte) {
    EXPECT_TRUE(run("cc", false, 5));
    EXPECT_FALSE(run("co", false, 5));
    EXPECT_TRUE(run("coc", false, 5));
}

TEST(StatefulDriver, EscapeRunLimit) {
    EXPECT_FALSE(run("c", false, 0)); // a limit of 0 or less fails at once
    EXPECT_FALSE(run("c", false, -7));
    EXPECT_TRUE(run("EcEc", false, 2));
    EXPECT_FALSE(run("EEc", false, 2));
    EXPECT_TRUE(run("EEc", false, 3));
    EXPECT_FALSE(run("Ec", false, 1));
}

TEST(StatefulDriver, RedundantEscapesFailOnlyWhenRejected) {
    EXPECT_TRUE(run("Rc", false, 5));
    int seen = 0;
    EXPECT_FALSE(run("cRcc", true, 5, &seen));
    EXPECT_EQ(seen, 2); // stops at the byte that failed the limits
}

TEST(StatefulDriver, StopsAtTheFirstError) {
    int seen = 0;
    EXPECT_FALSE(run("cxcc", false, 5, &seen));
    EXPECT_EQ(seen, 2);
}

TEST(StatefulDriver, ConvertsNothing) {
    ScriptedMachine m;
    std::string out = "keep";
    bool unmapped = false;
    EXPECT_FALSE(m.convertToUtf8("c", 1, out, unmapped, true));
    EXPECT_EQ(out, "keep");
    EXPECT_FALSE(unmapped);
}

} // namespace
} // namespace charsetkit
