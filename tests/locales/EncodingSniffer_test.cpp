// One-answer sniffing: the order byte order mark, transport label, meta
// prescan, XML declaration, detection, default; each rule of the prescan
// and of Content-Type parsing with its cases; declarations the bytes
// contradict; and bytes cut short while more follow.
#include <charsetkit/locales/EncodingSniffer.h>
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

// The same four characters (あい日本) in the Japanese encodings.
const std::string kSjis = bytes("82 A0 82 A2 93 FA 96 7B");
const std::string kEucJp = bytes("A4 A2 A4 A4 C6 FC CB DC");
const std::string kUtf8 = bytes("E3 81 82 E3 81 84 E6 97 A5 E6 9C AC");
const std::string kEucKr = bytes("B0 A1 B3 AA");

struct SniffCase {
    const char* name;
    std::string body;
    const char* contentType;
    const char* expected; // preferred name
    const char* source;   // sourceName()
    const char* declared; // declared label, "" for none
    bool contradicted;
    const char* locale = "Japanese";
    bool moreFollows = false;
};

void PrintTo(const SniffCase& c, std::ostream* os) {
    *os << c.name;
}

std::string page(const std::string& head, const std::string& text) {
    return "<html><head>" + head + "</head><body>" + text + "</body></html>";
}

class Sniffing : public ::testing::TestWithParam<SniffCase> {};

TEST_P(Sniffing, DecidesAsExpected) {
    const SniffCase& c = GetParam();
    std::unique_ptr<AbstractLocale> locale(AbstractLocale::getLocaleForName(c.locale));
    const auto result =
        EncodingSniffer::sniff(c.body.data(), static_cast<unsigned int>(c.body.size()),
                               c.contentType, *locale, c.moreFollows);
    EXPECT_STREQ(result.name(), c.expected);
    EXPECT_STREQ(result.sourceName(), c.source);
    EXPECT_EQ(result.declaredLabel, c.declared);
    EXPECT_EQ(result.contradicted, c.contradicted);
}

std::string filler(std::size_t size) {
    return "<!DOCTYPE html>" + std::string(size, ' ');
}

