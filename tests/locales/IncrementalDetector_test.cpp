// Incremental detection against the locales' whole-buffer detection: the
// same answer for every cutting and setting, a decision that never changes
// once signalled, and the provisional answer for a buffer cut inside a
// character.
#include <charsetkit/locales/IncrementalDetector.h>
#include <charsetkit/locales/JapaneseLocale.h>
#include <charsetkit/locales/KoreanLocale.h>
#include <charsetkit/locales/Utf8Locale.h>

#include "support/Bytes.h"
#include "support/StreamInputs.h"
#include "support/SwitchesTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

using namespace charsetkit;
using test::bytes;

namespace {

using EncodingID = AbstractEncoding::EncodingID;
using Encodings = std::vector<EncodingID>;

struct DetectionSetup {
    AbstractLocale::eLocalIds locale;
    int supported;
    bool restrictive;
    bool verifyCharacters;
    bool rejectRedundantEscapes;
    int escapeRunLimit;
    bool scanToEnd;
};

std::ostream& operator<<(std::ostream& os, const DetectionSetup& s) {
    return os << "locale " << s.locale << " supported " << s.supported << " restrictive "
              << s.restrictive << " verify " << s.verifyCharacters << " reject "
              << s.rejectRedundantEscapes << " limit " << s.escapeRunLimit << " scanToEnd "
              << s.scanToEnd;
}

std::unique_ptr<AbstractLocale> makeLocale(const DetectionSetup& setup) {
    std::unique_ptr<AbstractLocale> locale(AbstractLocale::getLocaleForId(setup.locale));
    locale->useRestrictiveUtf8(setup.restrictive);
    return locale;
}

// Every setting for the made-up inputs; the usual ones for files.
std::vector<DetectionSetup> setups(bool all) {
    std::vector<DetectionSetup> out;
    for (const auto locale :
         {AbstractLocale::eUtf8, AbstractLocale::eJapanese, AbstractLocale::eKorean}) {
        for (const int supported : {0, 1, 2, 7}) {
            if (!all && supported != 2) {
                continue;
            }
            for (const bool scanToEnd : {false, true}) {
                for (const bool verify : {false, true}) {
                    if (!all && !verify) {
                        continue;
                    }
                    out.push_back({locale, supported, false, verify, false, 3, scanToEnd});
                }
            }
        }
    }
    if (all) {
        out.push_back({AbstractLocale::eJapanese, 2, true, true, false, 3, false});
        out.push_back({AbstractLocale::eJapanese, 2, false, false, true, 1, false});
        out.push_back({AbstractLocale::eJapanese, 0, false, false, false, 0, true});
    }
    return out;
}

class IncrementalDetectorMatchesWhole : public test::SwitchesTest {
protected:
    void check(const test::NamedInput& input, const DetectionSetup& setup) {
        AbstractLocale::setSupportedEncodings(
            static_cast<AbstractLocale::SupportedEncodings>(setup.supported));
        auto locale = makeLocale(setup);
        Encodings whole;
        locale->detectAndVerifyEncoding(input.bytes.data(),
                                        static_cast<unsigned int>(input.bytes.size()),
                                        setup.verifyCharacters, setup.rejectRedundantEscapes,
                                        setup.escapeRunLimit, setup.scanToEnd, &whole);
        for (const auto& cutting : test::cuttingsFor(input)) {
            IncrementalDetector detector(*locale, setup.verifyCharacters,
                                         setup.rejectRedundantEscapes, setup.escapeRunLimit,
                                         setup.scanToEnd);
            std::size_t position = 0;
            bool decidedEarly = false;
            for (std::size_t i = 0; i < cutting.size(); ++i) {
                const bool last = i + 1 == cutting.size();
                const bool decided = detector.feed(input.bytes.data() + position,
                                                   static_cast<unsigned int>(cutting[i]), last);
                position += cutting[i];
                if (decided && !last && !decidedEarly) {
                    decidedEarly = true;
                    // The signal comes with the final answer already.
                    ASSERT_EQ(detector.encodings(), whole)
                        << input.name << " " << setup << " cut " << test::describe(cutting);
                }
            }
            if (cutting.empty()) {
                detector.feed(nullptr, 0, true);
            }
            ASSERT_TRUE(detector.isDecided());
            ASSERT_EQ(detector.encodings(), whole)
                << input.name << " " << setup << " cut " << test::describe(cutting);
            ASSERT_EQ(detector.bytesFed(), input.bytes.size());
        }
    }
};

TEST_F(IncrementalDetectorMatchesWhole, MadeUpInputsUnderEverySetting) {
    for (const auto& input : test::madeUpInputs()) {
        for (const auto& setup : setups(true)) {
            check(input, setup);
        }
    }
}

TEST_F(IncrementalDetectorMatchesWhole, SamplesAndPages) {
    for (const auto& input : test::fileInputs()) {
        for (const auto& setup : setups(false)) {
            check(input, setup);
        }
    }
}

TEST_F(IncrementalDetectorMatchesWhole, DecidesAtTheEarlyDecision) {
    // abc C3 A9 FF: the UTF-8 locale decides after A9 and never reads FF.
    Utf8Locale locale;
    IncrementalDetector detector(locale, false, false, 3, false);
    const std::string input = bytes("61 62 63 C3 A9 FF");
    for (std::size_t i = 0; i < input.size(); ++i) {
        const bool decided = detector.feed(input.data() + i, 1, false);
        EXPECT_EQ(decided, i >= 4) << "after byte " << i;
    }
    EXPECT_EQ(detector.encodings(), Encodings{AbstractEncoding::Utf8});
    EXPECT_FALSE(detector.isFinished());
}

TEST_F(IncrementalDetectorMatchesWhole, KoreanWaitsForTheEucKrCheck) {
    // UTF-8 is decided early, but the EUC-KR check reads to the end.
    AbstractLocale::setSupportedEncodings(AbstractLocale::LocalAndUtf8);
    KoreanLocale locale;
    IncrementalDetector detector(locale, false, false, 3, false);
    EXPECT_FALSE(detector.feed("\xC3\xA9 ", 3, false)); // also two EUC-KR characters
    EXPECT_TRUE(detector.encodings().empty());
    EXPECT_TRUE(detector.feed("\x80", 1, false)); // EUC-KR fails here
    EXPECT_EQ(detector.encodings(), Encodings{AbstractEncoding::Utf8});
}

TEST_F(IncrementalDetectorMatchesWhole, CandidatesSoFarKeepAnEncodingCutInsideACharacter) {
    AbstractLocale::setSupportedEncodings(AbstractLocale::LocalAndUtf8);
    KoreanLocale korean;
    JapaneseLocale japanese;
    struct Case {
        AbstractLocale* locale;
        std::string bytes;
        Encodings soFar;
    };
    const Case cases[] = {
        // EUC-KR cut after a lead byte: whole-buffer detection finds nothing.
        {&korean, bytes("B0 A1 20 B0"), {AbstractEncoding::EucKr}},
        // UTF-8 cut inside its first character: not confirmed yet, but open.
        {&korean, bytes("41 EA B0"), {AbstractEncoding::Utf8, AbstractEncoding::EucKr}},
        // ISO-2022-JP still in JIS X 0208, and cut inside a pair.
        {&japanese, bytes("1B 24 42 30 21 30"), {AbstractEncoding::Jis}},
        // Plain ASCII so far.
        {&japanese, "abc", {AbstractEncoding::Ascii}},
        // Everything failed: decided, nothing.
        {&japanese, bytes("80 FF"), {}},
    };
    for (const auto& c : cases) {
        IncrementalDetector detector(*c.locale, true, false, 3, false);
        detector.feed(c.bytes.data(), static_cast<unsigned int>(c.bytes.size()), false);
        Encodings soFar;
        detector.candidatesSoFar(soFar);
        EXPECT_EQ(soFar, c.soFar) << test::hex(c.bytes);
    }
}

TEST_F(IncrementalDetectorMatchesWhole, KoreanPagePrefixesEndingInsideACharacter) {
    // Whole-buffer detection answers nothing for a prefix that ends inside
    // a character; the provisional answer keeps EUC-KR for every prefix.
    AbstractLocale::setSupportedEncodings(AbstractLocale::LocalAndUtf8);
    const std::string page =
        test::readFile(std::string(CHARSETKIT_SOURCE_DIR) + "/samples/ko-page.euc-kr.html");
    ASSERT_FALSE(page.empty());
    KoreanLocale locale;
    int cutInside = 0;
    for (std::size_t length = 1; length <= page.size(); ++length) {
        Encodings whole;
        locale.detectAndVerifyEncoding(page.data(), static_cast<unsigned int>(length), true, false,
                                       3, false, &whole);
        IncrementalDetector detector(locale, true, false, 3, false);
        detector.feed(page.data(), static_cast<unsigned int>(length), false);
        Encodings soFar;
        detector.candidatesSoFar(soFar);
        if (whole.empty()) {
            ++cutInside;
        }
        const bool plain = soFar == Encodings{AbstractEncoding::Ascii};
        EXPECT_TRUE(plain || soFar == Encodings{AbstractEncoding::EucKr}) << "prefix " << length;
    }
    EXPECT_GT(cutInside, 0);
}

TEST_F(IncrementalDetectorMatchesWhole, RefusesMissingPiecesAndFeedsAfterTheLast) {
    JapaneseLocale locale;
    IncrementalDetector detector(locale, false, false, 3, false);
    EXPECT_FALSE(detector.feed(nullptr, 4, true));
    EXPECT_FALSE(detector.isFinished());
    EXPECT_TRUE(detector.feed("abc", 3, true));
    EXPECT_TRUE(detector.feed("\x80", 1, true));
    EXPECT_EQ(detector.encodings(), Encodings{AbstractEncoding::Ascii});
    EXPECT_EQ(detector.bytesFed(), 3u);
}

} // namespace
