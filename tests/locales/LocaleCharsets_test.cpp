// Charset labels and the choice of HTML-safe traverser in each locale.
#include <charsetkit/encodings/AsciiEncoding.h>
#include <charsetkit/encodings/EucJpEncoding.h>
#include <charsetkit/encodings/EucKrEncoding.h>
#include <charsetkit/encodings/JisEncoding.h>
#include <charsetkit/encodings/SjisEncoding.h>
#include <charsetkit/encodings/Utf8Encoding.h>
#include <charsetkit/locales/JapaneseLocale.h>
#include <charsetkit/locales/KoreanLocale.h>
#include <charsetkit/locales/Utf8Locale.h>
#include <charsetkit/traversal/AsciiTraverser.h>
#include <charsetkit/traversal/EucJpTraverser.h>
#include <charsetkit/traversal/EucKrTraverser.h>
#include <charsetkit/traversal/JisTraverser.h>
#include <charsetkit/traversal/SjisTraverser.h>
#include <charsetkit/traversal/Utf8Traverser.h>

#include "support/SwitchesTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <typeindex>
#include <typeinfo>
#include <vector>

namespace charsetkit {
namespace {

using Encodings = std::vector<const AbstractEncoding*>;

const AsciiEncoding kAscii;
const Utf8Encoding kUtf8;
const EucJpEncoding kEucJp;
const SjisEncoding kSjis;
const JisEncoding kJis;
const EucKrEncoding kEucKr;

class LocaleCharsets : public test::SwitchesTest {
protected:
    static void setSupported(int value) {
        AbstractLocale::setSupportedEncodings(
            static_cast<AbstractLocale::SupportedEncodings>(value));
    }

