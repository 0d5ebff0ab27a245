// Conversion from UTF-8 into EUC-JP, Shift_JIS and ISO-2022-JP: byte-exact
// output, the all-or-nothing rule, agreement with the C library's converters
// over every mapped character, and the round trip back to UTF-8.
#include <charsetkit/encodings/EucJpEncoding.h>
#include <charsetkit/encodings/JisEncoding.h>
#include <charsetkit/encodings/SjisEncoding.h>
#include <charsetkit/japanese/JapaneseConversions.h>

#include "japanese/JapaneseOutputBuffer.h"
#include "reference/ReferenceTranscoder.h"
#include "support/Bytes.h"
#include "support/Iconv.h"
#include "support/SwitchesTest.h"
#include "support/Utf8Writer.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using charsetkit::AbstractEncoding;
using charsetkit::JapaneseConversions;
using charsetkit::JapaneseOutputBuffer;
using charsetkit::test::hex;

const std::string kEscAscii = "\x1B(B";
const std::string kEscKana = "\x1B(I";
const std::string kEsc0208 = "\x1B$B";
const std::string kEsc0212 = "\x1B$(D";
const std::string kUntouched = "untouched";

const AbstractEncoding::EncodingID kTargets[] = {AbstractEncoding::EucJp, AbstractEncoding::Sjis,
                                                 AbstractEncoding::Jis};

std::string utf8(unsigned int cp) {
    return charsetkit::test::utf8({cp});
}

const char* targetName(AbstractEncoding::EncodingID target) {
    switch (target) {
    case AbstractEncoding::EucJp:
        return "EucJp";
    case AbstractEncoding::Sjis:
        return "Sjis";
    case AbstractEncoding::Jis:
        return "Jis";
    default:
        return "other";
    }
}

// Converts `size` bytes at `data`; on failure also checks that the output
// string kept its old content.
std::optional<std::string> convert(const char* data, std::size_t size,
                                   AbstractEncoding::EncodingID target) {
    std::string result = kUntouched;
    if (JapaneseConversions::utf8ToJapanese(data, static_cast<unsigned int>(size), target,
                                            result)) {
        return result;
    }
    EXPECT_EQ(result, kUntouched) << "failure changed the output; input "
                                  << hex(std::string(data, size));
    return std::nullopt;
}

std::optional<std::string> convert(const std::string& input, AbstractEncoding::EncodingID target) {
    return convert(input.data(), input.size(), target);
}

std::string describe(const std::optional<std::string>& outcome) {
    return outcome ? hex(*outcome) : "(failure)";
}

// Each test restores the Shift_JIS-extensions switch it found.
class TranscoderTest : public charsetkit::test::SwitchesTest {
protected:
    static void setExtensions(bool on) { setSjisExtensions(on); }
};

// Expected output per target; nullopt means the conversion fails.
struct ExactCase {
    const char* what;
    std::string input;
    std::optional<std::string> eucJp;
    std::optional<std::string> sjis;
    std::optional<std::string> jis;
};

void checkExact(const ExactCase& c) {
    const std::optional<std::string> expected[] = {c.eucJp, c.sjis, c.jis};
    for (int i = 0; i < 3; ++i) {
        const std::optional<std::string> actual = convert(c.input, kTargets[i]);
        EXPECT_EQ(describe(actual), describe(expected[i]))
            << c.what << ", target " << targetName(kTargets[i]) << ", input " << hex(c.input);
    }
}

