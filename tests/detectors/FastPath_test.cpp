// The ASCII-run scan and the direct stateless driver against their plain
// counterparts: same answers on every placement of a non-ASCII byte and on
// random, mutated buffers.
#include "detectors/StatelessDriver.h"
#include "reference/ReferenceScans.h"
#include "utilities/AsciiRun.h"

#include "TestBytes.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace charsetkit {
namespace {

std::size_t fastRun(const std::string& s) {
    return detail::plainAsciiRunLength(reinterpret_cast<const unsigned char*>(s.data()), s.size());
}

std::size_t plainRun(const std::string& s) {
    return reference::plainAsciiRunLength(reinterpret_cast<const unsigned char*>(s.data()),
                                          s.size());
}

TEST(AsciiRun, EveryStopByteAtEveryPositionAfterEveryPrefix) {
    for (int stop : {0x80, 0xFF, 0xC3, 0x1B, 0x0E, 0x0F}) {
        for (int prefix = 0; prefix < 16; ++prefix) {
            for (int pos = 0; pos < 64; ++pos) {
                // Start the scan `prefix` bytes into the buffer so that every
                // alignment of the eight-byte loads is exercised.
                std::string s(static_cast<std::size_t>(prefix + 70), 'a');
                s[static_cast<std::size_t>(prefix + pos)] = static_cast<char>(stop);
                const std::string tail = s.substr(static_cast<std::size_t>(prefix));
                ASSERT_EQ(fastRun(tail), plainRun(tail)) << stop << " " << prefix << " " << pos;
                ASSERT_EQ(fastRun(tail), static_cast<std::size_t>(pos));
            }
        }
    }
}

TEST(AsciiRun, BytesNextToTheStopBytesDoNotStopIt) {
    // Neighbours of the three control bytes and of 0x80 in every lane.
    for (int b : {0x0D, 0x10, 0x1A, 0x1C, 0x7F, 0x00, 0x0C, 0x2E}) {
        for (int lane = 0; lane < 8; ++lane) {
            std::string s(16, 'x');
            s[static_cast<std::size_t>(lane)] = static_cast<char>(b);
            EXPECT_EQ(fastRun(s), 16u) << b << " " << lane;
        }
    }
}

TEST(AsciiRun, RandomBuffers) {
    std::mt19937 rng(20261208);
    for (int round = 0; round < 2000; ++round) {
        std::string s(rng() % 100, 'a');
        for (char& c : s) {
            const auto r = rng() % 100;
            c = static_cast<char>(r < 90 ? 0x20 + rng() % 0x5F : rng() % 256);
        }
        ASSERT_EQ(fastRun(s), plainRun(s)) << test::hex(s);
    }
}

template <class Machine>
void compareDrivers(const std::string& s, bool verifyCharacters) {
    Machine plain;
    Machine fast;
    const bool expected =
        plain.verify(s.data(), static_cast<unsigned int>(s.size()), verifyCharacters, false, 0);
    const bool actual = detail::runStatelessFast(
        fast, s.data(), static_cast<unsigned int>(s.size()), verifyCharacters);
    ASSERT_EQ(actual, expected) << test::hex(s);
    ASSERT_EQ(fast.m_error, plain.m_error) << test::hex(s);
    ASSERT_EQ(fast.m_confirmed, plain.m_confirmed) << test::hex(s);
    ASSERT_EQ(fast.m_inChar, plain.m_inChar) << test::hex(s);
}

std::vector<std::string> mutatedBuffers() {
    // Mostly ASCII mark-up with some UTF-8 and legacy bytes, then every
    // single-byte mutation of a few of them.
    std::mt19937 rng(7);
    const std::vector<std::string> pieces = {"<p>",
                                             "abc",
                                             " ",
                                             "\n",
                                             test::bytes("E3 81 82"),
                                             test::bytes("C3 A9"),
                                             test::bytes("82 A0"),
                                             test::bytes("8E B1"),
                                             test::bytes("1B 24 42")};
    std::vector<std::string> out;
    for (int round = 0; round < 300; ++round) {
        std::string s;
        const auto n = rng() % 12;
        for (unsigned i = 0; i < n; ++i) {
            s += pieces[rng() % pieces.size()];
        }
        out.push_back(s);
        if (round % 20 == 0) {
            for (std::size_t pos = 0; pos < s.size(); ++pos) {
                std::string m = s;
                m[pos] = static_cast<char>(rng() % 256);
                out.push_back(m);
            }
        }
    }
    return out;
}

TEST(StatelessFastDriver, AgreesWithThePlainDriver) {
    for (const std::string& s : mutatedBuffers()) {
        for (bool vc : {false, true}) {
            compareDrivers<Utf8DetectorSM>(s, vc);
            compareDrivers<AsciiDetectorSM>(s, vc);
        }
    }
}

TEST(StatelessFastDriver, EveryOneAndTwoByteInput) {
    for (int a = 0; a < 256; ++a) {
        compareDrivers<Utf8DetectorSM>(std::string(1, static_cast<char>(a)), false);
        for (int b = 0; b < 256; ++b) {
            const std::string s = {static_cast<char>(a), static_cast<char>(b)};
            compareDrivers<Utf8DetectorSM>(s, true);
            compareDrivers<AsciiDetectorSM>(s, false);
        }
    }
}

} // namespace
} // namespace charsetkit
