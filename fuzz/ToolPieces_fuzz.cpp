// The tool's cutting of input into pieces, with piece sizes of 1-8 bytes so
// that every path runs on small inputs. The first byte chooses the encoding
// and the piece size. For any bytes the cuts move forward and stay within the
// input; for input that verifies, the pieces converted one by one give the
// whole input's conversion, and one of them is refused exactly when the whole
// input is (code page 949 verification checks the layout only, so a pair such
// as CC 41 verifies but does not convert).
#include "Pieces.h"

#include <charsetkit/charsetkit.h>

#include "FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    using charsetkit::AbstractEncoding;
    const auto id = static_cast<AbstractEncoding::EncodingID>(1 + data[0] % 6);
    const std::size_t pieceSize = 1 + (data[0] >> 3) % 8;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto length = static_cast<unsigned int>(text.size());

    charsetkit::EncodingFromId registry;
    const AbstractEncoding& encoding = *registry.getEncodingForID(id);
    const bool valid =
        encoding.verify(text.data(), length, false, false, 0) &&
        AbstractEncoding::getVerifiedLength(id, text.data(), length, false, false, 0) == length;

    std::string joined;
    bool piecesConverted = true;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end =
            charsetkit::tool::pieceEnd(text.data(), text.size(), start, id, pieceSize);
        FUZZ_CHECK(end > start && end <= text.size());
        if (valid) {
            std::string piece;
            bool unmapped = false;
            piecesConverted &=
                encoding.convertToUtf8(text.data() + start, static_cast<unsigned int>(end - start),
                                       piece, unmapped, false);
            joined += piece;
        }
        start = end;
    }
    if (valid) {
        std::string whole;
        bool unmapped = false;
        const bool wholeConverted =
            encoding.convertToUtf8(text.data(), length, whole, unmapped, false);
        FUZZ_CHECK(piecesConverted == wholeConverted);
        FUZZ_CHECK(!wholeConverted || joined == whole);
    }
    return 0;
}