TEST_F(TranscoderTest, WritesEachTargetByteForByte) {
    setExtensions(true);
    const std::string a = "\xE3\x81\x82";     // U+3042 HIRAGANA LETTER A, 0x2422
    const std::string i = "\xE3\x81\x84";     // U+3044 HIRAGANA LETTER I, 0x2424
    const std::string ka = "\xEF\xBD\xB1";    // U+FF71 HALFWIDTH KATAKANA LETTER A
    const std::string ki = "\xEF\xBD\xB2";    // U+FF72
    const std::string tilde = "\xEF\xBD\x9E"; // U+FF5E, JIS X 0212 only (0x2237)
    const std::string controls("\0\t\r\n\\~\x7F", 7);
    const ExactCase cases[] = {
        {"empty input", "", "", "", ""},
        {"ASCII needs no escape", "abc", "abc", "abc", "abc"},
        {"controls, backslash and tilde pass as single bytes", controls, controls, controls,
         controls},
        {"one JIS X 0208 character", a, "\xA4\xA2", "\x82\xA0", kEsc0208 + "$\"" + kEscAscii},
        {"return to ASCII before a single byte", a + "x", "\xA4\xA2x", "\x82\xA0x",
         kEsc0208 + "$\"" + kEscAscii + "x"},
        {"consecutive JIS X 0208 characters share one escape", a + i, "\xA4\xA2\xA4\xA4",
         "\x82\xA0\x82\xA2", kEsc0208 + "$\"$$" + kEscAscii},
        {"a line end between characters", a + "\n" + i, "\xA4\xA2\n\xA4\xA4", "\x82\xA0\n\x82\xA2",
         kEsc0208 + "$\"" + kEscAscii + "\n" + kEsc0208 + "$$" + kEscAscii},
        {"half-width katakana", ka, "\x8E\xB1", "\xB1", kEscKana + "1" + kEscAscii},
        {"katakana run, then JIS X 0208", ka + ki + a, "\x8E\xB1\x8E\xB2\xA4\xA2",
         "\xB1\xB2\x82\xA0", kEscKana + "12" + kEsc0208 + "$\"" + kEscAscii},
        {"JIS X 0212", tilde, "\x8F\xA2\xB7", std::nullopt, kEsc0212 + "\"7" + kEscAscii},
        {"JIS X 0212 and JIS X 0208 alternate", tilde + a + tilde,
         "\x8F\xA2\xB7\xA4\xA2\x8F\xA2\xB7", std::nullopt,
         kEsc0212 + "\"7" + kEsc0208 + "$\"" + kEsc0212 + "\"7" + kEscAscii},
        {"two-byte UTF-8 in JIS X 0208 (U+00A7)", "\xC2\xA7", "\xA1\xF8", "\x81\x98",
         kEsc0208 + "!x" + kEscAscii},
        {"two-byte UTF-8 in JIS X 0212 (U+00A1)", "\xC2\xA1", "\x8F\xA2\xC2", std::nullopt,
         kEsc0212 + "\"B" + kEscAscii},
        {"U+301C WAVE DASH and U+FF3C FULLWIDTH REVERSE SOLIDUS", "\xE3\x80\x9C\xEF\xBC\xBC",
         "\xA1\xC1\xA1\xC0", "\x81\x60\x81\x5F", kEsc0208 + "!A!@" + kEscAscii},
        {"Shift_JIS lead bytes above 0x9F (0x5F21, 0x7426)", "\xE6\xBC\xBE\xE7\x86\x99",
         "\xDF\xA1\xF4\xA6", "\xE0\x40\xEA\xA4", kEsc0208 + "_!t&" + kEscAscii},
    };
    for (const ExactCase& c : cases) {
        checkExact(c);
    }
}

TEST_F(TranscoderTest, ExtensionCharactersFollowTheSwitch) {
    // U+2160 ROMAN NUMERAL ONE: NEC row 0x2D only. U+2116 NUMERO SIGN and
    // U+7E8A: an extension code and a JIS X 0212 code. U+2170 SMALL ROMAN
    // NUMERAL ONE: NEC-selected IBM row 0x7C only. U+221A SQUARE ROOT: a NEC
    // copy of a JIS X 0208 symbol, which keeps its JIS X 0208 code. U+FFE2
    // FULLWIDTH NOT SIGN: only an extension code (0x224C is U+00AC here).
    const ExactCase on[] = {
        {"U+2160", "\xE2\x85\xA0", "\xAD\xB5", "\x87\x54", kEsc0208 + "-5" + kEscAscii},
        {"U+2116", "\xE2\x84\x96", "\xAD\xE2", "\x87\x82", kEsc0208 + "-b" + kEscAscii},
        {"U+7E8A", "\xE7\xBA\x8A", "\xF9\xA1", "\xED\x40", kEsc0208 + "y!" + kEscAscii},
        {"U+2170", "\xE2\x85\xB0", "\xFC\xF1", "\xEE\xEF", kEsc0208 + "|q" + kEscAscii},
        {"U+221A", "\xE2\x88\x9A", "\xA2\xE5", "\x81\xE3", kEsc0208 + "\"e" + kEscAscii},
        {"U+FFE2", "\xEF\xBF\xA2", "\xFC\xFB", "\xEE\xF9", kEsc0208 + "|{" + kEscAscii},
    };
    const ExactCase off[] = {
        {"U+2160", "\xE2\x85\xA0", std::nullopt, std::nullopt, std::nullopt},
        {"U+2116", "\xE2\x84\x96", "\x8F\xA2\xF1", std::nullopt, kEsc0212 + "\"q" + kEscAscii},
        {"U+7E8A", "\xE7\xBA\x8A", "\x8F\xD4\xE3", std::nullopt, kEsc0212 + "Tc" + kEscAscii},
        {"U+2170", "\xE2\x85\xB0", std::nullopt, std::nullopt, std::nullopt},
        {"U+221A", "\xE2\x88\x9A", "\xA2\xE5", "\x81\xE3", kEsc0208 + "\"e" + kEscAscii},
        {"U+FFE2", "\xEF\xBF\xA2", std::nullopt, std::nullopt, std::nullopt},
    };
    // The switch is read at every conversion, so toggling it between calls
    // takes effect at once.
    for (int round = 0; round < 2; ++round) {
        setExtensions(true);
        for (const ExactCase& c : on) {
            checkExact(c);
        }
        setExtensions(false);
        for (const ExactCase& c : off) {
            checkExact(c);
        }
    }
}

