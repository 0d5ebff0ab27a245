#ifndef CHARSETKIT_TOOL_PIECES_H
#define CHARSETKIT_TOOL_PIECES_H

// Where `convert` cuts its input into the pieces it converts one at a time,
// so that memory stays near one piece above the input and output.

#include <charsetkit/encodings/AbstractEncoding.h>

#include <cstddef>

namespace charsetkit {
namespace tool {

/// The piece size `convert` uses.
constexpr std::size_t kPieceSize = std::size_t{1} << 20;

/// Where the piece of `data` that begins at `start` ends (start < end <=
/// size, or `size` when start == size). The input must be valid in `from`
/// and `start` must begin a character (in ISO-2022-JP, with ASCII
/// designated): every cut falls between two characters, and in ISO-2022-JP
/// where ASCII is designated, so that each piece converts on its own.
///
/// A piece ends after the first line feed at least `pieceSize` bytes on;
/// when none comes within another `pieceSize` bytes, at the first place
/// between characters from there on (for ISO-2022-JP, after a space, control
/// byte or "B" in ASCII); at the end of the input when neither comes.
/// `pieceSize` must not be 0.
std::size_t pieceEnd(const char* data, std::size_t size, std::size_t start,
                     AbstractEncoding::EncodingID from, std::size_t pieceSize = kPieceSize);

} // namespace tool
} // namespace charsetkit

#endif
