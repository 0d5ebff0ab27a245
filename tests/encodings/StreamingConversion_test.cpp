// Streaming conversion against whole-buffer conversion: every input, cut in
// every way the test inputs give, must come out byte for byte as the
// encoding's convertToUtf8 / convertFromUtf8 of the whole, failures
// included; plus the stream's own rules (held bytes, failure reports, the
// ISO-2022-JP closing escape).
#include <charsetkit/encodings/EncodingFromId.h>
#include <charsetkit/encodings/StreamingDecoder.h>
#include <charsetkit/encodings/StreamingEncoder.h>

#include "support/Bytes.h"
#include "support/StreamInputs.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

using namespace charsetkit;
using test::bytes;
using test::hex;

namespace {

using EncodingID = AbstractEncoding::EncodingID;

struct StreamCase {
    test::NamedInput input;
    EncodingID encoding;
};

void PrintTo(const StreamCase& c, std::ostream* os) {
    *os << c.input.name << " in encoding " << c.encoding;
}

std::string caseName(const ::testing::TestParamInfo<StreamCase>& info) {
    std::string name = info.param.input.name + "_" + std::to_string(info.param.encoding);
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            c = '_';
        }
    }
    return name + "_" + std::to_string(info.index);
}

const char* preferredName(EncodingID id) {
    EncodingFromId registry;
    return registry.getEncodingForID(id)->getPreferedID();
}

// Small inputs go to every encoding; a real page only to its own (decoding)
// or, when it is UTF-8, to every target (encoding).
std::vector<StreamCase> cases(bool fromUtf8) {
    std::vector<StreamCase> out;
    for (const auto& input : test::allInputs()) {
        for (int id = AbstractEncoding::Ascii; id <= AbstractEncoding::EucKr; ++id) {
            const auto encoding = static_cast<EncodingID>(id);
            const std::string own = test::encodingOfName(input.name);
            if (input.large && (fromUtf8 ? own != "utf-8" : own != preferredName(encoding))) {
                continue;
            }
            out.push_back({input, encoding});
        }
    }
    return out;
}

// Where two byte strings first differ, for failure messages.
std::string difference(const std::string& got, const std::string& want) {
    std::size_t at = 0;
    while (at < got.size() && at < want.size() && got[at] == want[at]) {
        ++at;
    }
    const std::size_t from = at > 8 ? at - 8 : 0;
    return "first difference at output byte " + std::to_string(at) + ": got [" +
           hex(got.substr(from, 24)) + "], want [" + hex(want.substr(from, 24)) + "]";
}

// Feeds the cutting; false as soon as a feed fails.
template <typename Stream>
bool feedAll(Stream& stream, const std::string& input, const test::Cutting& cutting,
             std::string& output, unsigned int heldLimit) {
    if (cutting.empty()) {
        return stream.feed(nullptr, 0, true, output);
    }
    std::size_t position = 0;
    for (std::size_t i = 0; i < cutting.size(); ++i) {
        const bool last = i + 1 == cutting.size();
        if (!stream.feed(input.data() + position, static_cast<unsigned int>(cutting[i]), last,
                         output)) {
            return false;
        }
        position += cutting[i];
        EXPECT_LE(stream.heldBytes(), last ? 0u : heldLimit);
    }
    return true;
}

class StreamingDecoderMatchesWhole : public ::testing::TestWithParam<StreamCase> {};