TEST_F(TranscoderTest, FailsWholeAndLeavesResultUntouched) {
    setExtensions(true);
    const std::string inputs[] = {
        "\xC2\xA5",              // U+00A5 YEN SIGN: no code in any set
        "a\xE3\x81\x82\xC2\xA5", // converted text before it is not kept
        "a\xF0\x9F\x98\x80",     // four-byte character
        "\xF8\x88\x80\x80\x80",  // five-byte form
        "abc\x80",               // stray continuation byte
        "\xC0\xAF",              // overlong two-byte form
        "\xE0\x80\x80",          // overlong three-byte form
        "\xE3\x41",              // lead byte without its continuation
        "\xED\xA0\x80",          // surrogate: well formed, but unmapped
        "\xFE",
        "\xFF",
        "a\x1B(Bb", // ESC
        "a\x0E"
        "b",
        "a\x0F"
        "b", // SO, SI
    };
    for (const std::string& input : inputs) {
        for (AbstractEncoding::EncodingID target : kTargets) {
            EXPECT_FALSE(convert(input, target))
                << "target " << targetName(target) << ", input " << hex(input);
        }
    }
}

TEST_F(TranscoderTest, RejectsUnsupportedTargetsAndNullInput) {
    for (int value : {0, -1, 1, 2, 6, 7}) {
        const auto target = static_cast<AbstractEncoding::EncodingID>(value);
        EXPECT_FALSE(convert("abc", target)) << "target " << value;
        EXPECT_FALSE(convert("", target)) << "target " << value;
    }
    std::string result = kUntouched;
    EXPECT_FALSE(JapaneseConversions::utf8ToJapanese(nullptr, 3, AbstractEncoding::EucJp, result));
    EXPECT_EQ(result, kUntouched);
    EXPECT_TRUE(JapaneseConversions::utf8ToJapanese(nullptr, 0, AbstractEncoding::EucJp, result));
    EXPECT_EQ(result, "");
}

TEST_F(TranscoderTest, DropsASequenceCutShortAtTheEnd) {
    const ExactCase cases[] = {
        {"two bytes of a three-byte character", "a\xE3\x81", "a", "a", "a"},
        {"after a JIS X 0208 character", "\xE3\x81\x82\xE3\x81", "\xA4\xA2", "\x82\xA0",
         kEsc0208 + "$\"" + kEscAscii},
        {"a lone two-byte lead", "\xC3", "", "", ""},
        {"three bytes of a four-byte character", "a\xF0\x9F\x98", "a", "a", "a"},
    };
    for (const ExactCase& c : cases) {
        checkExact(c);
    }
}

TEST_F(TranscoderTest, ReplacesResultAndMayReadFromIt) {
    std::string result = "old text";
    ASSERT_TRUE(JapaneseConversions::utf8ToJapanese("x", 1, AbstractEncoding::Sjis, result));
    EXPECT_EQ(result, "x");

    // The input may live in the output string itself.
    result = "a\xE3\x81\x82";
    ASSERT_TRUE(JapaneseConversions::utf8ToJapanese(
        result.data(), static_cast<unsigned int>(result.size()), AbstractEncoding::Jis, result));
    EXPECT_EQ(hex(result), hex("a" + kEsc0208 + "$\"" + kEscAscii));
}

// The library copies runs of plain ASCII in one go; the plain reference
// feeds every byte to the machine. Both must give the same result.
void checkAgainstReference(const std::string& storage, std::size_t offset) {
    const std::string input = storage.substr(offset);
    for (AbstractEncoding::EncodingID target : kTargets) {
        EXPECT_EQ(describe(convert(storage.data() + offset, input.size(), target)),
                  describe(charsetkit::reference::utf8ToJapanese(input, target)))
            << targetName(target) << ", input " << hex(input);
    }
}

