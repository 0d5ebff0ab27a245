// The tool's JSON lines: members in the order they are added, strings as
// UTF-8 with every byte that begins no well-formed character replaced by
// U+FFFD, and control characters escaped so that a record stays one line.
#include "Output.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace charsetkit {
namespace test {
namespace {

const std::string kFffd = "\xEF\xBF\xBD";

struct Replacement {
    const char* name;
    std::string given;
    std::string expected;
};

class ReplaceInvalidUtf8Test : public ::testing::TestWithParam<Replacement> {};

TEST_P(ReplaceInvalidUtf8Test, EachByteThatBeginsNoCharacterBecomesOneReplacement) {
    EXPECT_EQ(tool::replaceInvalidUtf8(GetParam().given), GetParam().expected);
    EXPECT_EQ(tool::jsonString(GetParam().given), '"' + GetParam().expected + '"');
}

INSTANTIATE_TEST_SUITE_P(
    Utf8, ReplaceInvalidUtf8Test,
    ::testing::Values(
        Replacement{"Ascii", "a.txt", "a.txt"},
        Replacement{"WellFormed", "\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80\xC2\x9B",
                    "\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80\xC2\x9B"},
        Replacement{"LoneTrail", "a\x80z", "a" + kFffd + "z"},
        Replacement{"CutBeforeAscii", "\xE3\x81z", kFffd + kFffd + "z"},
        Replacement{"CutAtTheEnd", "a\xF0\x9F\x98", "a" + kFffd + kFffd + kFffd},
        Replacement{"Overlong", "\xC0\xAF\xE0\x80\xAF", kFffd + kFffd + kFffd + kFffd + kFffd},
        Replacement{"Surrogate", "\xED\xA0\x80", kFffd + kFffd + kFffd},
        Replacement{"AboveU10FFFF", "\xF4\x90\x80\x80", kFffd + kFffd + kFffd + kFffd},
        Replacement{"NeverUsed", "\xFE\xFF", kFffd + kFffd},
        Replacement{"Latin1Name", "caf\xE9.txt", "caf" + kFffd + ".txt"}),
    [](const ::testing::TestParamInfo<Replacement>& param) {
        return std::string(param.param.name);
    });

TEST(JsonStringTest, ControlCharactersAreEscapedAndNothingElseIs) {
    EXPECT_EQ(tool::jsonString(std::string("a\nb\r\t\"\\\x1b[2J\x01", 12)),
              "\"a\\nb\\r\\t\\\"\\\\\\u001b[2J\\u0001\"");
    EXPECT_EQ(tool::jsonString(std::string("\0", 1)), "\"\\u0000\"");
    EXPECT_EQ(tool::jsonString("/ <&>"), "\"/ <&>\"");
}

TEST(JsonLineTest, MembersKeepTheirOrderAndTypes) {
    EXPECT_EQ(tool::JsonLine().str(), "{}");
    const std::string line = tool::JsonLine()
                                 .add("file", "z\xFF")
                                 .add("valid", false)
                                 .add("offset", std::size_t{18446744073709551615ULL})
                                 .add("line", -3)
                                 .addNull("reason")
                                 .add("encodings", std::vector<std::string>{"utf-8", "\x80"})
                                 .addNumbers("forbidden", {60, 62})
                                 .add("aliases", std::vector<std::string>{})
                                 .add("name", static_cast<const char*>(nullptr))
                                 .str();
    EXPECT_EQ(line, "{\"file\":\"z" + kFffd +
                        "\",\"valid\":false,\"offset\":18446744073709551615,\"line\":-3,"
                        "\"reason\":null,\"encodings\":[\"utf-8\",\"" +
                        kFffd + "\"],\"forbidden\":[60,62],\"aliases\":[],\"name\":\"\"}");
}

} // namespace
} // namespace test
} // namespace charsetkit