const SniffCase kCases[] = {
    // Byte order marks win over everything.
    {"BomUtf8", bytes("EF BB BF") + page("<meta charset=shift_jis>", kUtf8),
     "text/html; charset=euc-jp", "utf-8", "bom", "", false},
    {"BomUtf16Le", bytes("FF FE 3C 00 70 00"), "text/html; charset=shift_jis", "utf-16le", "bom",
     "", false},
    {"BomUtf16Be", bytes("FE FF 00 3C"), nullptr, "utf-16be", "bom", "", false},
    // The transport label, parsed as HTTP parameters.
    {"TransportOverMeta", page("<meta charset=shift_jis>", kEucJp), "text/html; charset=euc-jp",
     "euc-jp", "transport", "euc-jp", false},
    {"TransportQuotedAndCased", kSjis, "text/html; Charset=\"Shift_JIS\"", "shift_jis", "transport",
     "Shift_JIS", false},
    {"TransportAmongOtherParameters", kSjis, "text/html;level=1 ; CHARSET=sjis ;q=0.5", "shift_jis",
     "transport", "sjis", false},
    {"TransportQuotedSemicolonIsNoSeparator", kSjis,
     "text/html; title=\"a;charset=euc-jp\"; charset=shift_jis", "shift_jis", "transport",
     "shift_jis", false},
    {"TransportBackslashEscape", kSjis, "text/html; charset=\"shift\\_jis\"", "shift_jis",
     "transport", "shift_jis", false},
    {"TransportWhitespaceInsideQuotes", kSjis, "text/html; charset=\" shift_jis \"", "shift_jis",
     "transport", "shift_jis", false},
    {"TransportWithoutMediaTypeSeparator", page("<meta charset=euc-jp>", kEucJp),
     "charset=shift_jis", "euc-jp", "meta", "euc-jp", false},
    {"TransportEmptyValue", page("<meta charset=euc-jp>", kEucJp), "text/html; charset=", "euc-jp",
     "meta", "euc-jp", false},
    {"TransportUnknownLabelFallsToMeta", page("<meta charset=euc-jp>", kEucJp),
     "text/html; charset=x-unknown", "euc-jp", "meta", "euc-jp", false},
    {"TransportUtf16", "<p>x</p>", "text/html; charset=UTF-16", "utf-16le", "transport", "UTF-16",
     false},
    {"TransportWebLabel", kSjis, "text/html; charset=Windows-31J", "shift_jis", "transport",
     "Windows-31J", false},
    // <meta charset>, in its spellings.
    {"MetaCharsetQuoted", page("<meta charset=\"euc-jp\">", kEucJp), nullptr, "euc-jp", "meta",
     "euc-jp", false},
    {"MetaCharsetUpperCase", page("<META CHARSET=EUC-JP>", kEucJp), nullptr, "euc-jp", "meta",
     "euc-jp", false},
    {"MetaCharsetSingleQuotesAndWhitespace", page("<meta charset = ' euc-jp\t'>", kEucJp), nullptr,
     "euc-jp", "meta", "euc-jp", false},
    {"MetaAfterSlash", page("<meta/charset=euc-jp>", kEucJp), nullptr, "euc-jp", "meta", "euc-jp",
     false},
    {"MetaDuplicateAttributeFirstCounts", page("<meta charset=euc-jp charset=shift_jis>", kEucJp),
     nullptr, "euc-jp", "meta", "euc-jp", false},
    // http-equiv with content, in either order; each alone declares nothing.
    {"MetaHttpEquivThenContent",
     page("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=euc-jp\">", kEucJp),
     nullptr, "euc-jp", "meta", "euc-jp", false},
    {"MetaContentThenHttpEquiv",
     page("<meta content='text/html;charset = \"EUC-JP\"' http-equiv=content-type>", kEucJp),
     nullptr, "euc-jp", "meta", "euc-jp", false},
    {"MetaContentWithoutHttpEquiv", page("<meta content=\"text/html; charset=shift_jis\">", kEucJp),
     nullptr, "euc-jp", "detected", "", false},
    {"MetaHttpEquivWithoutContent", page("<meta http-equiv=content-type>", kEucJp), nullptr,
     "euc-jp", "detected", "", false},
    {"MetaHttpEquivOtherPragma",
     page("<meta http-equiv=refresh content=\"text/html; charset=shift_jis\">", kEucJp), nullptr,
     "euc-jp", "detected", "", false},
    // Comments and other tags are skipped.
    {"CommentIsSkipped", page("<!-- <meta charset=shift_jis> --><meta charset=euc-jp>", kEucJp),
     nullptr, "euc-jp", "meta", "euc-jp", false},
    {"ShortestComment", page("<!--><meta charset=euc-jp>-->", kEucJp), nullptr, "euc-jp", "meta",
     "euc-jp", false},
    {"OtherTagsAttributesAreSkipped",
     page("<div title=\"<meta charset=shift_jis>\"><meta charset=euc-jp>", kEucJp), nullptr,
     "euc-jp", "meta", "euc-jp", false},
    {"DoctypeAndProcessingInstructionSkipped",
     "<!DOCTYPE html><?php echo '<meta charset=shift_jis>' ?>" +
         page("<meta charset=euc-jp>", kEucJp),
     nullptr, "euc-jp", "meta", "euc-jp", false},
    {"UnknownLabelThenKnown", page("<meta charset=x-klingon><meta charset=euc-jp>", kEucJp),
     nullptr, "euc-jp", "meta", "euc-jp", false},
    {"UnknownCharsetBlocksContentOfTheSameMeta",
     page("<meta charset=x-klingon http-equiv=content-type content='charset=shift_jis'>", kEucJp),
     nullptr, "euc-jp", "detected", "", false},
    {"LabelOfAnotherLocaleIsUnknown", page("<meta charset=euc-kr><meta charset=euc-jp>", kEucJp),
     nullptr, "euc-jp", "meta", "euc-jp", false},
    {"MetaUtf16MeansUtf8", page("<meta charset=utf-16>", kUtf8), nullptr, "utf-8", "meta", "utf-16",
     false},
    {"MetaAfterTheFirst1024Bytes", filler(1100) + page("<meta charset=shift_jis>", kEucJp), nullptr,
     "euc-jp", "detected", "", false},
    {"MetaCutByThe1024ByteLimit", filler(1000) + page("<meta charset=shift_jis>", kEucJp), nullptr,
     "euc-jp", "detected", "", false},
    {"MetaJustInside", filler(900) + page("<meta charset=shift_jis>", kSjis), nullptr, "shift_jis",
     "meta", "shift_jis", false},
    // An XML declaration, when no meta declares anything.
    {"XmlDeclaration", "<?xml version=\"1.0\" encoding='EUC-JP'?><p>" + kEucJp, nullptr, "euc-jp",
     "xml", "EUC-JP", false},
    {"MetaBeforeXmlDeclaration",
     "<?xml version=\"1.0\" encoding=\"shift_jis\"?>" + page("<meta charset=euc-jp>", kEucJp),
     nullptr, "euc-jp", "meta", "euc-jp", false},
    {"XmlDeclarationNotAtTheStart", " <?xml version=\"1.0\" encoding=\"shift_jis\"?>" + kEucJp,
     nullptr, "euc-jp", "detected", "", false},
    // Declarations that the bytes contradict: detection decides.
    {"TransportContradicted", page("", bytes("E3 80 80") + kUtf8), "text/html; charset=shift_jis",
     "utf-8", "detected", "shift_jis", true},
    {"MetaContradicted", page("<meta charset=euc-jp>", kSjis), nullptr, "shift_jis", "detected",
     "euc-jp", true},
    {"ContradictedTransportDoesNotFallToMeta", page("<meta charset=shift_jis>", kSjis),
     "text/html; charset=iso-2022-jp", "shift_jis", "detected", "iso-2022-jp", true},
    // Detection, its tie rule, and the default.
    {"DetectedUtf8", page("", kUtf8), nullptr, "utf-8", "detected", "", false},
    {"TieGoesToEucJp", bytes("B1 B2"), nullptr, "euc-jp", "detected", "", false},
    {"PlainAscii", "<p>hello</p>", nullptr, "iso-8859-1", "detected", "", false},
    {"DefaultOfTheJapaneseLocale", bytes("80 FF"), nullptr, "shift_jis", "default", "", false},
    {"DefaultOfTheUtf8Locale", bytes("63 61 66 E9"), nullptr, "iso-8859-1", "default", "", false,
     "Utf8"},
    {"KoreanDetected", page("", kEucKr), nullptr, "euc-kr", "detected", "", false, "Korean"},
    // More bytes to follow: a cut character or an open ISO-2022-JP set rules
    // nothing out.
    {"KoreanCutInsideACharacter", kEucKr + bytes("B0"), nullptr, "euc-kr", "detected", "", false,
     "Korean", true},
    {"KoreanCutInsideACharacterAtTheEnd", kEucKr + bytes("B0"), nullptr, "euc-kr", "default", "",
     false, "Korean", false},
    {"DeclaredJisOpenWhileMoreFollows", bytes("1B 24 42 30 21"), "text/html; charset=iso-2022-jp",
     "iso-2022-jp", "transport", "iso-2022-jp", false, "Japanese", true},
    {"DeclaredJisOpenAtTheEnd", bytes("1B 24 42 30 21"), "text/html; charset=iso-2022-jp",
     "iso-2022-jp", "detected", "iso-2022-jp", true, "Japanese", false},
    {"DeclaredEucKrCutWhileMoreFollows", kEucKr + bytes("B0"), "text/html; charset=euc-kr",
     "euc-kr", "transport", "euc-kr", false, "Korean", true},
    // Content-Type spellings at the edges of the parameter syntax.
    {"TransportTrailingSeparator", page("<meta charset=euc-jp>", kEucJp), "text/html; ", "euc-jp",
     "meta", "euc-jp", false},
    {"TransportParameterWithoutValue", kSjis, "text/html; secure; charset=shift_jis", "shift_jis",
     "transport", "shift_jis", false},
    {"TransportWhitespaceAroundEquals", kSjis, "text/html; charset =\t shift_jis", "shift_jis",
     "transport", "shift_jis", false},
    {"TransportUtf16Be", "<p>x</p>", "text/html; charset=utf-16be", "utf-16be", "transport",
     "utf-16be", false},
    // A content attribute whose charset value opens a quote it never closes.
    {"MetaContentUnclosedQuote",
     page("<meta http-equiv=content-type content=\"text/html; charset='shift_jis\">", kEucJp),
     nullptr, "euc-jp", "detected", "", false},
    {"CommentNeverClosed", "<!-- <meta charset=shift_jis> " + kEucJp, nullptr, "euc-jp", "detected",
     "", false},
    // XML declarations: whitespace around '=', and the forms that declare
    // nothing.
    {"XmlWhitespaceAroundEquals", "<?xml version=\"1.0\" encoding \t= \"EUC-JP\"?>" + kEucJp,
     nullptr, "euc-jp", "xml", "EUC-JP", false},
    {"XmlEncodingWithoutEquals", "<?xml version=\"1.0\" encoding \"shift_jis\"?>" + kEucJp, nullptr,
     "euc-jp", "detected", "", false},
    {"XmlUnquotedLabel", "<?xml version=\"1.0\" encoding=shift_jis?>" + kEucJp, nullptr, "euc-jp",
     "detected", "", false},
    {"XmlLabelWithSpace", "<?xml version=\"1.0\" encoding=\"shift jis\"?>" + kEucJp, nullptr,
     "euc-jp", "detected", "", false},
    {"XmlQuoteNotClosedBeforeTheEnd", "<?xml version=\"1.0\" encoding=\"shift_jis?>" + kEucJp,
     nullptr, "euc-jp", "detected", "", false},
    {"XmlEqualsAtTheEnd", "<?xml encoding=>" + kEucJp, nullptr, "euc-jp", "detected", "", false},
};

