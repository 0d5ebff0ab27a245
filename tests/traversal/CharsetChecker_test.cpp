#include "traversal/EscapeTestSupport.h"

#include <charsetkit/traversal/CharsetChecker.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

namespace charsetkit {
namespace {

using test::allTraverserKinds;
using test::hex;
using test::kindName;
using test::makeTraverser;
using test::TraverserKind;

constexpr unsigned char kLess = '<';
constexpr unsigned char kGreater = '>';

struct Findings {
    std::string reported; // the values in the order reported
    bool badEscape;
    std::string badEscapeText;
};

// The caller's side of a check: the tables, the report buffer and the
// optional outputs, which start with stale values that the call must reset.
class Checker {
public:
    Checker() { std::fill(std::begin(m_allowed), std::end(m_allowed), true); }

    void forbid(std::initializer_list<unsigned char> values) {
        for (unsigned char value : values) {
            m_allowed[value] = false;
        }
    }
    void allowOnly(std::initializer_list<unsigned char> values) {
        std::fill(std::begin(m_allowed), std::end(m_allowed), false);
        for (unsigned char value : values) {
            m_allowed[value] = true;
        }
    }

    Findings check(const std::string& buffer, bool checkEscapes, AbstractTraverser* traverser,
                   bool acceptPercent = false) {
        char* report = m_report;
        int count = -1;
        Findings findings{"", true, "stale"};
        CharsetChecker checker;
        checker.checkBuffer(m_allowed, checkEscapes, buffer.data(), static_cast<int>(buffer.size()),
                            &report, &count, m_seen, &findings.badEscape, traverser,
                            &findings.badEscapeText, acceptPercent);
        EXPECT_GE(count, 0);
        EXPECT_LE(count, 256);
        findings.reported.assign(m_report, static_cast<std::size_t>(std::max(count, 0)));
        EXPECT_TRUE(std::none_of(std::begin(m_seen), std::end(m_seen), [](bool b) { return b; }))
            << "seen table not restored after " << hex(buffer);
        if (traverser != nullptr) {
            EXPECT_TRUE(traverser->isEnd());
            EXPECT_EQ(traverser->getBufferStart(), buffer.data());
        }
        return findings;
    }

