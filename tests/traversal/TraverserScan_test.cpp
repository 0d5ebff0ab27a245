// The library's traversers (inline steps, advanceTo searching for its byte)
// against their plain twins, which step one advance() at a time through the
// detector machines or a byte test: every observable field after every call
// must be the same, and so must percent decoding and the charset checker.
#include <charsetkit/locales/JapaneseLocale.h>
#include <charsetkit/traversal/AsciiTraverser.h>
#include <charsetkit/traversal/CharsetChecker.h>
#include <charsetkit/traversal/EucJpTraverser.h>
#include <charsetkit/traversal/EucKrTraverser.h>
#include <charsetkit/traversal/JisTraverser.h>
#include <charsetkit/traversal/SjisTraverser.h>
#include <charsetkit/traversal/TraverserUtils.h>
#include <charsetkit/traversal/Utf16BigTraverser.h>
#include <charsetkit/traversal/Utf16LittleTraverser.h>
#include <charsetkit/traversal/Utf8Traverser.h>

#include "reference/PlainTraversers.h"
#include "support/SwitchesTest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace charsetkit {
namespace {

using Owned = std::unique_ptr<AbstractTraverser>;

struct Kind {
    const char* name;
    AbstractTraverser* (*fast)();
    AbstractTraverser* (*plain)();
    bool kana;          // the single-byte katakana setting while it runs
    const char* sample; // a file of samples/ in its encoding
    int unitOrder;      // 0 bytes; 1 or 2 UTF-16 units, big or little endian
};

std::ostream& operator<<(std::ostream& os, const Kind& kind) {
    return os << kind.name;
}

std::string hex(const std::string& bytes) {
    std::string out;
    char digits[4];
    for (char c : bytes) {
        std::snprintf(digits, sizeof digits, "%02X ", static_cast<unsigned char>(c));
        out += digits;
    }
    return out;
}

std::string state(const AbstractTraverser& t) {
    std::string s = t.isEnd() ? "end" : "at " + std::to_string(t.getPos() - t.getBufferStart());
    return s + (t.skipped() ? " skipped" : "");
}

// Fields of two traversers bound to the same buffer.
::testing::AssertionResult same(const AbstractTraverser& fast, const AbstractTraverser& plain) {
    if (fast.getPos() == plain.getPos() && fast.skipped() == plain.skipped() &&
        fast.isEnd() == plain.isEnd() && fast.isStart() == plain.isStart() &&
        fast.getBufferStart() == plain.getBufferStart() &&
        fast.getBufferEnd() == plain.getBufferEnd()) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "fast " << state(fast) << ", plain " << state(plain);
}

// A copy of `t`'s binding and position in a new traverser of the same class
// (every traverser is the five fields of the base).
Owned clone(const AbstractTraverser& t) {
    Owned copy(t.createNew());
    static_cast<AbstractTraverser&>(*copy) = t;
    return copy;
}

class TraverserTwins : public test::SwitchesTest, public ::testing::WithParamInterface<Kind> {
protected:
    void SetUp() override {
        test::SwitchesTest::SetUp();
        JapaneseLocale::setSupportSingleByteKana(GetParam().kana);
        fast.reset(GetParam().fast());
        plain.reset(GetParam().plain());
    }

    // The test text in the traverser's code units: for UTF-16, most bytes
    // become units of their own, the others stay single bytes so that units
    // above 0x7F and odd alignments are met too.
    std::string adapt(const std::string& text) const {
        if (GetParam().unitOrder == 0) {
            return text;
        }
        std::string out;
        std::size_t i = 0;
        for (char c : text) {
            if (++i % 7 == 0) {
                out += c;
            } else if (GetParam().unitOrder == 1) {
                out += '\0';
                out += c;
            } else {
                out += c;
                out += '\0';
            }
        }
        return out;
    }

    void bind(const std::string& bytes) {
        fast->setNewBuffer(bytes.data(), static_cast<int>(bytes.size()));
        plain->setNewBuffer(bytes.data(), static_cast<int>(bytes.size()));
    }