TEST_F(TranscoderTest, AsciiRunsMatchThePlainConversion) {
    // Something other than plain ASCII at each position 0-63 of an ASCII text
    // that starts at each offset 0-15 of its storage.
    const std::string breakers[] = {"\xE3\x81\x82", "\xEF\xBD\xB1", "\xC2\xA1", "\xE3\x81",
                                    "\xC2\xA5",     "\x80",         "\x1B",     "\x0F"};
    std::string ascii;
    for (int k = 0; k < 70; ++k) {
        ascii += static_cast<char>(0x20 + (k * 7) % 0x5F);
    }
    for (const std::string& breaker : breakers) {
        for (std::size_t offset = 0; offset < 16; ++offset) {
            for (std::size_t position = 0; position < 64; ++position) {
                std::string text = ascii;
                text.insert(position, breaker);
                checkAgainstReference(std::string(offset, 'p') + text, offset);
                if (HasFailure()) {
                    return;
                }
            }
        }
    }
}

TEST_F(TranscoderTest, MutatedTextMatchesThePlainConversion) {
    const std::string pieces[] = {"<p class=\"x\">", "\xE3\x81\x82", "\xE6\x97\xA5", "\xEF\xBD\xB1",
                                  "\xEF\xBD\x9E",    "\n",           "abc def ",     "\xC2\xA7"};
    std::mt19937 random(4242);
    for (int n = 0; n < 20; ++n) {
        std::string text;
        while (text.size() < 200) {
            text += pieces[random() % 8];
        }
        checkAgainstReference(text, 0);
        for (std::size_t position = 0; position < text.size(); ++position) {
            std::string mutated = text;
            mutated[position] = static_cast<char>(random() & 0xFF);
            checkAgainstReference(mutated, 0);
            if (HasFailure()) {
                return;
            }
        }
    }
}

TEST(JapaneseOutputBufferTest, RefusesCharactersWithoutAForm) {
    using CV = JapaneseConversions::CharsetVersion;
    JapaneseOutputBuffer sjis(AbstractEncoding::Sjis, 0);
    EXPECT_FALSE(sjis.appendJis(0x22, 0x37, CV::CharsetJis0212));
    JapaneseOutputBuffer euc(AbstractEncoding::EucJp, 0);
    EXPECT_FALSE(euc.appendJis(0x93, 0x21, CV::CharsetJis0208)); // row without a 7-bit form
    EXPECT_FALSE(euc.appendJis(0x21, 0x7F, CV::CharsetJis0208));
    EXPECT_FALSE(euc.appendJis(0x21, 0x20, CV::CharsetJis0212));
    EXPECT_FALSE(euc.appendJis(0, 0x60, CV::CharsetJis0201));
    EXPECT_FALSE(euc.appendJis(0x24, 0x22, CV::CharsetAscii));
    JapaneseOutputBuffer jis(AbstractEncoding::Jis, 0);
    EXPECT_FALSE(jis.appendJis(0x24, 0x22, static_cast<CV>(4)));
    EXPECT_EQ(hex(sjis.finish() + euc.finish() + jis.finish()), hex(""));
    EXPECT_EQ(jis.current(), CV::CharsetAscii);
}

TEST(JapaneseOutputBufferTest, UnsupportedTargetAndUnknownSetWriteNothing) {
    using CV = JapaneseConversions::CharsetVersion;
    // A target the buffer has no form for refuses every valid character.
    for (const AbstractEncoding::EncodingID target :
         {AbstractEncoding::Utf8, AbstractEncoding::EucKr,
          static_cast<AbstractEncoding::EncodingID>(0)}) {
        ASSERT_FALSE(JapaneseOutputBuffer::isSupportedTarget(target));
        JapaneseOutputBuffer other(target, 0);
        EXPECT_FALSE(other.appendJis(0x24, 0x22, CV::CharsetJis0208)) << target;
        EXPECT_FALSE(other.appendJis(0, 0xB1, CV::CharsetJis0201)) << target;
        EXPECT_EQ(other.current(), CV::CharsetAscii) << target;
        EXPECT_EQ(hex(other.finish()), hex("")) << target;
    }
    // The designation of a set outside the table is nothing at all.
    JapaneseOutputBuffer jis(AbstractEncoding::Jis, 0);
    jis.appendEscape(static_cast<CV>(4));
    jis.appendEscape(static_cast<CV>(-1));
    ASSERT_TRUE(jis.appendJis(0x24, 0x22, CV::CharsetJis0208));
    EXPECT_EQ(jis.current(), CV::CharsetJis0208);
    EXPECT_EQ(hex(jis.finish()), hex("\x1B$B$\"\x1B(B"));
}

