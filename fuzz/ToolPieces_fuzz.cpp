// The tool's verification and conversion fed in pieces of 1-8 bytes against
// the same work on the whole input. The first byte chooses the input's
// encoding, the piece size, the output's encoding and --replace; the rest is
// the input. For any bytes the pieces give the whole input's verdict (the
// failure's kind, offset, line and byte), its refusal and its text; the
// verdict agrees with the library's verify(), and text converted to UTF-8
// is the library's whole-buffer conversion.
#include "StreamConvert.h"

#include <charsetkit/charsetkit.h>

#include "FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

using charsetkit::AbstractEncoding;
using charsetkit::tool::ConvertSettings;
using charsetkit::tool::StreamConverter;
using charsetkit::tool::VerifyFailure;

struct Result {
    std::string text;
    VerifyFailure failure;
    std::string refusal;
    bool unmapped = false;
    std::size_t taggedCodes = 0;
};

Result run(const ConvertSettings& settings, const std::string& input, std::size_t pieceSize) {
    StreamConverter converter(settings);
    Result result;
    std::size_t start = 0;
    for (bool last = false; !last;) {
        const std::size_t size = std::min(pieceSize, input.size() - start);
        last = start + size == input.size();
        const std::size_t before = result.text.size();
        if (!converter.feed(input.data() + start, size, last, result.text)) {
            FUZZ_CHECK(result.text.size() == before);
            break;
        }
        start += size;
    }
    result.failure = converter.verifyFailure();
    result.refusal = converter.conversionRefusal();
    result.unmapped = converter.unmapped();
    result.taggedCodes = converter.taggedCodes();
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const unsigned int control = data[0];
    ConvertSettings settings;
    settings.from = static_cast<AbstractEncoding::EncodingID>(1 + control % 6);
    const std::size_t pieceSize = 1 + (control >> 3) % 8;
    settings.to =
        (control >> 6) == 0
            ? AbstractEncoding::Utf8
            : static_cast<AbstractEncoding::EncodingID>(1 + (control + (control >> 6)) % 6);
    settings.replace = (control & 0x40) != 0;
    const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);

    const Result whole = run(settings, input, input.size() + 1);
    const Result pieces = run(settings, input, pieceSize);
    FUZZ_CHECK(whole.failure == pieces.failure);

    // The verdict is the library's, made strict about a cut-off character.
    charsetkit::EncodingFromId registry;
    const AbstractEncoding& from = *registry.getEncodingForID(settings.from);
    const auto length = static_cast<unsigned int>(input.size());
    const bool verifies = from.verify(input.data(), length, settings.verifyCharacters,
                                      settings.rejectRedundantEscapes, settings.escapeRunLimit);
    // verify() accepts a cut-off character but in EUC-KR.
    FUZZ_CHECK(verifies == (whole.failure.kind == VerifyFailure::None ||
                            (whole.failure.kind == VerifyFailure::EndsInside &&
                             settings.from != AbstractEncoding::EucKr)));
    if (whole.failure.kind == VerifyFailure::Byte) {
        FUZZ_CHECK(whole.failure.offset < input.size());
        FUZZ_CHECK(whole.failure.byte == static_cast<unsigned char>(input[whole.failure.offset]));
    }
    if (whole.failure.kind != VerifyFailure::None) {
        return 0;
    }
    FUZZ_CHECK(whole.refusal == pieces.refusal);
    if (!whole.refusal.empty()) {
        return 0;
    }
    FUZZ_CHECK(whole.text == pieces.text);
    FUZZ_CHECK(whole.unmapped == pieces.unmapped && whole.taggedCodes == pieces.taggedCodes);
    if (settings.to == AbstractEncoding::Utf8 && settings.from != AbstractEncoding::Ascii) {
        std::string direct;
        bool unmapped = false;
        FUZZ_CHECK(from.convertToUtf8(input.data(), length, direct, unmapped, settings.replace));
        FUZZ_CHECK(direct == whole.text);
    }
    return 0;
}
