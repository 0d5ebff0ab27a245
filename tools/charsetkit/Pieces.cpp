#include "Pieces.h"

#include <algorithm>
#include <cstring>

namespace charsetkit {
namespace tool {

using EncodingId = AbstractEncoding::EncodingID;

namespace {

// The length of the character that starts with `byte` in valid Shift_JIS,
// EUC-JP or EUC-KR text: Shift_JIS lead bytes 0x81-0x9F and 0xE0-0xFC take a
// trail byte; in EUC-JP 0x8E takes one byte more, 0x8F two and 0xA1-0xFE
// one; in EUC-KR every byte from 0x81 up takes one.
std::size_t characterLength(unsigned char byte, EncodingId from) {
    switch (from) {
    case AbstractEncoding::Sjis:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC) ? 2 : 1;
    case AbstractEncoding::EucJp:
        return byte == 0x8F ? 3 : byte == 0x8E || byte >= 0xA1 ? 2 : 1;
    case AbstractEncoding::EucKr:
        return byte >= 0x81 ? 2 : 1;
    default:
        return 1;
    }
}

} // namespace

// Where the next piece of the input ends: after the first line end at least
// pieceSize bytes on; when no line end comes within another pieceSize
// bytes, between two characters from there on (so that a long line is cut
// too); at the end of the input when neither comes. A line feed never lies
// inside a character of any of the encodings. The input is valid in `from`,
// so that characters can be walked from `start`, which begins one.
//
// In ISO-2022-JP text every cut must fall while ASCII is designated (the next
// piece starts in ASCII), which the last escape sequence up to it tells; a
// long line is cut after a space or control byte in ASCII, or after a "B"
// that ends ESC ( B or stands in ASCII text (a "B" ending any other escape
// sequence leaves another mode, and no other byte of an escape sequence is a
// place to cut).
std::size_t pieceEnd(const char* data, std::size_t size, std::size_t start, EncodingId from,
                     std::size_t pieceSize) {
    if (size - start <= pieceSize) {
        return size;
    }
    const std::size_t anyCutFrom = size - start > 2 * pieceSize ? start + 2 * pieceSize : size;
    if (from != AbstractEncoding::Jis) {
        const void* newline =
            std::memchr(data + start + pieceSize, '\n', anyCutFrom - (start + pieceSize));
        if (newline != nullptr) {
            return static_cast<std::size_t>(static_cast<const char*>(newline) - data) + 1;
        }
        std::size_t end = anyCutFrom;
        if (from == AbstractEncoding::Utf8) {
            // Any byte but a continuation byte starts a character.
            while (end < size && (static_cast<unsigned char>(data[end]) & 0xC0) == 0x80) {
                ++end;
            }
        } else if (from != AbstractEncoding::Ascii) {
            for (end = start; end < anyCutFrom;) {
                end += characterLength(static_cast<unsigned char>(data[end]), from);
            }
        }
        return std::min(end, size);
    }
    bool ascii = true; // the mode at `start`: pieces start in ASCII
    std::size_t scanned = start;
    for (std::size_t i = start + pieceSize; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        if (byte != '\n' && (i < anyCutFrom || byte == 0x1B || (byte >= 0x21 && byte != 'B'))) {
            continue;
        }
        for (; scanned <= i; ++scanned) {
            if (data[scanned] == '\x1B' && size - scanned >= 3) {
                ascii = data[scanned + 1] == '(' && data[scanned + 2] == 'B';
            }
        }
        if (ascii) {
            return i + 1;
        }
    }
    return size;
}

} // namespace tool
} // namespace charsetkit
