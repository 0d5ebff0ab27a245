// Every traverser against its plain twin on arbitrary bytes: the walk with
// advance(), jumps with advanceTo() (chained from the binding, and from every
// stop on short inputs), percent decoding and the charset checker must leave
// every observable field as the plain stepping code does.
//
// Input: a settings byte (bit 0 turns single-byte katakana off, bits 1-3
// choose the checker's flags and table), the byte to jump to, then the text.
#include <charsetkit/charsetkit.h>

#include "FuzzCheck.h"
#include "support/Twins.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using namespace charsetkit;

namespace {

using Owned = std::unique_ptr<AbstractTraverser>;

bool same(const AbstractTraverser& x, const AbstractTraverser& y) {
    return x.getPos() == y.getPos() && x.skipped() == y.skipped() && x.isEnd() == y.isEnd() &&
           x.getBufferStart() == y.getBufferStart() && x.getBufferEnd() == y.getBufferEnd();
}

Owned clone(const AbstractTraverser& t) {
    Owned copy(t.createNew());
    FUZZ_CHECK(copy != nullptr);
    static_cast<AbstractTraverser&>(*copy) = t;
    return copy;
}

void compare(AbstractTraverser& fast, AbstractTraverser& plain, const std::string& text,
             char target, unsigned flags) {
    const char* const buffer = text.data();
    const int length = static_cast<int>(text.size());

    fast.setNewBuffer(buffer, length);
    plain.setNewBuffer(buffer, length);
    std::vector<Owned> stops;
    for (;;) {
        FUZZ_CHECK(same(fast, plain));
        if (length <= 256) {
            stops.push_back(clone(plain));
        }
        if (plain.isEnd()) {
            break;
        }
        FUZZ_CHECK(fast.advance() == fast.getPos());
        plain.advance();
    }

    fast.setNewBuffer(buffer, length);
    plain.setNewBuffer(buffer, length);
    do {
        FUZZ_CHECK(fast.advanceTo(target) == fast.getPos());
        plain.advanceTo(target);
        FUZZ_CHECK(same(fast, plain));
    } while (!plain.isEnd());

    for (const Owned& stop : stops) {
        Owned expected = clone(*stop);
        static_cast<AbstractTraverser&>(fast) = *stop;
        fast.advanceTo(target);
        expected->advanceTo(target);
        FUZZ_CHECK(same(fast, *expected));
    }

    std::string decoded;
    std::string expectedText;
    FUZZ_CHECK(TraverserUtils::hexDecode(decoded, buffer, length, &fast) ==
               reference::plainHexDecode(expectedText, buffer, length, plain));
    FUZZ_CHECK(decoded == expectedText);
    FUZZ_CHECK(same(fast, plain));

    bool allowed[256];
    for (int v = 0; v < 256; ++v) {
        allowed[v] = (flags & 4u) != 0 ? v < 0x80 : v >= 0x20 && v != '<' && v != '"';
    }
    allowed[static_cast<unsigned char>(target)] = false;
    bool seenOnEntry[256] = {};
    seenOnEntry[static_cast<unsigned char>('"')] = (flags & 8u) != 0;
    bool seen[256];
    for (int v = 0; v < 256; ++v) {
        seen[v] = seenOnEntry[v];
    }
    const bool checkEscapes = (flags & 2u) == 0;
    const bool acceptPercent = (flags & 8u) != 0;
    char report[256];
    char* reportPointer = report;
    int count = -1;
    bool badEscape = false;
    std::string badEscapeText;
    CharsetChecker().checkBuffer(allowed, checkEscapes, buffer, length, &reportPointer, &count,
                                 seen, &badEscape, &fast, &badEscapeText, acceptPercent);
    const reference::CheckResult result = reference::plainCheckBuffer(
        allowed, checkEscapes, buffer, length, seenOnEntry, plain, acceptPercent);
    FUZZ_CHECK(count >= 0 &&
               std::string(report, static_cast<std::size_t>(count)) == result.reported);
    FUZZ_CHECK(badEscape == result.badEscape);
    FUZZ_CHECK(badEscapeText == result.badEscapeText);
    FUZZ_CHECK(same(fast, plain));
    for (int v = 0; v < 256; ++v) {
        FUZZ_CHECK(seen[v] == seenOnEntry[v]);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const unsigned flags = data[0];
    const char target = static_cast<char>(data[1]);
    JapaneseLocale::setSupportSingleByteKana((flags & 1u) == 0);
    // An exact-size copy, so that a read past the text is caught.
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);

    AsciiTraverser ascii;
    reference::PlainAsciiTraverser plainAscii;
    compare(ascii, plainAscii, text, target, flags);
    Utf8Traverser utf8;
    reference::PlainUtf8Traverser plainUtf8;
    compare(utf8, plainUtf8, text, target, flags);
    EucKrTraverser eucKr;
    compare(eucKr, plainUtf8, text, target, flags);
    Owned eucJp(EucJpEncoding().getExactEncodingTraverser());
    FUZZ_CHECK(eucJp != nullptr);
    compare(*eucJp, plainUtf8, text, target, flags);
    SjisTraverser sjis;
    reference::PlainSjisTraverser plainSjis;
    compare(sjis, plainSjis, text, target, flags);
    JisTraverser jis;
    reference::PlainJisTraverser plainJis;
    compare(jis, plainJis, text, target, flags);
    Utf16BigTraverser big;
    reference::PlainUtf16Traverser<true> plainBig;
    compare(big, plainBig, text, target, flags);
    Utf16LittleTraverser little;
    reference::PlainUtf16Traverser<false> plainLittle;
    compare(little, plainLittle, text, target, flags);
    JapaneseLocale::setSupportSingleByteKana(true);
    return 0;
}