INSTANTIATE_TEST_SUITE_P(Rules, Sniffing, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SniffCase>& param) {
                             return std::string(param.param.name);
                         });

TEST(SniffingResult, CarriesTheDeclarationAndTheCandidates) {
    JapaneseLocale locale;
    const std::string body = page("<meta charset=euc-jp>", kSjis);
    const auto result = EncodingSniffer::sniff(body.data(), static_cast<unsigned int>(body.size()),
                                               nullptr, locale, false);
    EXPECT_EQ(result.declaredIn, EncodingSniffer::FromMeta);
    EXPECT_EQ(result.declaredEncoding, AbstractEncoding::EucJp);
    EXPECT_EQ(result.encoding, AbstractEncoding::Sjis);
    EXPECT_EQ(result.candidates, std::vector<EncodingID>{AbstractEncoding::Sjis});

    const auto bom = EncodingSniffer::sniff("\xFF\xFE", 2, nullptr, locale, false);
    EXPECT_EQ(bom.encoding, 0);
    EXPECT_EQ(bom.utf16, EncodingSniffer::Utf16LittleEndian);
    EXPECT_TRUE(bom.candidates.empty());

    const auto none = EncodingSniffer::sniff(nullptr, 5, "", locale, false);
    EXPECT_EQ(none.encoding, AbstractEncoding::Ascii); // refused bytes read as empty
}