// ---------------------------------------------------------------------------
// Every mapped character, compared with the C library's converters.

enum class CharSet { Jis0208, Jis0212, Extensions, Katakana, Ascii };

struct Character {
    unsigned int code;    // JIS code (7-bit form) or single byte
    unsigned int unicode; // code point
    unsigned int sjis;    // Shift_JIS code, 0 when none
};

// Shift_JIS pair of a JIS X 0208 row and cell, computed here independently.
unsigned int sjisOf(unsigned int code) {
    const unsigned int row = code >> 8;
    const unsigned int cell = code & 0xFF;
    const unsigned int lead = ((row + 1) >> 1) + (row < 0x5F ? 0x70 : 0xB0);
    unsigned int trail = cell + 0x7E;
    if (row & 1) {
        trail = cell + (cell <= 0x5F ? 0x1F : 0x20);
    }
    return lead << 8 | trail;
}

std::vector<Character> loadMapping(const char* file, bool jis0208) {
    std::vector<Character> characters;
    std::ifstream in(std::string(CHARSETKIT_SOURCE_DIR) + "/data/jis/" + file);
    EXPECT_TRUE(in.is_open()) << file;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream fields(line);
        Character c{0, 0, 0};
        fields >> std::hex >> c.code >> c.unicode >> c.sjis;
        if (jis0208) {
            c.sjis = sjisOf(c.code);
        }
        characters.push_back(c);
    }
    return characters;
}

const std::vector<Character>& characters(CharSet set) {
    static const std::vector<Character> jis0208 = loadMapping("jis0208.txt", true);
    static const std::vector<Character> jis0212 = loadMapping("jis0212.txt", false);
    static const std::vector<Character> extensions = loadMapping("cp932-extensions.txt", false);
    static const std::vector<Character> katakana = [] {
        std::vector<Character> list;
        for (unsigned int byte = 0xA1; byte <= 0xDF; ++byte) {
            list.push_back({byte, byte + 0xFEC0, byte});
        }
        return list;
    }();
    static const std::vector<Character> ascii = [] {
        std::vector<Character> list;
        for (unsigned int byte = 0; byte < 0x80; ++byte) {
            if (byte != 0x0E && byte != 0x0F && byte != 0x1B) {
                list.push_back({byte, byte, byte});
            }
        }
        return list;
    }();
    switch (set) {
    case CharSet::Jis0208:
        return jis0208;
    case CharSet::Jis0212:
        return jis0212;
    case CharSet::Extensions:
        return extensions;
    case CharSet::Katakana:
        return katakana;
    default:
        return ascii;
    }
}

// The Unicode value of every Shift_JIS code of code page 932 (JIS X 0208
// and the extension rows), from the mapping files.
const std::map<unsigned int, unsigned int>& cp932ToUnicode() {
    static const std::map<unsigned int, unsigned int> map = [] {
        std::map<unsigned int, unsigned int> m;
        for (CharSet set : {CharSet::Jis0208, CharSet::Extensions}) {
            for (const Character& c : characters(set)) {
                m[c.sjis] = c.unicode;
            }
        }
        return m;
    }();
    return map;
}

std::set<unsigned int> unicodeSet(CharSet set) {
    std::set<unsigned int> values;
    for (const Character& c : characters(set)) {
        values.insert(c.unicode);
    }
    return values;
}

// The documented ways in which our output differs from the C library's.
enum Difference {
    // EUC-JP / ISO-2022-JP: we write a code page 932 extension code (row 0x2D
    // or 0x79-0x7C) as an ordinary double-byte character; the C library has
    // no such rows there and fails or writes the JIS X 0212 code.
    ExtensionCode,
    // Shift_JIS: both write a code page 932 code of the same character; we
    // take the lowest (NEC row 13 and NEC-selected IBM rows before the IBM
    // rows), the C library prefers the IBM rows.
    Cp932Duplicate,
    // Shift_JIS: code page 932 gives six JIS X 0208 codes other characters
    // than our table does (0x2141 U+FF5E, 0x2142 U+2225, 0x215D U+FF0D,
    // 0x2171 U+FFE0, 0x2172 U+FFE1, 0x224C U+FFE2). For those characters the C
    // library writes that JIS X 0208 code, which means another character to
    // us; we write their extension code (U+FFE2 as 0xEEF9) or fail (U+FF5E,
    // whose only code is JIS X 0212).
    Cp932OtherMapping,
    // Shift_JIS with the extensions switched off: we fail where the C library
    // writes an extension code.
    Cp932ExtensionsOff,
    Unexplained,
    DifferenceCount
};