    // Both walks, stop by stop.
    ::testing::AssertionResult sameWalk(const std::string& bytes) {
        bind(bytes);
        for (std::size_t steps = 0; steps <= bytes.size() + 1; ++steps) {
            ::testing::AssertionResult r = same(*fast, *plain);
            if (!r) {
                return r << " after " << steps << " steps over " << hex(bytes);
            }
            if (fast->isEnd()) {
                break;
            }
            if (fast->advance() != fast->getPos()) {
                return ::testing::AssertionFailure() << "advance returned another position";
            }
            plain->advance();
        }
        return ::testing::AssertionSuccess();
    }

    // advanceTo(target) called again and again from the binding on.
    ::testing::AssertionResult sameJumps(const std::string& bytes, char target) {
        bind(bytes);
        for (std::size_t calls = 0; calls <= bytes.size() + 1; ++calls) {
            if (fast->advanceTo(target) != fast->getPos()) {
                return ::testing::AssertionFailure() << "advanceTo returned another position";
            }
            plain->advanceTo(target);
            ::testing::AssertionResult r = same(*fast, *plain);
            if (!r) {
                return r << " after " << calls + 1 << " jumps to " << hex(std::string(1, target))
                         << "over " << hex(bytes);
            }
            if (fast->isEnd()) {
                break;
            }
        }
        return ::testing::AssertionSuccess();
    }

    // advanceTo(target) for every target value from every stop.
    ::testing::AssertionResult sameFromEveryStop(const std::string& bytes) {
        bind(bytes);
        std::vector<Owned> stops;
        for (std::size_t steps = 0; steps <= bytes.size() + 1; ++steps) {
            stops.push_back(clone(*plain));
            if (plain->isEnd()) {
                break;
            }
            plain->advance();
        }
        for (const Owned& stop : stops) {
            for (int value = 0; value < 256; ++value) {
                const char target = static_cast<char>(value);
                Owned f = clone(*stop);
                static_cast<AbstractTraverser&>(*fast) = *stop;
                fast->advanceTo(target);
                f->advanceTo(target); // the plain loop of the twin class
                ::testing::AssertionResult r = same(*fast, *f);
                if (!r) {
                    return r << " jumping to " << hex(std::string(1, target)) << "from "
                             << state(*stop) << " over " << hex(bytes);
                }
            }
        }
        return ::testing::AssertionSuccess();
    }

    // checkBuffer over `in` against the plain loop that looks at every stop.
    ::testing::AssertionResult sameCheck(const std::string& in, const bool* allowed,
                                         const bool* seenOnEntry, bool checkEscapes,
                                         bool acceptPercent, AbstractTraverser& traverser) {
        const int length = static_cast<int>(in.size());
        bool seen[256];
        std::copy(seenOnEntry, seenOnEntry + 256, seen);
        char report[256];
        char* reportPointer = report;
        int count = -1;
        bool badEscape = false;
        std::string badEscapeText = "old";
        CharsetChecker().checkBuffer(allowed, checkEscapes, in.data(), length, &reportPointer,
                                     &count, seen, &badEscape, &traverser, &badEscapeText,
                                     acceptPercent);
        const reference::CheckResult expected = reference::plainCheckBuffer(
            allowed, checkEscapes, in.data(), length, seenOnEntry, *plain, acceptPercent);
        if (std::string(report, static_cast<std::size_t>(count)) != expected.reported ||
            badEscape != expected.badEscape || badEscapeText != expected.badEscapeText) {
            return ::testing::AssertionFailure()
                   << "reported " << hex(std::string(report, static_cast<std::size_t>(count)))
                   << "instead of " << hex(expected.reported) << ", bad escape " << badEscape
                   << " \"" << badEscapeText << "\" over " << hex(in);
        }
        if (&traverser == fast.get()) {
            ::testing::AssertionResult r = same(*fast, *plain);
            if (!r) {
                return r << " after checking " << hex(in);
            }
        }
        for (int v = 0; v < 256; ++v) {
            if (seen[v] != seenOnEntry[v]) {
                return ::testing::AssertionFailure() << "seen table entry " << v;
            }
        }
        return ::testing::AssertionSuccess();
    }

