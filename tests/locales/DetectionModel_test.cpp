// The locales' detection and UTF-8 verification against a deliberately plain
// model: one byte at a time through the machines' virtual interface, failed
// machines erased from a copy of the list, no fast paths. Buffers are mixed
// from pieces of every encoding and then mutated, and every combination of
// setting, flags and limits is tried, so that a shortcut in the library
// (the ASCII pre-scan, the stack array, the Korean prefix skip, the direct
// verification driver) cannot change an answer unnoticed.
#include <charsetkit/detectors/EucJpDetectorSM.h>
#include <charsetkit/detectors/JapaneseUtf8DetectorSM.h>
#include <charsetkit/detectors/JisDetectorSM.h>
#include <charsetkit/detectors/SjisDetectorSM.h>
#include <charsetkit/detectors/Utf8DetectorSM.h>
#include <charsetkit/korean/KoreanUtil.h>
#include <charsetkit/locales/JapaneseLocale.h>
#include <charsetkit/locales/KoreanLocale.h>
#include <charsetkit/locales/Utf8Locale.h>

#include "support/Bytes.h"
#include "support/SwitchesTest.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace charsetkit {
namespace {

using Ids = std::vector<AbstractEncoding::EncodingID>;

struct Flags {
    bool verifyCharacters;
    bool rejectRedundantEscapes;
    int escapeRunLimit;
    bool scanToEnd;
};

bool isPlainAscii(unsigned char byte) {
    return byte < 0x80 && byte != 0x1B && byte != 0x0E && byte != 0x0F;
}

Ids modelDetect(const std::string& buffer, const Flags& flags,
                std::vector<AbstractDetectorSM*> machines) {
    std::size_t pos = 0;
    while (pos < buffer.size() && isPlainAscii(static_cast<unsigned char>(buffer[pos]))) {
        ++pos;
    }
    if (pos == buffer.size()) {
        return {AbstractEncoding::Ascii};
    }
    for (; pos < buffer.size(); ++pos) {
        std::size_t survivors = 0;
        std::size_t confirmed = 0;
        std::size_t inChar = 0;
        AbstractDetectorSM* lastConfirmed = nullptr;
        for (std::size_t i = 0; i < machines.size();) {
            AbstractDetectorSM* const machine = machines[i];
            machine->processByte(static_cast<unsigned char>(buffer[pos]), flags.verifyCharacters);
            machine->checkLimits(flags.rejectRedundantEscapes, flags.escapeRunLimit);
            if (machine->m_error) {
                machines.erase(machines.begin() + static_cast<std::ptrdiff_t>(i));
                continue;
            }
            ++survivors;
            if (machine->m_confirmed) {
                ++confirmed;
                lastConfirmed = machine;
            }
            if (machine->m_inChar) {
                ++inChar;
            }
            ++i;
        }
        if (!flags.scanToEnd && inChar == 0 && confirmed == 1) {
            return {lastConfirmed->getEncodingID()};
        }
        if (survivors == 0) {
            return {};
        }
    }
    Ids out;
    for (AbstractDetectorSM* machine : machines) {
        if (machine->m_confirmed && !machine->m_error && !machine->m_inChar &&
            machine->isValidEndState()) {
            out.push_back(machine->getEncodingID());
        }
    }
    return out;
}

Ids modelJapanese(const std::string& buffer, const Flags& flags, int setting, bool restrictive) {
    JisDetectorSM jis;
    SjisDetectorSM sjis;
    EucJpDetectorSM eucJp;
    Utf8DetectorSM plainUtf8;
    JapaneseUtf8DetectorSM restrictedUtf8;
    AbstractDetectorSM* const utf8 =
        restrictive ? static_cast<AbstractDetectorSM*>(&restrictedUtf8) : &plainUtf8;
    switch (setting) {
    case AbstractLocale::LocalOnly:
        return modelDetect(buffer, flags, {&jis, &sjis, &eucJp});
    case AbstractLocale::Utf8Only:
        return modelDetect(buffer, flags, {utf8});
    case AbstractLocale::LocalAndUtf8:
        return modelDetect(buffer, flags, {&jis, &sjis, &eucJp, utf8});
    default:
        return modelDetect(buffer, flags, {});
    }
}

Ids modelKorean(const std::string& buffer, const Flags& flags, int setting) {
    bool plain = true;
    for (char c : buffer) {
        plain = plain && isPlainAscii(static_cast<unsigned char>(c));
    }
    if (plain) {
        return {AbstractEncoding::Ascii};
    }
    const bool eucKr = KoreanUtil::getInstance()->isEucKrCharSet(
        reinterpret_cast<const unsigned char*>(buffer.data()),
        static_cast<unsigned int>(buffer.size()));
    Utf8DetectorSM utf8;
    Ids out;
    if (setting == AbstractLocale::Utf8Only || setting == AbstractLocale::LocalAndUtf8) {
        out = modelDetect(buffer, flags, {&utf8});
    }
    if ((setting == AbstractLocale::LocalOnly || setting == AbstractLocale::LocalAndUtf8) &&
        eucKr) {
        out.push_back(AbstractEncoding::EucKr);
    }
    return out;
}

Ids modelUtf8(const std::string& buffer, const Flags& flags) {
    Utf8DetectorSM utf8;
    return modelDetect(buffer, flags, {&utf8});
}

// Mark-up mixed with characters of every encoding, escape sequences and
// stray bytes, then single-byte mutations of some of them.
std::vector<std::string> sampleBuffers() {
    const std::vector<std::string> pieces = {
        "<p>",
        "text ",
        "\n",
        test::bytes("1B 24 42 30 21 24 22"), // ISO-2022-JP, JIS X 0208
        test::bytes("1B 28 42"),             // back to ASCII
        test::bytes("1B 28 4A"),             // JIS X 0201 Roman
        test::bytes("1B 24 40"),             // old JIS X 0208 designation
        test::bytes("1B 24 28 44 30 21"),    // JIS X 0212
        test::bytes("0E 31 0F"),             // shifted katakana
        test::bytes("82 A0 88 9F"),          // Shift_JIS
        test::bytes("B1 B2"),                // katakana, or one EUC pair
        test::bytes("87 40"),                // code page 932 extension
        test::bytes("A4 A2 B0 A1"),          // EUC-JP
        test::bytes("8E B1"),                // EUC-JP katakana
        test::bytes("8F B0 A1"),             // EUC-JP JIS X 0212
        test::bytes("C7 D1 B1 B9"),          // EUC-KR
        test::bytes("E3 81 82"),             // UTF-8 with a JIS code
        test::bytes("C2 A5"),                // UTF-8 without one
        test::bytes("F0 9F 98 80"),          // UTF-8, four bytes
        test::bytes("C3"),                   // an open UTF-8 character
        test::bytes("FF"),
        test::bytes("80"),
        test::bytes("1B"),
    };
    std::mt19937 rng(20240611);
    std::vector<std::string> out;
    for (int round = 0; round < 400; ++round) {
        std::string s;
        const auto count = rng() % 7;
        for (unsigned i = 0; i < count; ++i) {
            s += pieces[rng() % pieces.size()];
        }
        out.push_back(s);
        if (round % 8 == 0 && !s.empty()) {
            std::string mutated = s;
            mutated[rng() % mutated.size()] = static_cast<char>(rng() % 256);
            out.push_back(mutated);
        }
    }
    // Long plain runs before the first other byte, across the eight-byte
    // steps of the pre-scan.
    for (std::size_t prefix = 0; prefix < 20; ++prefix) {
        out.push_back(std::string(prefix, 'a') + test::bytes("82 A0"));
        out.push_back(std::string(prefix, 'a') + test::bytes("1B 24 42 30 21 1B 28 42"));
    }
    return out;
}

class DetectionModel : public test::SwitchesTest {};

TEST_F(DetectionModel, LocalesAgreeWithThePlainModel) {
    const std::vector<std::string> buffers = sampleBuffers();
    JapaneseLocale japanese;
    KoreanLocale korean;
    Utf8Locale utf8;
    int compared = 0;
    for (int setting : {0, 1, 2, 3}) {
        AbstractLocale::setSupportedEncodings(
            static_cast<AbstractLocale::SupportedEncodings>(setting));
        for (int combination = 0; combination < 32; ++combination) {
            const int limits[] = {0, 1, 2, 10};
            const Flags flags{(combination & 1) != 0, (combination & 2) != 0,
                              limits[(combination >> 2) & 3], (combination & 16) != 0};
            for (bool restrictive : {false, true}) {
                japanese.useRestrictiveUtf8(restrictive);
                for (const std::string& buffer : buffers) {
                    const auto length = static_cast<unsigned int>(buffer.size());
                    SCOPED_TRACE("setting " + std::to_string(setting) + " combination " +
                                 std::to_string(combination) + " restrictive " +
                                 std::to_string(restrictive) + " bytes " + test::hex(buffer));
                    Ids found{AbstractEncoding::Jis};
                    japanese.detectAndVerifyEncoding(buffer.data(), length, flags.verifyCharacters,
                                                     flags.rejectRedundantEscapes,
                                                     flags.escapeRunLimit, flags.scanToEnd, &found);
                    ASSERT_EQ(found, modelJapanese(buffer, flags, setting, restrictive));
                    if (restrictive) {
                        continue; // the other locales ignore the flag
                    }
                    found = {AbstractEncoding::Jis};
                    korean.detectAndVerifyEncoding(buffer.data(), length, flags.verifyCharacters,
                                                   flags.rejectRedundantEscapes,
                                                   flags.escapeRunLimit, flags.scanToEnd, &found);
                    ASSERT_EQ(found, modelKorean(buffer, flags, setting));
                    found = {AbstractEncoding::Jis};
                    utf8.detectAndVerifyEncoding(buffer.data(), length, flags.verifyCharacters,
                                                 flags.rejectRedundantEscapes, flags.escapeRunLimit,
                                                 flags.scanToEnd, &found);
                    ASSERT_EQ(found, modelUtf8(buffer, flags));
                    ++compared;
                }
            }
        }
    }
    EXPECT_GT(compared, 10000);
}

// verifyUtf8: which machine runs, with which verifyCharacters, through the
// plain driver of that machine.
TEST_F(DetectionModel, VerifyUtf8AgreesWithTheMachineOfEachLocale) {
    JapaneseLocale japanese;
    KoreanLocale korean;
    Utf8Locale utf8;
    for (const std::string& buffer : sampleBuffers()) {
        const auto length = static_cast<unsigned int>(buffer.size());
        for (int combination = 0; combination < 8; ++combination) {
            const bool verifyCharacters = (combination & 1) != 0;
            const bool restrictive = (combination & 2) != 0;
            const bool member = (combination & 4) != 0;
            SCOPED_TRACE("combination " + std::to_string(combination) + " bytes " +
                         test::hex(buffer));
            Utf8DetectorSM plain;
            JapaneseUtf8DetectorSM restricted;
            Utf8DetectorSM structural;
            const bool plainAnswer =
                plain.verify(buffer.data(), length, verifyCharacters, false, 0);
            const bool restrictedAnswer =
                restricted.verify(buffer.data(), length, verifyCharacters, false, 0);
            const bool structuralAnswer = structural.verify(buffer.data(), length, false, false, 0);

            japanese.useRestrictiveUtf8(member);
            korean.useRestrictiveUtf8(member);
            utf8.useRestrictiveUtf8(member);
            ASSERT_EQ(japanese.verifyUtf8(buffer.data(), length, verifyCharacters, restrictive),
                      (member || restrictive) ? restrictedAnswer : plainAnswer);
            ASSERT_EQ(korean.verifyUtf8(buffer.data(), length, verifyCharacters, restrictive),
                      plainAnswer);
            ASSERT_EQ(utf8.verifyUtf8(buffer.data(), length, verifyCharacters, restrictive),
                      structuralAnswer);
        }
    }
}

} // namespace
} // namespace charsetkit
