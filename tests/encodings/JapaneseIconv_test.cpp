// The conversion to UTF-8 of the three Japanese encodings against the
// platform's iconv, character by character over the whole code space. Where
// the two differ, the difference is one of the documented ones listed in each
// test; everything else must agree. Skipped where iconv lacks the charset.
#include <charsetkit/encodings/EucJpEncoding.h>
#include <charsetkit/encodings/JisEncoding.h>
#include <charsetkit/encodings/SjisEncoding.h>

#include "support/Bytes.h"
#include "support/SwitchesTest.h"
#include "support/Utf8Writer.h"

#include <gtest/gtest.h>

#include "support/Iconv.h"

#include <cerrno>
#include <optional>
#include <string>

namespace charsetkit {
namespace {

using test::bytes;
using test::utf8;

class IconvDecoder {
public:
    explicit IconvDecoder(const char* charset) : m_iconv("UTF-8", charset) {}

    bool ok() const { return m_iconv.ok(); }

    /// The whole input as UTF-8; false when iconv refuses any of it or finds
    /// it incomplete.
    bool decode(const std::string& input, std::string& out) {
        const std::optional<std::string> converted = m_iconv.convert(input);
        if (!converted) {
            return false;
        }
        out = *converted;
        return true;
    }

private:
    test::Iconv m_iconv;
};

struct Ours {
    std::string text;
    bool unmapped = false;
};

Ours convert(const AbstractEncoding& encoding, const std::string& input) {
    Ours ours;
    encoding.convertToUtf8(input.data(), static_cast<unsigned int>(input.size()), ours.text,
                           ours.unmapped, false);
    return ours;
}

bool isExtensionRow(int row) {
    return row == 0x2D || (row >= 0x79 && row <= 0x7C);
}

class JapaneseIconvTest : public test::SwitchesTest {};

TEST_F(JapaneseIconvTest, ShiftJisAgreesWithCodePage932) {
    IconvDecoder iconvDecoder("CP932");
    if (!iconvDecoder.ok()) {
        GTEST_SKIP() << "iconv has no CP932";
    }
    const SjisEncoding sjis;
    // Documented differences: these JIS X 0208 codes keep their JIS mapping
    // where code page 932 substitutes full-width forms.
    const struct {
        int sjis;
        unsigned long ours;
    } remapped[] = {{0x8160, 0x301C}, {0x8161, 0x2016}, {0x817C, 0x2212},
                    {0x8191, 0x00A2}, {0x8192, 0x00A3}, {0x81CA, 0x00AC}};
    int agreed = 0;
    int differences = 0;
    for (int lead = 0; lead < 256; ++lead) {
        const std::string single = bytes({lead});
        const Ours one = convert(sjis, single);
        std::string theirs;
        const bool known = iconvDecoder.decode(single, theirs);
        const bool isLead = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
        if (known) {
            EXPECT_EQ(one.text, theirs) << test::hex(single);
            ++agreed;
        } else if (isLead) {
            EXPECT_EQ(one.text, "") << "a lone lead byte is dropped: " << test::hex(single);
        } else {
            // Difference: bytes no character starts with (0x80, 0xA0,
            // 0xFD-0xFF) are carried over as ISO-8859-1.
            EXPECT_EQ(one.text, utf8({static_cast<unsigned long>(lead)})) << test::hex(single);
            ++differences;
        }
        if (!isLead) {
            continue;
        }
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) {
                continue;
            }
            const std::string pair = bytes({lead, trail});
            const Ours ours = convert(sjis, pair);
            const bool mapped = iconvDecoder.decode(pair, theirs);
            const int code = lead * 256 + trail;
            unsigned long expectedOurs = 0;
            for (const auto& r : remapped) {
                if (r.sjis == code) {
                    expectedOurs = r.ours;
                }
            }
            if (expectedOurs != 0) {
                EXPECT_EQ(ours.text, utf8({expectedOurs})) << test::hex(pair);
                EXPECT_NE(ours.text, theirs) << test::hex(pair);
                ++differences;
            } else if (lead >= 0xF0 && lead <= 0xF9) {
                // Difference: the user-defined area, which code page 932 maps
                // to private-use code points, has no mapping here.
                EXPECT_TRUE(ours.unmapped) << test::hex(pair);
                ++differences;
            } else if (mapped) {
                EXPECT_FALSE(ours.unmapped) << test::hex(pair);
                EXPECT_EQ(ours.text, theirs) << test::hex(pair);
                ++agreed;
            } else {
                EXPECT_TRUE(ours.unmapped) << test::hex(pair);
            }
        }
    }
    // JIS X 0208 and the 845 extension codes, ASCII and katakana all agree.
    EXPECT_GE(agreed, 6879 - 6 + 845 + 128 + 63);
    EXPECT_EQ(differences, 6 + 5 + 10 * 188);
}

