// The failure offset against verify() itself: for every encoding and every
// combination of flags, the offset is the longest prefix verify() accepts,
// checked by running verify() on every prefix of valid, broken and randomly
// mutated inputs. And the label listing against the encodings' own lookups.
#include <charsetkit/charsetkit.h>

#include "support/Bytes.h"
#include "support/StreamInputs.h"

#include <gtest/gtest.h>

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

std::vector<std::string> prefixInputs() {
    std::vector<std::string> inputs;
    for (const auto& input : madeUpInputs()) {
        inputs.push_back(input.bytes);
    }
    for (const auto& input : fileInputs()) {
        if (!input.large) {
            inputs.push_back(input.bytes.substr(0, 160));
        }
    }
    // Each input again with one to three bytes replaced at random places.
    std::mt19937 random(20260412U);
    const std::size_t originals = inputs.size();
    for (std::size_t k = 0; k < originals; ++k) {
        const std::string original = inputs[k];
        if (original.empty()) {
            continue;
        }
        for (int round = 0; round < 6; ++round) {
            std::string mutated = original;
            const int changes = 1 + round % 3;
            for (int c = 0; c < changes; ++c) {
                mutated[random() % mutated.size()] = static_cast<char>(random() % 256);
            }
            inputs.push_back(mutated);
        }
    }
    return inputs;
}

class VerifiedLengthTest : public ::testing::TestWithParam<std::tuple<int, Flags>> {};

TEST_P(VerifiedLengthTest, IsTheLongestPrefixThatVerifies) {
    const Id id = static_cast<Id>(std::get<0>(GetParam()));
    const Flags flags = std::get<1>(GetParam());
    EncodingFromId registry;
    const AbstractEncoding* encoding = registry.getEncodingForID(id);
    ASSERT_NE(encoding, nullptr);
    for (const std::string& input : prefixInputs()) {
        const auto size = static_cast<unsigned int>(input.size());
        const unsigned int verified =
            AbstractEncoding::getVerifiedLength(id, input.data(), size, flags.verifyCharacters,
                                                flags.rejectRedundantEscapes, flags.escapeRunLimit);
        ASSERT_LE(verified, size) << hex(input);
        EXPECT_TRUE(encoding->verify(input.data(), verified, flags.verifyCharacters,
                                     flags.rejectRedundantEscapes, flags.escapeRunLimit))
            << "prefix of " << verified << " bytes of " << hex(input);
        for (unsigned int n = verified + 1; n <= size; ++n) {
            ASSERT_FALSE(encoding->verify(input.data(), n, flags.verifyCharacters,
                                          flags.rejectRedundantEscapes, flags.escapeRunLimit))
                << "prefix of " << n << " bytes verifies, offset " << verified << " in "
                << hex(input);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryEncodingAndFlag, VerifiedLengthTest,
    ::testing::Combine(::testing::Range(1, 7),
                       ::testing::Values(Flags{false, false, 0}, Flags{true, false, 0},
                                         Flags{false, true, 0}, Flags{true, true, 2},
                                         Flags{false, false, 1}, Flags{true, true, 0})));

TEST(VerifiedLength, KnownFailuresPointAtTheBreakingCharacter) {
    const std::string utf8 = bytes("41 E3 81 41");
    EXPECT_EQ(
        AbstractEncoding::getVerifiedLength(AbstractEncoding::Utf8, utf8.data(), 4, true, false, 0),
        3U);
    const std::string eucKr = bytes("B0 A1 20 B0");
    EXPECT_EQ(AbstractEncoding::getVerifiedLength(AbstractEncoding::EucKr, eucKr.data(), 4, true,
                                                  false, 0),
              3U);
}

TEST(VerifiedLength, NothingVerifiesWithoutABufferOrAnEncoding) {
    EXPECT_EQ(
        AbstractEncoding::getVerifiedLength(AbstractEncoding::Utf8, nullptr, 5, true, false, 0),
        0U);
    EXPECT_EQ(AbstractEncoding::getVerifiedLength(static_cast<Id>(0), "abc", 3, true, false, 0),
              0U);
    EXPECT_EQ(AbstractEncoding::getVerifiedLength(static_cast<Id>(7), "abc", 3, true, false, 0),
              0U);
}

TEST(EncodingLabels, EveryListedLabelNamesItsEncodingAndTheFirstIsPreferred) {
    EncodingFromId registry;
    for (int value = 1; value <= 6; ++value) {
        const Id id = static_cast<Id>(value);
        const char* const* labels = AbstractEncoding::getLabels(id);
        ASSERT_NE(labels, nullptr);
        ASSERT_NE(labels[0], nullptr);
        EXPECT_STREQ(labels[0], registry.getEncodingForID(id)->getPreferedID());
        for (; *labels != nullptr; ++labels) {
            EXPECT_TRUE(registry.getEncodingForID(id)->isAliasOrName(*labels)) << *labels;
        }
    }
    EXPECT_EQ(AbstractEncoding::getLabels(static_cast<Id>(0)), nullptr);
    EXPECT_EQ(AbstractEncoding::getLabels(static_cast<Id>(7)), nullptr);
    EXPECT_EQ(AbstractEncoding::getLabels(static_cast<Id>(-1)), nullptr);
}

} // namespace
} // namespace test
} // namespace charsetkit
