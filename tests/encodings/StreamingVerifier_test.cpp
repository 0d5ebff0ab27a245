// The streaming verifier against verify() and getVerifiedLength(): for every
// encoding and combination of flags, on every prefix of valid, broken and
// randomly mutated inputs, and for every cutting of them into pieces, it
// gives verify()'s verdict, the byte where verification breaks and whether
// the input ends inside a character.
#include <charsetkit/charsetkit.h>

#include "support/Bytes.h"
#include "support/StreamInputs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace charsetkit {
namespace test {
namespace {

using Id = AbstractEncoding::EncodingID;

struct Flags {
    bool verifyCharacters;
    bool rejectRedundantEscapes;
    int escapeRunLimit;
};

struct Outcome {
    bool valid;
    std::uint64_t failureOffset;
    bool endsInside;
    bool operator==(const Outcome& other) const {
        return valid == other.valid && failureOffset == other.failureOffset &&
               endsInside == other.endsInside;
    }
};

std::ostream& operator<<(std::ostream& out, const Outcome& outcome) {
    return out << (outcome.valid ? "valid" : "invalid") << " at " << outcome.failureOffset
               << (outcome.endsInside ? ", ends inside a character" : "");
}

std::vector<std::string> mutatedInputs() {
    std::vector<std::string> inputs;
    for (const auto& input : madeUpInputs()) {
        inputs.push_back(input.bytes);
    }
    for (const auto& input : fileInputs()) {
        if (!input.large) {
            inputs.push_back(input.bytes.substr(0, 120));
        }
    }
    std::mt19937 random(20261209U);
    const std::size_t originals = inputs.size();
    for (std::size_t k = 0; k < originals; ++k) {
        const std::string original = inputs[k];
        if (original.empty()) {
            continue;
        }
        for (int round = 0; round < 4; ++round) {
            std::string mutated = original;
            for (int c = 0; c <= round % 3; ++c) {
                mutated[random() % mutated.size()] = static_cast<char>(random() % 256);
            }
            inputs.push_back(mutated);
        }
    }
    return inputs;
}

// What the verifier must say, from the whole-buffer calls and, for
// ISO-2022-JP, its machine fed one byte at a time.
Outcome expected(Id id, const Flags& flags, const std::string& input) {
    EncodingFromId registry;
    const AbstractEncoding& encoding = *registry.getEncodingForID(id);
    const auto size = static_cast<unsigned int>(input.size());
    if (encoding.verify(input.data(), size, flags.verifyCharacters, flags.rejectRedundantEscapes,
                        flags.escapeRunLimit)) {
        // A cut-off character breaks the text once a line feed follows it;
        // ISO-2022-JP text that verifies ends between characters.
        const std::string extended = input + "\n";
        const bool inside = id != AbstractEncoding::Jis &&
                            !encoding.verify(extended.data(), size + 1, flags.verifyCharacters,
                                             flags.rejectRedundantEscapes, flags.escapeRunLimit);
        return {true, 0, inside};
    }
    if (id == AbstractEncoding::Jis) {
        JisDetectorSM machine;
        for (unsigned int i = 0; i < size; ++i) {
            machine.processByte(static_cast<unsigned char>(input[i]), flags.verifyCharacters);
            machine.checkLimits(flags.rejectRedundantEscapes, flags.escapeRunLimit);
            if (machine.m_error) {
                return {false, i, false};
            }
        }
        return {false, size, machine.m_inChar};
    }
    unsigned int offset =
        AbstractEncoding::getVerifiedLength(id, input.data(), size, flags.verifyCharacters,
                                            flags.rejectRedundantEscapes, flags.escapeRunLimit);
    if (id == AbstractEncoding::EucKr) {
        // A good lead fails by its trail, or by ending the input.
        const auto lead = static_cast<unsigned char>(input[offset]);
        if (lead >= 0x81 && lead != 0xFF) {
            ++offset;
            return {false, offset, offset == size};
        }
    }
    return {false, offset, false};
}

// The verifier's answer for `input` fed in pieces ending at `cuts`.
Outcome streamed(Id id, const Flags& flags, const std::string& input,
                 const std::vector<std::size_t>& cuts) {
    StreamingVerifier verifier(id, flags.verifyCharacters, flags.rejectRedundantEscapes,
                               flags.escapeRunLimit);
    std::size_t start = 0;
    bool ok = true;
    for (std::size_t i = 0; i <= cuts.size() && ok; ++i) {
        const std::size_t end = i < cuts.size() ? cuts[i] : input.size();
        const bool last = i == cuts.size();
        ok = verifier.feed(input.data() + start, static_cast<unsigned int>(end - start), last);
        if (!ok) {
            // The breaking byte lies in the piece that failed.
            EXPECT_TRUE(verifier.failed());
            EXPECT_GE(verifier.failureOffset(), start);
            EXPECT_TRUE(verifier.failureOffset() < end ||
                        (last && verifier.failureOffset() == end));
        }
        start = end;
    }
    EXPECT_FALSE(verifier.feed("", 0, true)) << "a finished or failed stream takes nothing";
    const bool inside = ok ? verifier.endsInsideCharacter()
                           : verifier.isFinished() && verifier.endsInsideCharacter();
    return {ok, ok ? 0 : verifier.failureOffset(), inside};
}

class StreamingVerifierTest : public ::testing::TestWithParam<std::tuple<int, Flags>> {};

TEST_P(StreamingVerifierTest, EveryPrefixAgreesWithVerify) {
    const Id id = static_cast<Id>(std::get<0>(GetParam()));
    const Flags flags = std::get<1>(GetParam());
    for (const std::string& input : mutatedInputs()) {
        for (std::size_t n = 0; n <= input.size(); ++n) {
            const std::string prefix = input.substr(0, n);
            const Outcome outcome = expected(id, flags, prefix);
            ASSERT_EQ(streamed(id, flags, prefix, {}), outcome) << hex(prefix);
            bool verifies = false;
            const unsigned int offset = StreamingVerifier::findFailure(
                id, prefix.data(), static_cast<unsigned int>(n), flags.verifyCharacters,
                flags.rejectRedundantEscapes, flags.escapeRunLimit, &verifies);
            ASSERT_EQ(verifies, outcome.valid) << hex(prefix);
            ASSERT_EQ(offset, outcome.valid ? n : outcome.failureOffset) << hex(prefix);
        }
    }
}

TEST_P(StreamingVerifierTest, EveryCuttingAgreesWithTheWholeInput) {
    const Id id = static_cast<Id>(std::get<0>(GetParam()));
    const Flags flags = std::get<1>(GetParam());
    for (const std::string& input : mutatedInputs()) {
        const Outcome whole = expected(id, flags, input);
        for (std::size_t cut = 0; cut <= input.size(); ++cut) {
            ASSERT_EQ(streamed(id, flags, input, {cut}), whole) << "cut at " << cut << hex(input);
        }
        for (std::size_t step = 1; step <= 7; ++step) {
            std::vector<std::size_t> cuts;
            for (std::size_t at = step; at < input.size(); at += step) {
                cuts.push_back(at);
            }
            ASSERT_EQ(streamed(id, flags, input, cuts), whole)
                << "pieces of " << step << hex(input);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryEncodingAndFlag, StreamingVerifierTest,
    ::testing::Combine(::testing::Range(1, 7),
                       ::testing::Values(Flags{false, false, 0}, Flags{true, false, 0},
                                         Flags{false, true, 0}, Flags{true, true, 2},
                                         Flags{false, false, 1})));

TEST(StreamingVerifier, PointsAtTheBreakingByte) {
    struct Case {
        Id id;
        const char* hexBytes;
        std::uint64_t offset;
        bool endsInside;
    };
    const Case cases[] = {
        // ISO-2022-JP: the line feed inside JIS X 0208, not where the text could last end.
        {AbstractEncoding::Jis, "1B 24 42 30 0A", 4, false},
        {AbstractEncoding::Jis, "1B 24 42 30 21", 5, false},
        {AbstractEncoding::EucKr, "B0 A1 20 B0 0A", 4, false},
        {AbstractEncoding::EucKr, "B0 A1 20 B0", 4, true},
        {AbstractEncoding::EucKr, "41 80", 1, false},
        {AbstractEncoding::Utf8, "41 E3 81 41", 3, false},
    };
    for (const Case& c : cases) {
        const std::string input = bytes(c.hexBytes);
        StreamingVerifier verifier(c.id);
        EXPECT_FALSE(verifier.feed(input.data(), static_cast<unsigned int>(input.size()), true))
            << c.hexBytes;
        EXPECT_EQ(verifier.failureOffset(), c.offset) << c.hexBytes;
        EXPECT_EQ(verifier.endsInsideCharacter(), c.endsInside) << c.hexBytes;
    }
}

TEST(StreamingVerifier, CutOffCharactersVerifyButAreReported) {
    for (const auto& [id, hexBytes] :
         {std::pair<Id, const char*>{AbstractEncoding::Utf8, "41 E3 81"},
          {AbstractEncoding::Sjis, "41 82"},
          {AbstractEncoding::EucJp, "8F B0"}}) {
        const std::string input = bytes(hexBytes);
        StreamingVerifier verifier(id);
        EXPECT_TRUE(verifier.feed(input.data(), static_cast<unsigned int>(input.size()), false));
        EXPECT_FALSE(verifier.endsInsideCharacter()) << "not known before the end";
        EXPECT_TRUE(verifier.feed(nullptr, 0, true)) << hexBytes;
        EXPECT_TRUE(verifier.endsInsideCharacter()) << hexBytes;
        verifier.reset();
        EXPECT_TRUE(verifier.feed("a", 1, true));
        EXPECT_FALSE(verifier.endsInsideCharacter());
        EXPECT_EQ(verifier.bytesFed(), 1U);
    }
}

TEST(StreamingVerifier, RefusesMissingBytesAndUnknownEncodings) {
    StreamingVerifier verifier(AbstractEncoding::Utf8);
    EXPECT_FALSE(verifier.feed(nullptr, 3, false));
    EXPECT_FALSE(verifier.failed());
    EXPECT_TRUE(verifier.feed("abc", 3, true));
    bool verifies = true;
    EXPECT_EQ(StreamingVerifier::findFailure(AbstractEncoding::Utf8, nullptr, 3, false, false, 3,
                                             &verifies),
              0U);
    EXPECT_FALSE(verifies);
    EXPECT_EQ(StreamingVerifier::findFailure(AbstractEncoding::Utf8, nullptr, 0, false, false, 3),
              0U);
    for (int value : {0, 7, -1}) {
        StreamingVerifier unknown(static_cast<Id>(value));
        EXPECT_FALSE(unknown.feed("abc", 3, true));
        EXPECT_TRUE(unknown.failed());
        EXPECT_EQ(unknown.failureOffset(), 0U);
    }
}

} // namespace
} // namespace test
} // namespace charsetkit
