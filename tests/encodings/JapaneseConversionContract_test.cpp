// What the Japanese encodings promise in their headers about conversion: it
// never fails, carries everything from the first bad byte on over as
// ISO-8859-1 and drops a character cut off by the end of the buffer, which
// verification accepts for the two stateless encodings only.
#include <charsetkit/encodings/EncodingFromId.h>

#include "support/Bytes.h"
#include "support/SwitchesTest.h"

#include <gtest/gtest.h>

#include <string>

namespace charsetkit {
namespace {

using test::bytes;
using test::hex;

const AbstractEncoding* encodingFor(AbstractEncoding::EncodingID id) {
    static EncodingFromId registry;
    return registry.getEncodingForID(id);
}

struct JapaneseCase {
    AbstractEncoding::EncodingID id;
    std::string badThenText; // a byte that fits nowhere, then a character
    std::string badThenTextAsLatin1;
    std::string cutOff; // "a" then the start of a character
};

class JapaneseConversion : public test::SwitchesTest,
                           public ::testing::WithParamInterface<JapaneseCase> {};

TEST_P(JapaneseConversion, NeverFailsAndCarriesEverythingFromTheFirstBadByteAsLatin1) {
    const JapaneseCase& c = GetParam();
    const AbstractEncoding* encoding = encodingFor(c.id);
    std::string out = "old";
    bool unmapped = false;
    ASSERT_TRUE(encoding->convertToUtf8(c.badThenText.data(),
                                        static_cast<unsigned int>(c.badThenText.size()), out,
                                        unmapped, false));
    EXPECT_EQ(out, "a" + c.badThenTextAsLatin1) << hex(out);
    EXPECT_FALSE(unmapped);
}

TEST_P(JapaneseConversion, DropsACharacterCutOffByTheEnd) {
    const JapaneseCase& c = GetParam();
    const AbstractEncoding* encoding = encodingFor(c.id);
    std::string out = "old";
    bool unmapped = false;
    ASSERT_TRUE(encoding->convertToUtf8(c.cutOff.data(), static_cast<unsigned int>(c.cutOff.size()),
                                        out, unmapped, false));
    EXPECT_EQ(out, "a") << hex(out);
    // Verification does not look at the end, but ISO-2022-JP must end in
    // single-byte text.
    EXPECT_EQ(encoding->verify(c.cutOff.data(), static_cast<unsigned int>(c.cutOff.size()), true,
                               false, 100),
              c.id != AbstractEncoding::Jis);
}

INSTANTIATE_TEST_SUITE_P(Japanese, JapaneseConversion,
                         ::testing::Values(
                             // 0xFF never starts a character; the hiragana A after it is read as
                             // Latin-1 too.
                             JapaneseCase{AbstractEncoding::EucJp, bytes("61 FF A4 A2"),
                                          bytes("C3 BF C2 A4 C2 A2"), bytes("61 A4")},
                             JapaneseCase{AbstractEncoding::Sjis, bytes("61 FF 82 A0"),
                                          bytes("C3 BF C2 82 C2 A0"), bytes("61 82")},
                             // A byte of 0x80 or above fails ISO-2022-JP.
                             JapaneseCase{AbstractEncoding::Jis, bytes("61 FF 1B 24 42"),
                                          bytes("C3 BF 1B 24 42"), bytes("61 1B 24 42 24")}),
                         [](const ::testing::TestParamInfo<JapaneseCase>& param) {
                             return std::to_string(static_cast<int>(param.param.id));
                         });

} // namespace
} // namespace charsetkit
