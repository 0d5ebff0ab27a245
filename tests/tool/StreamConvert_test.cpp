// The tool's verification and conversion in pieces against the same work on
// the whole input: for every pair of encodings, valid, broken and mutated
// inputs cut into pieces of 1 to 8 bytes give the same text, the same
// verdict and the same refusal. And the messages' positions, which only a
// whole input could give before.
#include "StreamConvert.h"

#include "support/Bytes.h"
#include "support/StreamInputs.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace charsetkit {
namespace tool {
namespace {

using test::bytes;
using test::hex;

struct Result {
    std::string text;
    VerifyFailure failure;
    std::string refusal;
    bool unmapped = false;
    std::size_t taggedCodes = 0;
};

Result convertInPieces(const ConvertSettings& settings, const std::string& input,
                       std::size_t pieceSize) {
    StreamConverter converter(settings);
    Result result;
    std::size_t start = 0;
    for (bool last = false; !last;) {
        const std::size_t size = std::min(pieceSize, input.size() - start);
        last = start + size == input.size();
        if (!converter.feed(input.data() + start, size, last, result.text)) {
            break;
        }
        start += size;
    }
    result.failure = converter.verifyFailure();
    result.refusal = converter.conversionRefusal();
    result.unmapped = converter.unmapped();
    result.taggedCodes = converter.taggedCodes();
    EXPECT_EQ(converter.refused(),
              result.failure.kind != VerifyFailure::None || !result.refusal.empty());
    return result;
}

void expectSame(const Result& whole, const Result& pieces, const std::string& context) {
    EXPECT_EQ(whole.failure, pieces.failure) << context;
    if (whole.failure.kind != VerifyFailure::None) {
        return; // refused as invalid, whatever the conversion met first
    }
    EXPECT_EQ(whole.refusal, pieces.refusal) << context;
    if (whole.refusal.empty()) {
        EXPECT_EQ(hex(whole.text), hex(pieces.text)) << context;
        EXPECT_EQ(whole.unmapped, pieces.unmapped) << context;
        EXPECT_EQ(whole.taggedCodes, pieces.taggedCodes) << context;
    }
}

std::vector<std::string> inputs() {
    std::vector<std::string> all;
    for (const auto& input : test::madeUpInputs()) {
        all.push_back(input.bytes);
    }
    for (const auto& input : test::fileInputs()) {
        if (!input.large) {
            all.push_back(input.bytes.substr(0, 400));
        }
    }
    all.push_back(bytes("10 1B 42 24 CC CC CC CC CC CC CC 41 52 0A"));
    all.push_back("caf\xC3\xA9\nna\xC3\xAFve \xE2\x82\xAC \xF0\x9F\x98\x80\n");
    std::mt19937 random(20261209U);
    const std::size_t originals = all.size();
    for (std::size_t k = 0; k < originals; ++k) {
        if (all[k].empty()) {
            continue;
        }
        std::string mutated = all[k];
        mutated[random() % mutated.size()] = static_cast<char>(random() % 256);
        all.push_back(mutated);
    }
    return all;
}

class StreamConvertTest : public ::testing::TestWithParam<int> {};

TEST_P(StreamConvertTest, PiecesGiveTheWholeInputsResult) {
    const auto from = static_cast<EncodingId>(GetParam());
    const std::vector<std::string> all = inputs();
    for (int toValue = 1; toValue <= 6; ++toValue) {
        const auto to = static_cast<EncodingId>(toValue);
        for (const bool replace : {false, true}) {
            ConvertSettings settings;
            settings.from = from;
            settings.to = to;
            settings.replace = replace;
            for (const std::string& input : all) {
                const Result whole = convertInPieces(settings, input, input.size() + 1);
                for (std::size_t pieceSize = 1; pieceSize <= 8; ++pieceSize) {
                    expectSame(whole, convertInPieces(settings, input, pieceSize),
                               preferredName(from) + " to " + preferredName(to) + " in pieces of " +
                                   std::to_string(pieceSize) + ": " + hex(input));
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryEncoding, StreamConvertTest, ::testing::Range(1, 7));

TEST(StreamConvert, VerificationFailuresTellTheByteAndItsLine) {
    struct Case {
        EncodingId from;
        const char* input;
        VerifyFailure expected;
    };
    const Case cases[] = {
        {AbstractEncoding::Jis, "41 0A 1B 24 42 30 0A", {VerifyFailure::Byte, 6, 2, 0x0A}},
        {AbstractEncoding::Jis, "41 0A 1B 24 42 30 21", {VerifyFailure::EndState, 7, 0, 0}},
        {AbstractEncoding::Utf8, "0A 0A 41 E3 81 41", {VerifyFailure::Byte, 5, 3, 0x41}},
        {AbstractEncoding::Utf8, "41 E3 81", {VerifyFailure::EndsInside, 3, 0, 0}},
        {AbstractEncoding::Sjis, "0A 82", {VerifyFailure::EndsInside, 2, 0, 0}},
        {AbstractEncoding::EucKr, "B0 A1 0A B0 0A", {VerifyFailure::Byte, 4, 2, 0x0A}},
        {AbstractEncoding::EucKr, "B0 A1 0A B0", {VerifyFailure::EndsInside, 4, 0, 0}},
        {AbstractEncoding::EucKr, "0A 80", {VerifyFailure::Byte, 1, 2, 0x80}},
    };
    for (const Case& c : cases) {
        const std::string input = bytes(c.input);
        for (std::size_t pieceSize : {std::size_t{1}, std::size_t{3}, input.size()}) {
            ConvertSettings settings;
            settings.from = c.from;
            const Result result = convertInPieces(settings, input, pieceSize);
            EXPECT_EQ(result.failure, c.expected) << c.input << " in pieces of " << pieceSize;
        }
    }
}

TEST(StreamConvert, ConversionRefusalsTellTheLineAndColumn) {
    struct Case {
        EncodingId from;
        EncodingId to;
        std::string input;
        std::string refusal;
    };
    const Case cases[] = {
        {AbstractEncoding::Utf8, AbstractEncoding::Sjis, "ab\nc\xC3\xA9", "the character U+00E9"},
        {AbstractEncoding::Utf8, AbstractEncoding::EucKr, "a\n\nxy\xF0\x9F\x98\x80", ""},
        {AbstractEncoding::EucKr, AbstractEncoding::Utf8, bytes("41 0A 0A CC 41 52 0A"),
         "line 3 cannot be converted from "},
        {AbstractEncoding::EucJp, AbstractEncoding::Sjis, bytes("0A A9 A1"),
         "some characters have no Unicode mapping"},
    };
    for (const Case& c : cases) {
        ConvertSettings settings;
        settings.from = c.from;
        settings.to = c.to;
        const Result whole = convertInPieces(settings, c.input, c.input.size() + 1);
        EXPECT_EQ(whole.failure.kind, VerifyFailure::None) << hex(c.input);
        EXPECT_EQ(whole.refusal.rfind(c.refusal, 0), 0U) << whole.refusal;
        for (std::size_t pieceSize = 1; pieceSize <= 4; ++pieceSize) {
            expectSame(whole, convertInPieces(settings, c.input, pieceSize), hex(c.input));
        }
    }
    ConvertSettings settings;
    settings.from = AbstractEncoding::Utf8;
    settings.to = AbstractEncoding::EucKr;
    EXPECT_EQ(convertInPieces(settings, "a\n\nxy\xF0\x9F\x98\x80", 2).refusal,
              "the character U+1F600 '\xF0\x9F\x98\x80' at line 3, column 3 cannot be written in " +
                  preferredName(AbstractEncoding::EucKr));
}

TEST(StreamConvert, AnInvalidInputIsRefusedAsInvalidWhereverTheConversionFailed) {
    ConvertSettings settings;
    settings.from = AbstractEncoding::EucKr;
    const std::string input = bytes("CC 41 0A B0 A1 FF");
    for (std::size_t pieceSize = 1; pieceSize <= input.size(); ++pieceSize) {
        const Result result = convertInPieces(settings, input, pieceSize);
        EXPECT_EQ(result.failure, (VerifyFailure{VerifyFailure::Byte, 5, 2, 0xFF}));
    }
}

} // namespace
} // namespace tool
} // namespace charsetkit
