#ifndef CHARSETKIT_TRAVERSAL_CHARSETCHECKER_H
#define CHARSETKIT_TRAVERSAL_CHARSETCHECKER_H

#include <charsetkit/traversal/AbstractTraverser.h>

#include <string>

namespace charsetkit {

/// Finds forbidden byte values in a buffer, at the positions where a
/// traverser stops, optionally also among the bytes that percent escapes
/// stand for, and reports malformed escapes. Holds no data.
class CHARSETKIT_EXPORT CharsetChecker {
public:
    CharsetChecker() = default;
    ~CharsetChecker() = default;
    CharsetChecker& operator=(const CharsetChecker&) = default;

    /// allowed:        256 entries indexed by unsigned byte value; true = may occur.
    /// checkEscapes:   also check the bytes that "%XY" escapes stand for and
    ///                 report malformed escapes.
    /// reported:       *reported points to a caller buffer of at least 256 bytes
    ///                 that receives each forbidden value once, in the order found.
    /// reportedCount:  receives the number of values written (0-256).
    /// seen:           256 entries of scratch space, all false on entry and on exit.
    /// badEscape:      optional; false at the start, true when an escape is malformed.
    /// traverser:      optional; rebound to the buffer and left at its end. Null
    ///                 uses a local ASCII traverser (every byte is a stop).
    /// badEscapeText:  optional; emptied, then receives each malformed escape,
    ///                 separated by ", ".
    /// acceptPercent:  with checkEscapes, '%' always opens an escape even when
    ///                 `allowed` forbids it.
    /// The optional outputs and *reportedCount (when reportedCount is not null)
    /// are reset first. A null `allowed`, `reported`, `*reported`,
    /// `reportedCount` or `seen`, a negative length, or a null buffer with a
    /// non-zero length then ends the call with nothing reported or touched.
    void checkBuffer(const bool* const allowed, bool checkEscapes, const char* buffer, int length,
                     char** reported, int* reportedCount, bool* seen, bool* badEscape = nullptr,
                     AbstractTraverser* traverser = nullptr, std::string* badEscapeText = nullptr,
                     bool acceptPercent = false);
};

} // namespace charsetkit

#endif
