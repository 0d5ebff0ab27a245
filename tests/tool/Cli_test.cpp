// The tool's option parsing: the forms every subcommand accepts, and the one
// line a mistake is reported in, whatever CLI11 would have said.
#include "Cli.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace charsetkit {
namespace test {
namespace {

using tool::OptionSpec;
using tool::ParsedArgs;
using Words = std::vector<std::string>;

const tool::CommandSpec kCommand = {"try", "[OPTIONS] [FILE...]", "Tries things.\n",
                                    "Exit status: 0.\n"};

const std::vector<OptionSpec> kOptions = {
    {"locale", 0, "L", false, "the locale"},
    {"forbid", 0, "BYTES", true, "the forbidden bytes"},
    {"output", 'o', "OUT", false, "where the output goes"},
    {"recursive", 'r', nullptr, true, "walk directories"},
    {"scan-to-end", 0, nullptr, true, "read every byte"},
};

ParsedArgs parse(const Words& words) {
    return tool::parseArgs(words, kCommand, kOptions);
}

TEST(CliTest, ValuesInEveryFormAndFilesAroundThem) {
    const ParsedArgs parsed =
        parse({"a", "--locale=jp", "-", "--forbid", "<", "-oout", "--forbid=>", "-r", "b", "-r",
               "--json", "", "--", "--scan-to-end", "-r", "-"});
    EXPECT_EQ(parsed.value("locale"), "jp");
    EXPECT_EQ(parsed.values("forbid"), (Words{"<", ">"}));
    EXPECT_EQ(parsed.value("output"), "out");
    EXPECT_TRUE(parsed.has("recursive"));
    EXPECT_TRUE(parsed.has("json"));
    EXPECT_FALSE(parsed.has("scan-to-end"));
    EXPECT_EQ(parsed.positionals(), (Words{"a", "-", "b", "", "--scan-to-end", "-r", "-"}));
}

TEST(CliTest, AValueIsTheNextWordWhateverItLooksLike) {
    for (const char* value : {"-1", "--scan-to-end", "-", "--", "-r", "--locale=", ""}) {
        SCOPED_TRACE(value);
        EXPECT_EQ(parse({"--locale", value}).value("locale"), value);
        EXPECT_EQ(parse({"-o", value}).value("output"), value);
    }
}

TEST(CliTest, AnEmptyValueAfterTheEqualsSignIsEmpty) {
    const ParsedArgs parsed = parse({"--output=", "file"});
    EXPECT_TRUE(parsed.has("output"));
    EXPECT_EQ(parsed.value("output", "unset"), "");
    EXPECT_EQ(parsed.positionals(), Words{"file"});
}

struct Mistake {
    Words words;
    std::string message;
};

class CliMistakeTest : public ::testing::TestWithParam<Mistake> {};

TEST_P(CliMistakeTest, IsOneUsageErrorNamingTheOptionAsTyped) {
    try {
        parse(GetParam().words);
        FAIL() << "accepted";
    } catch (const tool::UsageError& error) {
        EXPECT_EQ(std::string(error.what()), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Words, CliMistakeTest,
    ::testing::Values(Mistake{{"--bogus"}, "unknown option --bogus (see --help)"},
                      Mistake{{"--bogus=3"}, "unknown option --bogus (see --help)"},
                      Mistake{{"-x", "a"}, "unknown option -x (see --help)"},
                      Mistake{{"-rx"}, "unknown option -x (see --help)"},
                      Mistake{{"-1"}, "unknown option -1 (see --help)"},
                      Mistake{{"---x"}, "unknown option ---x (see --help)"},
                      Mistake{{"-!"}, "unknown option -! (see --help)"},
                      Mistake{{"--locale"}, "option --locale needs a value"},
                      Mistake{{"a", "-o"}, "option -o needs a value"},
                      Mistake{{"--scan-to-end=yes"}, "option --scan-to-end takes no value"},
                      Mistake{{"--json=false"}, "option --json takes no value"},
                      Mistake{{"--help="}, "option --help takes no value"},
                      Mistake{{"--locale", "jp", "--locale=ko"},
                              "option --locale given more than once"},
                      Mistake{{"--output", "a", "-ob"}, "option -o given more than once"}));

TEST(CliTest, HelpIsAskedForWithEitherNameAndListsEveryOption) {
    for (const Words& words : {Words{"-h"}, Words{"a", "--help"}, Words{"--help", "-r"}}) {
        try {
            parse(words);
            FAIL() << "no help";
        } catch (const tool::HelpRequest& help) {
            const std::string text = help.what();
            EXPECT_EQ(text.rfind("Usage: charsetkit try [OPTIONS] [FILE...]\n\nTries things.\n", 0),
                      0U)
                << text;
            for (const char* line :
                 {"\n  -h, --help ", "\n  --locale L ", "\n  --forbid BYTES ",
                  "\n  -o, --output OUT ", "\n  -r, --recursive ", "\n  --json "}) {
                EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;
            }
            EXPECT_EQ(text.substr(text.size() - 18), "\n\nExit status: 0.\n");
            EXPECT_EQ(text.find("files"), std::string::npos) << text;
        }
    }
}

TEST(CliTest, HelpLinesFitTheTerminal) {
    const std::vector<OptionSpec> options = {
        {"long-winded", 0, "VALUE", false,
         "a description long enough to need three lines at the width of a terminal, which "
         "the help wraps at spaces so that no line grows past seventy-eight characters"}};
    try {
        tool::parseArgs({"--help"}, kCommand, options);
        FAIL() << "no help";
    } catch (const tool::HelpRequest& help) {
        const std::string text = help.what();
        std::size_t start = 0;
        for (std::size_t end; (end = text.find('\n', start)) != std::string::npos;
             start = end + 1) {
            EXPECT_LE(end - start, 78U) << text.substr(start, end - start);
        }
        EXPECT_NE(text.find("\n                              "), std::string::npos) << text;
    }
}

TEST(CliTest, ParseCountReadsWholeNumbersUpToTheLimit) {
    EXPECT_EQ(tool::parseCount("n", "0", 5), 0);
    EXPECT_EQ(tool::parseCount("n", "005", 5), 5);
    for (const char* bad : {"", "-1", "3x", " 3", "+3"}) {
        EXPECT_THROW(tool::parseCount("n", bad, 5), tool::UsageError) << bad;
    }
    EXPECT_THROW(tool::parseCount("n", "6", 5), tool::UsageError);
    EXPECT_THROW(tool::parseCount("n", "99999999999999999999999", 5), tool::UsageError);
}

} // namespace
} // namespace test
} // namespace charsetkit