    Owned fast;
    Owned plain;
};

// Bytes that make the machines of every encoding take their branches: plain
// text, the jump targets, escapes, double-byte pairs, katakana, stray bytes,
// ISO-2022-JP designations whole and broken, and UTF-16 units.
std::string randomText(std::mt19937& rng, std::size_t tokens) {
    static const std::vector<std::string> pieces = {"a",
                                                    "Z",
                                                    " ",
                                                    "<",
                                                    ">",
                                                    "&",
                                                    "%",
                                                    "\"",
                                                    "%41",
                                                    "%e3",
                                                    "%2",
                                                    "%%",
                                                    "%G1",
                                                    "\x82\xA0",
                                                    "\x82<",
                                                    "\x81",
                                                    "\xB1",
                                                    "\x80",
                                                    "\xA0",
                                                    "\xFD",
                                                    "\x1B$B",
                                                    "\x1B(B",
                                                    "\x1B(J",
                                                    "\x1B(I",
                                                    "\x1B$(D",
                                                    "\x1B$@",
                                                    "\x1B$",
                                                    "\x1B(",
                                                    "\x1B$(",
                                                    "\x1B",
                                                    "\x0E",
                                                    "\x0F",
                                                    "\xFE\xFF",
                                                    "\xFF\xFE",
                                                    "\x8E\xB1",
                                                    "\xB0\xA1",
                                                    "\x5C",
                                                    "0",
                                                    "\xE3\x81\x82",
                                                    "\xF0\x9F\x98\x80",
                                                    std::string("\0<", 2),
                                                    std::string("<\0", 2)};
    std::string out;
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    for (std::size_t i = 0; i < tokens; ++i) {
        if (rng() % 8 == 0) {
            out += static_cast<char>(rng() % 256);
        } else {
            out += pieces[pick(rng)];
        }
    }
    return out;
}

std::string readSample(const char* name) {
    std::ifstream in(std::string(CHARSETKIT_SOURCE_DIR) + "/samples/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Windows of a sample page in the traverser's encoding, each with one byte
// replaced at random.
std::vector<std::string> mutatedWindows(const char* sample, unsigned seed) {
    std::vector<std::string> out;
    const std::string page = readSample(sample);
    if (page.size() < 200) {
        return out;
    }
    std::mt19937 rng(seed);
    for (int i = 0; i < 12; ++i) {
        std::string window = page.substr(rng() % (page.size() - 160), 160);
        window[rng() % window.size()] = static_cast<char>(rng() % 256);
        out.push_back(window);
    }
    return out;
}

TEST_P(TraverserTwins, RandomTextEveryTargetFromEveryStop) {
    std::mt19937 rng(20261208);
    for (int i = 0; i < 24; ++i) {
        const std::string text = adapt(randomText(rng, 1 + rng() % 40));
        ASSERT_TRUE(sameWalk(text));
        ASSERT_TRUE(sameFromEveryStop(text));
    }
}

TEST_P(TraverserTwins, MutatedPagesEveryTargetFromEveryStop) {
    for (const std::string& page : mutatedWindows(GetParam().sample, 7)) {
        const std::string window = adapt(page);
        ASSERT_TRUE(sameWalk(window));
        ASSERT_TRUE(sameFromEveryStop(window));
    }
}

// A non-ASCII or shifting piece at each position 0-63 of mark-up after each
// prefix length 0-15, so that every alignment of the searched bytes is met;
// the jumps run from the binding to the end.
TEST_P(TraverserTwins, PositionSweep) {
    const std::string body =
        "<a href=\"x?p=1&amp;q=%41\">text</a> & \"quoted\" 100% <b>bold</b> <i>it</i> %20%";
    const std::vector<std::string> pieces = {
        "\x82",   "\x82\xA0", "\xE3\x81\x82", "\xB1",     "\x1B$B",
        "\x1B(B", "\x1B(",    "\x80",         "\xFF\xFE", std::string("\0", 1)};
    for (std::size_t prefix = 0; prefix < 16; ++prefix) {
        for (std::size_t at = 0; at < 64; ++at) {
            for (const std::string& piece : pieces) {
                std::string text = std::string(prefix, 'p') + body.substr(0, 64);
                text.replace(prefix + at, piece.size(), piece);
                text = adapt(text);
                ASSERT_TRUE(sameWalk(text));
                for (char target : {'<', '&', '%', '"', piece[0]}) {
                    ASSERT_TRUE(sameJumps(text, target));
                }
            }
        }
    }
}

// Every input of one and two bytes, with every target.
TEST_P(TraverserTwins, EveryShortInput) {
    for (int a = 0; a < 256; ++a) {
        const std::string one(1, static_cast<char>(a));
        ASSERT_TRUE(sameWalk(one));
        ASSERT_TRUE(sameFromEveryStop(one));
        for (int b = 0; b < 256; ++b) {
            const std::string two = one + static_cast<char>(b);
            ASSERT_TRUE(sameWalk(two));
            for (char target : {one[0], two[1], '<'}) {
                ASSERT_TRUE(sameJumps(two, target));
            }
        }
    }
}

TEST_P(TraverserTwins, HexDecodeAndCheckBufferMatchPlainLoops) {
    std::mt19937 rng(4242);
    std::vector<std::string> inputs = mutatedWindows(GetParam().sample, 11);
    for (int i = 0; i < 60; ++i) {
        inputs.push_back(randomText(rng, rng() % 50));
    }
    for (std::string& input : inputs) {
        input = adapt(input);
    }
    // A caller's own traverser class (the plain twin itself) goes through
    // the algorithms' general path, which must agree as well.
    std::unique_ptr<AbstractTraverser> callers(GetParam().plain());
    for (const std::string& in : inputs) {
        const int length = static_cast<int>(in.size());
        std::string decoded;
        std::string expected;
        const bool ok = TraverserUtils::hexDecode(decoded, in.data(), length, fast.get());
        const bool expectedOk = reference::plainHexDecode(expected, in.data(), length, *plain);
        ASSERT_EQ(ok, expectedOk) << hex(in);
        ASSERT_EQ(decoded, expected) << hex(in);
        ASSERT_TRUE(same(*fast, *plain)) << hex(in);
        std::string decodedByCallers;
        ASSERT_EQ(TraverserUtils::hexDecode(decodedByCallers, in.data(), length, callers.get()),
                  expectedOk)
            << hex(in);
        ASSERT_EQ(decodedByCallers, expected) << hex(in);

        for (int variant = 0; variant < 8; ++variant) {
            bool allowed[256];
            bool seenOnEntry[256] = {};
            for (int v = 0; v < 256; ++v) {
                allowed[v] = variant % 4 == 0   ? (v >= 0x20 && v != '<' && v != '"' && v != '\\')
                             : variant % 4 == 1 ? rng() % 6 != 0
                             : variant % 4 == 2 ? v < 0x80
                                                : v != '%' && v != 'A' && v != 0x1B;
            }
            seenOnEntry[static_cast<unsigned char>('<')] = variant % 3 == 0;
            const bool checkEscapes = variant < 6;
            const bool acceptPercent = variant % 2 == 1;
            ASSERT_TRUE(sameCheck(in, allowed, seenOnEntry, checkEscapes, acceptPercent, *fast))
                << "variant " << variant;
            ASSERT_TRUE(sameCheck(in, allowed, seenOnEntry, checkEscapes, acceptPercent, *callers))
                << "own traverser, variant " << variant;
        }
    }
}

// Every input of one to three symbols from an alphabet that meets each branch
// of the checker (escapes whole, malformed and cut at the end, forbidden and
// reported values, a '%' that is forbidden itself, byte-order marks, units
// above 0x7F), as raw bytes and, for UTF-16, as units with and without a
// trailing odd byte, under allowed tables that forbid different values.
TEST_P(TraverserTwins, CheckBufferMatchesPlainLoopOnEveryShortInput) {
    const std::string alphabet("%4aG<\0\x80\xFE\xFF\x1B", 10);
    std::vector<std::string> inputs;
    std::vector<std::string> words = {""};
    for (int length = 1; length <= 3; ++length) {
        std::vector<std::string> longer;
        for (const std::string& word : words) {
            for (char c : alphabet) {
                longer.push_back(word + c);
            }
        }
        words = longer;
        for (const std::string& word : words) {
            inputs.push_back(word);
            if (GetParam().unitOrder != 0) {
                inputs.push_back(adapt(word));
                inputs.push_back(adapt(word) + 'b');
            }
        }
    }
    for (const std::string& in : inputs) {
        for (int variant = 0; variant < 12; ++variant) {
            bool allowed[256];
            bool seenOnEntry[256] = {};
            for (int v = 0; v < 256; ++v) {
                allowed[v] = variant % 3 == 0   ? v >= 0x20 && v != '<'
                             : variant % 3 == 1 ? v != '%' && v != 'J' && v < 0x80
                                                : v != 'Z' && v != 0xFE && v != 0x1B;
            }
            seenOnEntry[static_cast<unsigned char>('<')] = variant % 2 == 0;
            const bool checkEscapes = variant < 8;
            const bool acceptPercent = variant % 4 >= 2;
            ASSERT_TRUE(sameCheck(in, allowed, seenOnEntry, checkEscapes, acceptPercent, *fast))
                << "variant " << variant;
        }
    }
}

// A forbidden value, an escape, a non-ASCII character or a shift at each
// position 0-63 after each prefix 0-15 of a form body two blocks long, so
// that the block searches meet every lane, both block edges and the tail.
TEST_P(TraverserTwins, CheckBufferPositionSweep) {
    const std::string body = "name=Taro+Yamada&mail=taro%40example.org&comment=Hello%2C+world%21+"
                             "%E3%81%93%E3%82%93&agree=on&x=<y>&z=\"q\"";
    const std::vector<std::string> pieces = {
        "\x01",     "%",    "%4",           "%G",     "<",
        "\x82\xA0", "\x81", "\xE3\x81\x82", "\x1B$B", std::string("\0", 1)};
    bool allowed[256];
    bool seenOnEntry[256] = {};
    for (int v = 0; v < 256; ++v) {
        allowed[v] = v >= 0x20 && v != '<' && v != '"';
    }
    for (std::size_t prefix = 0; prefix < 16; ++prefix) {
        for (std::size_t at = 0; at < 64; ++at) {
            for (const std::string& piece : pieces) {
                std::string text = std::string(prefix, 'p') + body;
                text.replace(prefix + at, piece.size(), piece);
                text = adapt(text);
                ASSERT_TRUE(sameCheck(text, allowed, seenOnEntry, true, at % 2 == 0, *fast));
                ASSERT_TRUE(sameCheck(text, allowed, seenOnEntry, at % 3 == 0, false, *fast));
            }
        }
    }
}

// Enough malformed escapes that their text fills the checker's block many
// times over, with escapes cut by non-ASCII characters and one cut by the
// end.
TEST_P(TraverserTwins, CheckBufferWithManyMalformedEscapes) {
    std::string text;
    for (int i = 0; i < 300; ++i) {
        text += i % 3 == 0 ? "%G1&" : i % 3 == 1 ? "%4\x82\xA0x" : "%%41=";
    }
    text = adapt(text + "%");
    bool allowed[256];
    bool seenOnEntry[256] = {};
    std::fill(std::begin(allowed), std::end(allowed), true);
    allowed[0x01] = false;
    ASSERT_TRUE(sameCheck(text, allowed, seenOnEntry, true, false, *fast));
    ASSERT_TRUE(sameCheck(text, allowed, seenOnEntry, true, true, *fast));
}

std::string kindName(const ::testing::TestParamInfo<Kind>& param) {
    return param.param.name;
}

template <typename T>
AbstractTraverser* make() {
    return new T();
}

const Kind kKinds[] = {
    {"ascii", make<AsciiTraverser>, make<reference::PlainAsciiTraverser>, true,
     "western-page.iso-8859-1.html", 0},
    {"utf8", make<Utf8Traverser>, make<reference::PlainUtf8Traverser>, true, "ja-page.utf-8.html",
     0},
    {"eucjp", make<EucJpTraverser>, make<reference::PlainUtf8Traverser>, true,
     "ja-page.euc-jp.html", 0},
    {"euckr", make<EucKrTraverser>, make<reference::PlainUtf8Traverser>, true,
     "ko-page.euc-kr.html", 0},
    {"sjis", make<SjisTraverser>, make<reference::PlainSjisTraverser>, true,
     "ja-page.shift_jis.html", 0},
    {"sjisNoKana", make<SjisTraverser>, make<reference::PlainSjisTraverser>, false,
     "ja-page.shift_jis.html", 0},
    {"jis", make<JisTraverser>, make<reference::PlainJisTraverser>, true,
     "ja-page.iso-2022-jp.html", 0},
    {"utf16be", make<Utf16BigTraverser>, make<reference::PlainUtf16Traverser<true>>, true,
     "ja-page.utf-8.html", 1},
    {"utf16le", make<Utf16LittleTraverser>, make<reference::PlainUtf16Traverser<false>>, true,
     "ja-page.utf-8.html", 2},
};

INSTANTIATE_TEST_SUITE_P(AllTraversers, TraverserTwins, ::testing::ValuesIn(kKinds), kindName);

// Every input of three bytes through the two traversers that run machines,
// with the single-byte katakana setting both ways for Shift_JIS.
class ShortInputMachines : public TraverserTwins {};

TEST_P(ShortInputMachines, EveryThreeByteInput) {
    // Field by field without building assertion results: sixteen million
    // inputs; a difference is then reported through the full comparison.
    const auto equal = [](const AbstractTraverser& x, const AbstractTraverser& y) {
        return x.getPos() == y.getPos() && x.skipped() == y.skipped();
    };
    char text[3];
    for (int a = 0; a < 256; ++a) {
        text[0] = static_cast<char>(a);
        for (int b = 0; b < 256; ++b) {
            text[1] = static_cast<char>(b);
            for (int c = 0; c < 256; ++c) {
                text[2] = static_cast<char>(c);
                fast->setNewBuffer(text, 3);
                plain->setNewBuffer(text, 3);
                bool ok = equal(*fast, *plain);
                while (ok && !plain->isEnd()) {
                    fast->advance();
                    plain->advance();
                    ok = equal(*fast, *plain);
                }
                fast->setNewBuffer(text, 3);
                plain->setNewBuffer(text, 3);
                while (ok && !plain->isEnd()) {
                    fast->advanceTo(text[2]);
                    plain->advanceTo(text[2]);
                    ok = equal(*fast, *plain);
                }
                if (!ok) {
                    const std::string bytes(text, 3);
                    ASSERT_TRUE(sameWalk(bytes));
                    ASSERT_TRUE(sameJumps(bytes, text[2]));
                }
            }
        }
    }
}

const Kind kMachines[] = {kKinds[4], kKinds[5], kKinds[6]};

INSTANTIATE_TEST_SUITE_P(Machines, ShortInputMachines, ::testing::ValuesIn(kMachines), kindName);

// Documented behaviour of advanceTo, by example.
TEST(AdvanceTo, JumpsOverBytesInsideCharacters) {
    const std::string sjis = "a\x82<b<"; // 82 3C is not a pair: 82 is a stop, then 3C
    SjisTraverser t;
    t.setNewBuffer(sjis);
    EXPECT_EQ(t.advanceTo('<') - sjis.data(), 2);
    EXPECT_FALSE(t.skipped());
    EXPECT_EQ(t.advanceTo('<') - sjis.data(), 4);
    EXPECT_TRUE(t.advanceTo('<') == t.getBufferEnd());
    EXPECT_TRUE(t.isEnd());

    const std::string jis = "a\x1B$B%<\x1B(B<"; // '<' in two-byte mode is no stop
    JisTraverser j;
    j.setNewBuffer(jis);
    EXPECT_EQ(j.advanceTo('<') - jis.data(), 9);
    EXPECT_TRUE(j.skipped());

    const std::string utf8 = "\xE3\x81\x82<";
    Utf8Traverser u;
    u.setNewBuffer(utf8);
    EXPECT_EQ(u.getPos() - utf8.data(), 3); // binding already reached it
    EXPECT_TRUE(u.advanceTo('<') == u.getBufferEnd());
    EXPECT_FALSE(u.skipped());
}

} // namespace
} // namespace charsetkit