TEST_F(JapaneseIconvTest, EucJpAgreesWithThePlatform) {
    IconvDecoder iconvDecoder("EUC-JP");
    if (!iconvDecoder.ok()) {
        GTEST_SKIP() << "iconv has no EUC-JP";
    }
    const EucJpEncoding euc;
    int agreed = 0;
    int extensions = 0;
    std::string theirs;
    for (int first = 0xA1; first <= 0xFE; ++first) {
        for (int second = 0xA1; second <= 0xFE; ++second) {
            for (bool supplementary : {false, true}) {
                const std::string input =
                    supplementary ? bytes({0x8F, first, second}) : bytes({first, second});
                const Ours ours = convert(euc, input);
                const bool mapped = iconvDecoder.decode(input, theirs);
                if (!supplementary && isExtensionRow(first - 0x80) && !ours.unmapped) {
                    // Difference: the code page 932 extension rows (0x2D,
                    // 0x79-0x7C) are mapped here; the platform knows none.
                    EXPECT_FALSE(mapped) << test::hex(input);
                    ++extensions;
                } else if (mapped) {
                    EXPECT_FALSE(ours.unmapped) << test::hex(input);
                    EXPECT_EQ(ours.text, theirs) << test::hex(input);
                    ++agreed;
                } else {
                    EXPECT_TRUE(ours.unmapped) << test::hex(input);
                }
            }
        }
    }
    for (int kana = 0xA1; kana <= 0xDF; ++kana) {
        const std::string input = bytes({0x8E, kana});
        ASSERT_TRUE(iconvDecoder.decode(input, theirs));
        EXPECT_EQ(convert(euc, input).text, theirs) << test::hex(input);
        ++agreed;
    }
    for (int b = 0; b < 0x80; ++b) {
        const std::string input = bytes({b});
        ASSERT_TRUE(iconvDecoder.decode(input, theirs));
        EXPECT_EQ(convert(euc, input).text, theirs) << test::hex(input);
    }
    EXPECT_EQ(agreed, 6879 + 6067 + 63);
    EXPECT_EQ(extensions, 83 + 374);
}

TEST_F(JapaneseIconvTest, Iso2022JpAgreesWithThePlatform) {
    IconvDecoder jp("ISO-2022-JP");
    if (!jp.ok()) {
        GTEST_SKIP() << "iconv has no ISO-2022-JP";
    }
    const JisEncoding jis;
    int agreed = 0;
    int extensions = 0;
    std::string theirs;
    for (const char* designation : {"\x1B$B", "\x1B$@"}) {
        for (int row = 0x21; row <= 0x7E; ++row) {
            for (int cell = 0x21; cell <= 0x7E; ++cell) {
                const std::string input = designation + bytes({row, cell}) + "\x1B(B";
                const Ours ours = convert(jis, input);
                const bool mapped = jp.decode(input, theirs);
                if (isExtensionRow(row) && !ours.unmapped) {
                    // Difference: the extension rows, as for EUC-JP.
                    EXPECT_FALSE(mapped) << test::hex(input);
                    ++extensions;
                } else if (mapped) {
                    EXPECT_EQ(ours.text, theirs) << test::hex(input);
                    ++agreed;
                } else {
                    EXPECT_TRUE(ours.unmapped) << test::hex(input);
                }
            }
        }
    }
    EXPECT_EQ(agreed, 2 * 6879);
    EXPECT_EQ(extensions, 2 * (83 + 374));

    // JIS-Roman: the platform reads 0x5C and 0x7E as YEN SIGN and OVERLINE;
    // here every JIS-Roman byte is taken as ASCII (difference).
    for (int b = 0x21; b <= 0x7E; ++b) {
        const std::string input = "\x1B(J" + bytes({b}) + "\x1B(B";
        ASSERT_TRUE(jp.decode(input, theirs));
        const std::string ours = convert(jis, input).text;
        EXPECT_EQ(ours, bytes({b}));
        if (b == 0x5C || b == 0x7E) {
            EXPECT_EQ(theirs, utf8({b == 0x5C ? 0xA5UL : 0x203EUL}));
        } else {
            EXPECT_EQ(ours, theirs) << test::hex(input);
        }
    }
}

TEST_F(JapaneseIconvTest, Iso2022JpKatakanaAndSupplementaryKanji) {
    // The platform's ISO-2022-JP has neither ESC ( I nor ESC $ ( D; its
    // extended variants read them as this library does.
    IconvDecoder kanaDecoder("ISO-2022-JP-3");
    IconvDecoder supplementaryDecoder("ISO-2022-JP-2");
    if (!kanaDecoder.ok() || !supplementaryDecoder.ok()) {
        GTEST_SKIP() << "iconv has no ISO-2022-JP-2 or ISO-2022-JP-3";
    }
    const JisEncoding jis;
    std::string theirs;
    for (int b = 0x21; b <= 0x5F; ++b) {
        const std::string input = "\x1B(I" + bytes({b}) + "\x1B(B";
        ASSERT_TRUE(kanaDecoder.decode(input, theirs)) << test::hex(input);
        EXPECT_EQ(convert(jis, input).text, theirs) << test::hex(input);
    }
    int agreed = 0;
    for (int row = 0x21; row <= 0x7E; ++row) {
        for (int cell = 0x21; cell <= 0x7E; ++cell) {
            const std::string input = "\x1B$(D" + bytes({row, cell}) + "\x1B(B";
            const Ours ours = convert(jis, input);
            if (supplementaryDecoder.decode(input, theirs)) {
                EXPECT_EQ(ours.text, theirs) << test::hex(input);
                ++agreed;
            } else {
                EXPECT_TRUE(ours.unmapped) << test::hex(input);
            }
        }
    }
    EXPECT_EQ(agreed, 6067);
}

} // namespace
} // namespace charsetkit