TEST_P(StreamingDecoderMatchesWhole, EveryCutting) {
    const StreamCase& param = GetParam();
    const std::string& input = param.input.bytes;
    EncodingFromId registry;
    const AbstractEncoding* encoding = registry.getEncodingForID(param.encoding);
    for (const bool useReplacement : {false, true}) {
        std::string whole = "previous";
        bool wholeUnmapped = false;
        const bool wholeOk =
            encoding->convertToUtf8(input.data(), static_cast<unsigned int>(input.size()), whole,
                                    wholeUnmapped, useReplacement);
        bool offsetKnown = false;
        std::uint64_t offset = 0;
        for (const auto& cutting : test::cuttingsFor(param.input)) {
            StreamingDecoder decoder(param.encoding, useReplacement);
            std::string output;
            const bool ok = feedAll(decoder, input, cutting, output, 3);
            const std::string where = param.input.name + " cut " + test::describe(cutting);
            ASSERT_EQ(ok, wholeOk) << where;
            if (ok) {
                ASSERT_TRUE(output == whole) << where << "; " << difference(output, whole);
                ASSERT_EQ(decoder.unmapped(), wholeUnmapped) << where;
                ASSERT_TRUE(decoder.isFinished());
            } else {
                // The failing character is found at the same place whatever
                // the cutting.
                ASSERT_TRUE(decoder.failed()) << where;
                ASSERT_LT(decoder.failureOffset(), input.size()) << where;
                if (offsetKnown) {
                    ASSERT_EQ(decoder.failureOffset(), offset) << where;
                }
                offset = decoder.failureOffset();
                offsetKnown = true;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, StreamingDecoderMatchesWhole, ::testing::ValuesIn(cases(false)),
                         caseName);

class StreamingEncoderMatchesWhole : public ::testing::TestWithParam<StreamCase> {};

TEST_P(StreamingEncoderMatchesWhole, EveryCutting) {
    const StreamCase& param = GetParam();
    const std::string& input = param.input.bytes;
    EncodingFromId registry;
    const AbstractEncoding* encoding = registry.getEncodingForID(param.encoding);
    std::string whole = "previous";
    const bool wholeOk =
        encoding->convertFromUtf8(input.data(), static_cast<unsigned int>(input.size()), whole);
    bool offsetKnown = false;
    std::uint64_t offset = 0;
    for (const auto& cutting : test::cuttingsFor(param.input)) {
        StreamingEncoder encoder(param.encoding);
        std::string output;
        const bool ok = feedAll(encoder, input, cutting, output, 5);
        const std::string where = param.input.name + " cut " + test::describe(cutting);
        ASSERT_EQ(ok, wholeOk) << where;
        if (ok) {
            ASSERT_TRUE(output == whole) << where << "; " << difference(output, whole);
            ASSERT_TRUE(encoder.isFinished());
        } else {
            ASSERT_TRUE(encoder.failed()) << where;
            ASSERT_LE(encoder.failureOffset(), input.size()) << where;
            if (offsetKnown) {
                ASSERT_EQ(encoder.failureOffset(), offset) << where;
            }
            offset = encoder.failureOffset();
            offsetKnown = true;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, StreamingEncoderMatchesWhole, ::testing::ValuesIn(cases(true)),
                         caseName);

TEST(StreamingDecoder, HoldsOnlyTheOpenCharacter) {
    StreamingDecoder decoder(AbstractEncoding::Sjis);
    std::string output;
    ASSERT_TRUE(decoder.feed("A\x82", 2, false, output));
    EXPECT_EQ(output, "A");
    EXPECT_EQ(decoder.heldBytes(), 1u);
    ASSERT_TRUE(decoder.feed("\xA0", 1, true, output));
    EXPECT_EQ(hex(output), "41 E3 81 82");
    EXPECT_EQ(decoder.heldBytes(), 0u);
}

TEST(StreamingDecoder, KeepsTheIso2022JpSetAcrossPieces) {
    // ESC $ B in the first piece governs the pair in the second; the
    // escape cut after ESC $ waits for its last byte.
    StreamingDecoder decoder(AbstractEncoding::Jis);
    std::string output;
    ASSERT_TRUE(decoder.feed("\x1B$B", 3, false, output));
    ASSERT_TRUE(decoder.feed("$\"\x1B$", 4, false, output));
    EXPECT_EQ(decoder.heldBytes(), 2u);
    ASSERT_TRUE(decoder.feed("B$\"\x1B(Bx", 7, true, output));
    EXPECT_EQ(hex(output), "E3 81 82 E3 81 82 78");
}

TEST(StreamingDecoder, ReadsTheRestAsLatin1AfterAFailureInAnEarlierPiece) {
    StreamingDecoder decoder(AbstractEncoding::EucJp);
    std::string output;
    ASSERT_TRUE(decoder.feed("\xA4\xA2\x80", 3, false, output));
    ASSERT_TRUE(decoder.feed("\xA4\xA2", 2, true, output));
    // After 0x80 the EUC-JP pair is two ISO-8859-1 characters.
    EXPECT_EQ(hex(output), "E3 81 82 C2 80 C2 A4 C2 A2");
}

TEST(StreamingDecoder, KoreanFailureReportsThePieceAndOffset) {
    StreamingDecoder decoder(AbstractEncoding::EucKr);
    std::string output;
    ASSERT_TRUE(decoder.feed("\xB0\xA1 ", 3, false, output));
    const std::string converted = output;
    EXPECT_FALSE(decoder.feed("A\xFF", 2, false, output));
    EXPECT_TRUE(decoder.failed());
    EXPECT_EQ(decoder.failureOffset(), 4u);
    EXPECT_EQ(output, converted); // nothing of the failing piece
    EXPECT_FALSE(decoder.feed("A", 1, true, output));
    EXPECT_EQ(output, converted);
}

TEST(StreamingDecoder, KoreanLeadByteAtTheEndFailsAtTheLastPiece) {
    StreamingDecoder decoder(AbstractEncoding::EucKr);
    std::string output;
    ASSERT_TRUE(decoder.feed("A\xB0", 2, false, output));
    EXPECT_EQ(decoder.heldBytes(), 1u);
    EXPECT_FALSE(decoder.feed("", 0, true, output));
    EXPECT_EQ(decoder.failureOffset(), 1u);
}

TEST(StreamingDecoder, RefusesMissingPiecesUnknownEncodingsAndFeedsAfterTheLast) {
    StreamingDecoder decoder(AbstractEncoding::Utf8);
    std::string output = "kept";
    EXPECT_FALSE(decoder.feed(nullptr, 3, false, output));
    EXPECT_FALSE(decoder.failed());
    ASSERT_TRUE(decoder.feed("ab", 2, true, output));
    EXPECT_FALSE(decoder.feed("c", 1, true, output));
    EXPECT_EQ(output, "keptab");
    decoder.reset();
    EXPECT_TRUE(decoder.feed("c", 1, true, output));
    EXPECT_EQ(output, "keptabc");

    StreamingDecoder unknown(static_cast<EncodingID>(7));
    EXPECT_FALSE(unknown.feed("a", 1, true, output));
    EXPECT_TRUE(unknown.failed());
    EXPECT_EQ(unknown.failureOffset(), 0u);
}

TEST(StreamingEncoder, WritesTheClosingEscapeOnlyAtTheEnd) {
    StreamingEncoder encoder(AbstractEncoding::Jis);
    std::string output;
    ASSERT_TRUE(encoder.feed("\xE3\x81\x82", 3, false, output));
    EXPECT_EQ(hex(output), "1B 24 42 24 22");
    // The next character is in the same set: no new escape.
    ASSERT_TRUE(encoder.feed("\xE3\x81", 2, false, output));
    EXPECT_EQ(encoder.heldBytes(), 2u);
    ASSERT_TRUE(encoder.feed("\x84", 1, false, output));
    EXPECT_EQ(hex(output), "1B 24 42 24 22 24 24");
    ASSERT_TRUE(encoder.feed("", 0, true, output));
    EXPECT_EQ(hex(output), "1B 24 42 24 22 24 24 1B 28 42");
}

// A piece that ends in the supplementary set leaves it designated for the
// next piece, as the whole conversion does; reset() starts a new stream and
// feeds after the last piece are refused.
TEST(StreamingEncoder, CarriesTheSupplementarySetAcrossPiecesAndRestarts) {
    const std::string text = bytes("E4 B8 82 E4 B8 82 61"); // two U+4E02 and "a"
    std::string whole;
    ASSERT_TRUE(EncodingFromId()
                    .getEncodingForID(AbstractEncoding::Jis)
                    ->convertFromUtf8(text.data(), static_cast<unsigned int>(text.size()), whole));
    EXPECT_EQ(hex(whole).rfind("1B 24 28 44", 0), 0u); // JIS X 0212 designated first

    StreamingEncoder encoder(AbstractEncoding::Jis);
    for (int round = 0; round < 2; ++round) {
        std::string output;
        ASSERT_TRUE(encoder.feed(text.data(), 3, false, output));
        ASSERT_TRUE(encoder.feed(text.data() + 3, 3, false, output));
        ASSERT_TRUE(encoder.feed(text.data() + 6, 1, true, output));
        EXPECT_EQ(hex(output), hex(whole));
        EXPECT_FALSE(encoder.feed("b", 1, true, output));
        encoder.reset();
    }
}

TEST(StreamingEncoder, FailureNamesTheCharacterThatHasNoCode) {
    StreamingEncoder encoder(AbstractEncoding::Sjis);
    std::string output;
    ASSERT_TRUE(encoder.feed("ab\xC2", 3, false, output));
    EXPECT_EQ(output, "ab");
    EXPECT_FALSE(encoder.feed("\xA5z", 2, true, output)); // U+00A5 has no Shift_JIS code
    EXPECT_EQ(encoder.failureOffset(), 2u);
    EXPECT_EQ(output, "ab");
}

TEST(StreamingEncoder, WesternAndUnknownTargetsFailAtOnce) {
    for (const int id : {static_cast<int>(AbstractEncoding::Ascii), 0, 9}) {
        StreamingEncoder encoder(static_cast<EncodingID>(id));
        std::string output = "kept";
        EXPECT_FALSE(encoder.feed("", 0, true, output)) << id;
        EXPECT_TRUE(encoder.failed());
        EXPECT_EQ(encoder.failureOffset(), 0u);
        EXPECT_EQ(output, "kept");
    }
}

TEST(StreamingConversion, MemoryStaysBoundedOverALongStream) {
    // Two megabytes of Japanese in 4099-byte pieces: the held bytes never
    // exceed one open character, and the output matches piece by piece.
    const std::string unit = bytes("E3 81 82 41 E6 97 A5 E6 9C AC 0A");
    std::string text;
    while (text.size() < (2u << 20)) {
        text += unit;
    }
    StreamingEncoder encoder(AbstractEncoding::EucJp);
    StreamingDecoder decoder(AbstractEncoding::EucJp);
    std::string encoded;
    std::string decoded;
    const std::size_t piece = 4099;
    for (std::size_t at = 0; at < text.size(); at += piece) {
        const bool last = at + piece >= text.size();
        const auto length = static_cast<unsigned int>(std::min(piece, text.size() - at));
        const std::size_t before = encoded.size();
        ASSERT_TRUE(encoder.feed(text.data() + at, length, last, encoded));
        ASSERT_LE(encoder.heldBytes(), 5u);
        ASSERT_TRUE(decoder.feed(encoded.data() + before,
                                 static_cast<unsigned int>(encoded.size() - before), last,
                                 decoded));
        ASSERT_LE(decoder.heldBytes(), 3u);
    }
    EXPECT_TRUE(decoded == text);
}

} // namespace
