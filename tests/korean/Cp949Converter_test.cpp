// The table converter against the iconv converter it replaces (kept in
// tests/reference as its plain twin) and against the platform's CP949 over
// the whole code space: every one- and two-byte input, every Unicode scalar
// value, every UTF-8 input of up to two bytes and of three bytes with a
// three-byte lead, and mixed texts with failures at every position.
// Skipped where iconv has no CP949 converter.
#include "korean/Cp949Converter.h"
#include "korean/Cp949Tables.h"
#include "reference/IconvKoreanConverter.h"
#include "support/Bytes.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace charsetkit {
namespace {

using test::asBytes;
using test::hex;

const Cp949Converter kTables;
const IconvKoreanConverter kIconv;

// One iconv descriptor reused for many short conversions, with the failure
// rule of the iconv converter (an error or any non-reversible conversion
// fails); much faster than opening a descriptor per input.
class IconvSession {
public:
    IconvSession(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~IconvSession() {
        if (ok()) {
            iconv_close(m_cd);
        }
    }
    IconvSession(const IconvSession&) = delete;
    IconvSession& operator=(const IconvSession&) = delete;

    bool ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    bool convert(const std::string& input, std::string& output) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char buffer[64];
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        if (iconv(m_cd, &in, &inLeft, &out, &outLeft) != 0 ||
            iconv(m_cd, nullptr, nullptr, &out, &outLeft) != 0) {
            return false;
        }
        output.assign(buffer, sizeof buffer - outLeft);
        return true;
    }

private:
    iconv_t m_cd;
};

bool iconvHasCp949() {
    std::string out;
    return kIconv.eucKrToUtf8(asBytes("a"), 1, out);
}

#define SKIP_WITHOUT_CP949()                                                                       \
    if (!iconvHasCp949()) {                                                                        \
        GTEST_SKIP() << "iconv has no CP949 converter";                                            \
    }

// Both converters on `input` in one direction: the same answer, and on
// failure the output left as it was.
void expectSame(const std::string& input, bool toUtf8) {
    std::string fromTables = "keep";
    std::string fromIconv = "keep";
    const bool tablesOk = toUtf8 ? kTables.eucKrToUtf8(asBytes(input), input.size(), fromTables)
                                 : kTables.utf8ToEucKr(asBytes(input), input.size(), fromTables);
    const bool iconvOk = toUtf8 ? kIconv.eucKrToUtf8(asBytes(input), input.size(), fromIconv)
                                : kIconv.utf8ToEucKr(asBytes(input), input.size(), fromIconv);
    ASSERT_EQ(tablesOk, iconvOk) << (toUtf8 ? "decoding " : "encoding ") << hex(input);
    ASSERT_EQ(fromTables, fromIconv) << (toUtf8 ? "decoding " : "encoding ") << hex(input);
}

std::string utf8Of(std::uint32_t c) {
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | c >> 6);
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += static_cast<char>(0xE0 | c >> 12);
        s += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | c >> 18);
        s += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        s += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

// Every two-byte code of the tables, in code order.
std::vector<std::string> mappedCodes() {
    std::vector<std::string> codes;
    for (unsigned lead = cp949::kLeadFirst; lead <= 0xFE; ++lead) {
        for (unsigned trail = cp949::kTrailFirst; trail <= 0xFE; ++trail) {
            if (cp949::kCp949ToUnicode[(lead - cp949::kLeadFirst) * cp949::kColumns + trail -
                                       cp949::kTrailFirst] != 0) {
                codes.push_back({static_cast<char>(lead), static_cast<char>(trail)});
            }
        }
    }
    return codes;
}

TEST(Cp949Converter, EveryOneAndTwoByteInputDecodesAsTheIconvConverter) {
    SKIP_WITHOUT_CP949();
    expectSame("", true);
    for (int first = 0; first < 256; ++first) {
        expectSame(std::string(1, static_cast<char>(first)), true);
        for (int second = 0; second < 256; ++second) {
            expectSame({static_cast<char>(first), static_cast<char>(second)}, true);
        }
    }
}

TEST(Cp949Converter, EveryScalarValueEncodesAsIconv) {
    IconvSession session("CP949", "UTF-8");
    if (!session.ok()) {
        GTEST_SKIP() << "iconv has no CP949 converter";
    }
    int mapped = 0;
    for (std::uint32_t c = 0; c < 0x110000; ++c) {
        if (c >= 0xD800 && c < 0xE000) {
            continue;
        }
        const std::string input = utf8Of(c);
        std::string expected;
        std::string actual = "keep";
        const bool expectedOk = session.convert(input, expected);
        ASSERT_EQ(kTables.utf8ToEucKr(asBytes(input), input.size(), actual), expectedOk)
            << std::hex << c;
        ASSERT_EQ(actual, expectedOk ? expected : "keep") << std::hex << c;
        mapped += expectedOk && !expected.empty() ? 1 : 0;
    }
    EXPECT_EQ(mapped, 128 + static_cast<int>(mappedCodes().size()));
}

