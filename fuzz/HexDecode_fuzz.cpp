// Percent decoding over arbitrary bytes with every traverser. The first byte
// picks the traverser, the rest is the input. Checks: the output is never
// longer than the input; a failure returns the input unchanged; the result
// does not depend on what the output string held before; the traverser ends
// within the last two bytes or at the end (at the bad '%' on failure); with the byte traverser the
// result equals a plain byte-at-a-time decoder's.
#include "EscapeFuzzSupport.h"
#include "FuzzCheck.h"
#include "support/NaiveHexDecode.h"

#include <charsetkit/traversal/TraverserUtils.h>

#include <cstddef>
#include <cstdint>
#include <string>

using charsetkit::TraverserUtils;
using charsetkit::fuzzing::ExactCopy;
using charsetkit::fuzzing::pickTraverser;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size - 1 > 1u << 20) {
        return 0;
    }
    const std::uint8_t choice = data[0];
    const ExactCopy input(data + 1, size - 1);
    auto traverser = pickTraverser(choice, false);

    std::string out;
    const bool ok = TraverserUtils::hexDecode(out, input.data(), input.length(), traverser.get());
    const std::string in(input.data(), input.size());
    FUZZ_CHECK(out.size() <= in.size());
    if (!ok) {
        FUZZ_CHECK(out == in);
    }
    if (in.find('%') == std::string::npos) {
        FUZZ_CHECK(ok && out == in);
    }

    const std::ptrdiff_t pos = traverser->getPos() - input.data();
    FUZZ_CHECK(traverser->getBufferStart() == input.data());
    FUZZ_CHECK(pos >= 0 && static_cast<std::size_t>(pos) <= in.size());
    if (ok) {
        FUZZ_CHECK(static_cast<std::size_t>(pos) + 2 >= in.size());
    } else {
        // A failed scan stops at the '%' it could not decode.
        FUZZ_CHECK(in[static_cast<std::size_t>(pos)] == '%');
    }

    std::string again = "text left over from an earlier call";
    const bool okAgain =
        TraverserUtils::hexDecode(again, input.data(), input.length(), traverser.get());
    FUZZ_CHECK(okAgain == ok && again == out);

    if (choice % 8 == 0) {
        std::string expected;
        const bool expectedOk = charsetkit::test::naiveHexDecode(in, expected);
        FUZZ_CHECK(ok == expectedOk && out == expected);
    }
    return 0;
}
