// Deliberately plain conversions to UTF-8 by the Japanese machines: every
// byte goes through processByte and is written according to the state it
// leads to; from the first failure on, bytes are written as ISO-8859-1,
// starting with those of the character or escape sequence that the failure
// interrupted. Tests compare the machines' own conversion with these.
#ifndef CHARSETKIT_TESTS_REFERENCE_JAPANESECONVERSIONREFERENCE_H
#define CHARSETKIT_TESTS_REFERENCE_JAPANESECONVERSIONREFERENCE_H

#include <charsetkit/detectors/EucJpDetectorSM.h>
#include <charsetkit/detectors/JisDetectorSM.h>
#include <charsetkit/detectors/SjisDetectorSM.h>
#include <charsetkit/japanese/JapaneseConversions.h>

#include "support/Bytes.h"
#include "support/SwitchesTest.h"
#include "support/Utf8Writer.h"

#include <cstddef>
#include <string>

namespace charsetkit {
namespace reference {

/// Appends the character that `machine` completed with `byte` (and the
/// byte before it, `previous`), if any, and tells whether the byte ended
/// what had been pending: a character, or an escape sequence.
inline bool appendCompleted(SjisDetectorSM& m, unsigned char previous, unsigned char byte,
                            bool repl, bool& unmapped, std::string& out) {
    using JC = JapaneseConversions;
    switch (m.m_state) {
    case 0:
        test::appendUtf8(out, byte);
        return true;
    case 1:
        test::appendUtf8(out,
                         static_cast<unsigned long>(JC::jis0201ToUnicodeFix(byte, repl, unmapped)));
        return true;
    case 5:
        test::appendUtf8(out, static_cast<unsigned long>(JC::jis0208ToUnicodeFix(
                                  JC::sjisToJis(previous, byte), repl, unmapped)));
        return true;
    default:
        return false;
    }
}

inline bool appendCompleted(EucJpDetectorSM& m, unsigned char previous, unsigned char byte,
                            bool repl, bool& unmapped, std::string& out) {
    using JC = JapaneseConversions;
    const int code = previous * 256 + byte - 0x8080;
    switch (m.m_state) {
    case 0:
        test::appendUtf8(out, byte);
        return true;
    case 2:
        test::appendUtf8(out,
                         static_cast<unsigned long>(JC::jis0208ToUnicodeFix(code, repl, unmapped)));
        return true;
    case 4:
        test::appendUtf8(out,
                         static_cast<unsigned long>(JC::jis0201ToUnicodeFix(byte, repl, unmapped)));
        return true;
    case 7:
        test::appendUtf8(out,
                         static_cast<unsigned long>(JC::jis0212ToUnicodeFix(code, repl, unmapped)));
        return true;
    default:
        return false;
    }
}

inline bool appendCompleted(JisDetectorSM& m, unsigned char previous, unsigned char byte, bool repl,
                            bool& unmapped, std::string& out) {
    using JC = JapaneseConversions;
    const int code = previous * 256 + byte;
    switch (m.m_state) {
    case 1:
        test::appendUtf8(out, byte);
        return true;
    case 8:
        test::appendUtf8(
            out, static_cast<unsigned long>(JC::jis0201ToUnicodeFix(byte + 0x80, repl, unmapped)));
        return true;
    case 9:
    case 10:
        test::appendUtf8(out,
                         static_cast<unsigned long>(JC::jis0208ToUnicodeFix(code, repl, unmapped)));
        return true;
    case 11:
        test::appendUtf8(out,
                         static_cast<unsigned long>(JC::jis0212ToUnicodeFix(code, repl, unmapped)));
        return true;
    case 0:
    case 2:
    case 4:
    case 5:
    case 6:
    case 7:
        return true; // a designation, complete and silent
    default:
        return false;
    }
}

template <class Machine>
std::string convertPlain(Machine& machine, const std::string& input, bool repl, bool& unmapped) {
    std::string out;
    std::size_t pending = 0;
    for (std::size_t i = 0; i < input.size(); ++i) {
        const auto byte = static_cast<unsigned char>(input[i]);
        const bool failedBefore = machine.m_error;
        machine.processByte(byte, false);
        if (machine.m_error) {
            for (std::size_t k = failedBefore ? i : pending; k <= i; ++k) {
                test::appendUtf8(out, static_cast<unsigned char>(input[k]));
            }
            continue;
        }
        const auto previous = static_cast<unsigned char>(i > 0 ? input[i - 1] : 0);
        if (appendCompleted(machine, previous, byte, repl, unmapped, out)) {
            pending = i + 1;
        }
    }
    return out;
}

} // namespace reference
} // namespace charsetkit

#endif
