// Shared by the percent-decoding and charset-checker tests: the traversers
// they run with, and hex digits decided without the library's tables.
#ifndef CHARSETKIT_TESTS_TRAVERSAL_ESCAPETESTSUPPORT_H
#define CHARSETKIT_TESTS_TRAVERSAL_ESCAPETESTSUPPORT_H

#include "support/Bytes.h"

#include <charsetkit/traversal/AsciiTraverser.h>
#include <charsetkit/traversal/EucJpTraverser.h>
#include <charsetkit/traversal/JisTraverser.h>
#include <charsetkit/traversal/SjisTraverser.h>
#include <charsetkit/traversal/Utf8Traverser.h>

#include <memory>
#include <string>
#include <vector>

namespace charsetkit {
namespace test {

enum class TraverserKind { Ascii, Utf8, Sjis, Jis, EucJp };

inline std::vector<TraverserKind> allTraverserKinds() {
    return {TraverserKind::Ascii, TraverserKind::Utf8, TraverserKind::Sjis, TraverserKind::Jis,
            TraverserKind::EucJp};
}

inline const char* kindName(TraverserKind kind) {
    switch (kind) {
    case TraverserKind::Ascii:
        return "ASCII";
    case TraverserKind::Utf8:
        return "UTF-8";
    case TraverserKind::Sjis:
        return "Shift_JIS";
    case TraverserKind::Jis:
        return "ISO-2022-JP";
    case TraverserKind::EucJp:
        return "EUC-JP";
    }
    return "?";
}

// EucJpTraverser can only be destroyed through the base class, so every
// traverser is held that way.
inline std::unique_ptr<AbstractTraverser> makeTraverser(TraverserKind kind) {
    switch (kind) {
    case TraverserKind::Ascii:
        return std::unique_ptr<AbstractTraverser>(new AsciiTraverser());
    case TraverserKind::Utf8:
        return std::unique_ptr<AbstractTraverser>(new Utf8Traverser());
    case TraverserKind::Sjis:
        return std::unique_ptr<AbstractTraverser>(new SjisTraverser());
    case TraverserKind::Jis:
        return std::unique_ptr<AbstractTraverser>(new JisTraverser());
    case TraverserKind::EucJp:
        return std::unique_ptr<AbstractTraverser>(new EucJpTraverser());
    }
    return nullptr;
}

/// '0'-'9', 'a'-'f', 'A'-'F', decided without any table of the library.
inline bool isAsciiHexDigit(int c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

inline int asciiHexDigitValue(int c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return c - 'A' + 10;
}

} // namespace test
} // namespace charsetkit

#endif