    bool m_allowed[256];
    bool m_seen[256] = {};
    char m_report[256] = {};
};

void expectFindings(const Findings& got, const std::string& reported, bool badEscape,
                    const std::string& badEscapeText, const std::string& context) {
    EXPECT_EQ(hex(got.reported), hex(reported)) << context;
    EXPECT_EQ(got.badEscape, badEscape) << context;
    EXPECT_EQ(got.badEscapeText, badEscapeText) << context;
}

// ASCII input: every traverser stops at every byte, the null one included.
TEST(CharsetChecker, AsciiInputIsCheckedAlikeWithEveryTraverser) {
    struct Case {
        std::string buffer;
        bool checkEscapes;
        std::string reported;
        bool badEscape;
        std::string text;
    };
    const Case cases[] = {
        {"", true, "", false, ""},
        {"a<b<c", false, "<", false, ""},
        {"a<b>c<", true, "<>", false, ""},
        {"%3C", true, "<", false, ""},
        {"%3c", true, "<", false, ""},
        {"%3C", false, "", false, ""},
        {">%3c<%3E", true, "><", false, ""}, // first-found order, raw or escaped
        {"%G1", true, "", true, "%G1"},
        {"%G1", false, "", false, ""},
        {"%zzx%q", true, "", true, "%zz, %q"},
        {"abc%", true, "", true, "%"},
        {"abc%4", true, "", true, "%4"},
        {"%%41", true, "", true, "%%4"}, // the second '%' does not open an escape
        {"%%3C", true, "", true, "%%3"},
        {"%3C%", true, "<", true, "%"},
        {"%3C%3", true, "<", true, "%3"},
    };
    for (TraverserKind kind : allTraverserKinds()) {
        auto traverser = makeTraverser(kind);
        Checker checker;
        checker.forbid({'<', '>'});
        for (const Case& c : cases) {
            const std::string context = std::string(kindName(kind)) + " on " + hex(c.buffer);
            expectFindings(checker.check(c.buffer, c.checkEscapes, traverser.get()), c.reported,
                           c.badEscape, c.text, context);
            expectFindings(checker.check(c.buffer, c.checkEscapes, nullptr), c.reported,
                           c.badEscape, c.text, context + " (own traverser)");
        }
    }
}

TEST(CharsetChecker, PercentItselfForbidden) {
    Checker checker;
    checker.forbid({'%'});
    // '%' is a forbidden byte like any other unless acceptPercent is set.
    expectFindings(checker.check("%41%G", true, nullptr, false), "%", false, "", "no accept");
    expectFindings(checker.check("%41", true, nullptr, true), "", false, "", "accept");
    expectFindings(checker.check("%4g", true, nullptr, true), "", true, "%4g", "accept");
    // acceptPercent has no effect without escape checking.
    expectFindings(checker.check("%41", false, nullptr, true), "%", false, "", "no escapes");
    checker.forbid({'A'});
    expectFindings(checker.check("%41", true, nullptr, true), "A", false, "", "accept, A");
    expectFindings(checker.check("%25", true, nullptr, true), "%", false, "", "accept, %25");

    // With '%' allowed by the table, escapes are examined either way.
    Checker open;
    open.forbid({'A'});
    expectFindings(open.check("%41", true, nullptr, false), "A", false, "", "allowed %");
}

TEST(CharsetChecker, ForbiddenDigitEndsTheEscapeSilently) {
    Checker checker;
    checker.forbid({'4', 'A'});
    // The escape is neither decoded (no 'A') nor malformed.
    expectFindings(checker.check("%41", true, nullptr), "4", false, "", "%41");
    expectFindings(checker.check("%14", true, nullptr), "4", false, "", "%14");
    expectFindings(checker.check("%%41", true, nullptr), "4", false, "", "%%41");
    // The byte after the forbidden digit is a raw byte again.
    checker.forbid({'1'});
    expectFindings(checker.check("%41", true, nullptr), "41", false, "", "%41, 1 forbidden");
}

TEST(CharsetChecker, HighBytesAreReportedOnceAndSeenIsRestored) {
    Checker checker;
    checker.forbid({0x80, 0xFF, 'a'});
    expectFindings(checker.check("\x80"
                                 "a\x80\xFF\x80%ff%80%61",
                                 true, nullptr),
                   "\x80"
                   "a\xFF",
                   false, "", "raw and escaped");
    expectFindings(checker.check("%FF%80", true, nullptr), "\xFF\x80", false, "", "escaped only");
}

// A value already marked in the seen table counts as reported: it is not
// reported again and its mark is left for the caller.
TEST(CharsetChecker, ValuesAlreadySeenAreNotReportedAgain) {
    bool allowed[256];
    std::fill(std::begin(allowed), std::end(allowed), true);
    allowed[kLess] = false;
    allowed[kGreater] = false;
    bool seen[256] = {};
    seen[kLess] = true;
    char report[256];
    char* reportPointer = report;
    int count = -1;
    CharsetChecker().checkBuffer(allowed, true, "<>%3C%3E", 8, &reportPointer, &count, seen);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(report[0], '>');
    EXPECT_TRUE(seen[kLess]);
    EXPECT_FALSE(seen[kGreater]);
}

// Every byte value forbidden and present: the report buffer of exactly 256
// bytes (on the heap, so that a write past it is caught) is filled to the
// last byte, in first-found order, and nothing is reported twice.
TEST(CharsetChecker, AllByteValuesFillTheReportBufferExactly) {
    bool allowed[256] = {};
    bool seen[256] = {};
    std::string buffer;
    for (int round = 0; round < 2; ++round) {
        for (int value = 255; value >= 0; --value) {
            buffer += static_cast<char>(value);
        }
    }
    buffer += "%41%zz";
    std::vector<char> report(256);
    char* reportPointer = report.data();
    int count = -1;
    bool bad = true;
    std::string text = "stale";
    CharsetChecker().checkBuffer(allowed, true, buffer.data(), static_cast<int>(buffer.size()),
                                 &reportPointer, &count, seen, &bad, nullptr, &text, false);
    ASSERT_EQ(count, 256);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(static_cast<unsigned char>(report[static_cast<std::size_t>(i)]), 255 - i) << i;
    }
    // '%' is forbidden too, so no escape is ever opened.
    EXPECT_FALSE(bad);
    EXPECT_EQ(text, "");
    EXPECT_TRUE(std::none_of(std::begin(seen), std::end(seen), [](bool b) { return b; }));
}

TEST(CharsetChecker, OptionalOutputsMayBeNull) {
    bool allowed[256];
    std::fill(std::begin(allowed), std::end(allowed), true);
    allowed[kLess] = false;
    bool seen[256] = {};
    char report[256];
    char* reportPointer = report;
    int count = -1;
    CharsetChecker().checkBuffer(allowed, true, "%zz<%3C%q", 9, &reportPointer, &count, seen,
                                 nullptr, nullptr, nullptr, false);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(report[0], '<');
    bool bad = false;
    CharsetChecker().checkBuffer(allowed, true, "%zz", 3, &reportPointer, &count, seen, &bad);
    EXPECT_TRUE(bad);
    EXPECT_EQ(count, 0);
}

TEST(CharsetChecker, UnusableArgumentsReportNothing) {
    bool allowed[256];
    std::fill(std::begin(allowed), std::end(allowed), false);
    bool seen[256] = {};
    char report[256] = {};
    char* reportPointer = report;
    char* nullReport = nullptr;
    int count = -1;
    bool bad = true;
    std::string text = "stale";
    CharsetChecker checker;
    checker.checkBuffer(nullptr, true, "<%zz", 4, &reportPointer, &count, seen, &bad, nullptr,
                        &text);
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(bad);
    EXPECT_TRUE(text.empty());
    count = -1;
    checker.checkBuffer(allowed, true, "<", 1, nullptr, &count, seen);
    EXPECT_EQ(count, 0);
    count = -1;
    checker.checkBuffer(allowed, true, "<", 1, &nullReport, &count, seen);
    EXPECT_EQ(count, 0);
    count = -1;
    checker.checkBuffer(allowed, true, "<", 1, &reportPointer, &count, nullptr);
    EXPECT_EQ(count, 0);
    count = -1;
    checker.checkBuffer(allowed, true, "<", -1, &reportPointer, &count, seen);
    EXPECT_EQ(count, 0);
    count = -1;
    checker.checkBuffer(allowed, true, nullptr, 1, &reportPointer, &count, seen);
    EXPECT_EQ(count, 0);
    checker.checkBuffer(allowed, true, "<", 1, &reportPointer, nullptr, seen);
    EXPECT_EQ(report[0], '\0');
    EXPECT_TRUE(std::none_of(std::begin(seen), std::end(seen), [](bool b) { return b; }));
}

// Each byte value forbidden in turn, met raw and as an escape, and every
// pair of bytes after a '%', judged by rules written here.
TEST(CharsetChecker, EveryByteValueAsForbiddenByteAndAsEscape) {
    const char upper[] = "0123456789ABCDEF";
    const char lower[] = "0123456789abcdef";
    for (int value = 0; value < 256; ++value) {
        const unsigned char b = static_cast<unsigned char>(value);
        const std::string expected(1, static_cast<char>(b));
        Checker checker;
        checker.forbid({b});
        const std::string raw =
            std::string("a") + static_cast<char>(b) + "b" + static_cast<char>(b);
        for (bool checkEscapes : {false, true}) {
            expectFindings(checker.check(raw, checkEscapes, nullptr), expected, false, "",
                           "raw " + hex(raw));
        }
        // A forbidden digit is reported raw, any other value through the escape.
        for (const char* digits : {upper, lower}) {
            const std::string escaped = std::string("%") + digits[value >> 4] + digits[value & 15];
            expectFindings(checker.check(escaped, true, nullptr, true), expected, false, "",
                           "escape " + hex(escaped));
        }
    }

    Checker checker;
    int failures = 0;
    for (int high = 0; high < 256 && failures < 10; ++high) {
        for (int low = 0; low < 256 && failures < 10; ++low) {
            const std::string buffer =
                std::string("%") + static_cast<char>(high) + static_cast<char>(low);
            checker.allowOnly(
                {'%', static_cast<unsigned char>(high), static_cast<unsigned char>(low)});
            Findings expected{"", true, buffer};
            if (test::isAsciiHexDigit(high) && test::isAsciiHexDigit(low)) {
                const int decoded =
                    test::asciiHexDigitValue(high) * 16 + test::asciiHexDigitValue(low);
                const bool allowed = decoded == '%' || decoded == high || decoded == low;
                expected = {allowed ? "" : std::string(1, static_cast<char>(decoded)), false, ""};
            }
            const Findings got = checker.check(buffer, true, nullptr, true);
            if (got.reported != expected.reported || got.badEscape != expected.badEscape ||
                got.badEscapeText != expected.badEscapeText) {
                ++failures;
                ADD_FAILURE() << "on " << hex(buffer) << ": reported " << hex(got.reported)
                              << ", text " << hex(got.badEscapeText);
            }
        }
    }
}

// Bytes of multi-byte characters are neither tested against the table nor
// taken for digits; such a character after a '%' makes the escape malformed.
TEST(CharsetChecker, OnlyCharacterStartsAreExamined) {
    struct Case {
        TraverserKind kind;
        std::string buffer;
        std::string reported;
        bool badEscape;
        std::string text;
    };
    // Forbidden: '\\', 'A', 'G', 0x95, 0xA4, 0xE3.
    const Case cases[] = {
        {TraverserKind::Ascii, "\x95\\", "\x95\\", false, ""},
        {TraverserKind::Sjis, "\x95\\", "", false, ""},
        {TraverserKind::Sjis, "\x95\\\\", "\\", false, ""},
        {TraverserKind::Ascii, "\x1b$B%G\x1b(B", "G", false, ""},
        {TraverserKind::Ascii, "\x1b$B%g\x1b(B", "", true, "%g\x1b"},
        {TraverserKind::Jis, "\x1b$B%g\x1b(B", "", false, ""},
        {TraverserKind::Jis, "\x1b$B%G\x1b(B", "", false, ""},
        {TraverserKind::Jis, "%\x1b$B0B\x1b(B4G", "G", true, "%\x1b$"},
        {TraverserKind::EucJp, "\xA4\xA2%5c", "\\", false, ""},
        {TraverserKind::Ascii, "\xA4\xA2%5c", "\xA4\\", false, ""},
        // The '%' that ends a malformed escape does not open a new one.
        {TraverserKind::EucJp, "%\xA4\xA2%41", "", true, "%\xA4\xA2"},
        {TraverserKind::Ascii, "%\xA4\xA2%41",
         "\xA4"
         "A",
         false, ""},
        // The text of an escape cut by the end runs to the end of the buffer.
        {TraverserKind::Utf8, "%\xE3\x81\x82", "", true, "%\xE3\x81\x82"},
        {TraverserKind::Utf8, "%\xE2\x81\x82", "", true, "%\xE2\x81\x82"},
        {TraverserKind::Ascii, "%\xE2\x81\x82", "", true, "%\xE2\x81"},
        {TraverserKind::Ascii, "%\xE3\x81\x82", "\xE3", false, ""},
        {TraverserKind::Sjis,
         "%\x82\xA0"
         "4G",
         "G", true, "%\x82\xA0"},
        // A stray lead byte at the end is a stop after a step over it.
        {TraverserKind::Sjis, "%\x82", "", true, "%\x82"},
    };
    for (const Case& c : cases) {
        auto traverser = makeTraverser(c.kind);
        Checker checker;
        checker.forbid({'\\', 'A', 'G', 0x95, 0xA4, 0xE3});
        expectFindings(checker.check(c.buffer, true, traverser.get()), c.reported, c.badEscape,
                       c.text, std::string(kindName(c.kind)) + " on " + hex(c.buffer));
    }
}

} // namespace
} // namespace charsetkit