unsigned int pairOf(const std::string& bytes) {
    if (bytes.size() != 2) {
        return 0;
    }
    return static_cast<unsigned int>(static_cast<unsigned char>(bytes[0])) << 8 |
           static_cast<unsigned char>(bytes[1]);
}

bool isExtensionRow(unsigned int row) {
    return row == 0x2D || (row >= 0x79 && row <= 0x7C);
}

bool isCp932ExtensionLead(unsigned int lead) {
    return lead == 0x87 || lead == 0xED || lead == 0xEE || (lead >= 0xFA && lead <= 0xFC);
}

Difference classify(AbstractEncoding::EncodingID target, bool extensions, unsigned int unicode,
                    const std::optional<std::string>& ours,
                    const std::optional<std::string>& theirs) {
    const auto& cp932 = cp932ToUnicode();
    if (target == AbstractEncoding::Sjis) {
        const auto theirCode = cp932.find(theirs ? pairOf(*theirs) : 0);
        const bool theirsIsCp932 = theirCode != cp932.end() && theirCode->second == unicode;
        if (ours && theirsIsCp932 && pairOf(*ours) < theirCode->first) {
            const auto ourCode = cp932.find(pairOf(*ours));
            if (ourCode != cp932.end() && ourCode->second == unicode) {
                return Cp932Duplicate;
            }
        }
        const bool remapped = unicode == 0xFF5E || unicode == 0x2225 || unicode == 0xFF0D ||
                              unicode == 0xFFE0 || unicode == 0xFFE1 || unicode == 0xFFE2;
        if (remapped && theirCode != cp932.end() && theirCode->second != unicode &&
            (theirCode->first >> 8) < 0x87) {
            return Cp932OtherMapping;
        }
        if (!ours && !extensions && theirsIsCp932 && isCp932ExtensionLead(theirCode->first >> 8)) {
            return Cp932ExtensionsOff;
        }
        return Unexplained;
    }
    if (extensions && ours) {
        unsigned int row = 0;
        if (target == AbstractEncoding::EucJp && ours->size() == 2) {
            row = static_cast<unsigned char>((*ours)[0]) & 0x7Fu;
        } else if (target == AbstractEncoding::Jis && ours->compare(0, 3, kEsc0208) == 0 &&
                   ours->size() == 8) {
            row = static_cast<unsigned char>((*ours)[3]);
        }
        if (isExtensionRow(row)) {
            return ExtensionCode;
        }
    }
    return Unexplained;
}

struct DifferentialCase {
    const char* name;
    CharSet set;
    AbstractEncoding::EncodingID target;
    const char* charset;
    bool extensions;
    std::array<int, DifferenceCount> expected; // per Difference
};

class TranscoderDifferentialTest : public TranscoderTest,
                                   public ::testing::WithParamInterface<DifferentialCase> {};

TEST_P(TranscoderDifferentialTest, AgreesWithIconvExceptAtListedDifferences) {
    const DifferentialCase& c = GetParam();
    charsetkit::test::Iconv iconv(c.charset, "UTF-8");
    if (!iconv.ok()) {
        GTEST_SKIP() << "no converter for " << c.charset;
    }
    setExtensions(c.extensions);
    std::array<int, DifferenceCount> found{};
    for (const Character& ch : characters(c.set)) {
        const std::string input = utf8(ch.unicode);
        const std::optional<std::string> ours = convert(input, c.target);
        const std::optional<std::string> theirs = iconv.convert(input);
        if (ours == theirs) {
            continue;
        }
        const Difference d = classify(c.target, c.extensions, ch.unicode, ours, theirs);
        ++found[d];
        if (d == Unexplained) {
            ADD_FAILURE() << "U+" << std::hex << ch.unicode << " (code " << ch.code << "): ours "
                          << describe(ours) << ", " << c.charset << " " << describe(theirs);
        }
    }
    for (int d = 0; d < DifferenceCount; ++d) {
        EXPECT_EQ(found[static_cast<std::size_t>(d)], c.expected[static_cast<std::size_t>(d)])
            << "difference kind " << d;
    }
}

