#include "locales/CharsetDeclarations.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace charsetkit {
namespace detail {

namespace {

bool isAsciiWhitespace(unsigned char byte) {
    return byte == 0x09 || byte == 0x0A || byte == 0x0C || byte == 0x0D || byte == 0x20;
}

bool isAsciiLetter(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

unsigned char toLowerAscii(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte + 0x20) : byte;
}

// True when the bytes at `pos` match `word` (lower case) ignoring ASCII case.
bool matchesAt(const unsigned char* bytes, std::size_t end, std::size_t pos, const char* word) {
    const std::size_t n = std::strlen(word);
    if (end - pos < n) {
        return false;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (toLowerAscii(bytes[pos + i]) != static_cast<unsigned char>(word[i])) {
            return false;
        }
    }
    return true;
}

// Maps a label and folds UTF-16 into UTF-8, as both the prescan and the XML
// declaration do. False for an unknown label.
bool resolveDeclared(const std::string& raw, const LabelMapper& mapper, Declaration& found) {
    const std::string label = trimLabel(raw);
    int id = 0;
    const LabelKind kind = mapper.map(label, id);
    if (kind == LabelKind::Unknown) {
        return false;
    }
    if (kind == LabelKind::Utf16Le || kind == LabelKind::Utf16Be) {
        int utf8 = 0;
        if (mapper.map("utf-8", utf8) != LabelKind::Encoding) {
            return false;
        }
        found.id = utf8;
    } else {
        found.id = id;
    }
    found.kind = LabelKind::Encoding;
    found.label = label;
    return true;
}

// One attribute read by the prescan: name and value lower-cased.
struct Attribute {
    std::string name;
    std::string value;
};

// Reads the next attribute of a tag from `pos`. Returns 1 with the attribute,
// 0 when the tag ends (`pos` then stands on its '>'), -1 when the bytes run
// out. `pos` moves past what was read.
int getAttribute(const unsigned char* bytes, std::size_t end, std::size_t& pos, Attribute& attr) {
    attr.name.clear();
    attr.value.clear();
    // Whitespace and '/' between attributes are skipped.
    while (pos < end && (isAsciiWhitespace(bytes[pos]) || bytes[pos] == '/')) {
        ++pos;
    }
    if (pos >= end) {
        return -1;
    }
    if (bytes[pos] == '>') {
        return 0;
    }
    // The name runs to '=', whitespace, '/' or '>'; an '=' as its first byte
    // belongs to the name.
    for (;;) {
        if (pos >= end) {
            return -1;
        }
        const unsigned char byte = bytes[pos];
        if (byte == '=' && !attr.name.empty()) {
            ++pos;
            break;
        }
        if (isAsciiWhitespace(byte)) {
            while (pos < end && isAsciiWhitespace(bytes[pos])) {
                ++pos;
            }
            if (pos >= end) {
                return -1;
            }
            if (bytes[pos] != '=') {
                // A name without a value.
                return 1;
            }
            ++pos;
            break;
        }
        if (byte == '/' || byte == '>') {
            return 1;
        }
        attr.name.push_back(static_cast<char>(toLowerAscii(byte)));
        ++pos;
    }
    // The value, after optional whitespace: quoted, or up to whitespace or '>'.
    while (pos < end && isAsciiWhitespace(bytes[pos])) {
        ++pos;
    }
    if (pos >= end) {
        return -1;
    }
    const unsigned char first = bytes[pos];
    if (first == '"' || first == '\'') {
        ++pos;
        for (;;) {
            if (pos >= end) {
                return -1;
            }
            const unsigned char byte = bytes[pos++];
            if (byte == first) {
                return 1;
            }
            attr.value.push_back(static_cast<char>(toLowerAscii(byte)));
        }
    }
    if (first == '>') {
        return 1;
    }
    for (;;) {
        if (pos >= end) {
            return -1;
        }
        const unsigned char byte = bytes[pos];
        if (isAsciiWhitespace(byte) || byte == '>') {
            return 1;
        }
        attr.value.push_back(static_cast<char>(toLowerAscii(byte)));
        ++pos;
    }
}

// The label of "charset=" inside a content attribute (already lower-cased),
// as a <meta http-equiv> gives it. False when there is none.
bool charsetFromContent(const std::string& content, std::string& label) {
    std::size_t pos = 0;
    for (;;) {
        pos = content.find("charset", pos);
        if (pos == std::string::npos) {
            return false;
        }
        pos += 7;
        while (pos < content.size() &&
               isAsciiWhitespace(static_cast<unsigned char>(content[pos]))) {
            ++pos;
        }
        if (pos >= content.size() || content[pos] != '=') {
            // Not this "charset": look for the next one from here.
            continue;
        }
        ++pos;
        while (pos < content.size() &&
               isAsciiWhitespace(static_cast<unsigned char>(content[pos]))) {
            ++pos;
        }
        if (pos >= content.size()) {
            return false;
        }
        const char first = content[pos];
        if (first == '"' || first == '\'') {
            const std::size_t close = content.find(first, pos + 1);
            if (close == std::string::npos) {
                return false;
            }
            label = content.substr(pos + 1, close - pos - 1);
            return true;
        }
        std::size_t stop = pos;
        while (stop < content.size() &&
               !isAsciiWhitespace(static_cast<unsigned char>(content[stop])) &&
               content[stop] != ';') {
            ++stop;
        }
        label = content.substr(pos, stop - pos);
        return true;
    }
}

// Reads the attributes of a <meta> from `pos` (just past "<meta" and the
// byte after it). Returns 1 with an encoding, 0 when this meta declares none
// the mapper knows (`pos` stands on the '>' that ends it), -1 when the bytes
// run out.
int readMeta(const unsigned char* bytes, std::size_t end, std::size_t& pos,
             const LabelMapper& mapper, Declaration& found) {
    std::vector<std::string> seen;
    bool gotPragma = false;
    // Whether the declaration needs http-equiv="content-type": it does when
    // it came from content=, not when it came from charset=.
    enum { NoNeed, NeedPragma, NoPragmaNeeded } need = NoNeed;
    // charset= with an unknown label is a failure that content= cannot undo.
    enum { None, Failed, Found } state = None;
    Declaration charset;
    Attribute attr;
    for (;;) {
        const int got = getAttribute(bytes, end, pos, attr);
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        // Only the first attribute of each name counts.
        if (std::find(seen.begin(), seen.end(), attr.name) != seen.end()) {
            continue;
        }
        seen.push_back(attr.name);
        if (attr.name == "http-equiv") {
            if (attr.value == "content-type") {
                gotPragma = true;
            }
        } else if (attr.name == "content") {
            std::string label;
            Declaration candidate;
            if (state == None && charsetFromContent(attr.value, label) &&
                resolveDeclared(label, mapper, candidate)) {
                charset = candidate;
                state = Found;
                need = NeedPragma;
            }
        } else if (attr.name == "charset") {
            Declaration candidate;
            state = resolveDeclared(attr.value, mapper, candidate) ? Found : Failed;
            charset = candidate;
            need = NoPragmaNeeded;
        }
    }
    if (need == NoNeed || (need == NeedPragma && !gotPragma) || state != Found) {
        return 0;
    }
    found = charset;
    return 1;
}

} // namespace

std::string trimLabel(const std::string& label) {
    std::size_t begin = 0;
    std::size_t end = label.size();
    while (begin < end && isAsciiWhitespace(static_cast<unsigned char>(label[begin]))) {
        ++begin;
    }
    while (end > begin && isAsciiWhitespace(static_cast<unsigned char>(label[end - 1]))) {
        --end;
    }
    return label.substr(begin, end - begin);
}

bool charsetParameter(const char* value, std::string& label) {
    if (value == nullptr) {
        return false;
    }
    const auto isOws = [](char c) { return c == ' ' || c == '\t'; };
    const char* p = std::strchr(value, ';');
    while (p != nullptr && *p != '\0') {
        // At a ';' or within whitespace before a parameter.
        while (*p == ';' || isOws(*p)) {
            ++p;
        }
        if (*p == '\0') {
            break;
        }
        std::string name;
        while (*p != '\0' && *p != '=' && *p != ';') {
            name.push_back(static_cast<char>(toLowerAscii(static_cast<unsigned char>(*p))));
            ++p;
        }
        while (!name.empty() && isOws(name.back())) {
            name.pop_back();
        }
        if (*p != '=') {
            // A parameter without a value names nothing.
            continue;
        }
        ++p;
        while (isOws(*p)) {
            ++p;
        }
        std::string parameterValue;
        if (*p == '"') {
            ++p;
            while (*p != '\0' && *p != '"') {
                if (*p == '\\' && p[1] != '\0') {
                    ++p;
                }
                parameterValue.push_back(*p);
                ++p;
            }
            if (*p == '"') {
                ++p;
            }
            // Anything between the closing quote and the next ';' is ignored.
            while (*p != '\0' && *p != ';') {
                ++p;
            }
        } else {
            while (*p != '\0' && *p != ';') {
                parameterValue.push_back(*p);
                ++p;
            }
            while (!parameterValue.empty() && isOws(parameterValue.back())) {
                parameterValue.pop_back();
            }
        }
        if (name == "charset") {
            if (parameterValue.empty()) {
                return false;
            }
            label = parameterValue;
            return true;
        }
    }
    return false;
}

bool prescanMeta(const unsigned char* bytes, std::size_t length, std::size_t limit,
                 const LabelMapper& mapper, Declaration& found) {
    if (bytes == nullptr) {
        return false;
    }
    const std::size_t end = std::min(length, limit);
    std::size_t pos = 0;
    while (pos < end) {
        if (bytes[pos] != '<') {
            ++pos;
            continue;
        }
        if (matchesAt(bytes, end, pos, "<!--")) {
            // A comment ends at the first '>' preceded by "--" after its '<':
            // "<!-->" is a whole comment.
            std::size_t close = pos + 2;
            for (;;) {
                if (close >= end) {
                    return false;
                }
                if (bytes[close] == '>' && bytes[close - 1] == '-' && bytes[close - 2] == '-') {
                    break;
                }
                ++close;
            }
            pos = close + 1;
            continue;
        }
        if (matchesAt(bytes, end, pos, "<meta") && end - pos > 5 &&
            (isAsciiWhitespace(bytes[pos + 5]) || bytes[pos + 5] == '/')) {
            pos += 6;
            const int got = readMeta(bytes, end, pos, mapper, found);
            if (got < 0) {
                return false;
            }
            if (got > 0) {
                return true;
            }
            ++pos;
            continue;
        }
        const bool endTag = end - pos > 2 && bytes[pos + 1] == '/' && isAsciiLetter(bytes[pos + 2]);
        if ((end - pos > 1 && isAsciiLetter(bytes[pos + 1])) || endTag) {
            // Another tag: skip its name, then read its attributes to the '>'.
            while (pos < end && !isAsciiWhitespace(bytes[pos]) && bytes[pos] != '>') {
                ++pos;
            }
            Attribute attr;
            int got = 1;
            while (got > 0) {
                got = getAttribute(bytes, end, pos, attr);
            }
            if (got < 0) {
                return false;
            }
            ++pos;
            continue;
        }
        if (end - pos > 1 &&
            (bytes[pos + 1] == '!' || bytes[pos + 1] == '/' || bytes[pos + 1] == '?')) {
            // <!DOCTYPE ...>, </ not followed by a letter, <?...>: to the next '>'.
            const void* close = std::memchr(bytes + pos + 1, '>', end - pos - 1);
            if (close == nullptr) {
                return false;
            }
            pos = static_cast<std::size_t>(static_cast<const unsigned char*>(close) - bytes) + 1;
            continue;
        }
        ++pos;
    }
    return false;
}

bool xmlDeclaration(const unsigned char* bytes, std::size_t length, std::size_t limit,
                    const LabelMapper& mapper, Declaration& found) {
    if (bytes == nullptr) {
        return false;
    }
    const std::size_t end = std::min(length, limit);
    static const unsigned char kOpening[] = {'<', '?', 'x', 'm', 'l'};
    if (end < sizeof kOpening || std::memcmp(bytes, kOpening, sizeof kOpening) != 0) {
        return false;
    }
    const void* close = std::memchr(bytes, '>', end);
    if (close == nullptr) {
        return false;
    }
    // The declaration ends at its first '>'; the encoding must stand before it.
    const std::size_t declEnd =
        static_cast<std::size_t>(static_cast<const unsigned char*>(close) - bytes);
    std::size_t pos = sizeof kOpening;
    while (pos < declEnd && !matchesAt(bytes, declEnd, pos, "encoding")) {
        ++pos;
    }
    if (pos >= declEnd) {
        return false;
    }
    pos += 8;
    while (pos < declEnd && bytes[pos] <= 0x20) {
        ++pos;
    }
    if (pos >= declEnd || bytes[pos] != '=') {
        return false;
    }
    ++pos;
    while (pos < declEnd && bytes[pos] <= 0x20) {
        ++pos;
    }
    if (pos >= declEnd || (bytes[pos] != '"' && bytes[pos] != '\'')) {
        return false;
    }
    const unsigned char quote = bytes[pos++];
    std::string label;
    while (pos < declEnd && bytes[pos] != quote) {
        if (bytes[pos] <= 0x20) {
            // No whitespace or control byte inside the label.
            return false;
        }
        label.push_back(static_cast<char>(bytes[pos]));
        ++pos;
    }
    if (pos >= declEnd) {
        return false;
    }
    return resolveDeclared(label, mapper, found);
}

} // namespace detail
} // namespace charsetkit
