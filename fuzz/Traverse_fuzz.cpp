// Every traverser over arbitrary bytes. Invariants: positions only move
// forward and stay inside the buffer, the walk ends within length + 1 steps,
// a traverser at its end stays there, and the byte-range traversers stop
// exactly at the bytes below 0x80.
#include <charsetkit/charsetkit.h>

#include "FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <memory>

using namespace charsetkit;

namespace {

void walk(AbstractTraverser& t, const char* buffer, int length, bool stopsBelow80) {
    t.setNewBuffer(buffer, length);
    FUZZ_CHECK(t.getBufferStart() == buffer);
    const char* end = t.getBufferEnd();
    const char* previous = nullptr;
    int steps = 0;
    int expectedStop = 0;
    while (!t.isEnd()) {
        const char* pos = t.getPos();
        FUZZ_CHECK(pos >= buffer && pos < end);
        FUZZ_CHECK(previous == nullptr || pos > previous);
        if (stopsBelow80) {
            while (expectedStop < length &&
                   static_cast<unsigned char>(buffer[expectedStop]) >= 0x80) {
                ++expectedStop;
            }
            FUZZ_CHECK(pos == buffer + expectedStop);
            ++expectedStop;
        }
        previous = pos;
        FUZZ_CHECK(t.advance() == t.getPos());
        FUZZ_CHECK(++steps <= length + 1);
    }
    FUZZ_CHECK(t.getPos() == end);
    t.advance();
    FUZZ_CHECK(t.getPos() == end);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    JapaneseLocale::setSupportSingleByteKana((data[0] & 0x01) == 0);
    const char* buffer = reinterpret_cast<const char*>(data + 1);
    const int length = static_cast<int>(size - 1);
    AsciiTraverser ascii;
    Utf8Traverser utf8;
    Utf16BigTraverser big;
    Utf16LittleTraverser little;
    SjisTraverser sjis;
    JisTraverser jis;
    EucKrTraverser eucKr;
    std::unique_ptr<AbstractTraverser> eucJp(EucJpEncoding().getExactEncodingTraverser());
    FUZZ_CHECK(eucJp != nullptr);
    walk(ascii, buffer, length, false);
    walk(utf8, buffer, length, true);
    walk(eucKr, buffer, length, true);
    walk(*eucJp, buffer, length, true);
    walk(big, buffer, length, false);
    walk(little, buffer, length, false);
    walk(sjis, buffer, length, false);
    walk(jis, buffer, length, false);
    JapaneseLocale::setSupportSingleByteKana(true);
    return 0;
}