using E = AbstractEncoding;
// Expected counts: {ExtensionCode, Cp932Duplicate, Cp932OtherMapping,
// Cp932ExtensionsOff, Unexplained}.
const DifferentialCase kDifferentialCases[] = {
    {"Jis0208_EucJp", CharSet::Jis0208, E::EucJp, "EUC-JP", true, {}},
    {"Jis0208_Sjis", CharSet::Jis0208, E::Sjis, "CP932", true, {}},
    {"Jis0208_Jis", CharSet::Jis0208, E::Jis, "ISO-2022-JP", true, {}},
    {"Jis0208_Sjis_ExtOff", CharSet::Jis0208, E::Sjis, "CP932", false, {}},
    {"Jis0212_EucJp", CharSet::Jis0212, E::EucJp, "EUC-JP", true, {280, 0, 0, 0, 0}},
    {"Jis0212_Sjis", CharSet::Jis0212, E::Sjis, "CP932", true, {0, 279, 1, 0, 0}},
    {"Jis0212_Jis", CharSet::Jis0212, E::Jis, "ISO-2022-JP-2", true, {280, 0, 0, 0, 0}},
    {"Jis0212_EucJp_ExtOff", CharSet::Jis0212, E::EucJp, "EUC-JP", false, {}},
    {"Jis0212_Sjis_ExtOff", CharSet::Jis0212, E::Sjis, "CP932", false, {0, 0, 1, 280, 0}},
    {"Jis0212_Jis_ExtOff", CharSet::Jis0212, E::Jis, "ISO-2022-JP-2", false, {}},
    {"Extensions_EucJp", CharSet::Extensions, E::EucJp, "EUC-JP", true, {835, 0, 0, 0, 0}},
    {"Extensions_Sjis", CharSet::Extensions, E::Sjis, "CP932", true, {0, 746, 2, 0, 0}},
    {"Extensions_Jis", CharSet::Extensions, E::Jis, "ISO-2022-JP", true, {835, 0, 0, 0, 0}},
    {"Extensions_EucJp_ExtOff", CharSet::Extensions, E::EucJp, "EUC-JP", false, {}},
    {"Extensions_Sjis_ExtOff", CharSet::Extensions, E::Sjis, "CP932", false, {0, 0, 2, 833, 0}},
    {"Katakana_EucJp", CharSet::Katakana, E::EucJp, "EUC-JP", true, {}},
    {"Katakana_Sjis", CharSet::Katakana, E::Sjis, "CP932", true, {}},
    {"Katakana_Jis", CharSet::Katakana, E::Jis, "ISO-2022-JP-3", true, {}},
    {"Ascii_EucJp", CharSet::Ascii, E::EucJp, "EUC-JP", true, {}},
    {"Ascii_Sjis", CharSet::Ascii, E::Sjis, "CP932", true, {}},
    {"Ascii_Jis", CharSet::Ascii, E::Jis, "ISO-2022-JP", true, {}},
};

INSTANTIATE_TEST_SUITE_P(EveryCharacter, TranscoderDifferentialTest,
                         ::testing::ValuesIn(kDifferentialCases),
                         [](const ::testing::TestParamInfo<DifferentialCase>& param) {
                             return std::string(param.param.name);
                         });

// Random mixtures of ASCII, JIS X 0208, JIS X 0212 and katakana (fixed seed)
// check escape placement against the C library. Each pool holds only
// characters on which the two agree one by one.
TEST_F(TranscoderTest, MixedTextAgreesWithIconv) {
    setExtensions(true);
    const std::set<unsigned int> extensionValues = unicodeSet(CharSet::Extensions);
    std::vector<unsigned int> jis0212;
    for (const Character& c : characters(CharSet::Jis0212)) {
        if (extensionValues.count(c.unicode) == 0) {
            jis0212.push_back(c.unicode);
        }
    }
    const auto values = [](CharSet set) {
        std::vector<unsigned int> list;
        for (const Character& c : characters(set)) {
            list.push_back(c.unicode);
        }
        return list;
    };
    std::vector<unsigned int> ascii;
    for (unsigned int byte = 0x20; byte < 0x7F; ++byte) {
        ascii.push_back(byte);
    }
    ascii.push_back('\n');
    // In JIS X 0212 mode the C library writes '~' as 0x2237, which its table
    // maps to U+007E and ours to U+FF5E; we always write '~' in ASCII.
    std::vector<unsigned int> asciiNoTilde;
    for (unsigned int byte : ascii) {
        if (byte != '~') {
            asciiNoTilde.push_back(byte);
        }
    }
    const std::vector<unsigned int> jis0208 = values(CharSet::Jis0208);
    const std::vector<unsigned int> katakana = values(CharSet::Katakana);

    struct Pool {
        AbstractEncoding::EncodingID target;
        const char* charset;
        std::vector<const std::vector<unsigned int>*> sets;
    };
    const Pool pools[] = {
        {E::EucJp, "EUC-JP", {&ascii, &jis0208, &jis0212, &katakana}},
        {E::Sjis, "CP932", {&ascii, &jis0208, &katakana}},
        {E::Jis, "ISO-2022-JP-2", {&asciiNoTilde, &jis0208, &jis0212}},
        {E::Jis, "ISO-2022-JP-3", {&ascii, &jis0208, &katakana}},
    };
    std::mt19937 random(20240611);
    for (const Pool& pool : pools) {
        charsetkit::test::Iconv iconv(pool.charset, "UTF-8");
        if (!iconv.ok()) {
            std::printf("skipped: no converter for %s\n", pool.charset);
            continue;
        }
        for (int n = 0; n < 500; ++n) {
            std::string input;
            const unsigned int count = 1 + random() % 16;
            for (unsigned int k = 0; k < count; ++k) {
                const std::vector<unsigned int>& set = *pool.sets[random() % pool.sets.size()];
                input += utf8(set[random() % set.size()]);
            }
            const std::optional<std::string> ours = convert(input, pool.target);
            const std::optional<std::string> theirs = iconv.convert(input);
            ASSERT_EQ(describe(ours), describe(theirs)) << pool.charset << ", input " << hex(input);
        }
    }
}

