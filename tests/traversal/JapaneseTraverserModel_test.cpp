// The Shift_JIS and ISO-2022-JP traversers against models that describe
// their stops as a left-to-right reading of the text (characters, pairs and
// escape sequences) instead of a state machine: every 1- and 2-byte input,
// and longer inputs over alphabets that hold each kind of byte.
#include <charsetkit/traversal/JisTraverser.h>
#include <charsetkit/traversal/SjisTraverser.h>

#include "support/Bytes.h"
#include "support/SwitchesTest.h"
#include "support/Utf8Writer.h"
#include "traversal/TraverserTestUtil.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace charsetkit {
namespace {

class StopList {
public:
    void stop(std::size_t index, bool skipped) {
        m_text += (m_text.empty() ? "" : " ") + std::to_string(index) + (skipped ? "+skipped" : "");
    }
    std::string end(bool skipped) {
        m_text += std::string(m_text.empty() ? "" : " ") + "end" + (skipped ? "+skipped" : "");
        return m_text;
    }

private:
    std::string m_text;
};

// Shift_JIS: a byte below 0x80 (but ESC, SO, SI) is a character and a stop; a
// lead byte with a valid trail is a pair and is skipped; a lead byte without
// one is a stop, and the byte after it is read again; katakana are skipped
// while enabled; anything else is a stray byte and a stop.
std::string sjisModel(const std::string& text, bool kana) {
    StopList out;
    bool skipped = false;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned b = static_cast<unsigned char>(text[i]);
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        if (lead) {
            const bool paired = i + 1 < n && [&] {
                const unsigned t = static_cast<unsigned char>(text[i + 1]);
                return (t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC);
            }();
            if (paired) {
                skipped = true;
                i += 2;
            } else {
                out.stop(i, true);
                skipped = false;
                ++i;
            }
        } else if (kana && b >= 0xA1 && b <= 0xDF) {
            skipped = true;
            ++i;
        } else {
            out.stop(i, skipped);
            skipped = false;
            ++i;
        }
    }
    return out.end(skipped);
}

// ISO-2022-JP: every reading starts in ASCII mode. ESC ( B and ESC ( J lead
// to ASCII mode, ESC $ @, ESC $ B, ESC $ ( D and ESC ( I to a shifted mode;
// escape sequences are skipped, and a broken one makes its ESC a stop, after
// which the text is read in ASCII mode from the byte after the ESC. In ASCII
// mode every other byte is a stop; in a shifted mode every other byte is
// skipped. An escape sequence cut off by the end is skipped.
std::string jisModel(const std::string& text) {
    StopList out;
    bool skipped = false;
    bool ascii = true;
    const std::size_t n = text.size();
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    for (std::size_t i = 0; i < n;) {
        if (at(i) != 0x1B) {
            if (ascii) {
                out.stop(i, skipped);
                skipped = false;
            } else {
                skipped = true;
            }
            ++i;
            continue;
        }
        // An escape sequence: its length and the mode it leads to, 0 when cut
        // off by the end, -1 when broken.
        int length = -1;
        bool toAscii = false;
        if (i + 1 >= n) {
            length = 0;
        } else if (at(i + 1) == '$') {
            if (i + 2 >= n) {
                length = 0;
            } else if (at(i + 2) == '@' || at(i + 2) == 'B') {
                length = 3;
            } else if (at(i + 2) == '(') {
                length = i + 3 >= n ? 0 : at(i + 3) == 'D' ? 4 : -1;
            }
        } else if (at(i + 1) == '(') {
            if (i + 2 >= n) {
                length = 0;
            } else if (at(i + 2) == 'B' || at(i + 2) == 'J') {
                length = 3;
                toAscii = true;
            } else if (at(i + 2) == 'I') {
                length = 3;
            }
        }
        if (length == 0) {
            skipped = true;
            break;
        }
        if (length < 0) {
            out.stop(i, true);
            skipped = false;
            ascii = true;
            ++i;
            continue;
        }
        skipped = true;
        ascii = toAscii;
        i += static_cast<std::size_t>(length);
    }
    return out.end(skipped);
}

// Calls `check` for every string of 1 and 2 arbitrary bytes and for every
// string of 3 to `maxLength` bytes drawn from `alphabet`.
void forInputs(const std::vector<int>& alphabet, std::size_t maxLength,
               const std::function<void(const std::string&)>& check) {
    for (int a = 0; a < 256; ++a) {
        check(std::string(1, static_cast<char>(a)));
        for (int b = 0; b < 256; ++b) {
            check(test::bytes({a, b}));
        }
    }
    std::vector<std::size_t> digits;
    for (std::size_t length = 3; length <= maxLength; ++length) {
        digits.assign(length, 0);
        for (;;) {
            std::string s;
            for (std::size_t d : digits) {
                s.push_back(static_cast<char>(alphabet[d]));
            }
            check(s);
            std::size_t k = 0;
            while (k < length && ++digits[k] == alphabet.size()) {
                digits[k++] = 0;
            }
            if (k == length) {
                break;
            }
        }
    }
}

class JapaneseTraverserModelTest : public test::SwitchesTest {};

TEST_F(JapaneseTraverserModelTest, ShiftJis) {
    const std::vector<int> alphabet = {0x00, 0x1B, 0x3F, 0x40, 0x41, 0x7E, 0x7F, 0x80, 0x81,
                                       0x9F, 0xA0, 0xA1, 0xB1, 0xDF, 0xE0, 0xFC, 0xFD, 0xFF};
    for (bool kana : {true, false}) {
        setSingleByteKana(kana);
        int failures = 0;
        forInputs(alphabet, 4, [&](const std::string& s) {
            SjisTraverser t;
            const std::string expected = sjisModel(s, kana);
            const std::string actual = test::walk(t, s);
            if (actual != expected && failures++ < 10) {
                ADD_FAILURE() << test::hex(s) << (kana ? " (kana)" : "") << ": " << actual
                              << " instead of " << expected;
            }
        });
        EXPECT_EQ(failures, 0);
    }
}

TEST_F(JapaneseTraverserModelTest, Iso2022Jp) {
    const std::vector<int> alphabet = {0x1B, '$', '(', '@', 'B', 'D', 'I', 'J', 0x21, 0x82};
    int failures = 0;
    forInputs(alphabet, 5, [&](const std::string& s) {
        JisTraverser t;
        const std::string expected = jisModel(s);
        const std::string actual = test::walk(t, s);
        if (actual != expected && failures++ < 10) {
            ADD_FAILURE() << test::hex(s) << ": " << actual << " instead of " << expected;
        }
    });
    EXPECT_EQ(failures, 0);
}

} // namespace
} // namespace charsetkit
