// The tool's cutting of input into pieces, with piece sizes of 1-8 bytes so
// that every path runs on small inputs. The first byte chooses the encoding
// and the piece size. For any bytes the cuts move forward and stay within the
// input; for input that verifies (and, in ISO-2022-JP, ends in ASCII), the
// pieces converted one by one give the whole input's conversion.
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
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end =
            charsetkit::tool::pieceEnd(text.data(), text.size(), start, id, pieceSize);
        FUZZ_CHECK(end > start && end <= text.size());
        if (valid) {
            std::string piece;
            bool unmapped = false;
            encoding.convertToUtf8(text.data() + start, static_cast<unsigned int>(end - start),
                                   piece, unmapped, false);
            joined += piece;
        }
        start = end;
    }
    if (valid) {
        std::string whole;
        bool unmapped = false;
        encoding.convertToUtf8(text.data(), length, whole, unmapped, false);
        FUZZ_CHECK(joined == whole);
    }
    return 0;
}