TEST(Cp949Converter, EveryShortUtf8InputEncodesAsIconv) {
    // All inputs of one and two bytes, and of three bytes whose first byte
    // leads a three-byte form (overlong forms and surrogates included).
    IconvSession session("CP949", "UTF-8");
    if (!session.ok()) {
        GTEST_SKIP() << "iconv has no CP949 converter";
    }
    std::string input;
    auto check = [&] {
        std::string expected;
        std::string actual = "keep";
        const bool expectedOk = session.convert(input, expected);
        ASSERT_EQ(kTables.utf8ToEucKr(asBytes(input), input.size(), actual), expectedOk)
            << hex(input);
        ASSERT_EQ(actual, expectedOk ? expected : "keep") << hex(input);
    };
    for (int a = 0; a < 256; ++a) {
        input.assign(1, static_cast<char>(a));
        ASSERT_NO_FATAL_FAILURE(check());
        for (int b = 0; b < 256; ++b) {
            input.assign({static_cast<char>(a), static_cast<char>(b)});
            ASSERT_NO_FATAL_FAILURE(check());
            if (a < 0xE0 || a > 0xEF) {
                continue;
            }
            for (int c = 0; c < 256; ++c) {
                input.assign({static_cast<char>(a), static_cast<char>(b), static_cast<char>(c)});
                ASSERT_NO_FATAL_FAILURE(check());
            }
        }
    }
}

TEST(Cp949Converter, FourByteFormsAtTheEdgesEncodeAsTheIconvConverter) {
    SKIP_WITHOUT_CP949();
    // Overlong, lowest, language tags and their neighbours, highest, beyond.
    const char* const inputs[] = {
        "\xF0\x8F\xBF\xBF",
        "\xF0\x90\x80\x80",
        "\xF3\x9F\xBF\xBF",
        "\xF3\xA0\x80\x80",
        "\xF3\xA0\x81\xBF",
        "\xF3\xA0\x82\x80",
        "\xF4\x8F\xBF\xBF",
        "\xF4\x90\x80\x80",
        "\xF5\x80\x80\x80",
        "\xF8\x88\x80\x80\x80",
        "\xF3\xA0\x80",
        ("a\xF3\xA0\x80\x81"
         "b"),
    };
    for (const char* input : inputs) {
        expectSame(input, false);
    }
}

TEST(Cp949Converter, EveryMappedCharacterRoundTrips) {
    for (const std::string& code : mappedCodes()) {
        std::string utf8;
        std::string back;
        ASSERT_TRUE(kTables.eucKrToUtf8(asBytes(code), code.size(), utf8)) << hex(code);
        ASSERT_TRUE(kTables.utf8ToEucKr(asBytes(utf8), utf8.size(), back)) << hex(code);
        ASSERT_EQ(back, code);
    }
}

// Mixed texts of ASCII runs and Korean characters in both forms, made from a
// fixed seed.
std::vector<std::string> mixedTexts(bool utf8) {
    static const std::vector<std::string> codes = mappedCodes();
    std::mt19937 random(949);
    std::vector<std::string> texts;
    for (int t = 0; t < 40; ++t) {
        std::string text;
        const int pieces = static_cast<int>(random() % 60);
        for (int p = 0; p < pieces; ++p) {
            if (random() % 3 == 0) {
                text.append(random() % 40, static_cast<char>('A' + random() % 26));
            } else {
                const std::string& code = codes[random() % codes.size()];
                std::string piece = code;
                if (utf8 && !kTables.eucKrToUtf8(asBytes(code), code.size(), piece)) {
                    ADD_FAILURE() << "cannot decode " << hex(code);
                }
                text += piece;
            }
        }
        texts.push_back(text);
    }
    return texts;
}

class Cp949MixedText : public ::testing::TestWithParam<bool> {};

TEST_P(Cp949MixedText, AgreesWithTheIconvConverterWithAFailureAtEachPlace) {
    SKIP_WITHOUT_CP949();
    const bool toUtf8 = GetParam();
    // Bytes that break a text wherever they land, or cut a character.
    const std::string breakers = toUtf8 ? std::string("\x80\xFF\xC9\x41\xA1") : "\xFF\xC0\xED";
    for (const std::string& text : mixedTexts(!toUtf8)) {
        ASSERT_NO_FATAL_FAILURE(expectSame(text, toUtf8));
        for (std::size_t at = 0; at <= text.size() && at < 200; ++at) {
            for (const char breaker : breakers) {
                std::string broken = text;
                broken.insert(at, 1, breaker);
                ASSERT_NO_FATAL_FAILURE(expectSame(broken, toUtf8));
            }
            ASSERT_NO_FATAL_FAILURE(expectSame(text.substr(0, at), toUtf8));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Directions, Cp949MixedText, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& param) {
                             return param.param ? "Decoding" : "Encoding";
                         });

TEST(Cp949Converter, NullInputOfLengthZeroConvertsToNothing) {
    std::string out = "keep";
    ASSERT_TRUE(kTables.eucKrToUtf8(nullptr, 0, out));
    EXPECT_EQ(out, "");
    out = "keep";
    ASSERT_TRUE(kTables.utf8ToEucKr(nullptr, 0, out));
    EXPECT_EQ(out, "");
}

} // namespace
} // namespace charsetkit
