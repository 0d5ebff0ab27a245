// Compares the code tables with the platform's iconv converters (EUC-JP for
// JIS X 0208 and JIS X 0212, CP932 for Shift_JIS with the extensions) on
// every double-byte code. EUC-JP must agree everywhere; the six places where
// this library keeps the JIS X 0208 character instead of code page 932's are
// listed below. Everything else must agree. Skipped where
// the platform lacks those converters.
#include <charsetkit/japanese/JapaneseConversions.h>

#include "support/SwitchesTest.h"

#include <gtest/gtest.h>

#include "support/Iconv.h"

#include <cstdio>
#include <map>
#include <optional>
#include <string>

namespace charsetkit {
namespace {

using Jc = JapaneseConversions;

std::string hex(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(value));
    return text;
}

// One converter of the C library from a legacy charset to UTF-32LE.
class Decoder {
public:
    explicit Decoder(const char* charset) : m_iconv("UTF-32LE", charset) {}

    bool ok() const { return m_iconv.ok(); }

    // The one code point the bytes decode to, or 0 when the converter
    // rejects them or gives anything else than exactly one character.
    int decode(const unsigned char* bytes, std::size_t length) {
        const std::optional<std::string> output =
            m_iconv.convert(std::string(reinterpret_cast<const char*>(bytes), length));
        if (!output || output->size() != 4) {
            return 0;
        }
        auto at = [&output](std::size_t i) {
            return static_cast<unsigned>(static_cast<unsigned char>((*output)[i]));
        };
        const unsigned value = at(0) | at(1) << 8 | at(2) << 16;
        return at(3) == 0 ? static_cast<int>(value) : 0;
    }

private:
    test::Iconv m_iconv;
};

class JisIconvOracleTest : public test::SwitchesTest {};

TEST_F(JisIconvOracleTest, EucJpDecodingAgrees) {
    Decoder eucJp("EUC-JP");
    if (!eucJp.ok()) {
        GTEST_SKIP() << "iconv has no EUC-JP converter";
    }
    setSjisExtensions(false);
    int agreed = 0;
    for (int row = 0x21; row <= 0x7E; ++row) {
        for (int cell = 0x21; cell <= 0x7E; ++cell) {
            const int code = row * 256 + cell;
            const unsigned char pair[] = {static_cast<unsigned char>(row | 0x80),
                                          static_cast<unsigned char>(cell | 0x80)};
            const unsigned char triple[] = {0x8F, pair[0], pair[1]};
            const int platform0208 = eucJp.decode(pair, 2);
            const int platform0212 = eucJp.decode(triple, 3);
            EXPECT_EQ(Jc::jis0208ToUnicode(code), platform0208) << "JIS X 0208 " << hex(code);
            EXPECT_EQ(Jc::jis0212ToUnicode(code), platform0212) << "JIS X 0212 " << hex(code);
            agreed += (platform0208 != 0 ? 1 : 0) + (platform0212 != 0 ? 1 : 0);
        }
    }
    EXPECT_EQ(agreed, 6879 + 6067);
}

TEST_F(JisIconvOracleTest, Cp932DecodingAgreesExceptTheKnownCodes) {
    Decoder cp932("CP932");
    if (!cp932.ok()) {
        GTEST_SKIP() << "iconv has no CP932 converter";
    }
    setSjisExtensions(true);
    // Shift_JIS code -> what code page 932 gives where this library keeps
    // the JIS X 0208 character.
    const std::map<int, int> known{
        {0x8160, 0xFF5E}, // 0x2141 WAVE DASH
        {0x8161, 0x2225}, // 0x2142 DOUBLE VERTICAL LINE
        {0x817C, 0xFF0D}, // 0x215D MINUS SIGN
        {0x8191, 0xFFE0}, // 0x2171 CENT SIGN
        {0x8192, 0xFFE1}, // 0x2172 POUND SIGN
        {0x81CA, 0xFFE2}, // 0x224C NOT SIGN
    };
    int agreed = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead <= 0xDF) {
            continue;
        }
        // The user-defined area is outside this library's tables.
        if (lead >= 0xF0 && lead <= 0xF9) {
            continue;
        }
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) {
                continue;
            }
            const int sjis = lead * 256 + trail;
            const unsigned char pair[] = {static_cast<unsigned char>(lead),
                                          static_cast<unsigned char>(trail)};
            const int platform = cp932.decode(pair, 2);
            const int ours = Jc::jis0208ToUnicode(Jc::sjisToJis(lead, trail));
            const auto it = known.find(sjis);
            if (it != known.end()) {
                EXPECT_EQ(platform, it->second) << "Shift_JIS " << hex(sjis);
                EXPECT_NE(ours, platform) << "Shift_JIS " << hex(sjis);
                continue;
            }
            EXPECT_EQ(ours, platform) << "Shift_JIS " << hex(sjis);
            agreed += platform != 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(agreed, 6879 + 845 - static_cast<int>(known.size()));
}

} // namespace
} // namespace charsetkit
