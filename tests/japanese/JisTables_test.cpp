// Checks the generated code tables against the mapping files in data/jis/,
// read here at run time with a parser of their own, so that a wrong layout,
// a lost row or an off-by-one bound is caught without trusting the generator.
#include <charsetkit/japanese/JapaneseConversions.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace charsetkit {
namespace {

using Jc = JapaneseConversions;
using Mapping = std::vector<std::pair<int, int>>; // (key, value) in file order

std::string hex(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(value));
    return text;
}

// Reads the first two hexadecimal columns of every non-comment line.
Mapping readMapping(const std::string& name) {
    const std::string path = std::string(CHARSETKIT_SOURCE_DIR) + "/data/jis/" + name;
    std::ifstream in(path);
    EXPECT_TRUE(in.is_open()) << "cannot open " << path;
    Mapping result;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream fields(line);
        std::string key;
        std::string value;
        fields >> key >> value;
        result.emplace_back(std::stoi(key, nullptr, 16), std::stoi(value, nullptr, 16));
    }
    return result;
}

const Mapping& jis0208File() {
    static const Mapping data = readMapping("jis0208.txt");
    return data;
}
const Mapping& jis0212File() {
    static const Mapping data = readMapping("jis0212.txt");
    return data;
}
const Mapping& extraFile() {
    static const Mapping data = readMapping("cp932-extensions.txt");
    return data;
}

// One table seen through its three static members.
struct Table {
    const char* name;
    const int* entries;
    int bottom;
    int top;

    int at(int key) const { return key < bottom || key > top ? 0 : entries[key - bottom]; }
    int mappedCount() const {
        return static_cast<int>(
            std::count_if(entries, entries + (top - bottom + 1), [](int v) { return v != 0; }));
    }
};

#define CHARSETKIT_TABLE(name)                                                                     \
    Table {                                                                                        \
#name, Jc::ms_##name##ConversionTable, Jc::ms_##name##BottomIndex, Jc::ms_##name##TopIndex \
    }

const Table kJis0201ToUnicode = CHARSETKIT_TABLE(Jis0201ToUnicode);
const Table kUnicodeToJis0201 = CHARSETKIT_TABLE(UnicodeToJis0201);
const Table kJis0208ToUnicode = CHARSETKIT_TABLE(Jis0208ToUnicode);
const Table kUnicodeToJis0208 = CHARSETKIT_TABLE(UnicodeToJis0208);
const Table kJis0212ToUnicode = CHARSETKIT_TABLE(Jis0212ToUnicode);
const Table kUnicodeToJis0212 = CHARSETKIT_TABLE(UnicodeToJis0212);
const Table kJisExtraToUnicode = CHARSETKIT_TABLE(JisExtraToUnicode);
const Table kUnicodeToJisExtra = CHARSETKIT_TABLE(UnicodeToJisExtra);

// Number of mapped entries per row (key >> 8), counted over every cell.
std::map<int, int> rowCounts(const Table& table) {
    std::map<int, int> counts;
    for (int key = table.bottom; key <= table.top; ++key) {
        if (table.at(key) != 0) {
            ++counts[key >> 8];
        }
    }
    return counts;
}

void addRows(std::map<int, int>& rows, int first, int last, int count) {
    for (int row = first; row <= last; ++row) {
        rows[row] = count;
    }
}

TEST(JisTablesTest, BoundsAreTightAndCountsExact) {
    struct Expected {
        Table table;
        int bottom;
        int top;
        int mapped;
    };
    const Expected expected[] = {
        {kJis0201ToUnicode, 0xA1, 0xDF, 63},       {kUnicodeToJis0201, 0xFF61, 0xFF9F, 63},
        {kJis0208ToUnicode, 0x2121, 0x7426, 6879}, {kUnicodeToJis0208, 0x00A2, 0xFFE5, 6879},
        {kJis0212ToUnicode, 0x222F, 0x6D63, 6067}, {kUnicodeToJis0212, 0x00A1, 0xFF5E, 6067},
        {kJisExtraToUnicode, 0x2D21, 0x972C, 845}, {kUnicodeToJisExtra, 0x2116, 0xFFE4, 457},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.table.name);
        EXPECT_EQ(e.table.bottom, e.bottom);
        EXPECT_EQ(e.table.top, e.top);
        EXPECT_NE(e.table.at(e.table.bottom), 0) << "bottom bound not tight";
        EXPECT_NE(e.table.at(e.table.top), 0) << "top bound not tight";
        EXPECT_EQ(e.table.mappedCount(), e.mapped);
        for (int key = e.table.bottom; key <= e.table.top; ++key) {
            ASSERT_LE(e.table.at(key), 0xFFFF) << "key " << hex(key);
            ASSERT_GE(e.table.at(key), 0) << "key " << hex(key);
        }
    }
}