TEST(SniffingResult, NullBytesReadAsAnEmptyBuffer) {
    std::unique_ptr<AbstractLocale> locale(AbstractLocale::getLocaleForName("Japanese"));
    const auto none = EncodingSniffer::sniff(nullptr, 0, nullptr, *locale, false);
    const auto empty = EncodingSniffer::sniff("", 0, nullptr, *locale, false);
    EXPECT_STREQ(none.name(), empty.name());
    EXPECT_STREQ(none.sourceName(), empty.sourceName());
    EXPECT_FALSE(none.contradicted);
}

// A declared ISO-2022-JP stream that breaks before its end is not trusted
// while more bytes follow, as it would not be at the end.
TEST(SniffingResult, DeclaredJisBrokenWhileMoreFollows) {
    std::unique_ptr<AbstractLocale> locale(AbstractLocale::getLocaleForName("Japanese"));
    const std::string broken = bytes("1B 24 42 30 21 80 41");
    const auto result =
        EncodingSniffer::sniff(broken.data(), static_cast<unsigned int>(broken.size()),
                               "text/html; charset=iso-2022-jp", *locale, true);
    EXPECT_TRUE(result.contradicted);
    EXPECT_EQ(result.declaredLabel, "iso-2022-jp");
    EXPECT_STRNE(result.sourceName(), "transport");
}

