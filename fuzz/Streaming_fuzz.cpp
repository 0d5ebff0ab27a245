// Streaming against whole-buffer work over arbitrary bytes cut at points the
// input chooses. Invariants: for every encoding, the streaming decoder and
// encoder give byte for byte what the whole-buffer conversions give (or fail
// where they fail, at one offset whatever the cutting), holding at most one
// open character between pieces; the incremental detector gives the
// locale's whole-buffer answer, and an early decision is already that
// answer; sniffing picks from detection's own candidates.
//
// Input: byte 0 chooses the locale, the detection flags, replacement of
// unmapped characters and an empty last piece; byte 1 & 15 is
// the number of piece lengths that follow (each & 63, used in turn until the
// text is used up); the rest is the text.
#include <charsetkit/charsetkit.h>

#include "FuzzCheck.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using namespace charsetkit;

namespace {

using EncodingID = AbstractEncoding::EncodingID;

struct Pieces {
    const char* text;
    std::size_t size;
    std::vector<std::size_t> lengths;
    /// Feed the text with `last` unset, then an empty last piece.
    bool emptyLast = false;

    // Calls feed(pointer, length, last) for each piece; stops when it
    // returns false and returns that.
    template <typename Feed>
    bool each(Feed feed) const {
        const bool anyLength =
            std::any_of(lengths.begin(), lengths.end(), [](std::size_t n) { return n != 0; });
        std::size_t done = 0;
        std::size_t turn = 0;
        for (;;) {
            std::size_t length = size - done;
            if (anyLength) {
                length = std::min(length, lengths[turn++ % lengths.size()]);
            }
            const bool end = done + length == size;
            if (!feed(text + done, static_cast<unsigned int>(length), end && !emptyLast)) {
                return false;
            }
            done += length;
            if (end) {
                return !emptyLast || feed(text + done, 0u, true);
            }
        }
    }
};

void checkDecoder(EncodingID id, const Pieces& pieces, bool useReplacement) {
    EncodingFromId registry;
    std::string whole;
    bool wholeUnmapped = false;
    const bool wholeOk = registry.getEncodingForID(id)->convertToUtf8(
        pieces.text, static_cast<unsigned int>(pieces.size), whole, wholeUnmapped, useReplacement);
    StreamingDecoder decoder(id, useReplacement);
    std::string output;
    const bool ok = pieces.each([&](const char* piece, unsigned int length, bool last) {
        const bool fed = decoder.feed(piece, length, last, output);
        FUZZ_CHECK(decoder.heldBytes() <= (last ? 0u : 3u));
        return fed;
    });
    FUZZ_CHECK(ok == wholeOk);
    if (ok) {
        FUZZ_CHECK(output == whole);
        FUZZ_CHECK(decoder.unmapped() == wholeUnmapped);
    } else {
        FUZZ_CHECK(decoder.failed() && decoder.failureOffset() < pieces.size);
        // The same failure when the input comes in one piece.
        StreamingDecoder single(id, useReplacement);
        std::string unused;
        FUZZ_CHECK(!single.feed(pieces.text, static_cast<unsigned int>(pieces.size), true, unused));
        FUZZ_CHECK(single.failureOffset() == decoder.failureOffset());
    }
}

void checkEncoder(EncodingID id, const Pieces& pieces) {
    EncodingFromId registry;
    std::string whole;
    const bool wholeOk = registry.getEncodingForID(id)->convertFromUtf8(
        pieces.text, static_cast<unsigned int>(pieces.size), whole);
    StreamingEncoder encoder(id);
    std::string output;
    const bool ok = pieces.each([&](const char* piece, unsigned int length, bool last) {
        const bool fed = encoder.feed(piece, length, last, output);
        FUZZ_CHECK(encoder.heldBytes() <= (last ? 0u : 5u));
        return fed;
    });
    FUZZ_CHECK(ok == wholeOk);
    if (ok) {
        FUZZ_CHECK(output == whole);
    } else {
        FUZZ_CHECK(encoder.failed() && encoder.failureOffset() <= pieces.size);
        StreamingEncoder single(id);
        std::string unused;
        FUZZ_CHECK(!single.feed(pieces.text, static_cast<unsigned int>(pieces.size), true, unused));
        FUZZ_CHECK(single.failureOffset() == encoder.failureOffset());
    }
}

void checkDetection(std::uint8_t control, const Pieces& pieces) {
    const auto localeId = static_cast<AbstractLocale::eLocalIds>(1 + control % 3);
    std::unique_ptr<AbstractLocale> locale(AbstractLocale::getLocaleForId(localeId));
    FUZZ_CHECK(locale != nullptr);
    locale->useRestrictiveUtf8((control & 0x08) != 0);
    const bool verifyCharacters = (control & 0x10) != 0;
    const bool scanToEnd = (control & 0x20) != 0;
    const bool reject = (control & 0x40) != 0;
    const int limit = (control & 0x80) != 0 ? 1 : 3;

    std::vector<EncodingID> whole;
    locale->detectAndVerifyEncoding(pieces.text, static_cast<unsigned int>(pieces.size),
                                    verifyCharacters, reject, limit, scanToEnd, &whole);
    IncrementalDetector detector(*locale, verifyCharacters, reject, limit, scanToEnd);
    pieces.each([&](const char* piece, unsigned int length, bool last) {
        const bool wasDecided = detector.isDecided();
        detector.feed(piece, length, last);
        if (detector.isDecided() && !wasDecided) {
            FUZZ_CHECK(detector.encodings() == whole);
        }
        return true;
    });
    FUZZ_CHECK(detector.isDecided() && detector.encodings() == whole);

    for (const bool moreFollows : {false, true}) {
        EncodingSniffer::Options options;
        options.verifyCharacters = verifyCharacters;
        options.rejectRedundantEscapes = reject;
        options.escapeRunLimit = limit;
        options.scanToEnd = scanToEnd;
        const auto result =
            EncodingSniffer::sniff(pieces.text, static_cast<unsigned int>(pieces.size),
                                   "text/html; charset=shift_jis", *locale, moreFollows, options);
        FUZZ_CHECK(result.name() != nullptr);
        if (result.source == EncodingSniffer::FromDetection) {
            FUZZ_CHECK(std::find(result.candidates.begin(), result.candidates.end(),
                                 result.encoding) != result.candidates.end());
        }
        if (!moreFollows && (result.source == EncodingSniffer::FromDetection ||
                             result.source == EncodingSniffer::FromDefault)) {
            FUZZ_CHECK(result.candidates == whole);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::uint8_t control = data[0];
    const std::size_t count = std::min<std::size_t>(data[1] & 15u, size - 2);
    Pieces pieces;
    for (std::size_t i = 0; i < count; ++i) {
        pieces.lengths.push_back(data[2 + i] & 63u);
    }
    pieces.text = reinterpret_cast<const char*>(data + 2 + count);
    pieces.size = size - 2 - count;
    pieces.emptyLast = (control & 0x02) != 0;

    for (int id = AbstractEncoding::Ascii; id <= AbstractEncoding::EucKr; ++id) {
        checkDecoder(static_cast<EncodingID>(id), pieces, (control & 0x04) != 0);
        checkEncoder(static_cast<EncodingID>(id), pieces);
    }
    checkDetection(control, pieces);
    return 0;
}