TEST(JisTablesTest, Jis0201IsTheHalfWidthKatakanaBlock) {
    for (int code = 0xA1; code <= 0xDF; ++code) {
        EXPECT_EQ(kJis0201ToUnicode.at(code), code + 0xFEC0) << hex(code);
        EXPECT_EQ(kUnicodeToJis0201.at(code + 0xFEC0), code) << hex(code);
    }
    // The Roman half of JIS X 0201 is not in the table.
    for (int unicode : {0x5C, 0x7E, 0xA5, 0x203E}) {
        EXPECT_EQ(kUnicodeToJis0201.at(unicode), 0) << hex(unicode);
    }
    EXPECT_EQ(kJis0201ToUnicode.at(0x5C), 0);
}

// Both directions for every line of a one-to-one mapping file, and nothing in
// either table beyond the file's lines.
void expectOneToOne(const Mapping& file, const Table& forward, const Table& reverse,
                    int expectedLines) {
    EXPECT_EQ(static_cast<int>(file.size()), expectedLines);
    std::set<int> values;
    for (const auto& [key, value] : file) {
        EXPECT_EQ(forward.at(key), value) << forward.name << " key " << hex(key);
        EXPECT_EQ(reverse.at(value), key) << reverse.name << " key " << hex(value);
        EXPECT_TRUE(values.insert(value).second) << "U+" << hex(value) << " mapped twice";
    }
    EXPECT_EQ(forward.mappedCount(), static_cast<int>(file.size()));
    EXPECT_EQ(reverse.mappedCount(), static_cast<int>(file.size()));
}

TEST(JisTablesTest, Jis0208MatchesDataFileBothWays) {
    expectOneToOne(jis0208File(), kJis0208ToUnicode, kUnicodeToJis0208, 6879);

    std::map<int, int> rows{{0x21, 94}, {0x22, 53}, {0x23, 62}, {0x24, 83}, {0x25, 86},
                            {0x26, 48}, {0x27, 66}, {0x28, 32}, {0x4F, 51}, {0x74, 6}};
    addRows(rows, 0x30, 0x4E, 94);
    addRows(rows, 0x50, 0x73, 94);
    EXPECT_EQ(rowCounts(kJis0208ToUnicode), rows);
    for (int cell = 0x21; cell <= 0x26; ++cell) {
        EXPECT_NE(kJis0208ToUnicode.at(0x7400 + cell), 0) << hex(0x7400 + cell);
    }
}

TEST(JisTablesTest, Jis0212MatchesDataFileBothWays) {
    expectOneToOne(jis0212File(), kJis0212ToUnicode, kUnicodeToJis0212, 6067);

    std::map<int, int> rows{{0x22, 21}, {0x26, 21}, {0x27, 26}, {0x29, 27},
                            {0x2A, 86}, {0x2B, 85}, {0x6D, 67}};
    addRows(rows, 0x30, 0x6C, 94);
    EXPECT_EQ(rowCounts(kJis0212ToUnicode), rows);
}