    JapaneseLocale m_japanese;
    KoreanLocale m_korean;
    Utf8Locale m_utf8;
};

TEST_F(LocaleCharsets, LabelsUnderEachSetting) {
    // Expected results in the Japanese, Korean and UTF-8 locales, for the
    // settings LocalOnly, Utf8Only, LocalAndUtf8 and an undefined value.
    struct Case {
        const char* label;
        int japanese[4];
        int korean[4];
        int utf8[4];
    };
    const Case cases[] = {
        {"iso-8859-1", {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}},
        {"US-ASCII", {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}},
        {"windows-1252", {1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}},
        {"utf-8", {0, 2, 2, 0}, {0, 2, 2, 0}, {2, 2, 2, 2}},
        {"UTF8", {0, 2, 2, 0}, {0, 2, 2, 0}, {2, 2, 2, 2}},
        {"shift_jis", {4, 0, 4, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {"x-sjis", {4, 0, 4, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {"euc-jp", {3, 0, 3, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {"ISO-2022-JP", {5, 0, 5, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {"euc-kr", {0, 0, 0, 0}, {6, 0, 6, 0}, {0, 0, 0, 0}},
        {"ks_c_5601-1987", {0, 0, 0, 0}, {6, 0, 6, 0}, {0, 0, 0, 0}},
        {"x-euc", {3, 0, 3, 0}, {6, 0, 6, 0}, {0, 0, 0, 0}},
        {"", {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {" utf-8", {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}},
        {"Western", {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}},
    };
    const int settings[] = {AbstractLocale::LocalOnly, AbstractLocale::Utf8Only,
                            AbstractLocale::LocalAndUtf8, 3};
    for (int s = 0; s < 4; ++s) {
        setSupported(settings[s]);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string("\"") + c.label + "\" setting " + std::to_string(settings[s]));
            EXPECT_EQ(m_japanese.getEncoding(c.label), c.japanese[s]);
            EXPECT_EQ(m_korean.getEncoding(c.label), c.korean[s]);
            EXPECT_EQ(m_utf8.getEncoding(c.label), c.utf8[s]);
        }
    }
    EXPECT_EQ(m_japanese.getEncoding(nullptr), 0);
    EXPECT_EQ(m_korean.getEncoding(nullptr), 0);
    EXPECT_EQ(m_utf8.getEncoding(nullptr), 0);
}

// The class of a traverser, or of "null".
std::type_index classOf(const std::unique_ptr<AbstractTraverser>& traverser) {
    const AbstractTraverser* const raw = traverser.get();
    return raw != nullptr ? std::type_index(typeid(*raw)) : std::type_index(typeid(nullptr));
}

template <class T>
std::type_index is() {
    return std::type_index(typeid(T));
}

std::type_index null() {
    return std::type_index(typeid(nullptr));
}

struct ListCase {
    Encodings list;
    std::type_index japanese;
    std::type_index korean;
};

TEST_F(LocaleCharsets, TraverserForAListOfEncodings) {
    const ListCase cases[] = {
        {{}, is<JisTraverser>(), is<EucKrTraverser>()},
        {{&kAscii}, is<AsciiTraverser>(), is<AsciiTraverser>()},
        {{&kJis}, is<JisTraverser>(), null()},
        {{&kSjis}, is<SjisTraverser>(), null()},
        {{&kEucJp}, is<EucJpTraverser>(), null()},
        {{&kUtf8}, is<Utf8Traverser>(), is<Utf8Traverser>()},
        {{&kEucKr}, is<JisTraverser>(), is<EucKrTraverser>()},
        {{nullptr}, is<JisTraverser>(), null()},
        {{&kSjis, &kJis}, is<JisTraverser>(), null()},
        {{&kSjis, &kEucJp}, is<AsciiTraverser>(), null()},
        {{&kUtf8, &kEucKr}, is<AsciiTraverser>(), null()},
        {{&kEucKr, &kUtf8, &kAscii, nullptr, &kJis}, is<JisTraverser>(), null()},
        {{&kAscii, &kAscii}, is<AsciiTraverser>(), null()},
    };
    // The setting plays no part.
    for (int setting : {0, 1, 2}) {
        setSupported(setting);
        for (std::size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
            SCOPED_TRACE("case " + std::to_string(i) + ", setting " + std::to_string(setting));
            const ListCase& c = cases[i];
            const std::unique_ptr<AbstractTraverser> japanese(
                m_japanese.getHtmlSafeEncodingTraverser(c.list));
            const std::unique_ptr<AbstractTraverser> korean(
                m_korean.getHtmlSafeEncodingTraverser(c.list));
            const std::unique_ptr<AbstractTraverser> utf8(
                m_utf8.getHtmlSafeEncodingTraverser(c.list));
            EXPECT_EQ(classOf(japanese), c.japanese);
            EXPECT_EQ(classOf(korean), c.korean);
            EXPECT_EQ(classOf(utf8), is<AsciiTraverser>());
        }
    }
}

// An encoding known only by its preferred name; everything else about it
// (its class, its display name, its predicates) points nowhere.
class NamedEncoding : public AbstractEncoding {
public:
    explicit NamedEncoding(const char* preferred) : m_preferred(preferred) {}
    const char* getDisplayName() const override { return "Japanese (EUC)"; }
    const char* getPreferedID() const override { return m_preferred; }
    const char* getJavaName() const override { return "SJIS"; }
    bool isAliasOrName(const char*) const override { return false; }
    bool isKindOfUtf8() const override { return true; }
    bool isStateful() const override { return true; }
    AbstractTraverser* getExactEncodingTraverser() const override { return nullptr; }
    bool convertToUtf8(const char*, unsigned int, std::string&, bool&, bool) const override {
        return false;
    }
    bool convertFromUtf8(const char*, unsigned int, std::string&) const override { return false; }
    bool verify(const char*, unsigned int, bool, bool, int) const override { return false; }

private:
    const char* m_preferred;
};

TEST_F(LocaleCharsets, ListElementsAreClassifiedByTheirPreferredName) {
    // The preferred name is matched against the alias lists, ignoring case,
    // in the order ASCII, ISO-2022-JP, Shift_JIS, EUC-JP, UTF-8 (Japanese)
    // or ASCII, EUC-KR, UTF-8 (Korean).
    const NamedEncoding upperUtf8("UTF8");
    const NamedEncoding sharedEuc("x-euc");
    const NamedEncoding jisAlias("csISO2022JP");
    const NamedEncoding latin1("LATIN1");
    const NamedEncoding displayName("Japanese (EUC)");
    const NamedEncoding unnamed(nullptr);
    const ListCase cases[] = {
        {{&upperUtf8}, is<Utf8Traverser>(), is<Utf8Traverser>()},
        {{&sharedEuc}, is<EucJpTraverser>(), is<EucKrTraverser>()},
        {{&jisAlias}, is<JisTraverser>(), null()},
        {{&latin1}, is<AsciiTraverser>(), is<AsciiTraverser>()},
        {{&displayName}, is<JisTraverser>(), null()},
        {{&unnamed}, is<JisTraverser>(), null()},
        {{&kSjis, &jisAlias}, is<JisTraverser>(), null()},
        {{&unnamed, &kEucJp}, is<AsciiTraverser>(), null()},
    };
    for (std::size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        const std::unique_ptr<AbstractTraverser> japanese(
            m_japanese.getHtmlSafeEncodingTraverser(cases[i].list));
        const std::unique_ptr<AbstractTraverser> korean(
            m_korean.getHtmlSafeEncodingTraverser(cases[i].list));
        EXPECT_EQ(classOf(japanese), cases[i].japanese);
        EXPECT_EQ(classOf(korean), cases[i].korean);
    }
}

TEST_F(LocaleCharsets, TraverserWithoutAListIsFreshAndUnbound) {
    const std::unique_ptr<AbstractTraverser> japanese(m_japanese.getHtmlSafeEncodingTraverser());
    const std::unique_ptr<AbstractTraverser> korean(m_korean.getHtmlSafeEncodingTraverser());
    const std::unique_ptr<AbstractTraverser> utf8(m_utf8.getHtmlSafeEncodingTraverser());
    EXPECT_EQ(classOf(japanese), is<JisTraverser>());
    EXPECT_EQ(classOf(korean), is<EucKrTraverser>());
    EXPECT_EQ(classOf(utf8), is<AsciiTraverser>());
    for (const auto* traverser : {&japanese, &korean, &utf8}) {
        EXPECT_TRUE((*traverser)->isStart());
        EXPECT_TRUE((*traverser)->isEnd());
    }
    const std::unique_ptr<AbstractTraverser> another(m_japanese.getHtmlSafeEncodingTraverser());
    EXPECT_NE(japanese.get(), another.get());

    // The traverser outlives the locale that made it.
    std::unique_ptr<AbstractTraverser> survivor;
    {
        KoreanLocale temporary;
        survivor.reset(temporary.getHtmlSafeEncodingTraverser());
    }
    const std::string text = "a<b";
    survivor->setNewBuffer(text);
    EXPECT_EQ(survivor->getPos(), text.data());
}

} // namespace
} // namespace charsetkit
