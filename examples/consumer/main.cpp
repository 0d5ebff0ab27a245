// A small program that uses an installed charsetkit: it detects the encoding
// of a Shift_JIS page, converts it to UTF-8 and walks its mark-up without
// ever stopping inside a double-byte character.

#include <charsetkit/charsetkit.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

int main() {
    using charsetkit::AbstractEncoding;

    // "<p>表示</p>" in Shift_JIS: the second byte of 表 (0x95 0x5C) is a
    // backslash and the second byte of 示 (0x8E 0xA6) is not ASCII.
    const std::string page = "<p>\x95\x5C\x8E\xA6</p>";

    std::unique_ptr<charsetkit::AbstractLocale> locale(
        charsetkit::AbstractLocale::getLocaleForName("Japanese"));
    std::vector<AbstractEncoding::EncodingID> found;
    locale->detectAndVerifyEncoding(page.data(), static_cast<unsigned int>(page.size()), false,
                                    false, 3, true, &found);
    if (found.size() != 1) {
        std::puts("detection failed");
        return 1;
    }

    charsetkit::EncodingFromId encodings;
    const AbstractEncoding* encoding = encodings.getEncodingForID(found[0]);
    std::string utf8;
    bool unmapped = false;
    if (!encoding->convertToUtf8(page.data(), static_cast<unsigned int>(page.size()), utf8,
                                 unmapped, false) ||
        utf8 != "<p>\xE8\xA1\xA8\xE7\xA4\xBA</p>") {
        std::puts("conversion failed");
        return 1;
    }

    // Count the mark-up delimiters where characters start: the 0x5C inside
    // 表 is never seen, so exactly four angle brackets and no backslash.
    std::unique_ptr<charsetkit::AbstractTraverser> traverser(encoding->getExactEncodingTraverser());
    traverser->setNewBuffer(page);
    int brackets = 0;
    int backslashes = 0;
    for (; !traverser->isEnd(); traverser->advance()) {
        const char c = *traverser->getPos();
        brackets += (c == '<' || c == '>') ? 1 : 0;
        backslashes += c == '\\' ? 1 : 0;
    }
    if (brackets != 4 || backslashes != 0) {
        std::puts("traversal failed");
        return 1;
    }
    std::printf("%s: %s\n", encoding->getPreferedID(), utf8.c_str());
    return 0;
}