// ---------------------------------------------------------------------------
// Round trip through the Japanese encodings' own conversion to UTF-8.

const AbstractEncoding& encodingFor(AbstractEncoding::EncodingID target) {
    static const charsetkit::EucJpEncoding eucJp;
    static const charsetkit::SjisEncoding sjis;
    static const charsetkit::JisEncoding jis;
    if (target == AbstractEncoding::EucJp) {
        return eucJp;
    }
    return target == AbstractEncoding::Sjis ? static_cast<const AbstractEncoding&>(sjis) : jis;
}

// Converts `input` to `target` and back; checks that the text comes back
// unchanged and that the output verifies, with the strictest escape limits
// for ISO-2022-JP (no redundant designation, no two designations in a row).
void checkRoundTrip(const std::string& input, AbstractEncoding::EncodingID target) {
    const std::optional<std::string> encoded = convert(input, target);
    ASSERT_TRUE(encoded) << targetName(target) << ", input " << hex(input);
    const AbstractEncoding& encoding = encodingFor(target);
    std::string decoded;
    bool unmapped = false;
    ASSERT_TRUE(encoding.convertToUtf8(encoded->data(), static_cast<unsigned int>(encoded->size()),
                                       decoded, unmapped, false));
    EXPECT_FALSE(unmapped) << targetName(target) << ", input " << hex(input);
    EXPECT_EQ(hex(decoded), hex(input)) << targetName(target) << ", encoded " << hex(*encoded);
    EXPECT_TRUE(
        encoding.verify(encoded->data(), static_cast<unsigned int>(encoded->size()), true, true, 1))
        << targetName(target) << ", encoded " << hex(*encoded);
}

TEST_F(TranscoderTest, EveryMappedCharacterRoundTrips) {
    for (bool extensions : {true, false}) {
        setExtensions(extensions);
        const std::set<unsigned int> jis0208 = unicodeSet(CharSet::Jis0208);
        const std::set<unsigned int> jis0212 = unicodeSet(CharSet::Jis0212);
        const std::set<unsigned int> extra = unicodeSet(CharSet::Extensions);
        for (AbstractEncoding::EncodingID target : kTargets) {
            std::string text;
            for (CharSet set :
                 {CharSet::Jis0208, CharSet::Jis0212, CharSet::Extensions, CharSet::Katakana}) {
                for (const Character& c : characters(set)) {
                    const unsigned int u = c.unicode;
                    const bool viaJis0208 = jis0208.count(u) || (extensions && extra.count(u));
                    const bool convertible = viaJis0208 || set == CharSet::Katakana ||
                                             (target != AbstractEncoding::Sjis && jis0212.count(u));
                    if (!convertible) {
                        EXPECT_FALSE(convert(utf8(u), target)) << "U+" << std::hex << u;
                        continue;
                    }
                    checkRoundTrip(utf8(u), target);
                    if (HasFailure()) {
                        return; // one report is enough
                    }
                    // Interleave ASCII so the whole text also crosses every
                    // kind of set change.
                    text += utf8(u);
                    if (u % 7 == 0) {
                        text += "<p>\n";
                    }
                }
            }
            checkRoundTrip(text, target);
        }
    }
}

} // namespace
