// Every transition of the Japanese machines: each machine is put into each of
// its states and fed each byte value, under each setting of the switches it
// reads, and the outcome is compared with a model written row by row from the
// transition tables. The model states each row's byte set the way the tables
// do; the "any other byte" rows are checked against their explicit lists.
#include <charsetkit/detectors/EucJpDetectorSM.h>
#include <charsetkit/detectors/JisDetectorSM.h>
#include <charsetkit/detectors/SjisDetectorSM.h>
#include <charsetkit/japanese/JapaneseConversions.h>

#include "support/Bytes.h"
#include "support/SwitchesTest.h"
#include "support/Utf8Writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <string>

namespace charsetkit {
namespace {

bool in(unsigned b, unsigned lo, unsigned hi) {
    return b >= lo && b <= hi;
}

bool oneOf(int value, std::initializer_list<int> values) {
    for (int v : values) {
        if (v == value) {
            return true;
        }
    }
    return false;
}

struct Outcome {
    int state;
    bool error;
    bool confirmed;
    bool inChar;
    int firstByte;
};

std::string describe(int state, unsigned byte, int firstByte, bool verify) {
    char text[96];
    std::snprintf(text, sizeof text, "state %d, byte %02X, first byte %02X, verify %d", state, byte,
                  static_cast<unsigned>(firstByte), verify ? 1 : 0);
    return text;
}

class TransitionTableTest : public test::SwitchesTest {};

// Shift_JIS rows. The machine starts without error or confirmation.
Outcome sjisModel(int from, unsigned b, unsigned char first, bool verify, bool kana) {
    Outcome o{from, false, false, false, first};
    if (from == 2) {
        if (in(b, 0x40, 0x7E) || in(b, 0x80, 0xFC)) {
            o.confirmed = true;
            o.state = 5;
            if (verify && !JapaneseConversions::verifySjis(first, static_cast<unsigned char>(b))) {
                o.state = 4;
                o.error = true;
            }
        } else { // 0x00 to 0x3F, 0x7F, 0xFD to 0xFF
            EXPECT_TRUE(in(b, 0x00, 0x3F) || b == 0x7F || in(b, 0xFD, 0xFF));
            o.state = 4;
            o.error = true;
        }
        return o;
    }
    if (in(b, 0x00, 0x7F) && b != 0x0E && b != 0x0F && b != 0x1B) {
        o.state = 0;
    } else if (in(b, 0x81, 0x9F) || in(b, 0xE0, 0xFC)) {
        o.state = 2;
        o.firstByte = static_cast<int>(b);
        o.inChar = true;
    } else if (in(b, 0xA1, 0xDF) && kana) {
        o.state = 1;
        o.confirmed = true;
    } else {
        EXPECT_TRUE(b == 0x0E || b == 0x0F || b == 0x1B || b == 0x80 || b == 0xA0 ||
                    in(b, 0xFD, 0xFF) || (in(b, 0xA1, 0xDF) && !kana));
        o.state = 3;
        o.error = true;
    }
    return o;
}

TEST_F(TransitionTableTest, ShiftJis) {
    for (bool kana : {true, false}) {
        setSingleByteKana(kana);
        for (bool verify : {false, true}) {
            for (int from = 0; from <= 5; ++from) {
                for (int first : {0x81, 0x87, 0x9F, 0xE0, 0xF0, 0xFC}) {
                    for (unsigned b = 0; b < 256; ++b) {
                        SjisDetectorSM m;
                        m.m_state = from;
                        m.m_firstByte = static_cast<unsigned char>(first);
                        m.processByte(static_cast<unsigned char>(b), verify);
                        const Outcome o =
                            sjisModel(from, b, static_cast<unsigned char>(first), verify, kana);
                        const std::string where =
                            describe(from, b, first, verify) + (kana ? " kana" : "");
                        ASSERT_EQ(m.m_state, o.state) << where;
                        ASSERT_EQ(m.m_error, o.error) << where;
                        ASSERT_EQ(m.m_confirmed, o.confirmed) << where;
                        ASSERT_EQ(m.m_inChar, o.inChar) << where;
                        ASSERT_EQ(m.m_firstByte, o.firstByte) << where;
                    }
                }
            }
        }
    }
}

// EUC-JP rows.
Outcome eucModel(int from, unsigned b, unsigned char first, bool verify, bool kana,
                 bool supplementary) {
    Outcome o{from, false, false, false, first};
    const bool pairByte = in(b, 0xA1, 0xFE);
    switch (from) {
    case 1:
    case 6:
        o.state = from == 1 ? 2 : 7;
        if (pairByte) {
            o.confirmed = true;
            o.error = verify && !JapaneseConversions::verifyEuc(
                                    first, static_cast<unsigned char>(b), from == 6);
        } else {
            o.error = true;
        }
        return o;
    case 3:
        o.state = 4;
        o.confirmed = in(b, 0xA1, 0xDF);
        o.error = !o.confirmed;
        return o;
    case 5:
        if (pairByte) {
            o.state = 6;
            o.firstByte = static_cast<int>(b);
            o.inChar = true;
        } else {
            o.state = 0;
            o.error = true;
        }
        return o;
    default:
        break;
    }
    if (in(b, 0x00, 0x7F) && b != 0x0E && b != 0x0F && b != 0x1B) {
        o.state = 0;
    } else if (pairByte) {
        o.state = 1;
        o.firstByte = static_cast<int>(b);
        o.inChar = true;
    } else if (b == 0x8E) {
        o.state = 3;
        o.inChar = true;
        o.error = !kana;
    } else if (b == 0x8F) {
        o.state = 5;
        o.inChar = true;
        o.error = !supplementary;
    } else {
        EXPECT_TRUE(b == 0x0E || b == 0x0F || b == 0x1B || in(b, 0x80, 0x8D) || in(b, 0x90, 0xA0) ||
                    b == 0xFF);
        o.state = 0;
        o.error = true;
    }
    return o;
}

TEST_F(TransitionTableTest, EucJp) {
    for (int switches = 0; switches < 4; ++switches) {
        const bool kana = (switches & 1) != 0;
        const bool supplementary = (switches & 2) != 0;
        setSingleByteKana(kana);
        setSupplementaryKanji(supplementary);
        for (bool verify : {false, true}) {
            for (int from = 0; from <= 7; ++from) {
                for (int first : {0xA1, 0xA2, 0xAD, 0xB0, 0xF5, 0xFE}) {
                    for (unsigned b = 0; b < 256; ++b) {
                        EucJpDetectorSM m;
                        m.m_state = from;
                        m.m_firstByte = static_cast<unsigned char>(first);
                        m.processByte(static_cast<unsigned char>(b), verify);
                        const Outcome o = eucModel(from, b, static_cast<unsigned char>(first),
                                                   verify, kana, supplementary);
                        const std::string where = describe(from, b, first, verify) + " switches " +
                                                  std::to_string(switches);
                        ASSERT_EQ(m.m_state, o.state) << where;
                        ASSERT_EQ(m.m_error, o.error) << where;
                        ASSERT_EQ(m.m_confirmed, o.confirmed) << where;
                        ASSERT_EQ(m.m_inChar, o.inChar) << where;
                        ASSERT_EQ(m.m_firstByte, o.firstByte) << where;
                    }
                }
            }
        }
    }
}

// ISO-2022-JP rows, with the bookkeeping of designate, fail and counting.
struct JisOutcome {
    Outcome base;
    int charsSinceEscape;
    int escapeRun;
    bool redundant;
    int designation;
};

JisOutcome jisModel(int from, unsigned b, unsigned char first, bool verify, bool extended,
                    int chars, int run, int designation) {
    JisOutcome o{{from, false, false, false, first}, chars, run, false, designation};
    const auto count = [&o]() { ++o.charsSinceEscape; };
    const auto fail = [&o](int s) {
        o.base.error = true;
        o.base.state = s;
        o.base.inChar = false;
    };
    const auto designate = [&o](int s, bool inChar) {
        o.base.confirmed = true;
        o.base.state = s;
        o.redundant = o.designation == s;
        o.designation = s;
        if (o.charsSinceEscape == 0) {
            ++o.escapeRun;
        } else {
            o.escapeRun = 0;
            o.charsSinceEscape = 0;
        }
        o.base.inChar = inChar;
    };
    const auto validJis = [extended](unsigned x) {
        return in(x, 0x21, 0x7E) || (extended && in(x, 0x93, 0x97));
    };
    if (oneOf(from, {0, 1, 2, 3, 19, 20, 21})) {
        if (b == 0x1B) {
            o.base.state = 15;
            o.base.inChar = true;
        } else if (in(b, 0x80, 0xFF) || b == 0x0E || b == 0x0F) {
            fail(1);
        } else {
            o.base.state = 1;
            count();
        }
    } else if (oneOf(from, {4, 8})) {
        if (b == 0x1B) {
            o.base.state = 15;
            o.base.inChar = true;
        } else {
            o.base.state = 8;
            count();
            o.base.firstByte = static_cast<int>(b);
            o.base.error = !in(b, 0x21, 0x5F);
        }
    } else if (oneOf(from, {5, 9, 6, 10, 7, 11})) {
        if (b == 0x1B) {
            o.base.state = 15;
            o.base.inChar = true;
        } else {
            o.base.state = oneOf(from, {5, 9}) ? 12 : oneOf(from, {6, 10}) ? 13 : 14;
            o.base.firstByte = static_cast<int>(b);
            o.base.inChar = true;
            o.base.error = !validJis(b);
        }
    } else if (oneOf(from, {12, 13, 14})) {
        if (b == 0x1B) {
            o.base.state = 15;
            o.base.error = true;
            o.base.inChar = true;
        } else {
            o.base.state = from == 12 ? 9 : from == 13 ? 10 : 11;
            count();
            if (verify &&
                !JapaneseConversions::verifyJis(first, static_cast<unsigned char>(b), from == 14)) {
                o.base.error = true;
            }
            if (!validJis(b)) {
                o.base.error = true;
            }
        }
    } else if (from == 15) {
        if (b == 0x24) {
            o.base.state = 16;
            o.base.inChar = true;
        } else if (b == 0x28) {
            o.base.state = 17;
            o.base.inChar = true;
        } else {
            fail(19);
        }
    } else if (from == 16) {
        if (b == 0x28) {
            o.base.state = 18;
            o.base.inChar = true;
        } else if (b == 0x40) {
            designate(5, true);
        } else if (b == 0x42) {
            designate(6, true);
        } else {
            fail(20);
        }
    } else if (from == 17) {
        if (b == 0x42) {
            designate(0, false);
        } else if (b == 0x49) {
            designate(4, true);
        } else if (b == 0x4A) {
            designate(2, false);
        } else {
            fail(20);
        }
    } else if (from == 18) {
        if (b == 0x44) {
            designate(7, true);
        } else {
            fail(21);
        }
    }
    return o;
}

TEST_F(TransitionTableTest, Iso2022Jp) {
    struct Bookkeeping {
        int chars;
        int run;
        int designation;
    };
    const Bookkeeping books[] = {{0, 0, 6}, {0, 3, 0}, {5, 2, 4}, {1, 0, 1}};
    for (bool extended : {false, true}) {
        setJisExtendedRange(extended);
        for (bool verify : {false, true}) {
            for (int from = 0; from <= 21; ++from) {
                for (int first : {0x21, 0x30, 0x74, 0x95}) {
                    for (const Bookkeeping& book : books) {
                        for (unsigned b = 0; b < 256; ++b) {
                            JisDetectorSM m;
                            m.m_state = from;
                            m.m_firstByte = static_cast<unsigned char>(first);
                            m.m_charsSinceEscape = book.chars;
                            m.m_escapeRun = book.run;
                            m.m_designation = book.designation;
                            m.processByte(static_cast<unsigned char>(b), verify);
                            const JisOutcome o =
                                jisModel(from, b, static_cast<unsigned char>(first), verify,
                                         extended, book.chars, book.run, book.designation);
                            const std::string where =
                                describe(from, b, first, verify) + (extended ? " extended" : "") +
                                " designation " + std::to_string(book.designation) + " chars " +
                                std::to_string(book.chars);
                            ASSERT_EQ(m.m_state, o.base.state) << where;
                            ASSERT_EQ(m.m_error, o.base.error) << where;
                            ASSERT_EQ(m.m_confirmed, o.base.confirmed) << where;
                            ASSERT_EQ(m.m_inChar, o.base.inChar) << where;
                            ASSERT_EQ(m.m_firstByte, o.base.firstByte) << where;
                            ASSERT_EQ(m.m_charsSinceEscape, o.charsSinceEscape) << where;
                            ASSERT_EQ(m.m_escapeRun, o.escapeRun) << where;
                            ASSERT_EQ(m.m_redundantEscape, o.redundant) << where;
                            ASSERT_EQ(m.m_designation, o.designation) << where;
                            ASSERT_EQ(m.isValidEndState(), o.base.state <= 3) << where;
                        }
                    }
                }
            }
        }
    }
}

} // namespace
} // namespace charsetkit
