// The charset checker over arbitrary bytes. Input layout: one byte picks the
// traverser (or none), one byte of flags, 32 bytes of allowed-byte bitmap,
// then the buffer. Checks: the count is 0-256; reported values are distinct
// and forbidden by the table; the seen table is all false again; badEscape
// agrees with the malformed-escape text, and both stay clear without escape
// checking; the traverser is left at the end of the buffer.
#include "EscapeFuzzSupport.h"
#include "FuzzCheck.h"

#include <charsetkit/traversal/CharsetChecker.h>

#include <cstddef>
#include <cstdint>
#include <string>

using charsetkit::CharsetChecker;
using charsetkit::fuzzing::ExactCopy;
using charsetkit::fuzzing::pickTraverser;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::size_t header = 2 + 32;
    if (size < header || size - header > 1u << 20) {
        return 0;
    }
    auto traverser = pickTraverser(data[0], true);
    const std::uint8_t flags = data[1];
    const bool checkEscapes = (flags & 1) != 0;
    const bool acceptPercent = (flags & 2) != 0;
    const bool wantBadEscape = (flags & 4) == 0;
    const bool wantText = (flags & 8) == 0;
    bool allowed[256];
    for (int value = 0; value < 256; ++value) {
        allowed[value] = ((data[2 + value / 8] >> (value % 8)) & 1) != 0;
    }
    const ExactCopy input(data + header, size - header);

    bool seen[256] = {};
    char report[256];
    char* reportPointer = report;
    int count = -1;
    bool badEscape = true;
    std::string text = "stale";
    CharsetChecker().checkBuffer(allowed, checkEscapes, input.data(), input.length(),
                                 &reportPointer, &count, seen, wantBadEscape ? &badEscape : nullptr,
                                 traverser.get(), wantText ? &text : nullptr, acceptPercent);

    FUZZ_CHECK(count >= 0 && count <= 256);
    bool reported[256] = {};
    for (int i = 0; i < count; ++i) {
        const unsigned char value = static_cast<unsigned char>(report[i]);
        FUZZ_CHECK(!reported[value]);
        FUZZ_CHECK(!allowed[value]);
        reported[value] = true;
    }
    for (bool entry : seen) {
        FUZZ_CHECK(!entry);
    }
    if (wantBadEscape && wantText) {
        FUZZ_CHECK(badEscape == !text.empty());
    }
    if (!checkEscapes) {
        FUZZ_CHECK(!wantBadEscape || !badEscape);
        FUZZ_CHECK(!wantText || text.empty());
    }
    if (traverser != nullptr) {
        FUZZ_CHECK(traverser->getBufferStart() == input.data());
        FUZZ_CHECK(traverser->isEnd());
    }
    return 0;
}
