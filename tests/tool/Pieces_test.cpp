// The cutting of `convert`'s input into pieces, with small piece sizes: the
// pieces cover the input in order, none but the last is shorter than the
// piece size, and converting them one by one gives what converting the whole
// input gives (so no cut falls inside a character, nor in ISO-2022-JP
// outside ASCII).
#include "Pieces.h"

#include <charsetkit/charsetkit.h>

#include "support/Bytes.h"
#include "support/StreamInputs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace charsetkit {
namespace test {
namespace {

using Id = AbstractEncoding::EncodingID;

struct Text {
    std::string name;
    Id id;
    std::string bytes;
};

Id idOfName(const std::string& preferred) {
    for (int value = 1; value <= 6; ++value) {
        const auto id = static_cast<Id>(value);
        if (preferred == AbstractEncoding::getLabels(id)[0]) {
            return id;
        }
    }
    return static_cast<Id>(0);
}

// Valid texts in every encoding: the made-up ones that verify, the samples,
// and long lines without a line feed.
std::vector<Text> validTexts() {
    EncodingFromId registry;
    std::vector<Text> texts;
    const auto add = [&](const std::string& name, Id id, const std::string& bytes) {
        if (registry.getEncodingForID(id) != nullptr &&
            registry.getEncodingForID(id)->verify(
                bytes.data(), static_cast<unsigned int>(bytes.size()), false, false, 0)) {
            texts.push_back({name, id, bytes});
        }
    };
    add("sjis", AbstractEncoding::Sjis,
        bytes("3C 70 3E 82 A0 82 A2 0A B1 B2 93 FA 96 7B 20 82 A0 0A 3C 2F 70 3E"));
    add("eucjp", AbstractEncoding::EucJp, bytes("A4 A2 8E B1 8F B0 A1 41 A4 A2 0A A4 A2 20 A4 A2"));
    add("jis", AbstractEncoding::Jis,
        bytes("1B 24 42 30 21 30 22 1B 28 42 20 41 0A 1B 24 42 30 21 1B 28 42 41 42 20 1B 28 "
              "4A 5C 1B 28 42 0A 42"));
    add("euckr", AbstractEncoding::EucKr, bytes("B0 A1 20 B3 AA 41 0A B0 A1 B0 A1 20 41"));
    add("utf8", AbstractEncoding::Utf8,
        bytes("E3 81 82 41 EF BD B1 0A F0 9F 98 80 C3 A9 0A E2 85 A0"));
    add("latin1", AbstractEncoding::Ascii, bytes("63 61 66 E9 0A 20 FF FE 0A 41"));
    for (const auto& input : fileInputs()) {
        const Id id = idOfName(encodingOfName(input.name));
        if (!input.large && id != 0) {
            add(input.name, id, input.bytes);
        }
    }
    return texts;
}

std::string convertWhole(Id id, const std::string& text) {
    EncodingFromId registry;
    std::string out;
    bool unmapped = false;
    registry.getEncodingForID(id)->convertToUtf8(
        text.data(), static_cast<unsigned int>(text.size()), out, unmapped, false);
    return out;
}

class PiecesTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(PiecesTest, PiecesCoverTheInputAndConvertAsTheWhole) {
    const std::size_t pieceSize = GetParam();
    for (const Text& text : validTexts()) {
        std::string joined;
        std::size_t start = 0;
        while (start < text.bytes.size()) {
            const std::size_t end =
                tool::pieceEnd(text.bytes.data(), text.bytes.size(), start, text.id, pieceSize);
            ASSERT_GT(end, start) << text.name;
            ASSERT_LE(end, text.bytes.size()) << text.name;
            if (end < text.bytes.size()) {
                EXPECT_GE(end - start, pieceSize) << text.name << " at " << start;
            }
            joined += convertWhole(text.id, text.bytes.substr(start, end - start));
            start = end;
        }
        EXPECT_EQ(hex(joined), hex(convertWhole(text.id, text.bytes)))
            << text.name << ", pieces of " << pieceSize;
    }
}

INSTANTIATE_TEST_SUITE_P(SmallPieces, PiecesTest,
                         ::testing::Values(1, 2, 3, 4, 5, 7, 11, 64, tool::kPieceSize));

TEST(Pieces, CutsAfterTheFirstLineFeedPastThePieceSize) {
    const std::string text = "ab\ncdef\ngh\nij";
    EXPECT_EQ(tool::pieceEnd(text.data(), text.size(), 0, AbstractEncoding::Utf8, 4), 8U);
    EXPECT_EQ(tool::pieceEnd(text.data(), text.size(), 8, AbstractEncoding::Utf8, 4), text.size());
}

TEST(Pieces, CutsALongLineBetweenCharacters) {
    // Six two-byte characters and no line feed: the cut comes two piece
    // sizes on, moved forward to the next character.
    const std::string text = bytes("82 A0 82 A0 82 A0 82 A0 82 A0 82 A0");
    EXPECT_EQ(tool::pieceEnd(text.data(), text.size(), 0, AbstractEncoding::Sjis, 3), 6U);
    const std::string utf8 = bytes("E3 81 82 E3 81 82 E3 81 82");
    EXPECT_EQ(tool::pieceEnd(utf8.data(), utf8.size(), 0, AbstractEncoding::Utf8, 2), 6U);
}

TEST(Pieces, Iso2022JpCutsOnlyInAscii) {
    // The "B" of ESC $ B and the bytes of double-byte text are no place to
    // cut; the first place is after the ESC ( B that returns to ASCII.
    const std::string text = bytes("1B 24 42 30 21 30 21 30 21 30 21 1B 28 42 41 41 41");
    EXPECT_EQ(tool::pieceEnd(text.data(), text.size(), 0, AbstractEncoding::Jis, 2), 14U);
}

} // namespace
} // namespace test
} // namespace charsetkit