TEST(JisTablesTest, ExtensionsMatchDataFileAndKeepTheLowestCode) {
    const Mapping& file = extraFile();
    EXPECT_EQ(file.size(), 845u);
    std::map<int, int> lowest; // code point -> lowest extension code
    for (const auto& [key, value] : file) {
        EXPECT_EQ(kJisExtraToUnicode.at(key), value) << "key " << hex(key);
        auto [it, inserted] = lowest.emplace(value, key);
        if (!inserted) {
            it->second = std::min(it->second, key);
        }
    }
    EXPECT_EQ(kJisExtraToUnicode.mappedCount(), 845);
    EXPECT_EQ(lowest.size(), 457u);
    for (const auto& [unicode, code] : lowest) {
        EXPECT_EQ(kUnicodeToJisExtra.at(unicode), code) << "U+" << hex(unicode);
        // Every reverse result has a 7-bit form.
        EXPECT_LE(code >> 8, 0x7E) << "U+" << hex(unicode);
    }
    EXPECT_EQ(kUnicodeToJisExtra.mappedCount(), 457);

    std::map<int, int> rows{{0x2D, 83}, {0x7C, 92}, {0x97, 12}};
    addRows(rows, 0x79, 0x7B, 94);
    addRows(rows, 0x93, 0x96, 94);
    EXPECT_EQ(rowCounts(kJisExtraToUnicode), rows);
    EXPECT_EQ(kJisExtraToUnicode.at(0x7C6F), 0);
    EXPECT_EQ(kJisExtraToUnicode.at(0x7C70), 0);
    EXPECT_NE(kJisExtraToUnicode.at(0x972C), 0);

    // Each IBM extension character (rows 0x93-0x97) repeats one of row 0x2D
    // or rows 0x79-0x7C, so the reverse table never points into those rows.
    for (const auto& [key, value] : file) {
        if ((key >> 8) >= 0x93) {
            EXPECT_LT(kUnicodeToJisExtra.at(value), key) << "key " << hex(key);
        }
    }
    EXPECT_EQ(kUnicodeToJisExtra.at(0x2160), 0x2D35);
}

TEST(JisTablesTest, SetsOverlapOnlyWhereExpected) {
    // No extension code is a JIS X 0208 code.
    for (const auto& [key, value] : extraFile()) {
        EXPECT_EQ(kJis0208ToUnicode.at(key), 0) << hex(key);
    }
    // No code point has both a JIS X 0208 and a JIS X 0212 code.
    for (const auto& [key, value] : jis0212File()) {
        EXPECT_EQ(kUnicodeToJis0208.at(value), 0) << "U+" << hex(value);
    }

    std::set<int> sharedWith0208;
    std::set<int> sharedWith0212;
    for (int unicode = kUnicodeToJisExtra.bottom; unicode <= kUnicodeToJisExtra.top; ++unicode) {
        if (kUnicodeToJisExtra.at(unicode) == 0) {
            continue;
        }
        if (kUnicodeToJis0208.at(unicode) != 0) {
            sharedWith0208.insert(unicode);
        }
        if (kUnicodeToJis0212.at(unicode) != 0) {
            sharedWith0212.insert(unicode);
        }
    }
    // The NEC row-13 copies of JIS X 0208 row-2 symbols.
    const std::set<int> nine{0x221A, 0x2220, 0x2229, 0x222A, 0x222B,
                             0x2235, 0x2252, 0x2261, 0x22A5};
    EXPECT_EQ(sharedWith0208, nine);
    // U+2116 NUMERO SIGN and 279 ideographs.
    EXPECT_EQ(sharedWith0212.size(), 280u);
    EXPECT_EQ(sharedWith0212.count(0x2116), 1u);
    for (int unicode : sharedWith0212) {
        const bool ideograph =
            (unicode >= 0x4E00 && unicode <= 0x9FFF) || (unicode >= 0xF900 && unicode <= 0xFAFF);
        EXPECT_TRUE(unicode == 0x2116 || ideograph) << "U+" << hex(unicode);
    }
}

TEST(JisTablesTest, DiffersFromCodePage932OnlyInTheKnownPlaces) {
    const std::pair<int, int> table[] = {
        {0x2140, 0xFF3C},
        {0x2141, 0x301C},
        {0x2142, 0x2016},
        {0x215D, 0x2212},
        {0x2171, 0x00A2},
        {0x2172, 0x00A3},
        {0x224C, 0x00AC},
        // Fixed points shared with code page 932.
        {0x213D, 0x2015},
        {0x2131, 0xFFE3},
        {0x216F, 0xFFE5},
        {0x2121, 0x3000},
    };
    for (const auto& [code, unicode] : table) {
        EXPECT_EQ(kJis0208ToUnicode.at(code), unicode) << hex(code);
        EXPECT_EQ(kUnicodeToJis0208.at(unicode), code) << "U+" << hex(unicode);
    }
    // Code page 932's choices for those codes have no JIS X 0208 code.
    for (int unicode : {0x5C, 0xFF5E, 0x2225, 0xFF0D, 0xFFE0, 0xFFE1, 0xFFE2}) {
        EXPECT_EQ(kUnicodeToJis0208.at(unicode), 0) << "U+" << hex(unicode);
    }
    EXPECT_EQ(kJis0212ToUnicode.at(0x2237), 0xFF5E);
    EXPECT_EQ(kUnicodeToJis0212.at(0x7E), 0);
}

} // namespace
} // namespace charsetkit
