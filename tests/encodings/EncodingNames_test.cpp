#include <charsetkit/encodings/AsciiEncoding.h>
#include <charsetkit/encodings/EucJpEncoding.h>
#include <charsetkit/encodings/EucKrEncoding.h>
#include <charsetkit/encodings/JisEncoding.h>
#include <charsetkit/encodings/SjisEncoding.h>
#include <charsetkit/encodings/Utf8Encoding.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace charsetkit {
namespace {

struct Expected {
    const AbstractEncoding* encoding;
    const char* display;
    const char* preferred;
    const char* java;
    bool kindOfUtf8;
    bool ascii;
    bool stateful;
    std::vector<std::string> aliases;
};

const AsciiEncoding kAscii;
const Utf8Encoding kUtf8;
const EucJpEncoding kEucJp;
const SjisEncoding kSjis;
const JisEncoding kJis;
const EucKrEncoding kEucKr;

std::vector<Expected> expectations() {
    return {
        {&kAscii,
         "Western",
         "iso-8859-1",
         "ISO8859_1",
         true,
         true,
         false,
         {"iso-8859-1",
          "us-ascii",
          "iso8859-1",
          "ascii",
          "iso_8859-1",
          "ANSI_X3.4-1968",
          "iso-ir-6",
          "ANSI_X3.4-1986",
          "ISO_646.irv:1991",
          "ISO646-US",
          "us",
          "IBM367",
          "cp367",
          "csASCII",
          "latin1",
          "iso_8859-1:1987",
          "iso-ir-100",
          "ibm819",
          "cp819",
          "Windows-1252",
          "x-ansi"}},
        {&kUtf8,
         "Unicode (UFT-8)",
         "utf-8",
         "UTF8",
         true,
         false,
         false,
         {"utf-8", "utf8", "unicode-1-1-utf-8", "unicode-2-0-utf-8", "x-unicode-2-0-utf-8"}},
        {&kEucJp,
         "Japanese (EUC)",
         "euc-jp",
         "EUC_JP",
         false,
         false,
         false,
         {"euc-jp", "Extended_UNIX_Code_Packed_Format_for_Japanese", "csEUCPkdFmtJapanese",
          "x-euc-jp", "x-euc"}},
        {&kSjis,
         "Japanese (Shift-JIS)",
         "shift_jis",
         "SJIS",
         false,
         false,
         false,
         {"shift_jis", "shift-jis", "csShiftJIS", "csWindows31J", "ms_Kanji", "x-ms-cp932",
          "x-sjis", "sjis"}},
        {&kJis,
         "Japanese (JIS)",
         "iso-2022-jp",
         "ISO2022JP",
         false,
         false,
         true,
         {"iso-2022-jp", "csISO2022JP"}},
        {&kEucKr,
         "Korean (EUC)",
         "euc-kr",
         "EUC_KR",
         false,
         false,
         false,
         {"euc-kr", "euc_kr", "euckr", "Extended_UNIX_Code_Packed_Format_for_Korean", "csEUCKR",
          "x-EUC-KR", "x-euc", "ksc5601", "5601", "ksc5601_1987", "ksc_5601", "ksc5601-1987",
          "ks_c_5601-1987"}},
    };
}

std::string upper(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return s;
}

TEST(EncodingNames, NamesAndPredicatesOfEachEncoding) {
    for (const Expected& e : expectations()) {
        SCOPED_TRACE(e.preferred);
        EXPECT_STREQ(e.encoding->getDisplayName(), e.display);
        EXPECT_STREQ(e.encoding->getPreferedID(), e.preferred);
        EXPECT_STREQ(e.encoding->getJavaName(), e.java);
        EXPECT_EQ(e.encoding->isKindOfUtf8(), e.kindOfUtf8);
        EXPECT_EQ(e.encoding->isAscii(), e.ascii);
        EXPECT_EQ(e.encoding->isStateful(), e.stateful);
    }
}

TEST(EncodingNames, EachAliasIsAcceptedInAnyCaseAndOnlyByItsOwners) {
    const std::vector<Expected> all = expectations();
    for (const Expected& owner : all) {
        for (const std::string& alias : owner.aliases) {
            for (const Expected& other : all) {
                bool owns = false;
                for (const std::string& a : other.aliases) {
                    owns = owns || upper(a) == upper(alias);
                }
                EXPECT_EQ(other.encoding->isAliasOrName(alias.c_str()), owns) << alias;
                EXPECT_EQ(other.encoding->isAliasOrName(upper(alias).c_str()), owns) << alias;
            }
        }
    }
    // "x-euc" is the one label two encodings share.
    EXPECT_TRUE(kEucJp.isAliasOrName("x-euc"));
    EXPECT_TRUE(kEucKr.isAliasOrName("X-EUC"));
}

TEST(EncodingNames, DisplayAndRuntimeNamesAndDecoratedLabelsAreRejected) {
    for (const Expected& e : expectations()) {
        for (const Expected& other : expectations()) {
            EXPECT_FALSE(other.encoding->isAliasOrName(e.display)) << e.display;
        }
    }
    for (const char* label : {"ISO8859_1", "EUC_JP", "ISO2022JP", "", " utf-8", "utf-8 ",
                              "\"utf-8\"", "utf", "utf-8x"}) {
        for (const Expected& e : expectations()) {
            EXPECT_FALSE(e.encoding->isAliasOrName(label)) << label;
        }
    }
    EXPECT_FALSE(kUtf8.isAliasOrName(nullptr));
    // Runtime names that happen to be aliases of their own encoding.
    EXPECT_TRUE(kUtf8.isAliasOrName("UTF8"));
    EXPECT_TRUE(kSjis.isAliasOrName("SJIS"));
    EXPECT_TRUE(kEucKr.isAliasOrName("EUC_KR"));
}

} // namespace
} // namespace charsetkit