TEST(SniffingResult, TieRuleOrder) {
    using V = std::vector<EncodingID>;
    EXPECT_EQ(
        EncodingSniffer::preferredCandidate(V{AbstractEncoding::Sjis, AbstractEncoding::EucJp}),
        AbstractEncoding::EucJp);
    EXPECT_EQ(
        EncodingSniffer::preferredCandidate(V{AbstractEncoding::EucKr, AbstractEncoding::Utf8}),
        AbstractEncoding::Utf8);
    EXPECT_EQ(EncodingSniffer::preferredCandidate(V{AbstractEncoding::Sjis, AbstractEncoding::Jis}),
              AbstractEncoding::Jis);
    EXPECT_EQ(EncodingSniffer::preferredCandidate(V{}), 0);
    EXPECT_STREQ(EncodingSniffer::sourceName(static_cast<EncodingSniffer::Source>(0)), "");
}

class SniffingSettings : public test::SwitchesTest {};

TEST_F(SniffingSettings, DeclarationsFollowTheSupportedEncodings) {
    // Under Utf8Only the Japanese locale knows no Shift_JIS label: the meta
    // is ignored and detection decides.
    AbstractLocale::setSupportedEncodings(AbstractLocale::Utf8Only);
    JapaneseLocale locale;
    const std::string body = page("<meta charset=shift_jis>", kUtf8);
    const auto result = EncodingSniffer::sniff(body.data(), static_cast<unsigned int>(body.size()),
                                               nullptr, locale, false);
    EXPECT_STREQ(result.name(), "utf-8");
    EXPECT_STREQ(result.sourceName(), "detected");
    EXPECT_EQ(result.declaredIn, 0);
}

TEST(SniffingPrefixes, SamplePagesKeepTheirEncodingWhenCutAnywhere) {
    // Every prefix of the sample pages, with the rest still to come, keeps
    // the page's own encoding (declared or detected).
    struct Page {
        const char* file;
        const char* locale;
        const char* encoding;
    };
    const Page pages[] = {{"ko-page.euc-kr.html", "Korean", "euc-kr"},
                          {"ja-page.shift_jis.html", "Japanese", "shift_jis"},
                          {"ja-page.euc-jp.html", "Japanese", "euc-jp"},
                          {"ja-page.iso-2022-jp.html", "Japanese", "iso-2022-jp"},
                          {"ja-page.utf-8.html", "Japanese", "utf-8"},
                          {"ko-form.euc-kr.txt", "Korean", "euc-kr"}};
    for (const auto& p : pages) {
        const std::string body =
            test::readFile(std::string(CHARSETKIT_SOURCE_DIR) + "/samples/" + p.file);
        ASSERT_FALSE(body.empty()) << p.file;
        std::unique_ptr<AbstractLocale> locale(AbstractLocale::getLocaleForName(p.locale));
        std::size_t first = 0;
        while (first < body.size() && static_cast<unsigned char>(body[first]) < 0x80 &&
               body[first] != '\x1B') {
            ++first;
        }
        for (std::size_t length = first + 1; length <= body.size(); ++length) {
            const auto result = EncodingSniffer::sniff(
                body.data(), static_cast<unsigned int>(length), nullptr, *locale, true);
            ASSERT_STREQ(result.name(), p.encoding) << p.file << " prefix " << length;
            ASSERT_FALSE(result.contradicted) << p.file << " prefix " << length;
        }
    }
}

} // namespace
