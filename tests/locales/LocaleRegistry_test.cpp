#include <charsetkit/locales/AbstractLocale.h>
#include <charsetkit/locales/JapaneseLocale.h>
#include <charsetkit/locales/KoreanLocale.h>
#include <charsetkit/locales/Utf8Locale.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>

namespace charsetkit {
namespace {

using LocalePtr = std::unique_ptr<AbstractLocale>;

AbstractLocale::eLocalIds localeId(int value) {
    return static_cast<AbstractLocale::eLocalIds>(value);
}

TEST(LocaleRegistry, EveryExactNameGivesItsLocale) {
    struct Case {
        const char* name;
        int id;
        const char* fullName;
        const char* shortName;
    };
    const Case cases[] = {
        {"Japanese", 2, "Japanese", "jp"}, {"jp", 2, "Japanese", "jp"},
        {"Korean", 3, "Korean", "ko-Kr"},  {"ko-Kr", 3, "Korean", "ko-Kr"},
        {"Utf8", 1, "Utf8", "utf8"},       {"utf8", 1, "Utf8", "utf8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LocalePtr locale(AbstractLocale::getLocaleForName(c.name));
        ASSERT_NE(locale, nullptr);
        EXPECT_EQ(locale->getID(), c.id);
        EXPECT_STREQ(locale->getName(), c.fullName);
        EXPECT_STREQ(locale->getShortName(), c.shortName);
    }
}

TEST(LocaleRegistry, NamesAreComparedWholeAndCaseSensitively) {
    const char* const rejected[] = {"japanese",  "JP",        "ko-KR", "UTF8", "utf-8", "",
                                    "Japanese ", " Japanese", "Jap",   "jpn",  "korean"};
    for (const char* name : rejected) {
        SCOPED_TRACE(std::string("\"") + name + "\"");
        EXPECT_EQ(AbstractLocale::getLocaleForName(name), nullptr);
    }
    EXPECT_EQ(AbstractLocale::getLocaleForName(nullptr), nullptr);
}

TEST(LocaleRegistry, IdsOneToThreeOnly) {
    const LocalePtr utf8(AbstractLocale::getLocaleForId(localeId(1)));
    const LocalePtr japanese(AbstractLocale::getLocaleForId(localeId(2)));
    const LocalePtr korean(AbstractLocale::getLocaleForId(localeId(3)));
    ASSERT_NE(utf8, nullptr);
    ASSERT_NE(japanese, nullptr);
    ASSERT_NE(korean, nullptr);
    EXPECT_NE(dynamic_cast<Utf8Locale*>(utf8.get()), nullptr);
    EXPECT_NE(dynamic_cast<JapaneseLocale*>(japanese.get()), nullptr);
    EXPECT_NE(dynamic_cast<KoreanLocale*>(korean.get()), nullptr);
    EXPECT_STREQ(korean->getShortName(), "ko-Kr");

    for (int id : {0, 4, 5, -1, -2, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(AbstractLocale::getLocaleForId(localeId(id)), nullptr);
    }
}

TEST(LocaleRegistry, EachCallMakesAFreshLocale) {
    const LocalePtr first(AbstractLocale::getLocaleForName("Korean"));
    const LocalePtr second(AbstractLocale::getLocaleForName("Korean"));
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first.get(), second.get());

    // A locale from the registry starts with its defaults, whatever was done
    // to an earlier one.
    first->setExportedEncoding(AbstractEncoding::Utf8);
    const LocalePtr third(AbstractLocale::getLocaleForName("ko-Kr"));
    EXPECT_EQ(third->getExportedEncoding(), AbstractEncoding::EucKr);
}

TEST(LocaleFields, ExportedEncodingDefaults) {
    EXPECT_EQ(Utf8Locale().getExportedEncoding(), 0);
    EXPECT_EQ(JapaneseLocale().getExportedEncoding(), AbstractEncoding::Sjis);
    EXPECT_EQ(KoreanLocale().getExportedEncoding(), AbstractEncoding::EucKr);
}

TEST(LocaleFields, CopiesAndAssignmentsKeepBothFields) {
    Utf8Locale utf8;
    utf8.setExportedEncoding(AbstractEncoding::Utf8);
    EXPECT_EQ(utf8.getExportedEncoding(), AbstractEncoding::Utf8);
    Utf8Locale utf8Copy(utf8);
    EXPECT_EQ(utf8Copy.getExportedEncoding(), AbstractEncoding::Utf8);

    // The restrictive flag shows through the Japanese verifyUtf8: U+00A5
    // (C2 A5) has no JIS code, so the restricted rules refuse it when
    // characters are verified.
    const char yen[] = "\xC2\xA5";
    JapaneseLocale japanese;
    japanese.useRestrictiveUtf8(true);
    japanese.setExportedEncoding(AbstractEncoding::EucJp);
    JapaneseLocale japaneseCopy(japanese);
    EXPECT_EQ(japaneseCopy.getExportedEncoding(), AbstractEncoding::EucJp);
    EXPECT_FALSE(japaneseCopy.verifyUtf8(yen, 2, true, false));

    JapaneseLocale assigned;
    EXPECT_TRUE(assigned.verifyUtf8(yen, 2, true, false));
    assigned = japanese;
    EXPECT_EQ(assigned.getExportedEncoding(), AbstractEncoding::EucJp);
    EXPECT_FALSE(assigned.verifyUtf8(yen, 2, true, false));

    KoreanLocale korean;
    korean.setExportedEncoding(AbstractEncoding::Utf8);
    KoreanLocale koreanAssigned;
    koreanAssigned = korean;
    EXPECT_EQ(koreanAssigned.getExportedEncoding(), AbstractEncoding::Utf8);

    // Through the base class, as callers holding registry locales do.
    const LocalePtr base(AbstractLocale::getLocaleForId(localeId(2)));
    base->setExportedEncoding(AbstractEncoding::Jis);
    EXPECT_EQ(base->getExportedEncoding(), AbstractEncoding::Jis);
}

// Runs in a process where every test restores what it changes.
TEST(LocaleSettings, StartValues) {
    EXPECT_EQ(AbstractLocale::getSupportedEncodings(), AbstractLocale::LocalAndUtf8);
    EXPECT_TRUE(JapaneseLocale::getSupportSingleByteKana());
    EXPECT_TRUE(JapaneseLocale::getSupportSupplementaryKanji());
    EXPECT_TRUE(JapaneseLocale::getSupportSjisExtensions());
    EXPECT_FALSE(JapaneseLocale::getSupportJisExtendedRange());
}

} // namespace
} // namespace charsetkit
